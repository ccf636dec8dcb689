// One frame of a running flight, steps 1 to 31, under the engine lock.
// Timing inputs, carried state and outputs: frame/frame_timing.h.
#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "frame/frame_parts.h"
#include "frame/frame_timing.h"
#include "services/shell_binding.h"

namespace kv {

namespace {

// A TakeScreenshot on another thread may set the timer meanwhile; its new
// value is never overwritten with the old one counted down.
void countDownScreenshotTimer(std::atomic<float>& timer, float frameTime) {
    float left = timer.load();
    while (left > 0.0f && !timer.compare_exchange_weak(left, left - frameTime)) {
    }
}

// Steps 5 to 8: the frame's real time and the simulated time it stands for.
FrameTiming readFrameTiming(FlightModule& flight) {
    FrameTiming timing = {};
    timing.frameTime = usableTime(CLK->clkGetFrameTime());
    timing.clampedFrameTime = clampFrameTime(timing.frameTime, flight.maxDeltaT);
    if (!flight.networkFlight) {
        timing.simTime = usableTime(timing.clampedFrameTime * flight.timeCompression);
    } else {
        // Once per frame: the timer only has to run out, not be paid off.
        countDownScreenshotTimer(flight.screenshotTimer, timing.frameTime);
        // Asked every frame so the network keeps its own count, used only
        // from the third frame on.
        const float networkTime = usableTime(NET->netGetFrameTime());
        timing.simTime = flight.frameCount > 1 ? networkTime : 0.0f;
    }
    flight.stepRate = 0.0f;
    return timing;
}

}  // namespace

void FlightModule::frameStep() {
    lock.acquire();                                                   // 1
    CLK->clkUpdate();                                                 // 2
    if (networkFlight) NET->netUpdate();                              // 3
    frameState.stoppedByApp = 0;
    if (APP->appIsRunning() == 0) {                                   // 4
        if (networkFlight) NET->netLeave();
        networkFlight = 0;
        frameState.stoppedByApp = 1;
        lock.release();                                               // 31
        return;
    }
    FrameTiming timing = readFrameTiming(*this);                      // 5-8
    // 9: the first two frames of a run render without simulating.
    if (frameCount > 1) {
        FAD->fadUpdate(timing.clampedFrameTime);                      // 10
        advanceSkipToNext(*this, timing.clampedFrameTime);            // 11
        advanceEject(*this, timing.clampedFrameTime);                 // 12
        CTL->ctlUpdate(timing.frameTime);                             // 13
        if (networkFlight) advanceChat(*this);                        // 14.1
        if (networkFlight && waitingForPlayers) updateJoinWait(timing.clampedFrameTime);  // 14.2
        simulateFrame(*this, timing);                                 // 15-16
    }
    MSN->msnUpdate(timing.simTime);                                   // 17
    SPC->spcUpdate();                                                 // 18
    // 19: the map needs an aircraft to centre on.
    if (mapShown && (playerObjectId == -1 || ejected)) {
        mapShown = 0;
        VMG->vmgEnableViewControls(1);
        CTL->ctlSetCommandFilter(nullptr);
    }
    VMG->vmgUpdate(timing.frameTime);                                 // 20
    readFrameView(*this, frameState.view);                            // 21
    placeListener(frameState.view);                                   // 22
    ENV->envAdvanceTime(timing.simTime);                              // 23
    MSG->msgUpdate(timing.clampedFrameTime);
    if (commInterface) commInterface->comUpdate(timing.clampedFrameTime);
    EnvironmentState environment = {};                                // 24
    PTS->ptsSetEnvironmentState(ENV->envGetStateAt(frameState.view.position, &environment));
    PTS->ptsSetLevel(ENV->envGetLevel());
    GFX->gfxBeginFrame();
    if (!mapShown)                                                    // 25
        renderMainView(frameState.view, timing.simTime);
    else
        renderMapView(timing.clampedFrameTime);
    if (networkFlight && chatActive) drawChatLine(timing.frameTime);  // 26
    MSG->msgRender();                                                 // 27
    if (commInterface) commInterface->comRender();
    SND->sndUpdate();                                                 // 28
    GFX->gfxEndFrame();
    GFX->gfxPresent();
    if (frameCount++ == 0) MSN->msnFirstFrameDone();                  // 29
    OBJ->objEndFrame();                                               // 30
    lock.release();                                                   // 31
}

}  // namespace kv
