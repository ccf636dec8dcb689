#include "services/shell_binding.h"

namespace kv {

ApplicationShell* shell = nullptr;
AppInterface* APP = nullptr;
DllInterface* DLL = nullptr;
FileManagerInterface* FMG = nullptr;
RenderInterface* RND = nullptr;
DebugInterface* DBG = nullptr;
MemoryInterface* MEM = nullptr;

char moduleName[8] = {};
const char* ownerName = nullptr;

}  // namespace kv
