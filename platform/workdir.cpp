#include "platform/workdir.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/mbcs.h"

#ifdef _WIN32
#include <direct.h>
#else
#include <unistd.h>
#endif

namespace kv {

namespace {

#ifdef _WIN32
const char kNativeSeparator = '\\';
#else
const char kNativeSeparator = '/';
#endif

// Copies src to out replacing every character from with to; 0 when it does
// not fit in size bytes.
int32_t copyMapped(const char* src, char* out, int32_t size, char from, char to) {
    int32_t used = 0;
    for (const char* p = src; *p;) {
        const char* next = mbNext(p);
        const int32_t len = static_cast<int32_t>(next - p);
        if (used + len >= size) {
            out[0] = '\0';
            return 0;
        }
        if (len == 1 && *p == from) {
            out[used++] = to;
        } else {
            std::memcpy(out + used, p, static_cast<std::size_t>(len));
            used += len;
        }
        p = next;
    }
    out[used] = '\0';
    return 1;
}

}  // namespace

int32_t toNativePath(const char* path, char* out, int32_t size) {
    if (!out || size < 1) return 0;
    if (!path) {
        out[0] = '\0';
        return 1;
    }
    return copyMapped(path, out, size, '\\', kNativeSeparator);
}

void getWorkingDir(char* buffer, int32_t size) {
    if (!buffer || size < 1) return;
    buffer[0] = '\0';
#ifdef _WIN32
    char* cwd = _getcwd(nullptr, 0);
#else
    char* cwd = getcwd(nullptr, 0);
#endif
    if (!cwd) return;
    // Back in the module's form; an overlong directory is cut like any
    // text line, at a character boundary.
    std::string mapped(std::strlen(cwd) + 1, '\0');
    copyMapped(cwd, &mapped[0], static_cast<int32_t>(mapped.size()), kNativeSeparator, '\\');
    std::free(cwd);
    mbNCpyBytes(buffer, mapped.c_str(), static_cast<std::size_t>(size - 1));
    buffer[size - 1] = '\0';
}

int32_t setWorkingDir(const char* path) {
    if (!path || !*path) return 0;
    std::string native(std::strlen(path) + 1, '\0');
    if (!toNativePath(path, &native[0], static_cast<int32_t>(native.size()))) return 0;
#ifdef _WIN32
    return _chdir(native.c_str()) == 0 ? 1 : 0;
#else
    return chdir(native.c_str()) == 0 ? 1 : 0;
#endif
}

}  // namespace kv
