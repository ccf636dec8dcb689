#include "engine/flight_module.h"

#include "commands/message_text.h"
#include "config/strings.h"
#include "engine/subsystem_pointers.h"
#include "services/shell_interfaces.h"

namespace kv {

// The base and the screenshot object are built first by the member
// initialisers; the texts and per-flight interfaces start null. The shared
// fields' lock is ready before the host can reach the engine from any
// thread; the engine lock waits for AcquireInterfaces.
FlightModule::FlightModule() { sharedLock.init(); }

void FlightModule::AcquireInterfaces() {
    lock.init();
    lock.acquire();
    getInterface("GFX", GFX);
    getInterface("TER", TER);
    getInterface("OBJ", OBJ);
    getInterface("WLD", WLD);
    getInterface("SND", SND);
    getInterface("INP", INP);
    getInterface("CTL", CTL);
    getInterface("VMG", VMG);
    getInterface("PTS", PTS);
    getInterface("ENV", ENV);
    getInterface("MSN", MSN);
    getInterface("CLK", CLK);
    getInterface("TXT", TXT);
    getInterface("MSG", MSG);
    getInterface("SPC", SPC);
    getInterface("FAD", FAD);
    getInterface("NET", NET);
    getInterface("FFB", FFB);
    graphicsSetup = GraphicsSetup{};
    terrainSetup = TerrainSetup{};
    notRenderedFlag = OBJ->objGetFlagByName("NOT_RENDERED");
    engine = this;
    lock.release();
}

void FlightModule::ReleaseInterfaces() {
    lock.acquire();
    // Only these two may be missing from a host.
    if (FFB) releaseInterface("FFB", FFB);
    if (NET) releaseInterface("NET", NET);
    releaseInterface("FAD", FAD);
    releaseInterface("SPC", SPC);
    releaseInterface("MSG", MSG);
    releaseInterface("TXT", TXT);
    releaseInterface("CLK", CLK);
    releaseInterface("MSN", MSN);
    releaseInterface("ENV", ENV);
    releaseInterface("PTS", PTS);
    releaseInterface("VMG", VMG);
    releaseInterface("CTL", CTL);
    releaseInterface("INP", INP);
    releaseInterface("SND", SND);
    releaseInterface("WLD", WLD);
    releaseInterface("OBJ", OBJ);
    releaseInterface("TER", TER);
    releaseInterface("GFX", GFX);
    engine = nullptr;
    lock.release();
}

int32_t FlightModule::SetRunState(int32_t state) {
    runState = state;
    return state;
}

float FlightModule::GetTimeCompression() { return timeCompression; }

int32_t FlightModule::IsPaused() { return paused; }

void FlightModule::SetPaused(int32_t value) {
    if (MSN->msnCanPause() == 0) return;
    if (skipToNextActive) return;
    paused = value;
    // The text file's name and its table stay while the text is fetched
    // and shown: the unloading frees both under the same lock.
    LockHeld held(sharedLock);
    showTableText(textFilename, value ? pausedTextId : unpausedTextId);
}

void FlightModule::SetScreenshotDirectory(const char* directory) {
    LockHeld held(sharedLock);
    screenshot.setDirectory(directory);
}

// One capture at a time, whichever thread asks: two at once would take the
// same number and pair each other's directory changes.
void FlightModule::TakeScreenshot() {
    LockHeld held(sharedLock);
    if (screenshotTimer > 0.0f) return;
    screenshot.capture();
    screenshotTimer = screenshotInterval.load();
}

void FlightModule::GetFlightDirectory(char* buffer, int32_t size) {
    // A null buffer or a size below 1 has no room even for the terminator.
    if (!buffer || size < 1) return;
    LockHeld held(sharedLock);
    strCopyBounded(buffer, flightDirectory, size);
}

float FlightModule::GetStepRate() { return stepRate; }

}  // namespace kv
