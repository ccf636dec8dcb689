#include "config/strings.h"

#include <cstring>

#include "services/services.h"
#include "platform/mbcs.h"

namespace kv {

namespace {

// Only these six count: the code page's own wide space is text here.
bool isTrimmedSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Length of s within its first limit bytes, so a destination that is not
// terminated inside its size is never read past it.
std::size_t boundedLength(const char* s, std::size_t limit) {
    const void* zero = std::memchr(s, 0, limit);
    return zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - s) : limit;
}

// Stepping by characters keeps trail bytes that look like letters intact.
void changeAsciiCase(char* s, char from, char to) {
    if (!s) return;
    for (char* p = s; *p; p = mbNext(p)) {
        if (*p >= from && *p <= to) *p = static_cast<char>(*p ^ 0x20);
    }
}

}  // namespace

void strClear(char* s) {
    if (s) *s = '\0';
}

char* strDuplicate(const char* s) {
    if (!s) return nullptr;
    const std::size_t length = std::strlen(s);
    char* copy = static_cast<char*>(MemAlloc(static_cast<int32_t>(length + 1)));
    if (!copy) return nullptr;
    std::memcpy(copy, s, length + 1);
    return copy;
}

void strFree(char** s) {
    if (!s || !*s) return;
    MemFree(*s);
    *s = nullptr;
}

bool strEqual(const char* a, const char* b, int32_t caseSensitive) {
    if (strIsEmpty(a) || strIsEmpty(b)) return false;
    return (caseSensitive ? mbCmp(a, b) : mbICmp(a, b)) == 0;
}

char* strCopyBounded(char* dst, const char* src, int32_t size) {
    if (!dst || size < 1) return dst;
    if (strIsEmpty(src)) {
        dst[0] = '\0';
        return dst;
    }
    // One byte short of size, so the terminator never cuts a double-byte
    // character in two.
    mbNCpyBytes(dst, src, static_cast<std::size_t>(size - 1));
    dst[size - 1] = '\0';
    return dst;
}

void strAppendBounded(char* dst, const char* src, int32_t size) {
    if (!dst || strIsEmpty(src) || size < 1) return;
    const std::size_t limit = static_cast<std::size_t>(size - 1);
    const std::size_t used = boundedLength(dst, limit);
    if (used < limit) mbNCatBytes(dst, src, limit - used);
    dst[size - 1] = '\0';
}

void strToUpper(char* s) { changeAsciiCase(s, 'a', 'z'); }
void strToLower(char* s) { changeAsciiCase(s, 'A', 'Z'); }

void strTrim(char* s) {
    if (!s) return;
    // White space is never a lead byte, so the leading run can be skipped
    // bytewise; the trailing run is found by characters, because a trail
    // byte may look like anything.
    char* start = s;
    while (isTrimmedSpace(*start)) ++start;
    char* end = start;
    for (char* p = start; *p;) {
        char* next = mbNext(p);
        if (!(next == p + 1 && isTrimmedSpace(*p))) end = next;
        p = next;
    }
    const std::size_t length = static_cast<std::size_t>(end - start);
    std::memmove(s, start, length);
    s[length] = '\0';
}

}  // namespace kv
