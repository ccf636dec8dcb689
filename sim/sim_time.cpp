#include "sim/sim_time.h"

namespace kvsim {

void SimClock::clkReset() { call("clkReset"); }
void SimClock::clkUpdate() {
    call("clkUpdate");
    world_.time += world_.frameTime;
}
int32_t SimClock::clkGetTime() {
    return returns(call("clkGetTime"), static_cast<int32_t>(world_.time * 1000.0));
}
float SimClock::clkGetFrameTime() { return returns(call("clkGetFrameTime"), world_.frameTime); }

void SimFade::fadSetFadeTime(float seconds) { call("fadSetFadeTime", {seconds}); }
void SimFade::fadStartFadeOut(int32_t zero) { call("fadStartFadeOut", {zero}); }
void SimFade::fadStartFadeIn(int32_t zero) { call("fadStartFadeIn", {zero}); }
int32_t SimFade::fadStep(int32_t clockTime) { return returns(call("fadStep", {clockTime}), 1); }
void SimFade::fadUpdate(float clampedFrameTime) { call("fadUpdate", {clampedFrameTime}); }

}  // namespace kvsim
