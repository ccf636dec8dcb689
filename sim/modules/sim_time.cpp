#include "sim/modules/sim_time.h"

#include <cmath>
#include <cstdint>

namespace kvsim {

namespace {

int32_t milliseconds(double seconds) {
    const double ms = std::floor(seconds * 1000.0 + 0.5);
    return ms >= 2147483647.0 ? INT32_MAX : static_cast<int32_t>(ms);
}

}  // namespace

void SimClock::beginFlight() {
    state_.time = 0.0;
    state_.frame = -1;
    state_.frameTime = kLoadingStep;
    state_.clockLoading = true;
    framesArmed_ = false;
}

void SimClock::startFrames() {
    state_.clockLoading = false;
    state_.frame = -1;
    framesArmed_ = false;
}

void SimClock::clkReset() {
    if (framesArmed_) startFrames();
}

void SimClock::clkUpdate() {
    if (state_.clockLoading) {
        state_.frameTime = kLoadingStep;
    } else {
        const auto& times = state_.scenario.frameTimes;
        ++state_.frame;
        if (times.empty()) {
            state_.frameTime = kLoadingStep;
        } else {
            const std::size_t n = static_cast<std::size_t>(state_.frame);
            state_.frameTime = times[n < times.size() ? n : times.size() - 1];
        }
    }
    // A raw frame time the module must survive never moves the clock.
    if (std::isfinite(state_.frameTime) && state_.frameTime > 0.0f) state_.time += state_.frameTime;
}

int32_t SimClock::clkGetTime() { return milliseconds(state_.time); }

float SimClock::clkGetFrameTime() { return state_.frameTime; }

void SimFade::beginFlight() {
    fadeTime_ = 0.0f;
    running_ = false;
    startMs_ = 0.0;
    fadesStarted = 0;
    steps = 0;
}

void SimFade::start() {
    running_ = true;
    startMs_ = static_cast<double>(milliseconds(state_.time));
    steps = 0;
    ++fadesStarted;
}

void SimFade::fadSetFadeTime(float seconds) {
    fadeTime_ = seconds;
}

void SimFade::fadStartFadeOut(int32_t) {
    start();
}

void SimFade::fadStartFadeIn(int32_t) {
    start();
}

int32_t SimFade::fadStep(int32_t clockTime) {
    if (!running_) return 1;
    ++steps;
    // NaN compares false both ways: it counts as no fade time at all.
    const double fadeMs = fadeTime_ > 0.0f ? static_cast<double>(fadeTime_) * 1000.0 : 0.0;
    const bool done = static_cast<double>(clockTime) - startMs_ >= fadeMs || steps >= kMaxFadeSteps;
    if (done) running_ = false;
    return static_cast<int32_t>(done ? 1 : 0);
}


}  // namespace kvsim
