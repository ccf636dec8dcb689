#include "noop/noop_flight.h"


#include "engine/flight_module.h"
#include "engine/subsystem_pointers.h"
#include "entry/module_entry.h"

namespace kvsim {

namespace {

struct Named {
    FrameKind kind;
    const char* name;
};
const Named kKinds[] = {{FrameKind::OneSubStep, "one_sub_step"},
                        {FrameKind::ThirtyTwoSubSteps, "32_sub_steps"},
                        {FrameKind::MapView, "map_view"},
                        {FrameKind::NetworkFlight, "network_flight"}};

// The training flight's DeltaT is 0.02 s and its MaxDeltaT 0.25 s: at 4x,
// a frame of 0.1625 s is 0.65 s of simulated time, 31 sub-steps of DeltaT
// and a last one of the rest.
constexpr float kNormalFrame = 1.0f / 60.0f;
constexpr float kLongFrame = 0.1625f;

}  // namespace

const char* nameOf(FrameKind kind) {
    for (const Named& named : kKinds)
        if (named.kind == kind) return named.name;
    return "";
}

bool frameKindNamed(const std::string& name, FrameKind* kind) {
    for (const Named& named : kKinds) {
        if (name != named.name) continue;
        *kind = named.kind;
        return true;
    }
    return false;
}

NoopFlight::NoopFlight(const std::filesystem::path& folder) : before_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
    InitDLL(0, host.applicationShell());
}

NoopFlight::~NoopFlight() {
    unload();
    ExitDLL();
    std::error_code error;
    std::filesystem::current_path(before_, error);
}

bool NoopFlight::load(FrameKind kind) {
    unload();
    NoopSettings& settings = host.settings();
    settings.networkMission = kind == FrameKind::NetworkFlight ? 1 : 0;
    frameTime_ = kind == FrameKind::ThirtyTwoSubSteps ? kLongFrame : kNormalFrame;
    settings.frameTime = frameTime_;
    kv::FlightModule* flight = kv::engine;
    if (!flight || !flight->LoadKorvane("flight.ini")) return false;
    loaded_ = true;
    flight->startFrames();
    if (kind == FrameKind::ThirtyTwoSubSteps) {
        flight->increaseTimeCompression();  // 2x
        flight->increaseTimeCompression();  // 4x
    }
    if (kind == FrameKind::MapView) flight->toggleMap();
    frame();
    frame();
    return true;
}

void NoopFlight::unload() {
    if (!loaded_) return;
    loaded_ = false;
    kv::engine->UnloadKorvane();
}

void NoopFlight::frame() { kv::engine->frameStep(); }

float NoopFlight::subStepsOfLastFrame() const { return kv::engine->GetStepRate() * frameTime_; }

}  // namespace kvsim
