#include "frame/sub_step_plan.h"

#include "frame/frame_timing.h"

namespace kv {

SubStepPlan::SubStepPlan(float simTime, float deltaT)
    : remaining_(simTime), deltaT_(deltaT), single_(simTime < deltaT) {}

bool SubStepPlan::next(float* length) {
    if (single_) {
        if (count_ > 0) return false;
        *length = remaining_;
        remaining_ = 0.0f;
        ++count_;
        return true;
    }
    if (!(remaining_ > 0.0f)) return false;
    if (count_ >= kMaxSubStepsPerFrame) return false;
    const float left = remaining_ - deltaT_;
    if (!(left < remaining_)) return false;
    float step = deltaT_;
    remaining_ = left;
    if (remaining_ < deltaT_) {
        step = deltaT_ + remaining_;
        remaining_ = 0.0f;
    }
    *length = step;
    ++count_;
    return true;
}

}  // namespace kv
