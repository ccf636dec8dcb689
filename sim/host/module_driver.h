// The host's side of the conversation: binds the module to a SimHost,
// reaches the engine object under "FLT" and calls its operations. Every
// call goes into the call log as a call of the host, and from initDll to
// exitDll the module's trace texts go into it too (those of the module
// linked into this program; a library loaded at run time hands its texts
// to the program's exported trace hook instead, see tools/korvane_host_trace.h).
// A sink installed before initDll still gets them.
#pragma once

#include <cstdint>
#include <string>

#include <korvane/flight_module_interface.h>
#include "sim/host/module_library.h"
#include "sim/host/sim_host.h"

namespace kvsim {

class ModuleDriver {
public:
    ModuleDriver(SimHost& host, ModuleEntryPoints entry) : host_(host), entry_(entry) {}
    ~ModuleDriver();
    ModuleDriver(const ModuleDriver&) = delete;
    ModuleDriver& operator=(const ModuleDriver&) = delete;

    void initDll(int32_t arg = 0);
    void exitDll();
    // The engine object the module registered, or null.
    kv::FlightModuleInterface* engine() const;

    // The nine engine operations. Each returns what the module returned; a
    // call while nothing is registered under "FLT" is logged and does
    // nothing (results 0).
    int32_t fly(const char* directory, const char* startupFile);
    int32_t setRunState(int32_t state);
    float getTimeCompression();
    int32_t isPaused();
    void setPaused(int32_t value);
    void setScreenshotDirectory(const char* directory);
    void takeScreenshot();
    // What the module writes into a buffer of size bytes (size 0 or less
    // hands it a buffer of one byte, preset to 'x', so that a write shows).
    std::string getFlightDirectory(int32_t size);
    float getStepRate();

private:
    static void recordTrace(const char* text, void* self);
    void installTraceSink();
    void removeTraceSink();

    SimHost& host_;
    ModuleEntryPoints entry_;
    bool sinkInstalled_ = false;
    // The module's trace sink before initDll (services/services.h).
    void (*previousSink_)(const char* text, void* context) = nullptr;
    void* previousContext_ = nullptr;
};

}  // namespace kvsim
