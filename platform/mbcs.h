// Multi-byte character-set functions used by every text operation of the
// module. On Windows they forward to the C runtime's _mbs* family, so the
// module sees exactly the code page the process runs with. Elsewhere they
// forward to the portable implementation below, whose code page is chosen
// with mbSetCodePage (default: taken from the process locale).
//
// Characters are passed as unsigned values: a single byte 0x00..0xFF, or a
// double-byte character as (lead << 8) | trail, as the C runtime does.
#pragma once

#include <cstddef>

namespace kv {

// Code pages the portable implementation knows.
enum : int {
    kCodePageSingleByte = 0,  // any single-byte code page (1252 and the like)
    kCodePageUtf8 = 65001,
};

// Selects the code page: 0 or any single-byte page (e.g. 1252), 932, 936,
// 949, 950 or 65001. Returns false (and keeps the current one) for a page it
// does not know. On Windows this also calls _setmbcp.
bool mbSetCodePage(int codePage);
int mbGetCodePage();

bool mbIsLeadByte(unsigned char c);
// Next character; never steps past the terminator, and a lead byte followed
// by the terminator counts as one byte.
const char* mbNext(const char* s);
char* mbNext(char* s);
// First / last occurrence of character c (0 finds the terminator), or null.
char* mbChr(const char* s, unsigned c);
char* mbRChr(const char* s, unsigned c);
// First character of s that is one of the characters of set, or null.
char* mbPBrk(const char* s, const char* set);
// Comparison by characters; < 0, 0, > 0.
int mbCmp(const char* a, const char* b);
// Comparison ignoring case as the C runtime does for the code page.
int mbICmp(const char* a, const char* b);
// Copies at most n bytes of src, never splitting a character at the end;
// pads with zero bytes up to n like strncpy. Does not terminate when src is
// n bytes or longer.
char* mbNCpyBytes(char* dst, const char* src, std::size_t n);
// Appends at most n bytes of src, never splitting a character, and terminates.
char* mbNCatBytes(char* dst, const char* src, std::size_t n);
// White space: tab, line feed, vertical tab, form feed, carriage return, space,
// and the page's own wide space as the C runtime counts it (0xA0 in single-byte
// pages, 0x8140 in 932, 0xA1A1 in 936/949, 0xA140 in 950, U+00A0 in UTF-8).
bool mbIsSpace(unsigned c);
unsigned mbToUpper(unsigned c);
unsigned mbToLower(unsigned c);
// The character at s as a value (one or two bytes).
unsigned mbCharAt(const char* s);

namespace portable {
// The portable implementation; the functions above forward here off Windows.
// Windows builds compile it too so that it can be checked against the runtime.
bool setCodePage(int codePage);
int getCodePage();
bool isLeadByte(unsigned char c);
const char* next(const char* s);
char* chr(const char* s, unsigned c);
char* rchr(const char* s, unsigned c);
char* pbrk(const char* s, const char* set);
int cmp(const char* a, const char* b);
int icmp(const char* a, const char* b);
char* ncpyBytes(char* dst, const char* src, std::size_t n);
char* ncatBytes(char* dst, const char* src, std::size_t n);
bool isSpace(unsigned c);
unsigned toUpper(unsigned c);
unsigned toLower(unsigned c);
// Code page of the process locale (LC_CTYPE's codeset), single byte when
// it names none of the known pages.
int codePageFromLocale();
// Code page a codeset name stands for ("SJIS", "euc-kr", "UTF-8", or a
// Windows page number such as "932"); single byte for null or any other.
int codePageFromCodeset(const char* name);
// Code page of a locale name: the codeset after its last dot, without an
// "@" modifier ("ja_JP.SJIS@x", "Japanese_Japan.932"); single byte for null
// or a name without one.
int codePageFromLocaleName(const char* name);
}  // namespace portable

}  // namespace kv
