#include "sim/calls/handle_names.h"

#include <cstring>

namespace kvsim {

const std::string& HandleNames::name(const void* pointer, const char* kind) {
    const std::size_t length = std::strlen(kind);
    std::string& known = names_[pointer];
    if (known.size() > length && known[length] == ':' && known.compare(0, length, kind) == 0) return known;
    known.assign(kind, length);
    known += ':';
    known += std::to_string(++counts_[known.substr(0, length)]);
    return known;
}

}  // namespace kvsim
