// A transient hash index of records that begin with a pointer to their
// name, matched without regard to case. The parser uses it to find
// duplicate sections and keys in constant time; the document's lists stay
// the one place records live, so what is found is exactly what a search of
// the list would find.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv {

// Equal for any two names that compare equal without regard to case:
// ASCII letters are folded, and every other character (a double-byte one
// or a byte from 0x80 up) counts only as a character, since its case
// folding belongs to the code page.
uint32_t nameHash(const char* name);
// nameHash of a name of length bytes, none of them from 0x80 up, that need
// not be terminated; readable (at least length) bytes from name on lie in
// its buffer, and with 16 or more it reads whole words.
uint32_t asciiNameHash(const char* name, std::size_t length, std::size_t readable);

class NameIndex {
public:
    // Forgets every entry without touching the table's memory.
    void clear();
    // The first record added under a name equal to name, or null.
    void* find(const char* name, uint32_t hash) const;
    void insert(void* record, uint32_t hash);
    // One probe for both: the first record under the name of record, or
    // null after adding record.
    void* insertUnlessPresent(void* record, uint32_t hash);
    // Forgets the record the last insert added, as if it had never come.
    void removeLast();

private:
    struct Slot {
        uint32_t generation;
        uint32_t hash;
        void* record;
    };
    void grow();

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
    std::size_t last_ = 0;  // the slot of the last insert
    uint32_t generation_ = 1;
};

}  // namespace kv
