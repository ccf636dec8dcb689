// A record laid out the way a sibling module built elsewhere lays it out:
// by its documented byte offsets, not by this build's declarations. Only
// the 32-bit target has those offsets; tests that use this say why they
// skip elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kvtest {

template <std::size_t Size>
struct alignas(4) RecordBytes {
    unsigned char bytes[Size];

    // Unused bytes get a value no field has, so a field read from the
    // wrong place shows.
    explicit RecordBytes(unsigned char fill = 0xA5) { std::memset(bytes, fill, Size); }

    template <typename T>
    void put(std::size_t offset, T value) {
        static_assert(sizeof(T) <= Size, "the field fits the record");
        std::memcpy(bytes + offset, &value, sizeof value);
    }
    template <typename T>
    T at(std::size_t offset) const {
        T value;
        std::memcpy(&value, bytes + offset, sizeof value);
        return value;
    }
    template <typename Record>
    Record* as() {
        return reinterpret_cast<Record*>(bytes);
    }
};

// Reads a field of a record the module wrote, at its documented offset.
template <typename T>
T fieldAt(const void* record, std::size_t offset) {
    T value;
    std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
    return value;
}

}  // namespace kvtest
