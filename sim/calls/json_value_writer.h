// Builds the in-memory form of a call's values: the Json a test reads from
// a record kept by the call log. Same operations as TraceText.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/calls/call_values.h"
#include "sim/calls/handle_names.h"

namespace kvsim {

class JsonValueWriter {
public:
    explicit JsonValueWriter(HandleNames& handles) : handles_(handles) {}

    // The value written, once every array and object is closed.
    Json take() { return std::move(root_); }

    void null() { add(Json(nullptr)); }
    void boolean(bool b) { add(Json(b)); }
    void integer(int64_t i) { add(Json(i)); }
    void unsignedInteger(uint64_t u) { add(Json(u)); }
    void real(double x) { add(Json(x)); }
    void text(const char* s, std::size_t n) { add(Json(std::string(s, n))); }
    void handle(const void* pointer, const char* kind) { add(Json(handles_.name(pointer, kind))); }
    void json(const Json& j) { add(j); }
    void beginArray() { open_.push_back(Json::array()); }
    void endArray() { close(); }
    void beginObject() { open_.push_back(Json::object()); }
    void key(const char* name) { keys_.emplace_back(name); }
    void endObject() { close(); }

private:
    void add(Json value);
    void close();

    HandleNames& handles_;
    Json root_;
    std::vector<Json> open_;
    std::vector<std::string> keys_;
};

// The Json of one value, as a test would compare it.
template <typename T>
Json toJson(HandleNames& handles, const T& value) {
    JsonValueWriter writer(handles);
    put(writer, value);
    return writer.take();
}

}  // namespace kvsim
