// The module's two exported entry points and the shell binding behind them.
#pragma once

#include <cstdint>

#include <korvane/shell.h>

#if defined(_WIN32)
#define KV_EXPORT __declspec(dllexport)
#else
#define KV_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
// Binds the module to the host's shell and registers the engine as "FLT";
// arg is the host's own value, handed on to RegisterModule.
KV_EXPORT void InitDLL(int32_t arg, kv::ApplicationShell* shell);
// Withdraws "FLT" and gives back every interface, in reverse order.
KV_EXPORT void ExitDLL();
}

namespace kv {

class FlightModule;

// The module's one engine object, built with the library.
FlightModule& flightModule();

// Stores the shell, takes the module's name and fetches DBG, MEM, APP,
// DLL, FMG and RND in that order.
void InitApplicationShell(const char* name, ApplicationShell* applicationShell);
// Releases them in reverse order when name matches the bound name; on a
// mismatch it reports and keeps everything.
void ExitApplicationShell(const char* name);

}  // namespace kv
