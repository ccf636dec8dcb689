// One fixed buffer holding terminated strings end to end: a document's
// whole text in one allocation. It never grows or moves, so pointers into
// it stay valid until it is released.
#pragma once

#include <cstdint>

namespace kv {

class TextPool {
public:
    TextPool() = default;
    ~TextPool() { release(); }
    TextPool(const TextPool&) = delete;
    TextPool& operator=(const TextPool&) = delete;

    // Replaces any earlier buffer with n + 1 zero bytes; 0 when no memory is
    // left (the pool is then empty).
    int32_t allocate(int32_t n);
    void release();
    // Zeroes the buffer and forgets every string.
    void clear();
    // Bytes between end and the end of the buffer; 0 without a buffer.
    int32_t room() const;
    // Counts n bytes written directly at end as used, up to the buffer's end.
    void grow(int32_t n);
    // Makes s, which must start a string of the pool, the cursor; 0 when it
    // does not.
    int32_t seek(const char* s);
    // Moves the cursor past the string at it, never past end.
    char* skipString();
    // True while the cursor is before end.
    bool more() const { return base && cursor < end; }
    // Copies s with its terminator to end and makes the copy the cursor.
    // 0 unless at least one byte stays free after it; the pool is then
    // unchanged.
    int32_t appendString(const char* s);

    char* base = nullptr;
    char* end = nullptr;
    char* cursor = nullptr;
    int32_t capacity = 0;
};

}  // namespace kv
