// Text helpers the simulated modules share.
#pragma once

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace kvsim {

// A module-sized text into a caller's buffer, cut and terminated.
inline void copyText(const std::string& s, char* buffer, int32_t size) {
    if (!buffer || size < 1) return;
    const std::size_t n = std::min(s.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, s.data(), n);
    buffer[n] = '\0';
}

// A printf-style line as the module formats it, at most 1023 bytes.
inline std::string formatLine(const char* fmt, va_list args) {
    if (!fmt) return "";
    char line[1024];
    std::vsnprintf(line, sizeof line, fmt, args);
    return line;
}

}  // namespace kvsim
