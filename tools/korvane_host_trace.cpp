#include "tools/korvane_host_trace.h"

#include <atomic>

#ifdef _WIN32
#define KORVANE_HOST_EXPORT __declspec(dllexport)
#else
#define KORVANE_HOST_EXPORT __attribute__((visibility("default")))
#endif

namespace kvhost {

namespace {

std::atomic<kvsim::CallLog*> traceLog{nullptr};

}  // namespace

void setTraceLog(kvsim::CallLog* log) { traceLog.store(log); }

}  // namespace kvhost

// Found by name in this executable by a module loaded at run time.
extern "C" KORVANE_HOST_EXPORT void KorvaneHostTrace(const char* text) {
    kvsim::CallLog* log = kvhost::traceLog.load();
    if (log && text) log->trace(text);
}
