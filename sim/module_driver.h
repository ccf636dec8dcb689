// The host's side of the conversation: binds the module to a SimHost,
// reaches the engine object under "FLT" and calls its operations. Every
// call goes into the call log as a call of the host.
#pragma once

#include <cstdint>
#include <string>

#include "engine/flight_module_interface.h"
#include "sim/module_library.h"
#include "sim/sim_host.h"

namespace kvsim {

class ModuleDriver {
public:
    ModuleDriver(SimHost& host, ModuleEntryPoints entry) : host_(host), entry_(entry) {}

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
    SimHost& host_;
    ModuleEntryPoints entry_;
};

}  // namespace kvsim
