#include "sim/calls/trace_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace kvsim {

namespace {

// Entries of the table of reals, found by the real's bits.
constexpr std::size_t kRealSlots = 1024;
constexpr int kRealSlotBits = 10;

// Eight bytes that a JSON text carries as they are: none below 0x20, none
// from 0x7F up, no quote and no backslash.
bool plainWord(uint64_t w) {
    constexpr uint64_t ones = 0x0101010101010101ull;
    constexpr uint64_t highs = 0x8080808080808080ull;
    const auto zeroByte = [](uint64_t x) { return (x - ones) & ~x & highs; };
    const uint64_t below20 = (w - ones * 0x20) & ~w & highs;
    const uint64_t from7F = (w + ones * (0x80 - 0x7F)) | w;
    return ((below20 | (from7F & highs) | zeroByte(w ^ (ones * '"')) | zeroByte(w ^ (ones * '\\'))) & highs) == 0;
}

bool plainByte(unsigned char c) { return c >= 0x20 && c < 0x7F && c != '"' && c != '\\'; }

}  // namespace

struct TraceText::RealText {
    uint64_t bits = ~0ull;  // a NaN: never a real that is kept
    uint8_t length = 0;
    char text[23];
};

TraceText::TraceText(HandleNames& handles) : handles_(handles), reals_(new RealText[kRealSlots]) { grow(1 << 16); }

TraceText::~TraceText() = default;

void TraceText::grow(std::size_t n) {
    std::size_t capacity = capacity_ ? capacity_ : 1;
    while (capacity - size_ < n) capacity *= 2;
    std::unique_ptr<char[]> bigger(new char[capacity]);
    if (size_) std::memcpy(bigger.get(), text_.get(), size_);
    text_ = std::move(bigger);
    capacity_ = capacity;
}

void TraceText::append(const char* s, std::size_t n) {
    std::memcpy(room(n), s, n);
    size_ += n;
}

void TraceText::beginRecord(const char* opening, const char* name, std::size_t nameLength) {
    append(opening, std::strlen(opening));
    quoted(name, nameLength);
    depth_ = 0;
    afterKey_ = false;
}

void TraceText::beginArgs() {
    append(",\"args\":[", 9);
    depth_ = 1;
    first_[level()] = true;
}

void TraceText::endArgs() {
    put(']');
    depth_ = 0;
}

void TraceText::beginResult() {
    append(",\"ret\":", 7);
    depth_ = 0;
    afterKey_ = true;
}

void TraceText::endRecord() { append("}\n", 2); }

void TraceText::separate() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (depth_ == 0) return;
    bool& first = first_[level()];
    if (!first) put(',');
    first = false;
}

void TraceText::value(const char* s, std::size_t n) {
    separate();
    append(s, n);
}

void TraceText::integer(int64_t i) {
    separate();
    char* at = room(24);
    size_ += static_cast<std::size_t>(std::to_chars(at, at + 24, i).ptr - at);
}

void TraceText::unsignedInteger(uint64_t u) {
    separate();
    char* at = room(24);
    size_ += static_cast<std::size_t>(std::to_chars(at, at + 24, u).ptr - at);
}

void TraceText::real(double x) {
    if (!std::isfinite(x)) return null();
    separate();
    uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    RealText& known = reals_[(bits * 0x9E3779B97F4A7C15ull) >> (64 - kRealSlotBits)];
    if (known.bits == bits) return append(known.text, known.length);
    char digits[64];
    const char* end = nlohmann::detail::to_chars(digits, digits + sizeof digits, x);
    const std::size_t length = static_cast<std::size_t>(end - digits);
    append(digits, length);
    if (length > sizeof known.text) return;
    known.bits = bits;
    known.length = static_cast<uint8_t>(length);
    std::memcpy(known.text, digits, length);
}

void TraceText::quoted(const char* s, std::size_t n) {
    // Copied while checked; a text that needs escaping is taken back and
    // handed to the JSON library instead.
    char* at = room(n + 2);
    *at++ = '"';
    std::size_t i = 0;
    uint64_t w;
    for (; i + 8 <= n; i += 8) {
        std::memcpy(&w, s + i, 8);
        if (!plainWord(w)) break;
        std::memcpy(at + i, &w, 8);
    }
    // The last few bytes of a text of eight or more: the last eight again.
    if (i < n && n >= 8 && i + 8 > n) {
        std::memcpy(&w, s + n - 8, 8);
        if (plainWord(w)) {
            std::memcpy(at + n - 8, &w, 8);
            i = n;
        }
    }
    for (; i < n && plainByte(static_cast<unsigned char>(s[i])); ++i) at[i] = s[i];
    if (i == n) {
        at[n] = '"';
        size_ += n + 2;
        return;
    }
    const std::string escaped = Json(std::string(s, n)).dump(-1, ' ', false, Json::error_handler_t::replace);
    append(escaped.data(), escaped.size());
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
    const std::string dumped = j.dump(-1, ' ', false, Json::error_handler_t::replace);
    append(dumped.data(), dumped.size());
}

void TraceText::open(char bracket) {
    separate();
    put(bracket);
    ++depth_;
    first_[level()] = true;
}

void TraceText::close(char bracket) {
    put(bracket);
    if (depth_ > 0) --depth_;
}

void TraceText::key(const char* name) {
    separate();
    quoted(name, std::strlen(name));
    put(':');
    afterKey_ = true;
}

}  // namespace kvsim
