#include "config/text_pool.h"

#include <cstring>

#include "services/services.h"

namespace kv {

int32_t TextPool::allocate(int32_t n) {
    release();
    if (n < 0 || n == INT32_MAX) return 0;
    base = static_cast<char*>(MemAlloc(n + 1));
    if (!base) return 0;
    capacity = n + 1;
    std::memset(base, 0, static_cast<std::size_t>(capacity));
    end = cursor = base;
    return 1;
}

void TextPool::release() {
    MemFree(base);
    base = end = cursor = nullptr;
    capacity = 0;
}

void TextPool::clear() {
    if (!base) return;
    std::memset(base, 0, static_cast<std::size_t>(capacity));
    end = cursor = base;
}

int32_t TextPool::room() const {
    return base ? capacity - static_cast<int32_t>(end - base) : 0;
}

void TextPool::grow(int32_t n) {
    if (!base || n <= 0) return;
    end += n < room() ? n : room();
}

int32_t TextPool::seek(const char* s) {
    if (!s || !base) return 0;
    for (const char* p = base; p < end;) {
        if (p == s) {
            cursor = const_cast<char*>(s);
            return 1;
        }
        const void* zero = std::memchr(p, 0, static_cast<std::size_t>(end - p));
        if (!zero) break;
        p = static_cast<const char*>(zero) + 1;
    }
    return 0;
}

char* TextPool::skipString() {
    if (!cursor || cursor >= end) return cursor;
    const void* zero = std::memchr(cursor, 0, static_cast<std::size_t>(end - cursor));
    cursor = zero ? static_cast<char*>(const_cast<void*>(zero)) + 1 : end;
    return cursor;
}

int32_t TextPool::appendString(const char* s) {
    if (!base || !s) return 0;
    const std::size_t length = std::strlen(s);
    if (length + 1 >= static_cast<std::size_t>(room())) return 0;
    std::memcpy(end, s, length + 1);
    cursor = end;
    end += length + 1;
    return 1;
}

}  // namespace kv
