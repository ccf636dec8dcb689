// Eight bytes read as one word, the first byte lowest, on any byte order:
// the word-at-a-time scans of names and numbers rely on that order.
#pragma once

#include <cstdint>
#include <cstring>

namespace kv {

inline uint64_t wordInMemoryOrder(const char* p) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    word = __builtin_bswap64(word);
#endif
    return word;
}

// The low n bytes (0 to 8) of a word set. Two shifts, so that n == 0 needs
// no shift by 64.
inline uint64_t lowBytesMask(unsigned n) {
    const unsigned half = 32 - 4 * n;
    return (~0ull >> half) >> half;
}

}  // namespace kv
