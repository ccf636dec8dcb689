// The trace's names of opaque pointers: "kind:n", numbered per kind in the
// order each pointer is first seen.
#pragma once

#include <string>
#include <unordered_map>

namespace kvsim {

class HandleNames {
public:
    // The pointer's name as a handle of this kind. A pointer last named as
    // another kind (an address reused for something else) gets a new name.
    const std::string& name(const void* pointer, const char* kind);
    // Drops a freed pointer, so an address reused later gets a new number.
    void forget(const void* pointer) { names_.erase(pointer); }

private:
    std::unordered_map<const void*, std::string> names_;
    std::unordered_map<std::string, int> counts_;
};

}  // namespace kvsim
