#include "sim/host/module_driver.h"

#include "services/services.h"

#include <vector>

namespace kvsim {

// The record of each host call is made before the call and its result set
// by number afterwards: the module calls the host meanwhile, and the log
// may drop or move nothing the driver still needs.

ModuleDriver::~ModuleDriver() { removeTraceSink(); }

void ModuleDriver::recordTrace(const char* text, void* self) {
    auto* driver = static_cast<ModuleDriver*>(self);
    driver->host_.log().trace(text);
    if (driver->previousSink_) driver->previousSink_(text, driver->previousContext_);
}

void ModuleDriver::installTraceSink() {
    if (sinkInstalled_) return;
    previousSink_ = kv::setTraceSink(&ModuleDriver::recordTrace, this, &previousContext_);
    sinkInstalled_ = true;
}

void ModuleDriver::removeTraceSink() {
    if (!sinkInstalled_) return;
    kv::setTraceSink(previousSink_, previousContext_);
    sinkInstalled_ = false;
}

void ModuleDriver::initDll(int32_t arg) {
    host_.log().hostCall("InitDLL", arg, Handle{host_.applicationShell(), "shell"});
    installTraceSink();  // before the call: binding already traces
    entry_.initDll(arg, host_.applicationShell());
}

void ModuleDriver::exitDll() {
    host_.log().hostCall("ExitDLL");
    entry_.exitDll();
    removeTraceSink();  // after the call: unbinding traces until its end
}

kv::FlightModuleInterface* ModuleDriver::engine() const {
    return static_cast<kv::FlightModuleInterface*>(host_.shell.registered("FLT"));
}

int32_t ModuleDriver::fly(const char* directory, const char* startupFile) {
    host_.beginFlight();  // every flight starts from the same stand-in state
    const std::size_t call = host_.log().hostCall("Fly", Text{directory}, Text{startupFile});
    kv::FlightModuleInterface* e = engine();
    return host_.log().hostReturns<int32_t>(call, e ? e->Fly(directory, startupFile) : 0);
}

int32_t ModuleDriver::setRunState(int32_t state) {
    const std::size_t call = host_.log().hostCall("SetRunState", state);
    kv::FlightModuleInterface* e = engine();
    return host_.log().hostReturns<int32_t>(call, e ? e->SetRunState(state) : 0);
}

float ModuleDriver::getTimeCompression() {
    const std::size_t call = host_.log().hostCall("GetTimeCompression");
    kv::FlightModuleInterface* e = engine();
    return host_.log().hostReturns(call, e ? e->GetTimeCompression() : 0.0f);
}

int32_t ModuleDriver::isPaused() {
    const std::size_t call = host_.log().hostCall("IsPaused");
    kv::FlightModuleInterface* e = engine();
    return host_.log().hostReturns<int32_t>(call, e ? e->IsPaused() : 0);
}

void ModuleDriver::setPaused(int32_t value) {
    host_.log().hostCall("SetPaused", value);
    if (kv::FlightModuleInterface* e = engine()) e->SetPaused(value);
}

void ModuleDriver::setScreenshotDirectory(const char* directory) {
    host_.log().hostCall("SetScreenshotDirectory", Text{directory});
    if (kv::FlightModuleInterface* e = engine()) e->SetScreenshotDirectory(directory);
}

void ModuleDriver::takeScreenshot() {
    host_.log().hostCall("TakeScreenshot");
    if (kv::FlightModuleInterface* e = engine()) e->TakeScreenshot();
}

std::string ModuleDriver::getFlightDirectory(int32_t size) {
    const std::size_t call = host_.log().hostCall("GetFlightDirectory", size);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 1, 'x');
    if (kv::FlightModuleInterface* e = engine()) e->GetFlightDirectory(buffer.data(), size);
    // Only up to the terminator, and never past the buffer.
    std::size_t length = 0;
    while (length < buffer.size() && buffer[length] != '\0') ++length;
    return host_.log().hostReturns(call, std::string(buffer.data(), length));
}

float ModuleDriver::getStepRate() {
    const std::size_t call = host_.log().hostCall("GetStepRate");
    kv::FlightModuleInterface* e = engine();
    return host_.log().hostReturns(call, e ? e->GetStepRate() : 0.0f);
}

}  // namespace kvsim
