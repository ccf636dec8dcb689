// The clock and the screen fades, on virtual time.
//
// Clock. The virtual clock is in "loading" mode when the host is made and
// again whenever a flight starts (SimHost::beginFlight). While loading,
// every clkUpdate advances it by kLoadingStep (1/60 s), so the loading
// screen's fades take their time without using up the scenario's frame
// times, and clkGetFrameTime gives kLoadingStep. The memory checkpoint
// "End of _LoadKorvane" arms the flight's frames; the next clkReset (the
// run driver's, after the load) starts them. From then on clkUpdate n
// (counting from 0) starts frame n: clkGetFrameTime gives the scenario's
// frameTimes[n] (its last value repeats) and the virtual time advances by
// it. A frame time that is not finite or not positive is given out as it
// is but does not move the clock, so the virtual time never goes back or
// becomes NaN. clkReset itself never moves the virtual time: a fade
// started before it goes on counting. clkGetTime gives the virtual time in
// whole milliseconds, saturated at the 32-bit limit. state.frame is the
// frame in progress, -1 while the flight loads.
//
// Fade. fadStartFadeIn/fadStartFadeOut start a fade of the last
// fadSetFadeTime at the current virtual time. fadStep(t) reports 1 once
// t - start (milliseconds) reaches the fade time, 1 when no fade runs, and
// in any case from the kMaxFadeSteps-th step of one fade on, so a huge or
// infinite fade time, or a clock that does not move, never hangs a load.
// A fade time that is 0, negative or NaN finishes at the first step.
#pragma once

#include <korvane/engine_interfaces.h>
#include "sim/modules/sim_part.h"
#include "sim/calls/noop_defaults.h"

namespace kvsim {

class SimClock : public NoopClock, SimPart {
public:
    static constexpr float kLoadingStep = 1.0f / 60.0f;

    using SimPart::SimPart;
    void clkReset() override;
    void clkUpdate() override;
    int32_t clkGetTime() override;
    float clkGetFrameTime() override;

    // Back to loading mode at virtual time 0, as when the host was made.
    void beginFlight();
    // The load has ended: the next clkReset starts the flight's frames.
    void loadEnded() { framesArmed_ = true; }
    // Starts the flight's frames at once, for a test that drives frames
    // without a load; the next clkUpdate starts frame 0.
    void startFrames();

private:
    bool framesArmed_ = false;
};

class SimFade : public NoopFade, SimPart {
public:
    static constexpr int32_t kMaxFadeSteps = 10000;

    using SimPart::SimPart;
    void fadSetFadeTime(float seconds) override;
    void fadStartFadeOut(int32_t zero) override;
    void fadStartFadeIn(int32_t zero) override;
    int32_t fadStep(int32_t clockTime) override;

    // No fade running, fade time 0.
    void beginFlight();

    // Fades started in this flight, and steps asked of the current one.
    int32_t fadesStarted = 0;
    int32_t steps = 0;

private:
    void start();

    float fadeTime_ = 0.0f;
    bool running_ = false;
    double startMs_ = 0.0;
};

}  // namespace kvsim
