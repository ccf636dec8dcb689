// The trace's JSON text, written straight from a call's values into one
// growing buffer: no document is built. The bytes are those nlohmann-json
// gives for the same values (compact, keys in their given order, reals in
// the shortest form that reads back as the same double, texts with invalid
// UTF-8 replaced), so the trace reads the same whichever way it was made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "sim/calls/call_values.h"
#include "sim/calls/handle_names.h"

namespace kvsim {

class TraceText {
public:
    explicit TraceText(HandleNames& handles);
    ~TraceText();
    TraceText(const TraceText&) = delete;
    TraceText& operator=(const TraceText&) = delete;

    // The text written so far; the owner takes it out and clears it.
    const char* data() const { return text_.get(); }
    std::size_t size() const { return size_; }
    void clear() { size_ = 0; }

    // One record: its opening {"key": and "name", then ,"args":[...] and
    // ,"ret":value, then } and the line's end.
    void beginRecord(const char* opening, const char* name, std::size_t nameLength);
    void beginArgs();
    void endArgs();
    void beginResult();
    void endRecord();

    // The writer's operations (sim/calls/call_values.h).
    void null() { value("null", 4); }
    void boolean(bool b) { b ? value("true", 4) : value("false", 5); }
    void integer(int64_t i);
    void unsignedInteger(uint64_t u);
    void real(double x);
    void text(const char* s, std::size_t n);
    void handle(const void* pointer, const char* kind);
    void json(const Json& j);
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    void beginObject() { open('{'); }
    void key(const char* name);
    void endObject() { close('}'); }

private:
    // Room for n more bytes.
    char* room(std::size_t n) {
        if (capacity_ - size_ < n) grow(n);
        return text_.get() + size_;
    }
    void grow(std::size_t n);
    void put(char c) { *room(1) = c, ++size_; }
    void append(const char* s, std::size_t n);
    // A comma before every value but the first of its array or object.
    void separate();
    void value(const char* s, std::size_t n);
    void quoted(const char* s, std::size_t n);
    void open(char bracket);
    void close(char bracket);

    // Values nest three deep at most (a record's array field inside the
    // arguments); anything deeper shares the last level's comma state.
    static constexpr int kMaxDepth = 8;
    int level() const { return depth_ < kMaxDepth ? depth_ : kMaxDepth - 1; }

    HandleNames& handles_;
    std::unique_ptr<char[]> text_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    bool first_[kMaxDepth] = {};
    int depth_ = 0;
    bool afterKey_ = false;

    // The text of reals seen lately: a flight passes the same values again
    // and again (zeros, ones, a camera's settings, a fixed frame time), and
    // finding their shortest form is the costliest part of a record.
    struct RealText;
    std::unique_ptr<RealText[]> reals_;
};

}  // namespace kvsim
