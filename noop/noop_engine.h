// The no-op host's engine subsystems and the objects they hand out
// (noop/noop_host.h): one object answers for all of them, with the table's
// fixed answers; what is overridden here hands out the objects and fills
// what the module reads back.
#pragma once

#include <cstdint>

#include <korvane/engine_interfaces.h>

#include "sim/calls/noop_defaults.h"

namespace kvsim {

// What the fixed answers are.
struct NoopSettings {
    // clkGetFrameTime, and netGetFrameTime in a network flight.
    float frameTime = 1.0f / 60.0f;
    // msnIsNetworkMission, and the mission's game mode.
    int32_t networkMission = 0;
    int32_t gameMode = 0;
};

class NoopEngine final : public NoopGraphics,
                         public NoopTerrain,
                         public NoopObjects,
                         public NoopWorld,
                         public NoopSound,
                         public NoopInput,
                         public NoopControls,
                         public NoopViews,
                         public NoopParticles,
                         public NoopEnvironment,
                         public NoopMission,
                         public NoopClock,
                         public NoopText,
                         public NoopMessages,
                         public NoopSpeech,
                         public NoopFade,
                         public NoopNetwork,
                         public NoopForceFeedback,
                         public NoopHud,
                         public NoopAvionics,
                         public NoopComm,
                         public NoopOptions,
                         public NoopCamera,
                         public NoopImage,
                         public NoopDisplay,
                         public NoopGameObject,
                         public NoopTargetRecord,
                         public NoopFlightControls,
                         public NoopBody,
                         public NoopAircraft,
                         public NoopViewAttachment {
public:
    NoopEngine();
    NoopEngine(const NoopEngine&) = delete;
    NoopEngine& operator=(const NoopEngine&) = delete;

    // The subsystem under a shell tag, or null.
    void* interfaceOf(const char* tag);

    NoopSettings settings;

    // ---- GFX ----
    kv::Image* gfxLoadImage(const char*) override { return this; }
    void gfxReleaseImage(kv::Image** image) override;
    kv::Camera* gfxCreateCamera(int32_t) override { return this; }
    void gfxDestroyCamera(kv::Camera** camera) override;
    kv::Display* gfxGetDisplay() override { return this; }
    void gfxGetTextureSize(int32_t, int32_t* width, int32_t* height) override;

    // ---- TER ----
    kv::TerrainInfo* terGetTerrainInfo(kv::TerrainInfo** info) override;

    // ---- OBJ: every object id but -1 is this one aircraft ----
    kv::GameObject* objGetObject(int32_t objectId) override { return objectId == -1 ? nullptr : this; }
    int32_t objGetObjectInterface(int32_t objectId, int32_t kind, void** iface) override;

    // ---- SND ----
    void sndLoadSound(int32_t* soundId, const char*) override;
    void sndPlaySound(int32_t* playHandle, int32_t soundId, int32_t) override;

    // ---- INP, CTL ----
    void ctlGetEntryText(char* buffer, int32_t size) override;
    kv::ControlEvent* ctlGetControlEvent(int32_t) override { return &controlEvent_; }

    // ---- VMG: the view is the cockpit of the aircraft ----
    void vmgGetViewPosition(double* position) override { bodyGetPosition(position); }
    void vmgGetViewVelocity(float* velocity) override { bodyGetVelocity(velocity); }
    void vmgGetViewOrientation(float* orientation) override { bodyGetOrientation(orientation); }

    // ---- ENV ----
    void envGetTimeOfDay(kv::TimeRecord* time) override;

    // ---- MSN ----
    void msnGetMissionSetup(kv::MissionSetup** setup) override;
    int32_t msnIsNetworkMission() override { return settings.networkMission; }

    // ---- CLK: the clock stands still; every fade is over at once ----
    float clkGetFrameTime() override { return settings.frameTime; }

    // ---- TXT ----
    void txtGetIndexedString(const char*, int32_t, char* buffer, int32_t size) override;
    void txtFormatTime(const kv::TimeRecord*, char* buffer, int32_t size, int32_t) override;

    // ---- NET: nobody else takes part ----
    void netGetGameSettings(kv::HostGameSettings* gameSettings) override;
    float netGetFrameTime() override { return settings.frameTime; }

    // ---- FFB, HUD, AVN, COM, OPT: no player options document ----
    kv::ConfigDocument* optGetDocument(kv::ConfigDocument** document) override;
    void optReleaseDocument(kv::ConfigDocument** document) override;

    // ---- the objects handed out: one camera, picture, display and aircraft ----
    void cameraGetParams(kv::CameraParams** params) override;
    void cameraGetPosition(double* position) override { bodyGetPosition(position); }
    void displayGetInfo(kv::DisplayInfo** info) override;
    int32_t objectGetInterface(int32_t kind, void** iface) override;
    void bodyGetPosition(double* position) override;
    void bodyGetVelocity(float* velocity) override;
    void bodyGetOrientation(float* orientation) override;

private:
    static constexpr int32_t kPlayer = 1;
    // Set by the constructor: the control the table's ctlGetControlId
    // answers, pressed once.
    kv::ControlEvent controlEvent_ = {};
    kv::CameraParams cameraParams_ = {};
    kv::DisplayInfo displayInfo_ = {};
    kv::TerrainInfo terrainInfo_ = {};
    kv::MissionTimingRecord timing_ = {};
    kv::MissionSetup missionSetup_ = {};
    char opaqueTokens_[8] = {};
};

}  // namespace kvsim
