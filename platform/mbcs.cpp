// The module's multi-byte text primitives. Windows builds use the C runtime
// so the module follows the process's code page exactly; other builds use
// the portable implementation, which behaves the same way.
#include "platform/mbcs.h"

#ifdef _WIN32
#include <mbctype.h>
#include <mbstring.h>
#endif

namespace kv {

#ifdef _WIN32

namespace {
unsigned char* u(const char* s) {
    return reinterpret_cast<unsigned char*>(const_cast<char*>(s));
}
char* c(const unsigned char* s) { return reinterpret_cast<char*>(const_cast<unsigned char*>(s)); }
}  // namespace

bool mbSetCodePage(int codePage) {
    const int previous = portable::getCodePage();
    if (!portable::setCodePage(codePage)) return false;
    // Page 0 stands for "single byte"; the runtime needs a real page for it.
    if (_setmbcp(codePage == kCodePageSingleByte ? 1252 : codePage) != 0) {
        portable::setCodePage(previous);
        return false;
    }
    return true;
}
int mbGetCodePage() { return _getmbcp(); }
bool mbIsLeadByte(unsigned char ch) { return _ismbblead(ch) != 0; }
const char* mbNext(const char* s) {
    // _mbsinc steps over the terminator; callers rely on stopping there.
    return *s ? c(_mbsinc(u(s))) : s;
}
char* mbNext(char* s) { return const_cast<char*>(mbNext(static_cast<const char*>(s))); }
char* mbChr(const char* s, unsigned ch) { return c(_mbschr(u(s), ch)); }
char* mbRChr(const char* s, unsigned ch) { return c(_mbsrchr(u(s), ch)); }
char* mbPBrk(const char* s, const char* set) { return c(_mbspbrk(u(s), u(set))); }
int mbCmp(const char* a, const char* b) { return _mbscmp(u(a), u(b)); }
int mbICmp(const char* a, const char* b) { return _mbsicmp(u(a), u(b)); }
char* mbNCpyBytes(char* dst, const char* src, std::size_t n) {
    return c(_mbsnbcpy(u(dst), u(src), n));
}
char* mbNCatBytes(char* dst, const char* src, std::size_t n) {
    // Some runtimes cut a double-byte character at the limit; only hand over
    // the whole characters that fit.
    std::size_t whole = 0;
    for (const char* p = src; *p; ) {
        const char* next = mbNext(p);
        const std::size_t len = static_cast<std::size_t>(next - p);
        if (whole + len > n) break;
        whole += len;
        p = next;
    }
    return c(_mbsnbcat(u(dst), u(src), whole));
}
bool mbIsSpace(unsigned ch) { return _ismbcspace(ch) != 0; }
unsigned mbToUpper(unsigned ch) { return _mbctoupper(ch); }
unsigned mbToLower(unsigned ch) { return _mbctolower(ch); }
unsigned mbCharAt(const char* s) {
    const unsigned char* p = u(s);
    // A lead byte just before the terminator is a character of its own.
    if (_ismbblead(p[0]) && p[1]) return (static_cast<unsigned>(p[0]) << 8) | p[1];
    return p[0];
}

#else

bool mbSetCodePage(int codePage) { return portable::setCodePage(codePage); }
int mbGetCodePage() { return portable::getCodePage(); }
bool mbIsLeadByte(unsigned char ch) { return portable::isLeadByte(ch); }
const char* mbNext(const char* s) { return portable::next(s); }
char* mbNext(char* s) { return const_cast<char*>(portable::next(s)); }
char* mbChr(const char* s, unsigned ch) { return portable::chr(s, ch); }
char* mbRChr(const char* s, unsigned ch) { return portable::rchr(s, ch); }
char* mbPBrk(const char* s, const char* set) { return portable::pbrk(s, set); }
int mbCmp(const char* a, const char* b) { return portable::cmp(a, b); }
int mbICmp(const char* a, const char* b) { return portable::icmp(a, b); }
char* mbNCpyBytes(char* dst, const char* src, std::size_t n) {
    return portable::ncpyBytes(dst, src, n);
}
char* mbNCatBytes(char* dst, const char* src, std::size_t n) {
    return portable::ncatBytes(dst, src, n);
}
bool mbIsSpace(unsigned ch) { return portable::isSpace(ch); }
unsigned mbToUpper(unsigned ch) { return portable::toUpper(ch); }
unsigned mbToLower(unsigned ch) { return portable::toLower(ch); }
unsigned mbCharAt(const char* s) {
    // The terminator is the only character next() does not step over; it
    // reads as 0 through the empty loop.
    const char* end = portable::next(s);
    unsigned v = 0;
    for (const char* p = s; p != end; ++p) v = (v << 8) | static_cast<unsigned char>(*p);
    return v;
}

#endif

}  // namespace kv
