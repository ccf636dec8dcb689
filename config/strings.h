// Byte-bounded operations on multi-byte strings. Every size counts bytes
// including the terminator; every bounded copy or append terminates and
// never writes at or past size.
#pragma once

#include <cstdint>

namespace kv {

// True for a null pointer or an empty string.
inline bool strIsEmpty(const char* s) { return !s || !*s; }
// Makes s empty; null is left alone.
void strClear(char* s);
// A copy from MemAlloc (an empty string gives a new empty string); null for
// null or when the allocation fails.
char* strDuplicate(const char* s);
// Frees *s with MemFree and nulls it; a null *s is left alone.
void strFree(char** s);
// False when either is null or empty; otherwise equal by characters,
// ignoring case when caseSensitive is 0.
bool strEqual(const char* a, const char* b, int32_t caseSensitive);
// Copies src into dst (size bytes), cut to at most size - 1 bytes at a
// character boundary; a null or empty src gives an empty dst. A null dst or
// a size below 1 is left alone. Returns dst.
char* strCopyBounded(char* dst, const char* src, int32_t size);
// Appends as much of src as keeps dst within size bytes, whole characters
// only. Nothing happens for a null dst or a null or empty src.
void strAppendBounded(char* dst, const char* src, int32_t size);
// In place: ASCII letters that stand as characters of their own change
// case; double-byte characters and every other byte stay as they are.
void strToUpper(char* s);
void strToLower(char* s);
// In place: removes leading and trailing tab, line feed, vertical tab, form
// feed, carriage return and space, moving the rest to the start.
void strTrim(char* s);

}  // namespace kv
