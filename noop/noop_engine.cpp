#include "noop/noop_engine.h"

#include <cstring>
#include <type_traits>

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
    controlEvent_ = {{NoopControls::ctlGetControlId(nullptr), 1, 0, 0}};
}

namespace {

// The engine's subsystems are this object; the shell-level ones are the
// shell's (noop/noop_shell.h).
template <typename I>
void* asInterface(NoopEngine* engine) {
    if constexpr (std::is_base_of<I, NoopEngine>::value) {
        return static_cast<I*>(engine);
    } else {
        return nullptr;
    }
}

}  // namespace

void* NoopEngine::interfaceOf(const char* tag) {
    if (!tag) return nullptr;
#define KV_INTERFACE_OF(tag_, Interface, Name, OPS, FORMATTED, presence) \
    if (std::strcmp(tag, #tag_) == 0) return asInterface<Interface>(this);
    KV_TAGGED_INTERFACES(KV_INTERFACE_OF)
#undef KV_INTERFACE_OF
    // Held for the binding, never called: any distinct object will do.
    int index = 0;
#define KV_OPAQUE_OF(tag_)                                            \
    if (std::strcmp(tag, #tag_) == 0) return &opaqueTokens_[index]; \
    ++index;
    KV_OPAQUE_TAGS(KV_OPAQUE_OF)
#undef KV_OPAQUE_OF
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
