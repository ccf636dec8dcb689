// Portable multi-byte character-set layer. It reproduces what the Windows C
// runtime's _mbs* family does for the same code page, so that text handling
// gives identical results on every platform the module runs on.
#include "platform/mbcs.h"

#include <atomic>
#include <cctype>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

#if defined(__has_include)
#if __has_include(<langinfo.h>)
#include <langinfo.h>
#define KV_HAVE_LANGINFO 1
#endif
#endif

namespace kv {
namespace portable {
namespace {

// -1 until first use, then the selected code page. Read lazily so that a
// program calling setlocale() at start-up gets the page of its locale.
std::atomic<int> g_codePage{-1};

int current() {
    int cp = g_codePage.load(std::memory_order_acquire);
    if (cp >= 0) return cp;
    int expected = -1;
    g_codePage.compare_exchange_strong(expected, codePageFromLocale(),
                                       std::memory_order_acq_rel);
    return g_codePage.load(std::memory_order_acquire);
}

bool isDoubleByte(int cp) { return cp == 932 || cp == 936 || cp == 949 || cp == 950; }

bool leadFor(int cp, unsigned char c) {
    switch (cp) {
    case 932: return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    case 936:
    case 949:
    case 950: return c >= 0x81 && c <= 0xFE;
    case kCodePageUtf8: return c >= 0xC2 && c <= 0xF4;
    default: return false;
    }
}

// Bytes the character at p occupies. A sequence cut short by the terminator
// ends at the terminator; the terminator itself counts as one byte.
std::size_t lengthAt(int cp, const unsigned char* p) {
    if (*p == 0 || !leadFor(cp, *p)) return 1;
    std::size_t want = 2;
    if (cp == kCodePageUtf8) want = *p >= 0xF0 ? 4 : *p >= 0xE0 ? 3 : 2;
    std::size_t n = 1;
    while (n < want && p[n] != 0) ++n;
    return n;
}

// Value of the character at p: its bytes, first byte most significant.
unsigned valueAt(const unsigned char* p, std::size_t len) {
    unsigned v = 0;
    for (std::size_t i = 0; i < len; ++i) v = (v << 8) | p[i];
    return v;
}

const unsigned char* u(const char* s) { return reinterpret_cast<const unsigned char*>(s); }

struct CaseRange {
    unsigned lo, hi;
    int delta;
};

// Case mappings of the C runtime for double-byte and 1252 characters. The
// runtime maps through Unicode, so characters that have two encodings (the
// NEC and IBM extension rows of 932, for instance) come back in the other
// encoding; that is kept because callers compare against runtime output.
const CaseRange kLower1252[] = {{0x8A, 0x8A, 16}, {0x8C, 0x8C, 16}, {0x8E, 0x8E, 16},
                                {0x9F, 0x9F, 96}, {0xC0, 0xD6, 32}, {0xD8, 0xDE, 32}};
const CaseRange kUpper1252[] = {{0x9A, 0x9A, -16}, {0x9C, 0x9C, -16}, {0x9E, 0x9E, -16},
                                {0xE0, 0xF6, -32}, {0xF8, 0xFE, -32}, {0xFF, 0xFF, -96}};
const CaseRange kLower932[] = {
    {0x8260, 0x8279, 33},     {0x839F, 0x83B6, 32},     {0x8440, 0x844E, 48},
    {0x844F, 0x8460, 49},     {0x8754, 0x875D, 29420},  {0x8790, 0x8790, -1456},
    {0x8791, 0x8791, -1458},  {0x8792, 0x8792, -1451},  {0x8795, 0x8795, -1458},
    {0x8796, 0x8796, -1467},  {0x8797, 0x8797, -1469},  {0x879A, 0x879A, -1460},
    {0x879B, 0x879B, -1500},  {0x879C, 0x879C, -1502},  {0xED40, 0xED62, 3356},
    {0xED63, 0xED7E, 3357},   {0xED80, 0xEDE0, 3356},   {0xEDE1, 0xEDFC, 3423},
    {0xEE40, 0xEE62, 3356},   {0xEE63, 0xEE7E, 3357},   {0xEE80, 0xEEE0, 3356},
    {0xEEE1, 0xEEEC, 3423},   {0xEEEF, 0xEEF8, 2897},   {0xEEF9, 0xEEF9, -27951},
    {0xEEFA, 0xEEFC, 2907},   {0xFA4A, 0xFA53, -10},    {0xFA54, 0xFA54, -30858},
    {0xFA58, 0xFA58, -29390}, {0xFA59, 0xFA59, -29399}, {0xFA5A, 0xFA5A, -29398},
    {0xFA5B, 0xFA5B, -30837}};
const CaseRange kUpper932[] = {
    {0x8281, 0x829A, -33},    {0x83BF, 0x83D6, -32},    {0x8470, 0x847E, -48},
    {0x8480, 0x8491, -49},    {0x8790, 0x8790, -1456},  {0x8791, 0x8791, -1458},
    {0x8792, 0x8792, -1451},  {0x8795, 0x8795, -1458},  {0x8796, 0x8796, -1467},
    {0x8797, 0x8797, -1469},  {0x879A, 0x879A, -1460},  {0x879B, 0x879B, -1500},
    {0x879C, 0x879C, -1502},  {0xED40, 0xED62, 3356},   {0xED63, 0xED7E, 3357},
    {0xED80, 0xEDE0, 3356},   {0xEDE1, 0xEDFC, 3423},   {0xEE40, 0xEE62, 3356},
    {0xEE63, 0xEE7E, 3357},   {0xEE80, 0xEEE0, 3356},   {0xEEE1, 0xEEEC, 3423},
    {0xEEEF, 0xEEF8, -26523}, {0xEEF9, 0xEEF9, -27951}, {0xEEFA, 0xEEFC, 2907},
    {0xFA40, 0xFA49, -29420}, {0xFA4A, 0xFA53, -29430}, {0xFA54, 0xFA54, -30858},
    {0xFA58, 0xFA58, -29390}, {0xFA59, 0xFA59, -29399}, {0xFA5A, 0xFA5A, -29398},
    {0xFA5B, 0xFA5B, -30837}};
const CaseRange kLower936[] = {{0xA2F1, 0xA2FA, -80}, {0xA2FB, 0xA2FB, -41660},
                               {0xA2FC, 0xA2FC, -41661}, {0xA3C1, 0xA3DA, 32},
                               {0xA6A1, 0xA6B8, 32}, {0xA7A1, 0xA7C1, 48}};
const CaseRange kUpper936[] = {{0xA2A1, 0xA2AA, 80},      {0xA3E1, 0xA3FA, -32},
                               {0xA6C1, 0xA6D8, -32},     {0xA7D1, 0xA7F1, -48},
                               {0xA8BB, 0xA8BB, -43132},  {0xA8BD, 0xA8BD, -43134},
                               {0xA8BE, 0xA8BE, -43135},  {0xA8C0, 0xA8C0, -43137}};
const CaseRange kLower949[] = {{0xA3C1, 0xA3DA, 32}, {0xA5B0, 0xA5B9, -15}, {0xA5C1, 0xA5D8, 32},
                               {0xA8A1, 0xA8A1, 256}, {0xA8A2, 0xA8A2, 257}, {0xA8A4, 0xA8A4, 256},
                               {0xA8A6, 0xA8A6, 256}, {0xA8A8, 0xA8AB, 256}, {0xA8AD, 0xA8AF, 256},
                               {0xACA1, 0xACC1, 48}};
const CaseRange kUpper949[] = {{0xA3E1, 0xA3FA, -32},  {0xA5A1, 0xA5AA, 15},   {0xA5E1, 0xA5F8, -32},
                               {0xA9A1, 0xA9A1, -256}, {0xA9A3, 0xA9A3, -257}, {0xA9A4, 0xA9A4, -256},
                               {0xA9A6, 0xA9A6, -256}, {0xA9A8, 0xA9AB, -256}, {0xA9AD, 0xA9AF, -256},
                               {0xACD1, 0xACF1, -48}};
const CaseRange kLower950[] = {
    {0xA2A4, 0xA2A4, 22357},  {0xA2A5, 0xA2A7, 22340},  {0xA2B9, 0xA2B9, -41594},
    {0xA2BA, 0xA2BA, -41595}, {0xA2BB, 0xA2BB, -41596}, {0xA2BC, 0xA2BC, -41597},
    {0xA2BD, 0xA2BD, -41598}, {0xA2BE, 0xA2BE, -41599}, {0xA2BF, 0xA2BF, -41600},
    {0xA2C0, 0xA2C0, -41601}, {0xA2C1, 0xA2C1, -41602}, {0xA2C2, 0xA2C2, -41603},
    {0xA2CC, 0xA2CC, 389},    {0xA2CE, 0xA2CE, 508},    {0xA2CF, 0xA2E4, 26},
    {0xA2E5, 0xA2E8, 91},     {0xA344, 0xA35B, 24},     {0xF9FA, 0xF9FA, -22396},
    {0xF9FB, 0xF9FD, -22362}};
const CaseRange kUpper950[] = {
    {0xA2A4, 0xA2A4, 22357}, {0xA2A5, 0xA2A7, 22340}, {0xA2CC, 0xA2CC, 389},
    {0xA2CE, 0xA2CE, 508},   {0xA2E9, 0xA2FE, -26},   {0xA340, 0xA343, -91},
    {0xA35C, 0xA373, -24},   {0xF9FA, 0xF9FA, -22396}, {0xF9FB, 0xF9FD, -22362}};

template <std::size_t N>
unsigned mapBy(const CaseRange (&table)[N], unsigned c) {
    for (const CaseRange& r : table)
        if (c >= r.lo && c <= r.hi) return static_cast<unsigned>(static_cast<int>(c) + r.delta);
    return c;
}

unsigned asciiLower(unsigned c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

// The runtime's case-blind comparison folds only ASCII in single-byte pages
// (unlike its per-character conversion) and orders bytes there as signed
// chars: bytes 0x80..0xFF sort before ASCII and even before the terminator,
// so "a" sorts after "a\x8A". In double-byte pages it folds every character
// and orders by character value.
int icmpSingleByte(const unsigned char* p, const unsigned char* q) {
    for (;; ++p, ++q) {
        const int a = static_cast<signed char>(asciiLower(*p));
        const int b = static_cast<signed char>(asciiLower(*q));
        if (a != b) return a < b ? -1 : 1;
        if (a == 0) return 0;
    }
}

template <typename Fold>
int compare(const char* a, const char* b, Fold fold) {
    const int cp = current();
    const unsigned char* p = u(a);
    const unsigned char* q = u(b);
    for (;;) {
        if (*p == 0) return *q ? -1 : 0;
        if (*q == 0) return 1;
        const std::size_t lp = lengthAt(cp, p), lq = lengthAt(cp, q);
        const unsigned cpv = fold(cp, valueAt(p, lp)), cqv = fold(cp, valueAt(q, lq));
        if (cpv != cqv) return cpv < cqv ? -1 : 1;
        p += lp;
        q += lq;
    }
}

}  // namespace

int codePageFromCodeset(const char* name) {
    if (!name) return kCodePageSingleByte;
    std::string n;
    for (const char* p = name; *p; ++p)
        if (*p != '-' && *p != '_') n += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    if (n == "UTF8") return kCodePageUtf8;
    if (n == "SJIS" || n == "SHIFTJIS" || n == "CP932" || n == "WINDOWS31J" || n == "MSKANJI") return 932;
    if (n == "GBK" || n == "GB2312" || n == "CP936" || n == "EUCCN") return 936;
    if (n == "EUCKR" || n == "CP949" || n == "UHC") return 949;
    if (n == "BIG5" || n == "CP950") return 950;
    // Windows locale names carry the code page number ("Japanese_Japan.932").
    if (!n.empty() && n.find_first_not_of("0123456789") == std::string::npos) {
        const int cp = std::atoi(n.c_str());
        if (cp == 932 || cp == 936 || cp == 949 || cp == 950 || cp == kCodePageUtf8) return cp;
    }
    return kCodePageSingleByte;
}

int codePageFromLocaleName(const char* name) {
    if (!name) return kCodePageSingleByte;
    const char* dot = std::strrchr(name, '.');
    std::string codeset = dot ? std::string(dot + 1) : std::string();
    const std::size_t at = codeset.find('@');
    if (at != std::string::npos) codeset.resize(at);
    return codePageFromCodeset(codeset.c_str());
}

int codePageFromLocale() {
#ifdef KV_HAVE_LANGINFO
    const int fromCodeset = codePageFromCodeset(nl_langinfo(CODESET));
    if (fromCodeset != kCodePageSingleByte) return fromCodeset;
#endif
    return codePageFromLocaleName(std::setlocale(LC_CTYPE, nullptr));
}

bool setCodePage(int codePage) {
    const bool known = codePage == kCodePageSingleByte || isDoubleByte(codePage) ||
                       codePage == kCodePageUtf8 || (codePage >= 37 && codePage <= 1258) ||
                       (codePage >= 28591 && codePage <= 28605);
    // UTF-16 (1200, 1201) lies in those ranges but is no byte code page: its
    // text is not terminated by one zero byte. The double-byte pages we do
    // not know (Johab 1361, EUC 20932 and the like) lie outside them.
    if (!known || codePage == 1200 || codePage == 1201) return false;
    g_codePage.store(codePage, std::memory_order_release);
    return true;
}

int getCodePage() { return current(); }

bool isLeadByte(unsigned char c) { return leadFor(current(), c); }

const char* next(const char* s) {
    if (*s == 0) return s;
    return s + lengthAt(current(), u(s));
}

char* chr(const char* s, unsigned c) {
    const int cp = current();
    for (const unsigned char* p = u(s);; ) {
        const std::size_t len = lengthAt(cp, p);
        if (valueAt(p, len) == c) return const_cast<char*>(reinterpret_cast<const char*>(p));
        if (*p == 0) return nullptr;
        p += len;
    }
}

char* rchr(const char* s, unsigned c) {
    const int cp = current();
    const unsigned char* found = nullptr;
    for (const unsigned char* p = u(s);; ) {
        const std::size_t len = lengthAt(cp, p);
        if (valueAt(p, len) == c) found = p;
        if (*p == 0) break;
        p += len;
    }
    return const_cast<char*>(reinterpret_cast<const char*>(found));
}

char* pbrk(const char* s, const char* set) {
    const int cp = current();
    for (const unsigned char* p = u(s); *p; ) {
        const std::size_t len = lengthAt(cp, p);
        const unsigned v = valueAt(p, len);
        for (const unsigned char* q = u(set); *q; ) {
            const std::size_t lq = lengthAt(cp, q);
            if (valueAt(q, lq) == v) return const_cast<char*>(reinterpret_cast<const char*>(p));
            q += lq;
        }
        p += len;
    }
    return nullptr;
}

int cmp(const char* a, const char* b) {
    return compare(a, b, [](int, unsigned c) { return c; });
}

int icmp(const char* a, const char* b) {
    if (!isDoubleByte(current())) return icmpSingleByte(u(a), u(b));
    return compare(a, b, [](int, unsigned c) { return toLower(c); });
}

char* ncpyBytes(char* dst, const char* src, std::size_t n) {
    const int cp = current();
    std::size_t i = 0;
    const unsigned char* p = u(src);
    while (*p) {
        const std::size_t len = lengthAt(cp, p);
        if (i + len > n) break;  // a character that does not fit is left out whole
        std::memcpy(dst + i, p, len);
        i += len;
        p += len;
    }
    if (i < n) std::memset(dst + i, 0, n - i);
    return dst;
}

char* ncatBytes(char* dst, const char* src, std::size_t n) {
    const int cp = current();
    unsigned char* end = reinterpret_cast<unsigned char*>(dst);
    // Walk dst by characters: a lead byte left dangling before the terminator
    // is dropped, as the runtime does, so the appended text starts clean.
    while (*end) {
        const std::size_t len = lengthAt(cp, end);
        if (leadFor(cp, *end) && end[len] == 0 && cp != kCodePageUtf8 && len == 1) break;
        end += len;
    }
    std::size_t i = 0;
    for (const unsigned char* p = u(src); *p; ) {
        const std::size_t len = lengthAt(cp, p);
        if (i + len > n) break;
        std::memcpy(end + i, p, len);
        i += len;
        p += len;
    }
    end[i] = 0;
    return dst;
}

bool isSpace(unsigned c) {
    if (c == ' ' || (c >= '\t' && c <= '\r')) return true;
    // Each page's no-break / ideographic space counts too, as in the runtime.
    switch (current()) {
    case 932: return c == 0x8140;
    case 936:
    case 949: return c == 0xA1A1;
    case 950: return c == 0xA140;
    case kCodePageUtf8: return c == 0xC2A0;
    default: return c == 0xA0;
    }
}

unsigned toUpper(unsigned c) {
    if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 32 : c;
    switch (current()) {
    case kCodePageSingleByte:
    case 1252: return mapBy(kUpper1252, c);
    case 932: return mapBy(kUpper932, c);
    case 936: return mapBy(kUpper936, c);
    case 949: return mapBy(kUpper949, c);
    case 950: return mapBy(kUpper950, c);
    default: return c;  // other single-byte pages and UTF-8: ASCII only
    }
}

unsigned toLower(unsigned c) {
    if (c < 0x80) return asciiLower(c);
    switch (current()) {
    case kCodePageSingleByte:
    case 1252: return mapBy(kLower1252, c);
    case 932: return mapBy(kLower932, c);
    case 936: return mapBy(kLower936, c);
    case 949: return mapBy(kLower949, c);
    case 950: return mapBy(kLower950, c);
    default: return c;
    }
}

}  // namespace portable
}  // namespace kv
