// Frame timing: how a frame's real time becomes simulated time.
//
// Inputs, per frame: the clock's raw frame time (seconds since the previous
// frame), in a network flight the network's frame time, and the engine's
// settings deltaT, maxDeltaT and timeCompression.
// Carried between frames: frameCount (the first two frames of a run render
// without simulating), paused, the skip-to-next and eject timers, and the
// screenshot timer of a network flight, all fields of the engine.
// Outputs: clampedFrameTime (what fades, messages, skip and eject count),
// simTime (what the mission, the environment and the object rendering
// see), the sub-steps that objects, world and particles are advanced by,
// and stepRate (sub-steps per second of raw frame time).
#pragma once

#include <cmath>
#include <cstdint>

namespace kv {

// A time that is negative, NaN or infinite counts as this: time never runs
// backwards, and a broken clock or network value costs one still frame.
constexpr float kUnusableTimeAsSeconds = 0.0f;

// Upper bound of the sub-steps of one frame. Sane settings stay far below
// it (maxDeltaT x timeCompression / deltaT: 32 for 0.2 s, 16x and 0.1 s);
// it only stops settings that would make one frame last for ever. Time
// beyond it is dropped, as time beyond maxDeltaT is.
constexpr int32_t kMaxSubStepsPerFrame = 4096;

// The locals of one frame.
struct FrameTiming {
    float frameTime;         // raw, made usable
    float clampedFrameTime;  // frameTime, at most maxDeltaT
    float simTime;           // simulated seconds of this frame
    float stepCount;         // sub-steps taken
};

inline float usableTime(float seconds) {
    return std::isfinite(seconds) && seconds > 0.0f ? seconds : kUnusableTimeAsSeconds;
}

// A frame time equal to maxDeltaT is kept as it is.
inline float clampFrameTime(float frameTime, float maxDeltaT) {
    return frameTime > maxDeltaT ? maxDeltaT : frameTime;
}

}  // namespace kv
