// The fuzzers' invariant check: a broken invariant names itself and its
// place, and aborts, so libFuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace kvfuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "invariant broken at %s:%d: %s\n", file, line, what);
    std::abort();
}

}  // namespace kvfuzz

#define CHECK(condition)                                             \
    do {                                                             \
        if (!(condition)) kvfuzz::fail(#condition, __FILE__, __LINE__); \
    } while (0)
