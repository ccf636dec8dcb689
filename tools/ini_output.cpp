#include "tools/ini_output.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kvtool {

namespace {

void appendByteEscape(std::string& out, unsigned char byte) {
    static const char kHex[] = "0123456789abcdef";
    out += "\\u00";
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

void appendText(std::string& out, const char* text) {
    if (text) out += text;
}

}  // namespace

std::string formatReal(float value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    char buffer[64];
    const double wide = static_cast<double>(value);
    // Nine significant digits always read back as the same float; fewer
    // usually do, and read better.
    int precision = 1;
    for (; precision < 9; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*g", precision, wide);
        if (std::strtof(buffer, nullptr) == value) break;
    }
    // %g turns 250 at two digits into 2.5e+02. Up to the nine digits a
    // float holds, the number reads better written out; the digits added
    // are the value's own.
    const int exponent = value == 0.0f ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(wide))));
    if (exponent >= precision && exponent < 9) precision = exponent + 1;
    std::snprintf(buffer, sizeof buffer, "%.*g", precision, wide);
    return buffer;
}

void appendJsonString(std::string& out, const char* value) {
    if (!value) {
        out += "null";
        return;
    }
    out += '"';
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(value); *p; ++p) {
        switch (*p) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            // 0x7F is legal JSON as it is, but escaping it keeps the
            // output free of control bytes.
            if (*p < 0x20 || *p >= 0x7F)
                appendByteEscape(out, *p);
            else
                out += static_cast<char>(*p);
        }
    }
    out += '"';
}

void appendJsonReal(std::string& out, float value) {
    const std::string text = formatReal(value);
    if (std::isfinite(value))
        out += text;
    else
        appendJsonString(out, text.c_str());
}

void appendPlainHeader(std::string& out, const char* path) {
    out += "; ";
    appendText(out, path);
    out += '\n';
}

void appendPlainSection(std::string& out, const char* name) {
    out += "\n[";
    appendText(out, name);
    out += "]\n";
}

void appendPlainKey(std::string& out, const char* name, const char* text, int32_t integer,
                    float real) {
    appendText(out, name);
    out += " = ";
    if (text)
        out += text;
    else
        out += "(no text)";
    out += "  (integer ";
    out += std::to_string(integer);
    out += ", real ";
    out += formatReal(real);
    out += ")\n";
}

}  // namespace kvtool
