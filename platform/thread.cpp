#include "platform/thread.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <chrono>
#include <thread>
#endif

namespace kv {

int32_t atomicExchange(std::atomic<int32_t>& word, int32_t value) {
    return word.exchange(value);
}

#ifdef _WIN32

void sleepMilliseconds(uint32_t ms) { Sleep(ms); }

// Windows never hands out thread id 0.
uint32_t currentThreadId() { return GetCurrentThreadId(); }

#else

void sleepMilliseconds(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// POSIX thread handles are opaque and may be wider than 32 bits, so each
// thread draws a number from a counter the first time it asks. Zero is the
// lock's "no owner", so the counter starts at 1 and skips 0 if it wraps.
uint32_t currentThreadId() {
    static std::atomic<uint32_t> nextId{1};
    thread_local uint32_t id = 0;
    while (id == 0) id = nextId.fetch_add(1);
    return id;
}

#endif

}  // namespace kv
