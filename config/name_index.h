// A transient hash index of records that begin with a pointer to their
// name, matched without regard to case. The parser uses it to find
// duplicate sections and keys in constant time; the document's lists stay
// the one place records live, so what is found is exactly what a search of
// the list would find.
#pragma once

#include <cstddef>
#include <cstdint>

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
    NameIndex() = default;
    ~NameIndex();
    NameIndex(const NameIndex&) = delete;
    NameIndex& operator=(const NameIndex&) = delete;

    // Forgets every entry without touching the table's memory.
    void clear();
    // The first record added under a name equal to name, or null.
    void* find(const char* name, uint32_t hash) const;
    // False when the table had to grow and the module allocator refused:
    // record is then not indexed.
    bool insert(void* record, uint32_t hash);
    // One probe for both: the first record under the name of record, or
    // null after adding record; record itself when it is not there and the
    // table could not grow to take it.
    void* insertUnlessPresent(void* record, uint32_t hash);
    // Forgets the record the last insert added, as if it had never come.
    void removeLast();

private:
    struct Slot {
        uint32_t generation;
        uint32_t hash;
        void* record;
    };
    // Room for one more entry at half load at most; false when the table
    // could not grow (it is then unchanged).
    bool makeRoom();
    void place(void* record, uint32_t hash);

    // From the module allocator, so a refused block is a null handled here.
    Slot* slots_ = nullptr;
    std::size_t capacity_ = 0;  // a power of two, or 0
    std::size_t used_ = 0;
    std::size_t last_ = 0;  // the slot of the last insert
    uint32_t generation_ = 1;
};

}  // namespace kv
