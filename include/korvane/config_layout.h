// The configuration document as the host's modules share it. The options
// module hands Korvane a document by layout (optGetDocument), and Korvane
// reads and writes its sections and keys in place, so a sibling module
// that makes or reads such a document needs exactly these fields, in this
// order and width. Korvane's own document class has these same fields at
// these same offsets; the behaviour behind them (parsing, lookups, the
// text pool's rules) stays Korvane's.
//
// Every text a document points to is zero-terminated. Names, and the texts
// of keys read from a file, lie in the document's pool; a key with nothing
// after "=" has a null text.
#pragma once

#include <cstddef>
#include <cstdint>

#include <korvane/records.h>  // KV_DOCUMENTED_LAYOUT

namespace kv {

// One key: its name, the text it was read as and the value last set or
// read.
struct ConfigKey {
    char* name;
    int32_t kind;   // 0 text, 1 integer, 2 real: the representation last read or written
    char* text;     // null: nothing after "="
    int32_t integer;
    float real;
};

// A node of a document's lists; data is a ConfigSectionLayout* in the
// list of sections and a ConfigKey* in a section's list of keys.
struct PtrListNode {
    PtrListNode* next;
    PtrListNode* previous;
    void* data;
};

// A doubly linked list that remembers a current node (its position in
// index, -1 when there is none).
struct ConfigListLayout {
    PtrListNode* current;
    PtrListNode* head;
    PtrListNode* tail;
    int32_t count;
    int32_t index;
};

struct ConfigSectionLayout {
    char* name;
    ConfigListLayout keys;
};

// The text pool: one buffer of capacity + 1 bytes, the strings stored one
// after the other from base up to end; cursor is the string last stored or
// looked at.
struct ConfigPoolLayout {
    char* base;
    char* end;
    char* cursor;
    int32_t capacity;
};

struct ConfigDocumentLayout {
    char path[260];  // the file the document was read from
    ConfigListLayout sections;
    ConfigPoolLayout pool;
    int32_t autoAdd;  // nonzero: a setter on a missing key adds it
    char* emptyText;  // the pool's "", "TRUE" and "FALSE"
    char* trueText;
    char* falseText;
};

#if KV_DOCUMENTED_LAYOUT
static_assert(offsetof(ConfigKey, name) == 0 && offsetof(ConfigKey, kind) == 4 && offsetof(ConfigKey, text) == 8 &&
                  offsetof(ConfigKey, integer) == 12 && offsetof(ConfigKey, real) == 16 && sizeof(ConfigKey) == 20,
              "ConfigKey layout");
static_assert(sizeof(ConfigListLayout) == 20 && offsetof(ConfigListLayout, count) == 12 &&
                  offsetof(ConfigListLayout, index) == 16,
              "list layout");
static_assert(offsetof(ConfigSectionLayout, keys) == 4 && sizeof(ConfigSectionLayout) == 24, "section layout");
static_assert(sizeof(ConfigPoolLayout) == 16, "pool layout");
static_assert(offsetof(ConfigDocumentLayout, sections) == 260 && offsetof(ConfigDocumentLayout, pool) == 280 &&
                  offsetof(ConfigDocumentLayout, autoAdd) == 296 && offsetof(ConfigDocumentLayout, emptyText) == 300 &&
                  offsetof(ConfigDocumentLayout, trueText) == 304 &&
                  offsetof(ConfigDocumentLayout, falseText) == 308 && sizeof(ConfigDocumentLayout) == 312,
              "ConfigDocument layout");
#endif

}  // namespace kv
