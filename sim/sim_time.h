// The clock and the screen fades. Each records every call and gives the results a flight relies on.
#pragma once

#include "host/engine_interfaces.h"
#include "sim/sim_part.h"

namespace kvsim {

class SimClock : public kv::ClockInterface, SimPart {
public:
    using SimPart::SimPart;
    void clkReset() override;
    void clkUpdate() override;
    int32_t clkGetTime() override;
    float clkGetFrameTime() override;
};

class SimFade : public kv::FadeInterface, SimPart {
public:
    using SimPart::SimPart;
    void fadSetFadeTime(float seconds) override;
    void fadStartFadeOut(int32_t zero) override;
    void fadStartFadeIn(int32_t zero) override;
    int32_t fadStep(int32_t clockTime) override;
    void fadUpdate(float clampedFrameTime) override;
};

}  // namespace kvsim
