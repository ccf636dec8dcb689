#include "entry/module_entry.h"

#include "config/strings.h"
#include "engine/flight_module.h"
#include "services/services.h"
#include "services/shell_binding.h"
#include "platform/mbcs.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kv {

namespace {

// Built by the runtime's static construction when the library loads, so it
// exists before InitDLL and after ExitDLL.
FlightModule theFlightModule;

const char kModuleTag[] = "FLT";

void InitDBG() { getInterface("DBG", DBG); }
void InitMEM() { getInterface("MEM", MEM); }

// Each shell-level pointer is nulled as it goes back, so that nothing
// reaches a released interface (ModuleAlloc and MemFree fall back to the
// heap and to nothing once MEM is gone).
void ExitMEM() {
    // Everything the module still holds goes back with the owner, just
    // before MEM itself.
    MEM->memReleaseOwner(ownerName);
    releaseInterfaceAndNull("MEM", MEM);
}

void ExitDBG() { releaseInterfaceAndNull("DBG", DBG); }

}  // namespace

FlightModule& flightModule() { return theFlightModule; }

void InitApplicationShell(const char* name, ApplicationShell* applicationShell) {
    shell = applicationShell;
    strCopyBounded(moduleName, name, sizeof moduleName);
    ownerName = moduleName;
    InitDBG();
    InitMEM();  // right after DBG, so every later step may allocate
    getInterface("APP", APP);
    getInterface("DLL", DLL);
    getInterface("FMG", FMG);
    getInterface("RND", RND);
}

void ExitApplicationShell(const char* name) {
    if (strIsEmpty(name) || strIsEmpty(moduleName) || mbCmp(name, moduleName) != 0) {
        TraceMessage("Unable to exit application shell %s from DLL %s!", name ? name : "",
                     moduleName);
        return;
    }
    releaseInterfaceAndNull("RND", RND);
    releaseInterfaceAndNull("FMG", FMG);
    releaseInterfaceAndNull("DLL", DLL);
    releaseInterfaceAndNull("APP", APP);
    ExitMEM();
    ExitDBG();
}

}  // namespace kv

extern "C" {

void InitDLL(int32_t arg, kv::ApplicationShell* shell) {
    kv::bindHostTrace();
    kv::InitApplicationShell(kv::kModuleTag, shell);
    // After the shell-level interfaces: acquisition reaches the shell.
    kv::theFlightModule.AcquireInterfaces();
    // Only once the engine interfaces are held may the host reach the engine.
    kv::shell->RegisterModule(kv::kModuleTag, static_cast<kv::FlightModuleInterface*>(&kv::theFlightModule), arg);
    kv::TraceMessage("Korvane DLL Initialized...");
}

void ExitDLL() {
    kv::TraceMessage("Korvane DLL Deinitialized...");
    kv::theFlightModule.ReleaseInterfaces();
    kv::shell->UnregisterModule(kv::kModuleTag);
    kv::ExitApplicationShell(kv::kModuleTag);
    kv::unbindHostTrace();
}

#ifdef _WIN32
// The module keeps no per-thread state, so thread notifications only cost.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    return TRUE;
}
#endif

}  // extern "C"
