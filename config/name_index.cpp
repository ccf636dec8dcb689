#include "config/name_index.h"

#include <cstring>

#include "config/strings.h"
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
// costs a comparison). ASCII names are mixed eight bytes at a time.
uint32_t nameHash(const char* name) {
    std::size_t length = 0;
    for (; name[length]; ++length) {
        if (static_cast<unsigned char>(name[length]) >= 0x80) return characterHash(name);
    }
    return asciiNameHash(name, length);
}

uint32_t asciiNameHash(const char* name, std::size_t length) {
    const uint64_t fold = 0x2020202020202020ull;
    uint64_t hash = 0x9E3779B97F4A7C15ull;
    // The last word is the one that holds fewer than eight bytes (possibly
    // none), so names of different lengths never end on the same words.
    for (;; name += 8, length -= 8) {
        uint64_t word = 0;
        const std::size_t n = length < 8 ? length : 8;
        if (n == 8) {
            // Folding every byte does not depend on the byte order.
            std::memcpy(&word, name, 8);
            word |= fold;
        } else {
            for (std::size_t k = 0; k < n; ++k)
                word |= static_cast<uint64_t>(static_cast<unsigned char>(name[k]) | 0x20) << (8 * k);
        }
        hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 32;
        if (n < 8) return static_cast<uint32_t>(hash);
    }
}

void NameIndex::clear() {
    used_ = 0;
    if (++generation_ == 0) {
        // Generations wrapped: old marks could match again, so wipe them.
        for (Slot& slot : slots_) slot.generation = 0;
        generation_ = 1;
    }
}

void* NameIndex::find(const char* name, uint32_t hash) const {
    if (slots_.empty()) return nullptr;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.generation != generation_) return nullptr;
        if (slot.hash == hash && strEqual(recordName(slot.record), name, 0)) return slot.record;
    }
}

void NameIndex::insert(void* record, uint32_t hash) {
    if ((used_ + 1) * 2 > slots_.size()) grow();
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    while (slots_[i].generation == generation_) i = (i + 1) & mask;
    slots_[i] = Slot{generation_, hash, record};
    ++used_;
}

void NameIndex::grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{0, 0, nullptr});
    const uint32_t live = generation_;
    used_ = 0;
    for (const Slot& slot : old)
        if (slot.generation == live) insert(slot.record, slot.hash);
}

}  // namespace kv
