// The sub-step rule: how a frame's simulated time is cut into the steps
// objects, world and particles are advanced by.
//
// Below deltaT the frame is one sub-step of the whole simulated time, 0
// included. Otherwise every sub-step lasts deltaT and the last one takes
// the rest, so no sub-step is shorter than deltaT or as long as two of
// them: 0.25 s at 0.1 s gives 0.1 and 0.15.
//
// The walk always ends: it stops when taking deltaT off no longer shrinks
// what is left (a deltaT of 0, below 0, or too small to matter), and after
// kMaxSubStepsPerFrame sub-steps. Time left over then is dropped.
#pragma once

#include <cstdint>

namespace kv {

class SubStepPlan {
public:
    SubStepPlan(float simTime, float deltaT);

    // The length of the next sub-step; false when the frame has no more.
    bool next(float* length);

    int32_t count() const { return count_; }
    // Simulated time that the walk stopped short of.
    float dropped() const { return remaining_; }

private:
    float remaining_;
    float deltaT_;
    bool single_;
    int32_t count_ = 0;
};

}  // namespace kv
