// The module alone: the linked-in module bound to the no-op host
// (noop/noop_host.h), one flight loaded and flown frame by frame, so that
// what a benchmark measures is the module's own work and its calls, not a
// host's.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "noop/noop_host.h"

namespace kvsim {

// The frames measured.
enum class FrameKind {
    OneSubStep,         // 1/60 s at normal time: one sub-step
    ThirtyTwoSubSteps,  // time compression 4x: 32 sub-steps of DeltaT 0.02
    MapView,            // the map instead of the cockpit, one sub-step
    NetworkFlight,      // a network mission, game mode 0, one sub-step
};
const char* nameOf(FrameKind kind);
bool frameKindNamed(const std::string& name, FrameKind* kind);

class NoopFlight {
public:
    // Binds the module to a fresh no-op host and enters the flight's folder.
    explicit NoopFlight(const std::filesystem::path& folder);
    // Unloads what is loaded, unbinds, and goes back to the folder before.
    ~NoopFlight();
    NoopFlight(const NoopFlight&) = delete;
    NoopFlight& operator=(const NoopFlight&) = delete;

    // Loads the flight's start-up file and sets the frames up as Fly does,
    // then flies the two frames that only render; false when the load failed.
    bool load(FrameKind kind);
    void unload();
    void frame();
    // The sub-steps of the last frame.
    float subStepsOfLastFrame() const;

    NoopHost host;

private:
    std::filesystem::path before_;
    float frameTime_ = 0.0f;
    bool loaded_ = false;
};

}  // namespace kvsim
