// What the frame step carries from one frame to the next, beside the
// engine's own flight fields.
#pragma once

#include <cstdint>

namespace kv {

// The view of a frame: where the player looks from, how fast the eye
// moves, and the eye's orientation (row by row).
struct FrameView {
    double position[3];
    float velocity[3];
    float orientation[9];
};

struct FrameState {
    // The last frame's view; the map view keeps it when the player object
    // has no body to read a new one from.
    FrameView view;
    // 1 when the last frameStep ended early because the application is
    // stopping; the run driver ends the flight on it.
    int32_t stoppedByApp;
    // The sub-step limit is reported once per flight, not once per frame.
    int32_t subStepLimitReported;
};

}  // namespace kv
