#include "config/printf_format.h"

#include <cstring>

namespace kv {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The widest field any formatted text of the module needs: a whole text
// line. A wider field only makes printf produce characters that the bounded
// buffer throws away, a billion of them for "%999999999d".
constexpr int32_t kMaxFieldWidth = 259;

// Reads a run of digits from p on; false when its value passes
// kMaxFieldWidth (counted without overflow, however long the run).
bool readFieldNumber(const char*& p) {
    int32_t value = 0;
    for (; isDigit(*p); ++p) {
        value = value * 10 + (*p - '0');
        if (value > kMaxFieldWidth) return false;
    }
    return true;
}

const char* conversionsOf(FormatArgument kind) {
    switch (kind) {
        case FormatArgument::Integer: return "diuoxX";
        case FormatArgument::Real: return "fFeEgGaA";
        case FormatArgument::Text: return "s";
    }
    return "";
}

}  // namespace

int32_t formatAccepts(const char* format, FormatArgument kind, int32_t minConversions,
                      int32_t maxConversions) {
    if (!format) return 0;
    const char* allowed = conversionsOf(kind);
    int32_t conversions = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        while (*p && std::strchr("-+ #0", *p)) ++p;
        if (!readFieldNumber(p)) return 0;  // width
        if (*p == '.') {
            ++p;
            if (!readFieldNumber(p)) return 0;  // precision
        }
        // Anything but a plain conversion letter of the expected kind (a
        // length modifier, '*', '$', 'n', or the end of the text) would read
        // an argument the caller never passed, or write through one.
        if (!*p || !std::strchr(allowed, *p)) return 0;
        if (++conversions > maxConversions) return 0;
    }
    return conversions >= minConversions;
}

}  // namespace kv
