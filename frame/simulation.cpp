#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "frame/frame_parts.h"
#include "frame/frame_timing.h"
#include "frame/sub_step_plan.h"
#include "services/services.h"

namespace kv {

namespace {

void runSubSteps(FlightModule& flight, FrameTiming& timing) {
    SubStepPlan plan(timing.simTime, flight.deltaT);
    float length = 0.0f;
    while (plan.next(&length)) {
        OBJ->objUpdate(length);
        WLD->wldUpdate(length);
        PTS->ptsUpdate(length);
    }
    timing.stepCount = static_cast<float>(plan.count());
    if (plan.dropped() > 0.0f && !flight.frameState.subStepLimitReported) {
        flight.frameState.subStepLimitReported = 1;
        TraceMessage("Frame step: %d sub-steps of %g s reached, %g s of simulated time dropped",
                     plan.count(), static_cast<double>(flight.deltaT),
                     static_cast<double>(plan.dropped()));
    }
}

}  // namespace

void simulateFrame(FlightModule& flight, FrameTiming& timing) {
    if (!flight.paused) {
        timing.stepCount = 0.0f;
        runSubSteps(flight, timing);
        flight.trackPlayerObject();
        // The raw frame time: the rate says how the simulation keeps up
        // with real time, however much of it was clamped away.
        if (timing.frameTime > 0.0f) flight.stepRate = timing.stepCount / timing.frameTime;
        return;
    }
    OBJ->objUpdate(0.0f);
    if (flight.startRequested) {
        // The join wait is over: this frame's time already reaches the
        // mission; objects are simulated from the next frame on.
        flight.paused = 0;
        flight.startRequested = 0;
        flight.waitingForPlayers = 0;
    } else {
        timing.simTime = 0.0f;
    }
}

}  // namespace kv
