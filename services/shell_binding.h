// The module-wide shell binding: the shell and the six shell-level
// interfaces, held from InitDLL to ExitDLL. Null while unbound.
#pragma once

#include <korvane/shell.h>

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

// Fetches the interface of tag into slot; null when the host has none.
template <typename Interface>
void getInterface(const char* tag, Interface*& slot) {
    shell->GetInterface(tag, reinterpret_cast<void**>(&slot));
}

// Gives the interface of tag back to the shell; slot keeps whatever the
// shell leaves in it.
template <typename Interface>
void releaseInterface(const char* tag, Interface*& slot) {
    shell->ReleaseInterface(tag, reinterpret_cast<void**>(&slot));
}

// Gives it back and nulls slot, so nothing reaches a released interface.
template <typename Interface>
void releaseInterfaceAndNull(const char* tag, Interface*& slot) {
    releaseInterface(tag, slot);
    slot = nullptr;
}

}  // namespace kv
