#include "config/name_index.h"

#include "config/memory_word.h"
#include "config/strings.h"
#include "services/services.h"
#include "platform/mbcs.h"

namespace kv {

namespace {

const char* recordName(const void* record) { return *static_cast<char* const*>(record); }

}  // namespace

namespace {

// Names with a byte from 0x80 up: character by character, each such
// character counting only as one.
uint32_t characterHash(const char* name) {
    uint32_t hash = 2166136261u;
    for (const char* p = name; *p;) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x80) {
            c |= 0x20;
            ++p;
        } else {
            c = 0x80;
            p = mbNext(p);
        }
        hash = (hash ^ c) * 16777619u;
    }
    return hash;
}

}  // namespace

// Every byte below 0x80 is folded with 0x20: that maps each upper-case
// letter to its lower case (and merges a few punctuation pairs, which only
// costs a comparison). ASCII names are mixed sixteen bytes at a time.
uint32_t nameHash(const char* name) {
    std::size_t length = 0;
    for (; name[length]; ++length) {
        if (static_cast<unsigned char>(name[length]) >= 0x80) return characterHash(name);
    }
    return asciiNameHash(name, length, length);
}

namespace {

const uint64_t kFold = 0x2020202020202020ull;

uint64_t mix(uint64_t hash, uint64_t word) {
    hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
    return hash ^ (hash >> 32);
}

// The first n (0 to 8) bytes at p, folded, first byte lowest.
uint64_t foldedBytes(const char* p, std::size_t n) {
    uint64_t word = 0;
    for (std::size_t k = 0; k < n; ++k)
        word |= static_cast<uint64_t>(static_cast<unsigned char>(p[k]) | 0x20) << (8 * k);
    return word;
}

// The same as foldedBytes, from a whole word that may be read: no branch
// per byte.
uint64_t foldedWord(const char* p, std::size_t n) {
    return (wordInMemoryOrder(p) | kFold) & lowBytesMask(static_cast<unsigned>(n));
}

}  // namespace

uint32_t asciiNameHash(const char* name, std::size_t length, std::size_t readable) {
    uint64_t hash = 0x9E3779B97F4A7C15ull;
    // The last chunk is the one of fewer than sixteen bytes (possibly none),
    // so names of different lengths never end on the same words.
    for (;; name += 16, length -= 16, readable -= 16) {
        const std::size_t n = length < 16 ? length : 16;
        const std::size_t low = n < 8 ? n : 8;
        const bool whole = readable >= 16;
        hash = mix(hash, whole ? foldedWord(name, low) : foldedBytes(name, low));
        hash = mix(hash, whole ? foldedWord(name + 8, n - low) : foldedBytes(name + 8, n - low));
        if (n < 16) return static_cast<uint32_t>(hash);
    }
}

NameIndex::~NameIndex() { MemFree(slots_); }

void NameIndex::clear() {
    used_ = 0;
    if (++generation_ == 0) {
        // Generations wrapped: old marks could match again, so wipe them.
        for (std::size_t i = 0; i < capacity_; ++i) slots_[i].generation = 0;
        generation_ = 1;
    }
}

void* NameIndex::find(const char* name, uint32_t hash) const {
    if (capacity_ == 0) return nullptr;
    const std::size_t mask = capacity_ - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.generation != generation_) return nullptr;
        if (slot.hash == hash && strEqual(recordName(slot.record), name, 0)) return slot.record;
    }
}

bool NameIndex::insert(void* record, uint32_t hash) {
    if (!makeRoom()) return false;
    place(record, hash);
    return true;
}

void* NameIndex::insertUnlessPresent(void* record, uint32_t hash) {
    const bool room = makeRoom();
    if (capacity_ == 0) return record;
    const char* name = recordName(record);
    const std::size_t mask = capacity_ - 1;
    std::size_t i = hash & mask;
    for (; slots_[i].generation == generation_; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.hash == hash && strEqual(recordName(slot.record), name, 0)) return slot.record;
    }
    // A full table still answers for the names it holds; it takes no more.
    if (!room) return record;
    slots_[i] = Slot{generation_, hash, record};
    last_ = i;
    ++used_;
    return nullptr;
}

// Linear probing never steps past the newest entry to reach an older one,
// so emptying its slot leaves every other entry findable.
void NameIndex::removeLast() {
    if (used_ == 0) return;
    slots_[last_].generation = 0;
    --used_;
}

void NameIndex::place(void* record, uint32_t hash) {
    const std::size_t mask = capacity_ - 1;
    std::size_t i = hash & mask;
    while (slots_[i].generation == generation_) i = (i + 1) & mask;
    slots_[i] = Slot{generation_, hash, record};
    last_ = i;
    ++used_;
}

bool NameIndex::makeRoom() {
    if ((used_ + 1) * 2 <= capacity_) return true;
    const std::size_t capacity = capacity_ ? capacity_ * 2 : 64;
    if (capacity * sizeof(Slot) > static_cast<std::size_t>(INT32_MAX)) return false;
    auto* slots = static_cast<Slot*>(ModuleAlloc(static_cast<int32_t>(capacity * sizeof(Slot))));
    if (!slots) return false;
    for (std::size_t i = 0; i < capacity; ++i) slots[i] = Slot{0, 0, nullptr};
    Slot* old = slots_;
    const std::size_t oldCapacity = capacity_;
    slots_ = slots;
    capacity_ = capacity;
    used_ = 0;
    for (std::size_t i = 0; i < oldCapacity; ++i)
        if (old[i].generation == generation_) place(old[i].record, old[i].hash);
    MemFree(old);
    return true;
}

}  // namespace kv
