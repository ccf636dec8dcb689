// The no-op host's engine subsystems and the objects they hand out
// (sim/noop_host.h): one object answers for all of them, with fixed values.
#pragma once

#include <cstdint>

#include "host/engine_interfaces.h"

namespace kvsim {

// What the fixed answers are.
struct NoopSettings {
    // clkGetFrameTime, and netGetFrameTime in a network flight.
    float frameTime = 1.0f / 60.0f;
    // msnIsNetworkMission, and the mission's game mode.
    int32_t networkMission = 0;
    int32_t gameMode = 0;
};

class NoopEngine final : public kv::GraphicsInterface,
                         public kv::TerrainInterface,
                         public kv::ObjectsInterface,
                         public kv::WorldInterface,
                         public kv::SoundInterface,
                         public kv::InputInterface,
                         public kv::ControlsInterface,
                         public kv::ViewsInterface,
                         public kv::ParticlesInterface,
                         public kv::EnvironmentInterface,
                         public kv::MissionInterface,
                         public kv::ClockInterface,
                         public kv::TextInterface,
                         public kv::MessagesInterface,
                         public kv::SpeechInterface,
                         public kv::FadeInterface,
                         public kv::NetworkInterface,
                         public kv::ForceFeedbackInterface,
                         public kv::HudInterface,
                         public kv::AvionicsInterface,
                         public kv::CommInterface,
                         public kv::OptionsInterface,
                         public kv::Camera,
                         public kv::Image,
                         public kv::Display,
                         public kv::GameObject,
                         public kv::TargetRecord,
                         public kv::FlightControls,
                         public kv::Body,
                         public kv::Aircraft,
                         public kv::ViewAttachment {
public:
    NoopEngine();
    NoopEngine(const NoopEngine&) = delete;
    NoopEngine& operator=(const NoopEngine&) = delete;

    // The subsystem under a shell tag, or null.
    void* interfaceOf(const char* tag);

    NoopSettings settings;

    // ---- GFX ----
    int32_t gfxInitDisplay(kv::GraphicsSetup*, kv::DisplayOptions*) override { return 1; }
    void gfxConfigure(kv::GraphicsSetup*) override {}
    void gfxReleaseDisplay() override {}
    kv::Image* gfxLoadImage(const char*) override { return this; }
    void gfxReleaseImage(kv::Image** image) override;
    kv::Camera* gfxCreateCamera(int32_t) override { return this; }
    void gfxDestroyCamera(kv::Camera** camera) override;
    void gfxSetCamera(kv::Camera*) override {}
    kv::Display* gfxGetDisplay() override { return this; }
    void gfxSetTextureLimit(int32_t) override {}
    void gfxEnableTextureLimit(int32_t) override {}
    void gfxGetTextureSize(int32_t, int32_t* width, int32_t* height) override;
    void gfxSetRenderTarget(int32_t) override {}
    void gfxDrawRectFrame(const float*, const float*, const float*) override {}
    void gfxFillRect(const float*, const float*, const float*) override {}
    void gfxSetSceneMode(int32_t) override {}
    void gfxSetWorldMode(int32_t) override {}
    void gfxSetPassOption(int32_t) override {}
    void gfxSetMirrorPass(int32_t) override {}
    int32_t gfxGetPassOption() override { return 0; }
    int32_t gfxSaveScreenshot(const char*) override { return 1; }
    void gfxSetDefaultColor(const int32_t*) override {}
    void gfxSetLightingEnable(int32_t) override {}
    void gfxClearBuffers() override {}
    void gfxApplyCamera() override {}
    void gfxClearDepth() override {}
    void gfxBeginFrame() override {}
    void gfxEndFrame() override {}
    void gfxPresent() override {}
    void gfxBeginScene() override {}
    void gfxEndScene() override {}
    void gfxBeginPass() override {}
    void gfxEndPass() override {}
    void gfxDrawObjects() override {}
    void gfxFlushObjects() override {}
    void gfxDrawFarObjects() override {}
    void gfxDrawTransparent() override {}
    int32_t gfxCreateFont(const kv::FontSettings*) override { return 1; }
    void gfxSelectFont(int32_t) override {}
    void gfxSetTextColor(const float*) override {}
    void gfxBeginText() override {}
    void gfxEndText() override {}
    void gfxDrawText(const char*, float, float, int32_t, int32_t) override {}

    // ---- TER ----
    kv::TerrainInfo* terGetTerrainInfo(kv::TerrainInfo** info) override;
    int32_t terInitTerrainSystem(kv::TerrainSetup*) override { return 1; }
    void terReleaseTerrainSystem() override {}
    void terRenderLower() override {}
    void terRenderUpper() override {}
    void terRenderMap() override {}

    // ---- OBJ: every object id but -1 is this one aircraft ----
    void objInitObjects() override {}
    void objReleaseObjects() override {}
    int32_t objGetFlagByName(const char*) override { return 0x100; }
    kv::GameObject* objGetObject(int32_t objectId) override { return objectId == -1 ? nullptr : this; }
    int32_t objGetObjectInterface(int32_t objectId, int32_t kind, void** iface) override;
    int32_t objGetPlayerObject() override { return kPlayer; }
    void objSetPlayerObject(int32_t) override {}
    void objSetPlayerControl(int32_t) override {}
    void objUpdate(float) override {}
    void objRender(float) override {}
    void objRenderShadows() override {}
    void objEndFrame() override {}

    // ---- WLD ----
    void wldSetBounds(float, float, float) override {}
    void wldSetSectors(int32_t, int32_t, int32_t) override {}
    void wldRelease() override {}
    void wldUpdate(float) override {}

    // ---- SND ----
    void sndLoadSoundList(const char*) override {}
    void sndLoadSound(int32_t* soundId, const char*) override;
    void sndReleaseSounds() override {}
    void sndSetFormat(int32_t, int32_t) override {}
    void sndStopAllSounds() override {}
    void sndPlaySound(int32_t* playHandle, int32_t soundId, int32_t) override;
    void sndPrepare() override {}
    void sndSetListenerPosition(const double*) override {}
    void sndSetListenerVelocity(const float*) override {}
    void sndSetListenerOrientation(const float*) override {}
    void sndUpdate() override {}
    int32_t sndIsStreamPlaying() override { return 0; }
    void sndPlayStream(const char*, int32_t) override {}
    void sndStopStream() override {}

    // ---- INP, CTL ----
    void inpClearInput() override {}
    void ctlLoadControlMap(const char*, int32_t) override {}
    void ctlUnloadControlMap() override {}
    void ctlSetInputEnabled(int32_t) override {}
    int32_t ctlGetControlId(const char*) override { return kControl; }
    void ctlRegisterCommand(const char*, kv::CommandHandler, int32_t) override {}
    void ctlInjectEvent(const kv::ControlEvent*) override {}
    float ctlGetAxisValue(int32_t) override { return 0.0f; }
    void ctlUpdate(float) override {}
    void ctlSetKeyRepeat(float, float) override {}
    void ctlSetTextEntryMode(int32_t) override {}
    int32_t ctlIsTextEntryOpen() override { return 0; }
    void ctlBeginTextEntry() override {}
    void ctlGetEntryText(char* buffer, int32_t size) override;
    void ctlSetCommandFilter(kv::CommandHandler) override {}
    kv::ControlEvent* ctlGetControlEvent(int32_t) override { return &controlEvent_; }
    void ctlSetActive(int32_t) override {}

    // ---- VMG: the view is the cockpit of the aircraft ----
    void vmgLoadViewList(const char*) override {}
    void vmgUnloadViewList() override {}
    int32_t vmgCreateView(const char*, int32_t, int32_t) override { return 1; }
    void vmgSelectView(int32_t) override {}
    void vmgSelectPlayerView(int32_t) override {}
    void vmgHandleCommand(int32_t) override {}
    int32_t vmgIsViewCommand(int32_t) override { return 0; }
    void vmgEnableViewControls(int32_t) override {}
    void vmgUpdate(float) override {}
    int32_t vmgIsCockpitView() override { return 1; }
    void vmgRenderCockpit(int32_t) override {}
    float vmgGetFieldOfView() override { return 60.0f; }
    int32_t vmgGetViewObject() override { return kPlayer; }
    void vmgGetViewPosition(double* position) override { bodyGetPosition(position); }
    void vmgGetViewVelocity(float* velocity) override { bodyGetVelocity(velocity); }
    void vmgGetViewOrientation(float* orientation) override { bodyGetOrientation(orientation); }

    // ---- PTS ----
    void ptsLoadParticleSystemData(const char*, int32_t) override {}
    void ptsUnloadParticleSystemData() override {}
    void ptsSetViewPosition(const double*) override {}
    void ptsSetViewVelocity(const float*) override {}
    void ptsSetViewOrientation(const float*) override {}
    void ptsSetEnvironmentState(const kv::EnvironmentState*) override {}
    void ptsSetLevel(float) override {}
    void ptsUpdate(float) override {}
    void ptsRender() override {}

    // ---- ENV ----
    int32_t envLoadEnvironment(const char*) override { return 1; }
    void envUnloadEnvironment() override {}
    void envSetHorizonDistance(float) override {}
    void envAdvanceTime(float) override {}
    void envRenderBackground() override {}
    void envRenderMiddle() override {}
    void envRenderLensFlare() override {}
    void envApplyMissionRecord(const kv::EnvironmentRecord*) override {}
    void envInitFromMissionRecord(const kv::EnvironmentRecord*) override {}
    void envGetTimeOfDay(kv::TimeRecord* time) override;
    void envShiftTimeOfDay(int32_t) override {}
    void envSetTerrainParameter(int32_t) override {}
    float envGetLevel() override { return 0.5f; }
    kv::EnvironmentState* envGetStateAt(const double*, kv::EnvironmentState* state) override { return state; }
    int32_t envCameraCondition(float) override { return 0; }

    // ---- MSN ----
    void msnLoadSpeech(const char*) override {}
    void msnUnload() override {}
    void msnGetMissionSetup(kv::MissionSetup** setup) override;
    void msnUpdate(float) override {}
    void msnRenderUpper() override {}
    void msnRenderLower() override {}
    void msnRenderMap() override {}
    void msnFirstFrameDone() override {}
    void msnEndFlight() override {}
    int32_t msnIsNetworkMission() override { return settings.networkMission; }
    int32_t msnCanPause() override { return 1; }
    int32_t msnCanCompressTime() override { return 1; }
    int32_t msnCanChangeTime() override { return 1; }
    int32_t msnCanSkipToNext() override { return 1; }
    void msnSkipToNext() override {}
    const char* msnGetLoadingImage() override { return nullptr; }
    kv::EnvironmentRecord* msnGetInitialEnvironmentRecord(kv::EnvironmentRecord* record) override { return record; }
    kv::EnvironmentRecord* msnGetEnvironmentRecord(kv::EnvironmentRecord* record) override { return record; }
    int32_t msnCreateMissionObjects() override { return 1; }
    void msnDestroyMissionObjects() override {}
    int32_t msnGetPlayerObject() override { return kPlayer; }

    // ---- CLK: the clock stands still; every fade is over at once ----
    void clkReset() override {}
    void clkUpdate() override {}
    int32_t clkGetTime() override { return 0; }
    float clkGetFrameTime() override { return settings.frameTime; }

    // ---- TXT, MSG, SPC, FAD ----
    void txtLoadTextFile(const char*) override {}
    void txtUnloadTextFile(const char*) override {}
    int32_t txtGetStringId(const char*, const char*) override { return 0; }
    void txtGetIndexedString(const char*, int32_t, char* buffer, int32_t size) override;
    const char* txtGetString(const char*, int32_t) override { return ""; }
    void txtFormatTime(const kv::TimeRecord*, char* buffer, int32_t size, int32_t) override;
    void msgLoadMessageSystem(const char*) override {}
    void msgUnloadMessageSystem() override {}
    void msgShowText(const char*, ...) override {}
    void msgShowEntryLine(const char*, ...) override {}
    void msgUpdate(float) override {}
    void msgRender() override {}
    void spcLoadSpeechSystem(const char*) override {}
    void spcUnloadSpeechSystem() override {}
    void spcSetSubtitles(int32_t) override {}
    void spcUpdate() override {}
    void fadSetFadeTime(float) override {}
    void fadStartFadeOut(int32_t) override {}
    void fadStartFadeIn(int32_t) override {}
    int32_t fadStep(int32_t) override { return 1; }
    void fadUpdate(float) override {}

    // ---- NET: nobody else takes part ----
    void netLeave() override {}
    void netGetGameSettings(kv::HostGameSettings* gameSettings) override;
    void netFlush() override {}
    int32_t netPlayersChanged() override { return 0; }
    void netEnumPlayers(kv::PlayerCallback) override {}
    void netSendChat(const char*, int32_t, int32_t) override {}
    void netBeginFlight() override {}
    void netUpdate() override {}
    float netGetFrameTime() override { return settings.frameTime; }

    // ---- FFB, HUD, AVN, COM, OPT: no player options document ----
    void ffbLoadEffects(const char*) override {}
    void ffbUnloadEffects() override {}
    void ffbSetControlEvent(const kv::ControlEvent*) override {}
    void ffbStopEffects() override {}
    void hudInit(const char*) override {}
    void hudShutdown() override {}
    void hudSetViewPosition(const double*) override {}
    void hudSetViewOrientation(const float*) override {}
    void hudRender() override {}
    void hudRenderMap() override {}
    void avnUpdate() override {}
    void comInit(const char*) override {}
    void comShutdown() override {}
    void comOpenRadioMenu() override {}
    void comUpdate(float) override {}
    void comRender() override {}
    void optReloadOptions() override {}
    kv::ConfigDocument* optGetDocument(kv::ConfigDocument** document) override;
    void optReleaseDocument(kv::ConfigDocument** document) override;

    // ---- the objects handed out: one camera, picture, display and aircraft ----
    void cameraGetParams(kv::CameraParams** params) override;
    void cameraSetPosition(const double*) override {}
    void cameraSetOrientation(const float*) override {}
    void cameraGetPosition(double* position) override { bodyGetPosition(position); }
    void cameraApply() override {}
    void imageDraw(float, float, float, float) override {}
    void displayGetInfo(kv::DisplayInfo** info) override;
    int32_t objectGetInterface(int32_t kind, void** iface) override;
    int32_t objectIsActive() override { return 1; }
    int32_t objectGetRenderFlags() override { return 0; }
    void objectSetRenderFlags(int32_t) override {}
    int32_t targetIsActive() override { return 1; }
    int32_t controlsGetState(int32_t) override { return 0; }
    void bodyGetPosition(double* position) override;
    void bodyGetVelocity(float* velocity) override;
    void bodyGetOrientation(float* orientation) override;
    void objectSendEvent(int32_t, int32_t, int32_t) override {}
    int32_t targetGetObjectId() override { return -1; }
    void viewAttachReset(int32_t, int32_t) override {}

private:
    static constexpr int32_t kPlayer = 1;
    static constexpr int32_t kControl = 7;

    kv::ControlEvent controlEvent_ = {{kControl, 1, 0, 0}};
    kv::CameraParams cameraParams_ = {};
    kv::DisplayInfo displayInfo_ = {};
    kv::TerrainInfo terrainInfo_ = {};
    kv::MissionTimingRecord timing_ = {};
    kv::MissionSetup missionSetup_ = {};
};

}  // namespace kvsim
