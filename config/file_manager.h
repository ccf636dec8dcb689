// Thin forwarders to the host's file manager, so the configuration code
// reaches FMG in one place. With FMG unbound they report "no file" and do
// nothing else.
#pragma once

#include <cstdint>

namespace kv {

int32_t fmgFileExists(const char* name);
int32_t fmgGetFileSize(const char* name);
void fmgPushDirectory();
void fmgPopDirectory();

}  // namespace kv
