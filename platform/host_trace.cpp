#include "platform/host_trace.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace kv {

namespace {

const char kHostTraceName[] = "KorvaneHostTrace";

}  // namespace

HostTraceFunction findHostTraceFunction() {
#ifdef _WIN32
    // The executable's own export table, not any DLL's.
    // Through the generic function type, which converts to any other
    // without a warning about incompatible function types.
    auto found = reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(nullptr), kHostTraceName));
#else
    void* found = dlsym(RTLD_DEFAULT, kHostTraceName);
#endif
    return reinterpret_cast<HostTraceFunction>(found);
}

}  // namespace kv
