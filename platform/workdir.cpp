#include "platform/workdir.h"

#include <cstdlib>
#include <cstring>

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
    // Back in the module's form. A directory that does not fit is not read
    // at all, as the C runtime's own call fails: a cut path would name
    // another folder, and module paths would be resolved against it.
    copyMapped(cwd, buffer, size, kNativeSeparator, '\\');
    std::free(cwd);
}

int32_t setWorkingDir(const char* path) {
    if (!path || !*path) return 0;
    const std::size_t size = std::strlen(path) + 1;
    char* native = static_cast<char*>(std::malloc(size));
    if (!native) return 0;
    int32_t entered = 0;
    if (toNativePath(path, native, static_cast<int32_t>(size))) {
#ifdef _WIN32
        entered = _chdir(native) == 0 ? 1 : 0;
#else
        entered = chdir(native) == 0 ? 1 : 0;
#endif
    }
    std::free(native);
    return entered;
}

}  // namespace kv
