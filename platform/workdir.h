// The process's current directory, seen the way a Windows module sees it.
//
// The module builds paths with backslashes and ".\". On POSIX systems this
// layer maps backslashes to slashes on the way to the operating system and
// slashes to backslashes on the way back, so the module's path code works
// unchanged. The mapping steps by characters of the current code page, so
// a double-byte character whose trail byte is 0x5C stays intact.
#pragma once

#include <cstdint>

namespace kv {

// The current directory into buffer, terminated; empty when it cannot be
// read or does not fit in size - 1 bytes (a cut path would name another
// folder). A null buffer or a size below 1 does nothing.
void getWorkingDir(char* buffer, int32_t size);
// 1 when the current directory was changed to path, 0 for a null or empty
// path or a failure.
int32_t setWorkingDir(const char* path);

// Copies a module path into out (size bytes, always terminated) in the
// operating system's form. Returns 0 when it does not fit; out is then empty.
int32_t toNativePath(const char* path, char* out, int32_t size);

}  // namespace kv
