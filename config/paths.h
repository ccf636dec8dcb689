// File paths against a base folder, in the module's backslash form.
#pragma once

#include <cstdint>

namespace kv {

// The path of name relative to base into out (size bytes, always
// terminated): ".." and "." segments at the start of name are resolved
// against base, a name with a drive or a base-less name with folders is
// taken as it is, and an empty name gives an empty out.
void resolvePath(const char* base, const char* name, char* out, int32_t size);
// resolvePath, then "." and extension when the file name has no extension
// of its own.
void buildFilePath(const char* base, const char* name, const char* extension, char* out,
                   int32_t size);

}  // namespace kv
