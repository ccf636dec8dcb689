// The simulated engine subsystems other than graphics, the per-flight
// modules and the game objects. Each records every call and gives the
// results a flight relies on.
#pragma once

#include <map>
#include <memory>

#include "host/engine_interfaces.h"
#include "sim/sim_part.h"

namespace kvsim {

class SimTerrain : public kv::TerrainInterface, SimPart {
public:
    using SimPart::SimPart;
    kv::TerrainInfo* terGetTerrainInfo(kv::TerrainInfo** info) override;
    int32_t terInitTerrainSystem(kv::TerrainSetup* setup) override;
    void terReleaseTerrainSystem() override;
    void terRenderLower() override;
    void terRenderUpper() override;
    void terRenderMap() override;

    bool hasInfo = true;
    int32_t initResult = 1;
    kv::TerrainInfo info = {};
};

// A game object with all its interfaces of kinds 2, 3, 4, 10 and 11.
class SimGameObject final : public kv::GameObject,
                            public kv::TargetRecord,
                            public kv::FlightControls,
                            public kv::Body,
                            public kv::Aircraft,
                            public kv::ViewAttachment,
                            SimPart {
public:
    SimGameObject(SimWorld& world, int32_t id) : SimPart(world), id(id) {}
    int32_t objectGetInterface(int32_t kind, void** iface) override;
    int32_t objectIsActive() override;
    int32_t objectGetRenderFlags() override;
    void objectSetRenderFlags(int32_t flags) override;
    int32_t targetIsActive() override;
    int32_t controlsGetState(int32_t attribute) override;
    void bodyGetPosition(double* p) override;
    void bodyGetVelocity(float* v) override;
    void bodyGetOrientation(float* m) override;
    void objectSendEvent(int32_t event, int32_t target, int32_t value) override;
    int32_t targetGetObjectId() override;
    void viewAttachReset(int32_t a, int32_t b) override;

    // The interface of kind, or null for a kind the object does not have.
    void* interfaceOf(int32_t kind);

    int32_t id;
    int32_t active = 1;
    int32_t renderFlags = 0;
    int32_t targetId = -1;
    std::map<int32_t, int32_t> controlStates;
    double position[3] = {};
    float velocity[3] = {};
    float orientation[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
};

class SimObjects : public kv::ObjectsInterface, SimPart {
public:
    using SimPart::SimPart;
    void objInitObjects() override;
    void objReleaseObjects() override;
    int32_t objGetFlagByName(const char* name) override;
    kv::GameObject* objGetObject(int32_t objectId) override;
    int32_t objGetObjectInterface(int32_t objectId, int32_t kind, void** iface) override;
    int32_t objGetPlayerObject() override;
    void objSetPlayerObject(int32_t objectId) override;
    void objSetPlayerControl(int32_t on) override;
    void objUpdate(float stepTime) override;
    void objRender(float simulatedTime) override;
    void objRenderShadows() override;
    void objEndFrame() override;

    // Makes (or returns) the object with id.
    SimGameObject& object(int32_t id);
    std::map<int32_t, std::unique_ptr<SimGameObject>> objects;
    int32_t playerObject = -1;
};

class SimWorldModule : public kv::WorldInterface, SimPart {
public:
    using SimPart::SimPart;
    void wldSetBounds(float border, float maxHeight, float minHeight) override;
    void wldSetSectors(int32_t width, int32_t height, int32_t objectsPerSector) override;
    void wldRelease() override;
    void wldUpdate(float stepTime) override;
};

class SimSound : public kv::SoundInterface, SimPart {
public:
    using SimPart::SimPart;
    void sndLoadSoundList(const char* fileName) override;
    void sndLoadSound(int32_t* soundId, const char* fileName) override;
    void sndReleaseSounds() override;
    void sndSetFormat(int32_t bitsPerSample, int32_t sampleFrequency) override;
    void sndStopAllSounds() override;
    void sndPlaySound(int32_t* playHandle, int32_t soundId, int32_t zero) override;
    void sndPrepare() override;
    void sndSetListenerPosition(const double* p) override;
    void sndSetListenerVelocity(const float* v) override;
    void sndSetListenerOrientation(const float* m) override;
    void sndUpdate() override;
    int32_t sndIsStreamPlaying() override;
    void sndPlayStream(const char* fileName, int32_t loop) override;
    void sndStopStream() override;

    int32_t streamPlaying = 0;
};

class SimInput : public kv::InputInterface, SimPart {
public:
    using SimPart::SimPart;
    void inpClearInput() override;
};

class SimControls : public kv::ControlsInterface, SimPart {
public:
    using SimPart::SimPart;
    void ctlLoadControlMap(const char* name, int32_t one) override;
    void ctlUnloadControlMap() override;
    void ctlSetInputEnabled(int32_t on) override;
    int32_t ctlGetControlId(const char* name) override;
    void ctlRegisterCommand(const char* name, kv::CommandHandler handler, int32_t zero) override;
    void ctlInjectEvent(const kv::ControlEvent* event) override;
    float ctlGetAxisValue(int32_t controlId) override;
    void ctlUpdate(float rawFrameTime) override;
    void ctlSetKeyRepeat(float rate, float delay) override;
    void ctlSetTextEntryMode(int32_t mode) override;
    int32_t ctlIsTextEntryOpen() override;
    void ctlBeginTextEntry() override;
    void ctlGetEntryText(char* buffer, int32_t size) override;
    void ctlSetCommandFilter(kv::CommandHandler filter) override;
    kv::ControlEvent* ctlGetControlEvent(int32_t controlId) override;
    void ctlSetActive(int32_t on) override;

    // Control names that have an id: their position in this map plus 1.
    std::map<std::string, int32_t> controls;
    std::map<std::string, kv::CommandHandler> commands;
    kv::CommandHandler filter = nullptr;
    std::map<int32_t, kv::ControlEvent> events;
    std::string entryText;
    int32_t textEntryOpen = 0;
};

class SimViews : public kv::ViewsInterface, SimPart {
public:
    using SimPart::SimPart;
    void vmgLoadViewList(const char* fileName) override;
    void vmgUnloadViewList() override;
    int32_t vmgCreateView(const char* name, int32_t objectId, int32_t one) override;
    void vmgSelectView(int32_t view) override;
    void vmgSelectPlayerView(int32_t view) override;
    void vmgHandleCommand(int32_t commandId) override;
    int32_t vmgIsViewCommand(int32_t commandId) override;
    void vmgEnableViewControls(int32_t on) override;
    void vmgUpdate(float rawFrameTime) override;
    int32_t vmgIsCockpitView() override;
    void vmgRenderCockpit(int32_t showCockpit) override;
    float vmgGetFieldOfView() override;
    int32_t vmgGetViewObject() override;
    void vmgGetViewPosition(double* p) override;
    void vmgGetViewVelocity(float* v) override;
    void vmgGetViewOrientation(float* m) override;

    int32_t views = 0;
    int32_t cockpitView = 1;
};

class SimParticles : public kv::ParticlesInterface, SimPart {
public:
    using SimPart::SimPart;
    void ptsLoadParticleSystemData(const char* fileName, int32_t effectsDetail) override;
    void ptsUnloadParticleSystemData() override;
    void ptsSetViewPosition(const double* p) override;
    void ptsSetViewVelocity(const float* v) override;
    void ptsSetViewOrientation(const float* m) override;
    void ptsSetEnvironmentState(const kv::EnvironmentState* state) override;
    void ptsSetLevel(float level) override;
    void ptsUpdate(float stepTime) override;
    void ptsRender() override;
};

class SimEnvironment : public kv::EnvironmentInterface, SimPart {
public:
    using SimPart::SimPart;
    int32_t envLoadEnvironment(const char* fileName) override;
    void envUnloadEnvironment() override;
    void envSetHorizonDistance(float distance) override;
    void envAdvanceTime(float simulatedTime) override;
    void envRenderBackground() override;
    void envRenderMiddle() override;
    void envRenderLensFlare() override;
    void envApplyMissionRecord(const kv::EnvironmentRecord* record) override;
    void envInitFromMissionRecord(const kv::EnvironmentRecord* record) override;
    void envGetTimeOfDay(kv::TimeRecord* time) override;
    void envShiftTimeOfDay(int32_t seconds) override;
    void envSetTerrainParameter(int32_t value) override;
    float envGetLevel() override;
    kv::EnvironmentState* envGetStateAt(const double* p, kv::EnvironmentState* state) override;
    int32_t envCameraCondition(float viewCoordinate) override;

    int32_t loadResult = 1;
    int32_t secondsOfDay = 12 * 3600;
};

class SimMission : public kv::MissionInterface, SimPart {
public:
    using SimPart::SimPart;
    void msnLoadSpeech(const char* fileName) override;
    void msnUnload() override;
    void msnGetMissionSetup(kv::MissionSetup** setup) override;
    void msnUpdate(float simulatedTime) override;
    void msnRenderUpper() override;
    void msnRenderLower() override;
    void msnRenderMap() override;
    void msnFirstFrameDone() override;
    void msnEndFlight() override;
    int32_t msnIsNetworkMission() override;
    int32_t msnCanPause() override;
    int32_t msnCanCompressTime() override;
    int32_t msnCanChangeTime() override;
    int32_t msnCanSkipToNext() override;
    void msnSkipToNext() override;
    const char* msnGetLoadingImage() override;
    kv::EnvironmentRecord* msnGetInitialEnvironmentRecord(kv::EnvironmentRecord* record) override;
    kv::EnvironmentRecord* msnGetEnvironmentRecord(kv::EnvironmentRecord* record) override;
    int32_t msnCreateMissionObjects() override;
    void msnDestroyMissionObjects() override;
    int32_t msnGetPlayerObject() override;

    kv::MissionSetup setup = {};
    kv::MissionTimingRecord timing = {};
    std::string loadingImage;
    int32_t createObjectsResult = 1;
};

class SimClock : public kv::ClockInterface, SimPart {
public:
    using SimPart::SimPart;
    void clkReset() override;
    void clkUpdate() override;
    int32_t clkGetTime() override;
    float clkGetFrameTime() override;
};

class SimText : public kv::TextInterface, SimPart {
public:
    using SimPart::SimPart;
    void txtLoadTextFile(const char* fileName) override;
    void txtUnloadTextFile(const char* fileName) override;
    int32_t txtGetStringId(const char* fileName, const char* name) override;
    void txtGetIndexedString(const char* fileName, int32_t id, char* buffer, int32_t size) override;
    const char* txtGetString(const char* fileName, int32_t id) override;
    void txtFormatTime(const kv::TimeRecord* time, char* buffer, int32_t size, int32_t style) override;
};

class SimMessages : public kv::MessagesInterface, SimPart {
public:
    using SimPart::SimPart;
    void msgLoadMessageSystem(const char* fileName) override;
    void msgUnloadMessageSystem() override;
    void msgShowText(const char* format, ...) override;
    void msgShowEntryLine(const char* format, ...) override;
    void msgUpdate(float clampedFrameTime) override;
    void msgRender() override;

    // The texts shown, formatted.
    std::vector<std::string> shown;
};

class SimSpeech : public kv::SpeechInterface, SimPart {
public:
    using SimPart::SimPart;
    void spcLoadSpeechSystem(const char* fileName) override;
    void spcUnloadSpeechSystem() override;
    void spcSetSubtitles(int32_t on) override;
    void spcUpdate() override;
};

class SimFade : public kv::FadeInterface, SimPart {
public:
    using SimPart::SimPart;
    void fadSetFadeTime(float seconds) override;
    void fadStartFadeOut(int32_t zero) override;
    void fadStartFadeIn(int32_t zero) override;
    int32_t fadStep(int32_t clockTime) override;
    void fadUpdate(float clampedFrameTime) override;
};

class SimNetwork : public kv::NetworkInterface, SimPart {
public:
    using SimPart::SimPart;
    void netLeave() override;
    void netGetGameSettings(kv::HostGameSettings* settings) override;
    void netFlush() override;
    int32_t netPlayersChanged() override;
    void netEnumPlayers(kv::PlayerCallback callback) override;
    void netSendChat(const char* text, int32_t recipient, int32_t minusOne) override;
    void netBeginFlight() override;
    void netUpdate() override;
    float netGetFrameTime() override;

    std::vector<kv::NetworkPlayer> players;
    std::vector<kv::PlayerStatus> statuses;
    int32_t playersChanged = 0;
};

class SimForceFeedback : public kv::ForceFeedbackInterface, SimPart {
public:
    using SimPart::SimPart;
    void ffbLoadEffects(const char* fileName) override;
    void ffbUnloadEffects() override;
    void ffbSetControlEvent(const kv::ControlEvent* event) override;
    void ffbStopEffects() override;
};

class SimHud : public kv::HudInterface, SimPart {
public:
    using SimPart::SimPart;
    void hudInit(const char* dataFileName) override;
    void hudShutdown() override;
    void hudSetViewPosition(const double* p) override;
    void hudSetViewOrientation(const float* m) override;
    void hudRender() override;
    void hudRenderMap() override;
};

class SimAvionics : public kv::AvionicsInterface, SimPart {
public:
    using SimPart::SimPart;
    void avnUpdate() override;
};

class SimComm : public kv::CommInterface, SimPart {
public:
    using SimPart::SimPart;
    void comInit(const char* dataFileName) override;
    void comShutdown() override;
    void comOpenRadioMenu() override;
    void comUpdate(float clampedFrameTime) override;
    void comRender() override;
};

class SimOptions : public kv::OptionsInterface, SimPart {
public:
    using SimPart::SimPart;
    void optReloadOptions() override;
    kv::ConfigDocument* optGetDocument(kv::ConfigDocument** document) override;
    void optReleaseDocument(kv::ConfigDocument** document) override;

    // The player options document the options module lends; null for none.
    kv::ConfigDocument* document = nullptr;
};

}  // namespace kvsim
