#include "engine/flight_module.h"

#include <cstring>

#include "commands/message_text.h"
#include "config/strings.h"
#include "engine/subsystem_pointers.h"
#include "platform/thread.h"
#include "services/shell_binding.h"

namespace kv {

namespace {

// Names and paths, the in-flight text file's among them.
const int32_t kTextFileNameSize = 260;

}  // namespace

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
    // The text file's name and the text's id are copied; the table itself
    // stays loaded while the text is fetched and shown, because the
    // unloading waits for this call once it has counted itself in.
    char file[kTextFileNameSize];
    bool named = false;
    int32_t textId = -1;
    {
        LockHeld held(sharedLock);
        if (tableClosing) return;  // the flight is being taken down: nothing to show it on
        named = textFilename != nullptr;
        if (named) strCopyBounded(file, textFilename, sizeof file);
        textId = value ? pausedTextId : unpausedTextId;
        ++tableReaders;
    }
    showTableText(named ? file : nullptr, textId);
    LockHeld held(sharedLock);
    --tableReaders;
}

void FlightModule::SetScreenshotDirectory(const char* directory) {
    LockHeld held(sharedLock);
    screenshot.setDirectory(directory);
}

// One capture at a time, whichever thread asks: two at once would take the
// same number and pair each other's directory changes. The second is
// refused, not made to wait: the first may be waiting in the graphics
// module for the frame that the second, asked for inside that frame, would
// hold up.
void FlightModule::TakeScreenshot() {
    if (screenshotTimer > 0.0f) return;
    if (atomicExchange(captureBusy, 1) != 0) return;
    // Announced before the flight's thread is looked at, while Fly announces
    // itself before it looks at this: one of the two always sees the other.
    capturingInFolder = 1;
    const uint32_t flying = flightThread.load();
    const bool inFolder = flying == 0 || flying == currentThreadId();
    if (!inFolder) capturingInFolder = 0;
    // The settings are copied, and the number used written back, under the
    // lock; the capture's calls into the file manager, the sound and the
    // graphics module are made without it.
    ScreenshotCapture settings;
    char base[sizeof flightDirectory];
    {
        LockHeld held(sharedLock);
        settings = screenshot;
        std::memcpy(base, flightDirectory, sizeof base);
    }
    // A flight runs on another thread: its loading reads files relative to
    // the working directory and its Fly pushes and pops the file manager's
    // directory stack, so this capture touches neither. A relative
    // screenshot directory is taken from the flight's folder, the working
    // directory between its frames.
    if (inFolder)
        settings.capture();
    else
        settings.captureByPath(base);
    {
        LockHeld held(sharedLock);
        screenshot.lastNumber = settings.lastNumber;
    }
    screenshotTimer = screenshotInterval.load();
    capturingInFolder = 0;
    atomicExchange(captureBusy, 0);
}

void FlightModule::GetFlightDirectory(char* buffer, int32_t size) {
    // A null buffer or a size below 1 has no room even for the terminator.
    if (!buffer || size < 1) return;
    LockHeld held(sharedLock);
    strCopyBounded(buffer, flightDirectory, size);
}

float FlightModule::GetStepRate() { return stepRate; }

}  // namespace kv
