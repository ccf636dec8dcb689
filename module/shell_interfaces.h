// The module-wide shell binding: the shell and the six shell-level
// interfaces, held from InitDLL to ExitDLL. Null while unbound.
#pragma once

#include "host/shell.h"

namespace kv {

extern ApplicationShell* shell;
extern AppInterface* APP;
extern DllInterface* DLL;
extern FileManagerInterface* FMG;
extern RenderInterface* RND;
extern DebugInterface* DBG;
extern MemoryInterface* MEM;

// The module's tag as bound, cut to 7 bytes; also the owner name of every
// MEM block the module takes.
extern char moduleName[8];
// Points at moduleName once bound; null before.
extern const char* ownerName;

}  // namespace kv
