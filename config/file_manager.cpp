#include "config/file_manager.h"

#include "services/shell_binding.h"

namespace kv {

int32_t fmgFileExists(const char* name) { return FMG ? FMG->fmgFileExists(name, 0) : 0; }

int32_t fmgGetFileSize(const char* name) { return FMG ? FMG->fmgGetFileSize(name) : 0; }

void fmgPushDirectory() {
    if (FMG) FMG->fmgPushDirectory();
}

void fmgPopDirectory() {
    if (FMG) FMG->fmgPopDirectory();
}

}  // namespace kv
