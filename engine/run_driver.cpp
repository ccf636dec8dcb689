// Fly: one flight from entering its directory to giving the host back its
// own, steps 1 to 12.
#include <cstring>

#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "services/services.h"
#include "services/shell_binding.h"
#include "platform/thread.h"
#include "platform/workdir.h"

namespace kv {

namespace {

// runState 2: the host application is ending; Fly then returns 1.
constexpr int32_t kApplicationEnding = 2;
// How often Fly looks again whether a screenshot begun before it has ended.
constexpr uint32_t kCaptureWaitMilliseconds = 1;

}  // namespace

// GetFlightDirectory may read the field from another thread meanwhile: it
// changes under the shared lock, whole.
void FlightModule::setFlightDirectory() {
    char current[sizeof flightDirectory] = {};
    getWorkingDir(current, sizeof current);
    LockHeld held(sharedLock);
    std::memcpy(flightDirectory, current, sizeof flightDirectory);
}

// The flight's thread is known from before Fly's first step to after its
// last, so that a screenshot asked for on another thread meanwhile leaves
// the working directory and the file manager's directory stack to it. A
// screenshot that had begun in its own directory with no flight running
// finishes first: the flight's push and its folder come after that
// capture's pop.
int32_t FlightModule::Fly(const char* directory, const char* startupFile) {
    flightThread = currentThreadId();
    while (capturingInFolder) sleepMilliseconds(kCaptureWaitMilliseconds);
    const int32_t result = runFlight(directory, startupFile);
    flightThread = 0;
    return result;
}

int32_t FlightModule::runFlight(const char* directory, const char* startupFile) {
    int32_t result = 1;                                                      // 1
    FMG->fmgPushDirectory();                                                 // 2
    // A directory that cannot be entered is not reported: the flight runs
    // where the host is.
    if (directory && directory[0]) setWorkingDir(directory);                 // 3
    setFlightDirectory();                                                    // 4
    if (!flightDirectory[0]) TraceMessage("Fly: the working directory cannot be read; module paths are relative");
    if (!LoadKorvane(startupFile)) {                                         // 5
        FMG->fmgPopDirectory();                                              // 11
        return result;                                                       // 12
    }
    result = 0;                                                              // 6
    if (!skipFlight) {
        startFrames();                                                       // 7
        while (runState == 0) {                                              // 8
            frameStep();
            if (APP->appUpdate() == 0) runState = kApplicationEnding;
            if (networkFlight && APP->appIsRunning() == 0) runState = kApplicationEnding;
            // A frame that found the application stopping has already left
            // the network, so the test above no longer sees it; without this
            // the loop would spin on empty frames for as long as it stops.
            if (frameState.stoppedByApp) runState = kApplicationEnding;
        }
    }
    UnloadKorvane();                                                         // 9
    result = runState == kApplicationEnding ? 1 : 0;                         // 10
    FMG->fmgPopDirectory();                                                  // 11
    return result;                                                           // 12
}

void FlightModule::startFrames() {
    if (networkFlight) NET->netBeginFlight();                                // 7.1
    INP->inpClearInput();                                                    // 7.2
    CTL->ctlSetActive(1);                                                    // 7.3
    runState = 0;                                                            // 7.4
    frameCount = 0;
    stepRate = 0.0f;
    frameState = FrameState{};  // nothing carried over from an earlier flight's frames
    FAD->fadStartFadeIn(0);                                                  // 7.5
    CLK->clkReset();                                                         // 7.6
    if (networkFlight) {                                                     // 7.7
        NET->netUpdate();
        NET->netFlush();
    }
}

}  // namespace kv
