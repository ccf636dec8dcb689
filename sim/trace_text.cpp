#include "sim/trace_text.h"

#include <charconv>
#include <cmath>

namespace kvsim {

namespace {

// Bytes a JSON text carries as they are; anything else (quotes,
// backslashes, control bytes, bytes from 0x7F up) goes through the JSON
// library, which escapes it and replaces invalid UTF-8.
bool plain(const char* s, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') return false;
    }
    return true;
}

}  // namespace

void TraceText::beginRecord(const char* key, const char* name, std::size_t nameLength) {
    out_ += "{\"";
    out_ += key;
    out_ += "\":";
    quoted(name, nameLength);
    depth_ = 0;
    afterKey_ = false;
}

void TraceText::beginArgs() {
    out_ += ",\"args\":[";
    depth_ = 1;
    first_[level()] = true;
}

void TraceText::endArgs() {
    out_ += ']';
    depth_ = 0;
}

void TraceText::beginResult() {
    out_ += ",\"ret\":";
    depth_ = 0;
    afterKey_ = true;
}

void TraceText::endRecord() { out_ += "}\n"; }

void TraceText::separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (depth_ == 0) return;
    bool& first = first_[level()];
    if (!first) out_ += ',';
    first = false;
}

void TraceText::value(const char* s, std::size_t n) {
    separate();
    out_.append(s, n);
}

void TraceText::integer(int64_t i) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, i).ptr;
    value(digits, static_cast<std::size_t>(end - digits));
}

void TraceText::unsignedInteger(uint64_t u) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, u).ptr;
    value(digits, static_cast<std::size_t>(end - digits));
}

void TraceText::real(double x) {
    if (!std::isfinite(x)) return null();
    char digits[64];
    const char* end = nlohmann::detail::to_chars(digits, digits + sizeof digits, x);
    value(digits, static_cast<std::size_t>(end - digits));
}

void TraceText::quoted(const char* s, std::size_t n) {
    if (plain(s, n)) {
        out_ += '"';
        out_.append(s, n);
        out_ += '"';
        return;
    }
    out_ += Json(std::string(s, n)).dump(-1, ' ', false, Json::error_handler_t::replace);
}

void TraceText::text(const char* s, std::size_t n) {
    separate();
    quoted(s, n);
}

void TraceText::handle(const void* pointer, const char* kind) {
    const std::string& name = handles_.name(pointer, kind);
    text(name.data(), name.size());
}

void TraceText::json(const Json& j) {
    separate();
    out_ += j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void TraceText::open(char bracket) {
    separate();
    out_ += bracket;
    ++depth_;
    first_[level()] = true;
}

void TraceText::close(char bracket) {
    out_ += bracket;
    if (depth_ > 0) --depth_;
}

void TraceText::key(const char* name) {
    separate();
    quoted(name, std::char_traits<char>::length(name));
    out_ += ':';
    afterKey_ = true;
}

}  // namespace kvsim
