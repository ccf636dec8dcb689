#include "config/line_shape.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kv {

namespace {

// The C library's white space of the "C" locale.
bool isSpaceByte(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

#ifdef __SSE2__
struct BlockMasks {
    uint32_t zeros, spaces, signs;  // one bit per byte of a 16-byte block
};

// Inlined by force: a call per block costs as much as the block's work.
__attribute__((always_inline)) inline BlockMasks blockMasks(const char* block) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
    const __m128i controls =
        _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('\t' - 1)), _mm_cmplt_epi8(bytes, _mm_set1_epi8('\r' + 1)));
    const __m128i spaces = _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')), controls);
    return BlockMasks{static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_setzero_si128()))),
                      static_cast<uint32_t>(_mm_movemask_epi8(spaces)),
                      static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('='))))};
}
#endif

}  // namespace

LineShape scanAsciiLine(const char* line, const char* limit) {
    uint32_t i = 0;
    int64_t first = -1;
    uint32_t last = 0;
    int32_t equals = -1;
#ifdef __SSE2__
    // Thirty-two bytes at a time, which holds most lines whole: the masks of
    // the zeros, the white space and the "=" give every position the line
    // needs, with one branch for the line's end.
    for (; limit - (line + i) >= 32; i += 32) {
        const BlockMasks low = blockMasks(line + i);
        const BlockMasks high = blockMasks(line + i + 16);
        const uint32_t zeros = low.zeros | high.zeros << 16;
        // The bytes before the first zero belong to the line.
        const uint32_t inLine = zeros ? (zeros & (0u - zeros)) - 1 : 0xFFFFFFFFu;
        const uint32_t text = ~(low.spaces | high.spaces << 16) & inLine;
        const uint32_t signs = (low.signs | high.signs << 16) & inLine;
        if (text) {
            if (first < 0) first = i + static_cast<uint32_t>(__builtin_ctz(text));
            last = i + 32 - static_cast<uint32_t>(__builtin_clz(text));
        }
        if (signs && equals < 0) equals = static_cast<int32_t>(i) + __builtin_ctz(signs);
        if (zeros) {
            const uint32_t length = i + static_cast<uint32_t>(__builtin_ctz(zeros));
            if (first < 0) return LineShape{length, length, length, equals};
            return LineShape{length, static_cast<uint32_t>(first), last, equals};
        }
    }
#else
    (void)limit;  // byte by byte, nothing is read past the line
#endif
    for (; line[i]; ++i) {
        if (!isSpaceByte(line[i])) {
            if (first < 0) first = i;
            last = i + 1;
        }
        if (line[i] == '=' && equals < 0) equals = static_cast<int32_t>(i);
    }
    if (first < 0) return LineShape{i, i, i, equals};
    return LineShape{i, static_cast<uint32_t>(first), last, equals};
}

}  // namespace kv
