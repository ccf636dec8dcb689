#include "sim/calls/json_value_writer.h"

namespace kvsim {

void JsonValueWriter::add(Json value) {
    if (open_.empty()) {
        root_ = std::move(value);
        return;
    }
    Json& container = open_.back();
    if (container.is_array()) {
        container.push_back(std::move(value));
        return;
    }
    container[keys_.back()] = std::move(value);
    keys_.pop_back();
}

void JsonValueWriter::close() {
    Json done = std::move(open_.back());
    open_.pop_back();
    add(std::move(done));
}

}  // namespace kvsim
