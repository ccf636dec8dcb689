// Where the parts of one line of an ASCII text lie, found in one pass: the
// parser's common case, where every byte is a character and the line ends
// are already zero bytes.
#pragma once

#include <cstdint>

namespace kv {

struct LineShape {
    uint32_t length;  // bytes before the zero that ends the line
    uint32_t first;   // first byte that is not white space; length when blank
    uint32_t last;    // one past the last byte that is not white space; length when blank
    int32_t equals;   // first "=", or -1
};

// line ends at a zero byte before limit; bytes up to limit may be read
// (they lie in the same buffer), which lets the scan take whole blocks.
LineShape scanAsciiLine(const char* line, const char* limit);

}  // namespace kv
