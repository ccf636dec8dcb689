// A library that exports the module's two entry points and one more name:
// the export check must reject it.
#include <cstdint>

#include "entry/module_entry.h"

extern "C" {
KV_EXPORT void InitDLL(int32_t, kv::ApplicationShell*) {}
KV_EXPORT void ExitDLL() {}
KV_EXPORT int ExtraEntry() { return 1; }
}
