#include "sim/sim_modules.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "sim/record_json.h"

namespace kvsim {

namespace {

// A module-sized text into a caller's buffer, cut and terminated.
void copyText(const std::string& s, char* buffer, int32_t size) {
    if (!buffer || size < 1) return;
    const std::size_t n = std::min(s.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, s.data(), n);
    buffer[n] = '\0';
}

std::string format(const char* fmt, va_list args) {
    if (!fmt) return "";
    char line[1024];
    std::vsnprintf(line, sizeof line, fmt, args);
    return line;
}

}  // namespace

// ---- TER ----

kv::TerrainInfo* SimTerrain::terGetTerrainInfo(kv::TerrainInfo** out) {
    auto& r = call("terGetTerrainInfo");
    kv::TerrainInfo* result = hasInfo ? &info : nullptr;
    if (out) *out = result;
    r.hasResult = true;
    r.result = handle(result, "terrainInfo");
    return result;
}
int32_t SimTerrain::terInitTerrainSystem(kv::TerrainSetup* setup) {
    return returns(call("terInitTerrainSystem", {toJson(setup)}), initResult);
}
void SimTerrain::terReleaseTerrainSystem() { call("terReleaseTerrainSystem"); }
void SimTerrain::terRenderLower() { call("terRenderLower"); }
void SimTerrain::terRenderUpper() { call("terRenderUpper"); }
void SimTerrain::terRenderMap() { call("terRenderMap"); }

// ---- game objects ----

void* SimGameObject::interfaceOf(int32_t kind) {
    switch (kind) {
        case kv::kTargetRecordKind: return static_cast<kv::TargetRecord*>(this);
        case kv::kFlightControlsKind: return static_cast<kv::FlightControls*>(this);
        case kv::kBodyKind: return static_cast<kv::Body*>(this);
        case kv::kAircraftKind: return static_cast<kv::Aircraft*>(this);
        case kv::kViewAttachmentKind: return static_cast<kv::ViewAttachment*>(this);
        default: return nullptr;
    }
}

int32_t SimGameObject::objectGetInterface(int32_t kind, void** iface) {
    auto& r = call("objectGetInterface", {kind});
    void* found = interfaceOf(kind);
    if (iface) *iface = found;
    return returns<int32_t>(r, found ? 1 : 0);
}
int32_t SimGameObject::objectIsActive() { return returns(call("objectIsActive"), active); }
int32_t SimGameObject::objectGetRenderFlags() { return returns(call("objectGetRenderFlags"), renderFlags); }
void SimGameObject::objectSetRenderFlags(int32_t flags) {
    call("objectSetRenderFlags", {flags});
    renderFlags = flags;
}
int32_t SimGameObject::targetIsActive() { return returns(call("targetIsActive"), active); }
int32_t SimGameObject::controlsGetState(int32_t attribute) {
    auto it = controlStates.find(attribute);
    return returns(call("controlsGetState", {attribute}), it == controlStates.end() ? 0 : it->second);
}
void SimGameObject::bodyGetPosition(double* p) {
    call("bodyGetPosition");
    if (p) std::copy(position, position + 3, p);
}
void SimGameObject::bodyGetVelocity(float* v) {
    call("bodyGetVelocity");
    if (v) std::copy(velocity, velocity + 3, v);
}
void SimGameObject::bodyGetOrientation(float* m) {
    call("bodyGetOrientation");
    if (m) std::copy(orientation, orientation + 9, m);
}
void SimGameObject::objectSendEvent(int32_t event, int32_t target, int32_t value) {
    call("objectSendEvent", {event, target, value});
}
int32_t SimGameObject::targetGetObjectId() { return returns(call("targetGetObjectId"), targetId); }
void SimGameObject::viewAttachReset(int32_t a, int32_t b) { call("viewAttachReset", {a, b}); }

// ---- OBJ ----

SimGameObject& SimObjects::object(int32_t id) {
    auto& slot = objects[id];
    if (!slot) slot = std::make_unique<SimGameObject>(world_, id);
    return *slot;
}

void SimObjects::objInitObjects() { call("objInitObjects"); }
void SimObjects::objReleaseObjects() { call("objReleaseObjects"); }
int32_t SimObjects::objGetFlagByName(const char* name) {
    auto it = name ? world_.objectFlags.find(name) : world_.objectFlags.end();
    return returns(call("objGetFlagByName", {text(name)}), it == world_.objectFlags.end() ? 0 : it->second);
}
kv::GameObject* SimObjects::objGetObject(int32_t objectId) {
    auto& r = call("objGetObject", {objectId});
    auto it = objects.find(objectId);
    kv::GameObject* result = it == objects.end() ? nullptr : static_cast<kv::GameObject*>(it->second.get());
    r.hasResult = true;
    r.result = handle(result, "object");
    return result;
}
int32_t SimObjects::objGetObjectInterface(int32_t objectId, int32_t kind, void** iface) {
    auto& r = call("objGetObjectInterface", {objectId, kind});
    auto it = objects.find(objectId);
    void* found = it == objects.end() ? nullptr : it->second->interfaceOf(kind);
    if (iface) *iface = found;
    return returns<int32_t>(r, found ? 1 : 0);
}
int32_t SimObjects::objGetPlayerObject() { return returns(call("objGetPlayerObject"), playerObject); }
void SimObjects::objSetPlayerObject(int32_t objectId) {
    call("objSetPlayerObject", {objectId});
    playerObject = objectId;
}
void SimObjects::objSetPlayerControl(int32_t on) { call("objSetPlayerControl", {on}); }
void SimObjects::objUpdate(float stepTime) { call("objUpdate", {stepTime}); }
void SimObjects::objRender(float simulatedTime) { call("objRender", {simulatedTime}); }
void SimObjects::objRenderShadows() { call("objRenderShadows"); }
void SimObjects::objEndFrame() { call("objEndFrame"); }

// ---- WLD ----

void SimWorldModule::wldSetBounds(float border, float maxHeight, float minHeight) {
    call("wldSetBounds", {border, maxHeight, minHeight});
}
void SimWorldModule::wldSetSectors(int32_t width, int32_t height, int32_t objectsPerSector) {
    call("wldSetSectors", {width, height, objectsPerSector});
}
void SimWorldModule::wldRelease() { call("wldRelease"); }
void SimWorldModule::wldUpdate(float stepTime) { call("wldUpdate", {stepTime}); }

// ---- SND ----

void SimSound::sndLoadSoundList(const char* fileName) { call("sndLoadSoundList", {text(fileName)}); }
void SimSound::sndLoadSound(int32_t* soundId, const char* fileName) {
    call("sndLoadSound", {text(fileName)});
    // An empty name loads nothing.
    if (soundId) *soundId = fileName && *fileName ? world_.nextSoundId++ : -1;
}
void SimSound::sndReleaseSounds() { call("sndReleaseSounds"); }
void SimSound::sndSetFormat(int32_t bitsPerSample, int32_t sampleFrequency) {
    call("sndSetFormat", {bitsPerSample, sampleFrequency});
}
void SimSound::sndStopAllSounds() { call("sndStopAllSounds"); }
void SimSound::sndPlaySound(int32_t* playHandle, int32_t soundId, int32_t zero) {
    call("sndPlaySound", {playHandle ? Json(*playHandle) : Json(nullptr), soundId, zero});
    if (playHandle && soundId >= 0) *playHandle = soundId;
}
void SimSound::sndPrepare() { call("sndPrepare"); }
void SimSound::sndSetListenerPosition(const double* p) { call("sndSetListenerPosition", {position(p)}); }
void SimSound::sndSetListenerVelocity(const float* v) { call("sndSetListenerVelocity", {vector3(v)}); }
void SimSound::sndSetListenerOrientation(const float* m) {
    call("sndSetListenerOrientation", {orientation(m)});
}
void SimSound::sndUpdate() { call("sndUpdate"); }
int32_t SimSound::sndIsStreamPlaying() { return returns(call("sndIsStreamPlaying"), streamPlaying); }
void SimSound::sndPlayStream(const char* fileName, int32_t loop) {
    call("sndPlayStream", {text(fileName), loop});
    streamPlaying = 1;
}
void SimSound::sndStopStream() {
    call("sndStopStream");
    streamPlaying = 0;
}

// ---- INP ----

void SimInput::inpClearInput() { call("inpClearInput"); }

// ---- CTL ----

void SimControls::ctlLoadControlMap(const char* name, int32_t one) { call("ctlLoadControlMap", {text(name), one}); }
void SimControls::ctlUnloadControlMap() { call("ctlUnloadControlMap"); }
void SimControls::ctlSetInputEnabled(int32_t on) { call("ctlSetInputEnabled", {on}); }
int32_t SimControls::ctlGetControlId(const char* name) {
    auto it = name ? controls.find(name) : controls.end();
    return returns(call("ctlGetControlId", {text(name)}), it == controls.end() ? -1 : it->second);
}
void SimControls::ctlRegisterCommand(const char* name, kv::CommandHandler handler, int32_t zero) {
    call("ctlRegisterCommand", {text(name), handler ? Json("handler") : Json(nullptr), zero});
    if (name) commands[name] = handler;
}
void SimControls::ctlInjectEvent(const kv::ControlEvent* event) { call("ctlInjectEvent", {toJson(event)}); }
float SimControls::ctlGetAxisValue(int32_t controlId) { return returns(call("ctlGetAxisValue", {controlId}), 0.0f); }
void SimControls::ctlUpdate(float rawFrameTime) { call("ctlUpdate", {rawFrameTime}); }
void SimControls::ctlSetKeyRepeat(float rate, float delay) { call("ctlSetKeyRepeat", {rate, delay}); }
void SimControls::ctlSetTextEntryMode(int32_t mode) { call("ctlSetTextEntryMode", {mode}); }
int32_t SimControls::ctlIsTextEntryOpen() { return returns(call("ctlIsTextEntryOpen"), textEntryOpen); }
void SimControls::ctlBeginTextEntry() { call("ctlBeginTextEntry"); }
void SimControls::ctlGetEntryText(char* buffer, int32_t size) {
    call("ctlGetEntryText", {size});
    copyText(entryText, buffer, size);
}
void SimControls::ctlSetCommandFilter(kv::CommandHandler f) {
    call("ctlSetCommandFilter", {f ? Json("filter") : Json(nullptr)});
    filter = f;
}
kv::ControlEvent* SimControls::ctlGetControlEvent(int32_t controlId) {
    auto& r = call("ctlGetControlEvent", {controlId});
    auto it = events.find(controlId);
    kv::ControlEvent* result = it == events.end() ? nullptr : &it->second;
    r.hasResult = true;
    r.result = toJson(result);
    return result;
}
void SimControls::ctlSetActive(int32_t on) { call("ctlSetActive", {on}); }

// ---- VMG ----

void SimViews::vmgLoadViewList(const char* fileName) { call("vmgLoadViewList", {text(fileName)}); }
void SimViews::vmgUnloadViewList() { call("vmgUnloadViewList"); }
int32_t SimViews::vmgCreateView(const char* name, int32_t objectId, int32_t one) {
    return returns(call("vmgCreateView", {text(name), objectId, one}), ++views);
}
void SimViews::vmgSelectView(int32_t view) { call("vmgSelectView", {view}); }
void SimViews::vmgSelectPlayerView(int32_t view) { call("vmgSelectPlayerView", {view}); }
void SimViews::vmgHandleCommand(int32_t commandId) { call("vmgHandleCommand", {commandId}); }
int32_t SimViews::vmgIsViewCommand(int32_t commandId) { return returns(call("vmgIsViewCommand", {commandId}), 0); }
void SimViews::vmgEnableViewControls(int32_t on) { call("vmgEnableViewControls", {on}); }
void SimViews::vmgUpdate(float rawFrameTime) { call("vmgUpdate", {rawFrameTime}); }
int32_t SimViews::vmgIsCockpitView() { return returns(call("vmgIsCockpitView"), cockpitView); }
void SimViews::vmgRenderCockpit(int32_t showCockpit) { call("vmgRenderCockpit", {showCockpit}); }
float SimViews::vmgGetFieldOfView() { return returns(call("vmgGetFieldOfView"), 60.0f); }
int32_t SimViews::vmgGetViewObject() { return returns(call("vmgGetViewObject"), world_.playerObjectId); }
void SimViews::vmgGetViewPosition(double* p) {
    call("vmgGetViewPosition");
    if (p) p[0] = p[1] = p[2] = 0.0;
}
void SimViews::vmgGetViewVelocity(float* v) {
    call("vmgGetViewVelocity");
    if (v) v[0] = v[1] = v[2] = 0.0f;
}
void SimViews::vmgGetViewOrientation(float* m) {
    call("vmgGetViewOrientation");
    static const float identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    if (m) std::copy(identity, identity + 9, m);
}

// ---- PTS ----

void SimParticles::ptsLoadParticleSystemData(const char* fileName, int32_t effectsDetail) {
    call("ptsLoadParticleSystemData", {text(fileName), effectsDetail});
}
void SimParticles::ptsUnloadParticleSystemData() { call("ptsUnloadParticleSystemData"); }
void SimParticles::ptsSetViewPosition(const double* p) { call("ptsSetViewPosition", {position(p)}); }
void SimParticles::ptsSetViewVelocity(const float* v) { call("ptsSetViewVelocity", {vector3(v)}); }
void SimParticles::ptsSetViewOrientation(const float* m) { call("ptsSetViewOrientation", {orientation(m)}); }
void SimParticles::ptsSetEnvironmentState(const kv::EnvironmentState* state) {
    call("ptsSetEnvironmentState", {handle(state, "environmentState")});
}
void SimParticles::ptsSetLevel(float level) { call("ptsSetLevel", {level}); }
void SimParticles::ptsUpdate(float stepTime) { call("ptsUpdate", {stepTime}); }
void SimParticles::ptsRender() { call("ptsRender"); }

// ---- ENV ----

int32_t SimEnvironment::envLoadEnvironment(const char* fileName) {
    return returns(call("envLoadEnvironment", {text(fileName)}), loadResult);
}
void SimEnvironment::envUnloadEnvironment() { call("envUnloadEnvironment"); }
void SimEnvironment::envSetHorizonDistance(float distance) { call("envSetHorizonDistance", {distance}); }
void SimEnvironment::envAdvanceTime(float simulatedTime) { call("envAdvanceTime", {simulatedTime}); }
void SimEnvironment::envRenderBackground() { call("envRenderBackground"); }
void SimEnvironment::envRenderMiddle() { call("envRenderMiddle"); }
void SimEnvironment::envRenderLensFlare() { call("envRenderLensFlare"); }
void SimEnvironment::envApplyMissionRecord(const kv::EnvironmentRecord* record) {
    call("envApplyMissionRecord", {handle(record, "environmentRecord")});
}
void SimEnvironment::envInitFromMissionRecord(const kv::EnvironmentRecord* record) {
    call("envInitFromMissionRecord", {handle(record, "environmentRecord")});
}
void SimEnvironment::envGetTimeOfDay(kv::TimeRecord* time) {
    call("envGetTimeOfDay");
    if (!time) return;
    time->words[0] = secondsOfDay / 3600;
    time->words[1] = secondsOfDay / 60 % 60;
    time->words[2] = secondsOfDay % 60;
}
void SimEnvironment::envShiftTimeOfDay(int32_t seconds) {
    call("envShiftTimeOfDay", {seconds});
    secondsOfDay = ((secondsOfDay + seconds) % 86400 + 86400) % 86400;
}
void SimEnvironment::envSetTerrainParameter(int32_t value) { call("envSetTerrainParameter", {value}); }
float SimEnvironment::envGetLevel() { return returns(call("envGetLevel"), 0.5f); }
kv::EnvironmentState* SimEnvironment::envGetStateAt(const double* p, kv::EnvironmentState* state) {
    call("envGetStateAt", {position(p)});
    return state;
}
int32_t SimEnvironment::envCameraCondition(float viewCoordinate) {
    return returns(call("envCameraCondition", {viewCoordinate}), viewCoordinate < 0.0f ? 1 : 0);
}

// ---- MSN ----

void SimMission::msnLoadSpeech(const char* fileName) { call("msnLoadSpeech", {text(fileName)}); }
void SimMission::msnUnload() { call("msnUnload"); }
void SimMission::msnGetMissionSetup(kv::MissionSetup** out) {
    call("msnGetMissionSetup");
    setup.timing = &timing;
    if (out) *out = &setup;
}
void SimMission::msnUpdate(float simulatedTime) { call("msnUpdate", {simulatedTime}); }
void SimMission::msnRenderUpper() { call("msnRenderUpper"); }
void SimMission::msnRenderLower() { call("msnRenderLower"); }
void SimMission::msnRenderMap() { call("msnRenderMap"); }
void SimMission::msnFirstFrameDone() { call("msnFirstFrameDone"); }
void SimMission::msnEndFlight() { call("msnEndFlight"); }
int32_t SimMission::msnIsNetworkMission() { return returns(call("msnIsNetworkMission"), world_.networkMission); }
int32_t SimMission::msnCanPause() { return returns(call("msnCanPause"), world_.canPause); }
int32_t SimMission::msnCanCompressTime() { return returns(call("msnCanCompressTime"), world_.canCompressTime); }
int32_t SimMission::msnCanChangeTime() { return returns(call("msnCanChangeTime"), world_.canChangeTime); }
int32_t SimMission::msnCanSkipToNext() { return returns(call("msnCanSkipToNext"), world_.canSkipToNext); }
void SimMission::msnSkipToNext() { call("msnSkipToNext"); }
const char* SimMission::msnGetLoadingImage() {
    auto& r = call("msnGetLoadingImage");
    r.hasResult = true;
    r.result = loadingImage;
    return loadingImage.c_str();
}
kv::EnvironmentRecord* SimMission::msnGetInitialEnvironmentRecord(kv::EnvironmentRecord* record) {
    call("msnGetInitialEnvironmentRecord");
    return record;
}
kv::EnvironmentRecord* SimMission::msnGetEnvironmentRecord(kv::EnvironmentRecord* record) {
    call("msnGetEnvironmentRecord");
    return record;
}
int32_t SimMission::msnCreateMissionObjects() {
    return returns(call("msnCreateMissionObjects"), createObjectsResult);
}
void SimMission::msnDestroyMissionObjects() { call("msnDestroyMissionObjects"); }
int32_t SimMission::msnGetPlayerObject() { return returns(call("msnGetPlayerObject"), world_.playerObjectId); }

// ---- CLK: virtual time, advanced by the world's frame time ----

void SimClock::clkReset() { call("clkReset"); }
void SimClock::clkUpdate() {
    call("clkUpdate");
    world_.time += world_.frameTime;
}
int32_t SimClock::clkGetTime() {
    return returns(call("clkGetTime"), static_cast<int32_t>(world_.time * 1000.0));
}
float SimClock::clkGetFrameTime() { return returns(call("clkGetFrameTime"), world_.frameTime); }

// ---- TXT ----

void SimText::txtLoadTextFile(const char* fileName) { call("txtLoadTextFile", {text(fileName)}); }
void SimText::txtUnloadTextFile(const char* fileName) { call("txtUnloadTextFile", {text(fileName)}); }
int32_t SimText::txtGetStringId(const char* fileName, const char* name) {
    auto it = name ? world_.stringIds.find(name) : world_.stringIds.end();
    return returns(call("txtGetStringId", {text(fileName), text(name)}),
                   it == world_.stringIds.end() ? -1 : it->second);
}
void SimText::txtGetIndexedString(const char* fileName, int32_t id, char* buffer, int32_t size) {
    call("txtGetIndexedString", {text(fileName), id, size});
    auto it = world_.strings.find(id);
    copyText(it == world_.strings.end() ? "" : it->second, buffer, size);
}
const char* SimText::txtGetString(const char* fileName, int32_t id) {
    auto& r = call("txtGetString", {text(fileName), id});
    auto it = world_.strings.find(id);
    static const std::string empty;
    const std::string& s = it == world_.strings.end() ? empty : it->second;
    r.hasResult = true;
    r.result = s;
    return s.c_str();
}
void SimText::txtFormatTime(const kv::TimeRecord* time, char* buffer, int32_t size, int32_t style) {
    call("txtFormatTime", {toJson(time), size, style});
    char line[32] = "";
    if (time) std::snprintf(line, sizeof line, "%02d:%02d", time->words[0] % 100, time->words[1] % 100);
    copyText(line, buffer, size);
}

// ---- MSG ----

void SimMessages::msgLoadMessageSystem(const char* fileName) { call("msgLoadMessageSystem", {text(fileName)}); }
void SimMessages::msgUnloadMessageSystem() { call("msgUnloadMessageSystem"); }
void SimMessages::msgShowText(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    const std::string line = format(fmt, args);
    va_end(args);
    call("msgShowText", {text(fmt), line});
    shown.push_back(line);
}
void SimMessages::msgShowEntryLine(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    const std::string line = format(fmt, args);
    va_end(args);
    call("msgShowEntryLine", {text(fmt), line});
}
void SimMessages::msgUpdate(float clampedFrameTime) { call("msgUpdate", {clampedFrameTime}); }
void SimMessages::msgRender() { call("msgRender"); }

// ---- SPC, FAD ----

void SimSpeech::spcLoadSpeechSystem(const char* fileName) { call("spcLoadSpeechSystem", {text(fileName)}); }
void SimSpeech::spcUnloadSpeechSystem() { call("spcUnloadSpeechSystem"); }
void SimSpeech::spcSetSubtitles(int32_t on) { call("spcSetSubtitles", {on}); }
void SimSpeech::spcUpdate() { call("spcUpdate"); }

void SimFade::fadSetFadeTime(float seconds) { call("fadSetFadeTime", {seconds}); }
void SimFade::fadStartFadeOut(int32_t zero) { call("fadStartFadeOut", {zero}); }
void SimFade::fadStartFadeIn(int32_t zero) { call("fadStartFadeIn", {zero}); }
int32_t SimFade::fadStep(int32_t clockTime) { return returns(call("fadStep", {clockTime}), 1); }
void SimFade::fadUpdate(float clampedFrameTime) { call("fadUpdate", {clampedFrameTime}); }

// ---- NET ----

void SimNetwork::netLeave() { call("netLeave"); }
void SimNetwork::netGetGameSettings(kv::HostGameSettings* settings) {
    call("netGetGameSettings");
    if (settings) *settings = kv::HostGameSettings{};
}
void SimNetwork::netFlush() { call("netFlush"); }
int32_t SimNetwork::netPlayersChanged() { return returns(call("netPlayersChanged"), playersChanged); }
void SimNetwork::netEnumPlayers(kv::PlayerCallback callback) {
    call("netEnumPlayers");
    for (std::size_t i = 0; callback && i < players.size(); ++i) {
        if (i < statuses.size()) players[i].status = &statuses[i];
        if (!callback(&players[i])) break;
    }
}
void SimNetwork::netSendChat(const char* s, int32_t recipient, int32_t minusOne) {
    call("netSendChat", {text(s), recipient, minusOne});
}
void SimNetwork::netBeginFlight() { call("netBeginFlight"); }
void SimNetwork::netUpdate() { call("netUpdate"); }
float SimNetwork::netGetFrameTime() { return returns(call("netGetFrameTime"), world_.frameTime); }

// ---- FFB ----

void SimForceFeedback::ffbLoadEffects(const char* fileName) { call("ffbLoadEffects", {text(fileName)}); }
void SimForceFeedback::ffbUnloadEffects() { call("ffbUnloadEffects"); }
void SimForceFeedback::ffbSetControlEvent(const kv::ControlEvent* event) {
    call("ffbSetControlEvent", {toJson(event)});
}
void SimForceFeedback::ffbStopEffects() { call("ffbStopEffects"); }

// ---- HUD, AVN, COM, OPT ----

void SimHud::hudInit(const char* dataFileName) { call("hudInit", {text(dataFileName)}); }
void SimHud::hudShutdown() { call("hudShutdown"); }
void SimHud::hudSetViewPosition(const double* p) { call("hudSetViewPosition", {position(p)}); }
void SimHud::hudSetViewOrientation(const float* m) { call("hudSetViewOrientation", {orientation(m)}); }
void SimHud::hudRender() { call("hudRender"); }
void SimHud::hudRenderMap() { call("hudRenderMap"); }

void SimAvionics::avnUpdate() { call("avnUpdate"); }

void SimComm::comInit(const char* dataFileName) { call("comInit", {text(dataFileName)}); }
void SimComm::comShutdown() { call("comShutdown"); }
void SimComm::comOpenRadioMenu() { call("comOpenRadioMenu"); }
void SimComm::comUpdate(float clampedFrameTime) { call("comUpdate", {clampedFrameTime}); }
void SimComm::comRender() { call("comRender"); }

void SimOptions::optReloadOptions() { call("optReloadOptions"); }
kv::ConfigDocument* SimOptions::optGetDocument(kv::ConfigDocument** out) {
    auto& r = call("optGetDocument");
    if (out) *out = document;
    r.hasResult = true;
    r.result = handle(document, "document");
    return document;
}
void SimOptions::optReleaseDocument(kv::ConfigDocument** out) {
    call("optReleaseDocument", {out ? handle(*out, "document") : Json(nullptr)});
    if (out) *out = nullptr;
}

}  // namespace kvsim
