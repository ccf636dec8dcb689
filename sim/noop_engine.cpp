#include "sim/noop_engine.h"

#include <cstring>

namespace kvsim {

namespace {

void writeText(const char* text, char* buffer, int32_t size) {
    if (!buffer || size <= 0) return;
    std::strncpy(buffer, text, static_cast<std::size_t>(size) - 1);
    buffer[size - 1] = '\0';
}

}  // namespace

NoopEngine::NoopEngine() {
    cameraParams_.fieldOfView = 60.0f;
    cameraParams_.aspectRatio = 1.333333f;
    cameraParams_.nearClip = 1.0f;
    cameraParams_.farClip = 10000.0f;
    terrainInfo_.baseDirectory = ".";
    missionSetup_.timing = &timing_;
}

void* NoopEngine::interfaceOf(const char* tag) {
    if (!tag) return nullptr;
    struct Entry {
        const char* tag;
        void* iface;
    };
    const Entry entries[] = {
        {"GFX", static_cast<kv::GraphicsInterface*>(this)},    {"TER", static_cast<kv::TerrainInterface*>(this)},
        {"OBJ", static_cast<kv::ObjectsInterface*>(this)},     {"WLD", static_cast<kv::WorldInterface*>(this)},
        {"SND", static_cast<kv::SoundInterface*>(this)},       {"INP", static_cast<kv::InputInterface*>(this)},
        {"CTL", static_cast<kv::ControlsInterface*>(this)},    {"VMG", static_cast<kv::ViewsInterface*>(this)},
        {"PTS", static_cast<kv::ParticlesInterface*>(this)},   {"ENV", static_cast<kv::EnvironmentInterface*>(this)},
        {"MSN", static_cast<kv::MissionInterface*>(this)},     {"CLK", static_cast<kv::ClockInterface*>(this)},
        {"TXT", static_cast<kv::TextInterface*>(this)},        {"MSG", static_cast<kv::MessagesInterface*>(this)},
        {"SPC", static_cast<kv::SpeechInterface*>(this)},      {"FAD", static_cast<kv::FadeInterface*>(this)},
        {"NET", static_cast<kv::NetworkInterface*>(this)},     {"FFB", static_cast<kv::ForceFeedbackInterface*>(this)},
        {"HUD", static_cast<kv::HudInterface*>(this)},         {"AVN", static_cast<kv::AvionicsInterface*>(this)},
        {"COM", static_cast<kv::CommInterface*>(this)},        {"OPT", static_cast<kv::OptionsInterface*>(this)},
        // Held for the binding, never called.
        {"RND", static_cast<kv::Image*>(this)},                {"DBG", static_cast<kv::Display*>(this)},
    };
    for (const Entry& entry : entries)
        if (std::strcmp(entry.tag, tag) == 0) return entry.iface;
    return nullptr;
}

void NoopEngine::gfxReleaseImage(kv::Image** image) {
    if (image) *image = nullptr;
}

void NoopEngine::gfxDestroyCamera(kv::Camera** camera) {
    if (camera) *camera = nullptr;
}

void NoopEngine::gfxGetTextureSize(int32_t, int32_t* width, int32_t* height) {
    if (width) *width = 256;
    if (height) *height = 256;
}

kv::TerrainInfo* NoopEngine::terGetTerrainInfo(kv::TerrainInfo** info) {
    if (info) *info = &terrainInfo_;
    return &terrainInfo_;
}

int32_t NoopEngine::objGetObjectInterface(int32_t objectId, int32_t kind, void** iface) {
    if (objectId == -1) {
        if (iface) *iface = nullptr;
        return 0;
    }
    return objectGetInterface(kind, iface);
}

void NoopEngine::sndLoadSound(int32_t* soundId, const char*) {
    if (soundId) *soundId = 1;
}

void NoopEngine::sndPlaySound(int32_t* playHandle, int32_t soundId, int32_t) {
    if (playHandle) *playHandle = soundId;
}

void NoopEngine::ctlGetEntryText(char* buffer, int32_t size) { writeText("", buffer, size); }

void NoopEngine::envGetTimeOfDay(kv::TimeRecord* time) {
    if (time) *time = kv::TimeRecord{{12, 0, 0, 0}};
}

void NoopEngine::msnGetMissionSetup(kv::MissionSetup** setup) {
    missionSetup_.gameMode = settings.gameMode;
    if (setup) *setup = &missionSetup_;
}

void NoopEngine::txtGetIndexedString(const char*, int32_t, char* buffer, int32_t size) { writeText("", buffer, size); }

void NoopEngine::txtFormatTime(const kv::TimeRecord*, char* buffer, int32_t size, int32_t) {
    writeText("12:00", buffer, size);
}

void NoopEngine::netGetGameSettings(kv::HostGameSettings* gameSettings) {
    if (gameSettings) *gameSettings = kv::HostGameSettings{};
}

kv::ConfigDocument* NoopEngine::optGetDocument(kv::ConfigDocument** document) {
    if (document) *document = nullptr;
    return nullptr;
}

void NoopEngine::optReleaseDocument(kv::ConfigDocument** document) {
    if (document) *document = nullptr;
}

void NoopEngine::cameraGetParams(kv::CameraParams** params) {
    if (params) *params = &cameraParams_;
}

void NoopEngine::displayGetInfo(kv::DisplayInfo** info) {
    if (info) *info = &displayInfo_;
}

int32_t NoopEngine::objectGetInterface(int32_t kind, void** iface) {
    void* found = nullptr;
    switch (kind) {
    case kv::kTargetRecordKind: found = static_cast<kv::TargetRecord*>(this); break;
    case kv::kFlightControlsKind: found = static_cast<kv::FlightControls*>(this); break;
    case kv::kBodyKind: found = static_cast<kv::Body*>(this); break;
    case kv::kAircraftKind: found = static_cast<kv::Aircraft*>(this); break;
    case kv::kViewAttachmentKind: found = static_cast<kv::ViewAttachment*>(this); break;
    default: break;
    }
    if (iface) *iface = found;
    return found ? 1 : 0;
}

// The aircraft cruises level at 1000 m, heading north at 100 m/s.
void NoopEngine::bodyGetPosition(double* position) {
    if (!position) return;
    position[0] = 0.0;
    position[1] = 0.0;
    position[2] = 1000.0;
}

void NoopEngine::bodyGetVelocity(float* velocity) {
    if (!velocity) return;
    velocity[0] = 0.0f;
    velocity[1] = 100.0f;
    velocity[2] = 0.0f;
}

void NoopEngine::bodyGetOrientation(float* orientation) {
    if (!orientation) return;
    static const float level[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    std::memcpy(orientation, level, sizeof level);
}

}  // namespace kvsim
