// One recording layer per interface the stand-in host hands out: each
// operation in the interface's order, recorded and passed on (see
// sim/recording_layer.h). The two variadic message operations format their
// text first and pass it on as the argument of "%s".
#pragma once

#include <cstdarg>

#include "sim/recording_layer.h"

namespace kvsim {

class RecordingApp : public RecordingLayer<kv::AppInterface> {
public:
    using RecordingLayer::RecordingLayer;
    int32_t appUpdate() override { return forward("appUpdate", &Interface::appUpdate); }
    int32_t appIsRunning() override { return forward("appIsRunning", &Interface::appIsRunning); }
    int32_t appQueryFlag() override { return forward("appQueryFlag", &Interface::appQueryFlag); }
};

class RecordingDll : public RecordingLayer<kv::DllInterface> {
public:
    using RecordingLayer::RecordingLayer;
    int32_t dllLoadModule(const char* fileName) override {
        return forward("dllLoadModule", &Interface::dllLoadModule, fileName);
    }
    void dllUnloadModule(const char* fileName) override {
        forward("dllUnloadModule", &Interface::dllUnloadModule, fileName);
    }
};

class RecordingFileManager : public RecordingLayer<kv::FileManagerInterface> {
public:
    using RecordingLayer::RecordingLayer;
    int32_t fmgOpenFile(const char* name, int32_t mode) override {
        return forward("fmgOpenFile", &Interface::fmgOpenFile, name, mode);
    }
    void fmgCloseFile(int32_t handle) override { forward("fmgCloseFile", &Interface::fmgCloseFile, handle); }
    int32_t fmgReadFile(int32_t handle, void* buffer, int32_t count) override {
        return forward("fmgReadFile", &Interface::fmgReadFile, handle, buffer, count);
    }
    int32_t fmgFileExists(const char* name, int32_t mode) override {
        return forward("fmgFileExists", &Interface::fmgFileExists, name, mode);
    }
    int32_t fmgGetFileSize(const char* name) override {
        return forward("fmgGetFileSize", &Interface::fmgGetFileSize, name);
    }
    void fmgPushDirectory() override { forward("fmgPushDirectory", &Interface::fmgPushDirectory); }
    void fmgPopDirectory() override { forward("fmgPopDirectory", &Interface::fmgPopDirectory); }
};

class RecordingMemory : public RecordingLayer<kv::MemoryInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void* memAlloc(int32_t size, int32_t reserved1, int32_t reserved2, const char* owner) override {
        return forward("memAlloc", &Interface::memAlloc, size, reserved1, reserved2, owner);
    }
    void memFree(void* block) override { forward("memFree", &Interface::memFree, block); }
    void memReleaseOwner(const char* owner) override { forward("memReleaseOwner", &Interface::memReleaseOwner, owner); }
    void memCheckpoint(const char* label) override { forward("memCheckpoint", &Interface::memCheckpoint, label); }
};

class RecordingGraphics : public RecordingLayer<kv::GraphicsInterface> {
public:
    using RecordingLayer::RecordingLayer;
    int32_t gfxInitDisplay(kv::GraphicsSetup* setup, kv::DisplayOptions* options) override {
        return forward("gfxInitDisplay", &Interface::gfxInitDisplay, setup, options);
    }
    void gfxConfigure(kv::GraphicsSetup* setup) override { forward("gfxConfigure", &Interface::gfxConfigure, setup); }
    void gfxReleaseDisplay() override { forward("gfxReleaseDisplay", &Interface::gfxReleaseDisplay); }
    kv::Image* gfxLoadImage(const char* fileName) override {
        return forward("gfxLoadImage", &Interface::gfxLoadImage, fileName);
    }
    void gfxReleaseImage(kv::Image** image) override { forward("gfxReleaseImage", &Interface::gfxReleaseImage, image); }
    kv::Camera* gfxCreateCamera(int32_t kind) override {
        return forward("gfxCreateCamera", &Interface::gfxCreateCamera, kind);
    }
    void gfxDestroyCamera(kv::Camera** camera) override {
        forward("gfxDestroyCamera", &Interface::gfxDestroyCamera, camera);
    }
    void gfxSetCamera(kv::Camera* camera) override { forward("gfxSetCamera", &Interface::gfxSetCamera, camera); }
    kv::Display* gfxGetDisplay() override { return forward("gfxGetDisplay", &Interface::gfxGetDisplay); }
    void gfxSetTextureLimit(int32_t resolution) override {
        forward("gfxSetTextureLimit", &Interface::gfxSetTextureLimit, resolution);
    }
    void gfxEnableTextureLimit(int32_t enable) override {
        forward("gfxEnableTextureLimit", &Interface::gfxEnableTextureLimit, enable);
    }
    void gfxGetTextureSize(int32_t textureId, int32_t* width, int32_t* height) override {
        forward("gfxGetTextureSize", &Interface::gfxGetTextureSize, textureId, width, height);
    }
    void gfxSetRenderTarget(int32_t textureId) override {
        forward("gfxSetRenderTarget", &Interface::gfxSetRenderTarget, textureId);
    }
    void gfxDrawRectFrame(const float* leftTop, const float* rightBottom, const float* color) override {
        forward("gfxDrawRectFrame", &Interface::gfxDrawRectFrame, leftTop, rightBottom, color);
    }
    void gfxFillRect(const float* leftTop, const float* rightBottom, const float* color) override {
        forward("gfxFillRect", &Interface::gfxFillRect, leftTop, rightBottom, color);
    }
    void gfxSetSceneMode(int32_t mode) override { forward("gfxSetSceneMode", &Interface::gfxSetSceneMode, mode); }
    void gfxSetWorldMode(int32_t on) override { forward("gfxSetWorldMode", &Interface::gfxSetWorldMode, on); }
    void gfxSetPassOption(int32_t option) override {
        forward("gfxSetPassOption", &Interface::gfxSetPassOption, option);
    }
    void gfxSetMirrorPass(int32_t on) override { forward("gfxSetMirrorPass", &Interface::gfxSetMirrorPass, on); }
    int32_t gfxGetPassOption() override { return forward("gfxGetPassOption", &Interface::gfxGetPassOption); }
    int32_t gfxSaveScreenshot(const char* fileName) override {
        return forward("gfxSaveScreenshot", &Interface::gfxSaveScreenshot, fileName);
    }
    void gfxSetDefaultColor(const int32_t* rgb) override {
        forward("gfxSetDefaultColor", &Interface::gfxSetDefaultColor, rgb);
    }
    void gfxSetLightingEnable(int32_t on) override {
        forward("gfxSetLightingEnable", &Interface::gfxSetLightingEnable, on);
    }
    void gfxClearBuffers() override { forward("gfxClearBuffers", &Interface::gfxClearBuffers); }
    void gfxApplyCamera() override { forward("gfxApplyCamera", &Interface::gfxApplyCamera); }
    void gfxClearDepth() override { forward("gfxClearDepth", &Interface::gfxClearDepth); }
    void gfxBeginFrame() override { forward("gfxBeginFrame", &Interface::gfxBeginFrame); }
    void gfxEndFrame() override { forward("gfxEndFrame", &Interface::gfxEndFrame); }
    void gfxPresent() override { forward("gfxPresent", &Interface::gfxPresent); }
    void gfxBeginScene() override { forward("gfxBeginScene", &Interface::gfxBeginScene); }
    void gfxEndScene() override { forward("gfxEndScene", &Interface::gfxEndScene); }
    void gfxBeginPass() override { forward("gfxBeginPass", &Interface::gfxBeginPass); }
    void gfxEndPass() override { forward("gfxEndPass", &Interface::gfxEndPass); }
    void gfxDrawObjects() override { forward("gfxDrawObjects", &Interface::gfxDrawObjects); }
    void gfxFlushObjects() override { forward("gfxFlushObjects", &Interface::gfxFlushObjects); }
    void gfxDrawFarObjects() override { forward("gfxDrawFarObjects", &Interface::gfxDrawFarObjects); }
    void gfxDrawTransparent() override { forward("gfxDrawTransparent", &Interface::gfxDrawTransparent); }
    int32_t gfxCreateFont(const kv::FontSettings* font) override {
        return forward("gfxCreateFont", &Interface::gfxCreateFont, font);
    }
    void gfxSelectFont(int32_t font) override { forward("gfxSelectFont", &Interface::gfxSelectFont, font); }
    void gfxSetTextColor(const float* color) override {
        forward("gfxSetTextColor", &Interface::gfxSetTextColor, color);
    }
    void gfxBeginText() override { forward("gfxBeginText", &Interface::gfxBeginText); }
    void gfxEndText() override { forward("gfxEndText", &Interface::gfxEndText); }
    void gfxDrawText(const char* text, float x, float y, int32_t zero, int32_t alignment) override {
        forward("gfxDrawText", &Interface::gfxDrawText, text, x, y, zero, alignment);
    }
};

class RecordingTerrain : public RecordingLayer<kv::TerrainInterface> {
public:
    using RecordingLayer::RecordingLayer;
    kv::TerrainInfo* terGetTerrainInfo(kv::TerrainInfo** info) override {
        return forward("terGetTerrainInfo", &Interface::terGetTerrainInfo, info);
    }
    int32_t terInitTerrainSystem(kv::TerrainSetup* setup) override {
        return forward("terInitTerrainSystem", &Interface::terInitTerrainSystem, setup);
    }
    void terReleaseTerrainSystem() override { forward("terReleaseTerrainSystem", &Interface::terReleaseTerrainSystem); }
    void terRenderLower() override { forward("terRenderLower", &Interface::terRenderLower); }
    void terRenderUpper() override { forward("terRenderUpper", &Interface::terRenderUpper); }
    void terRenderMap() override { forward("terRenderMap", &Interface::terRenderMap); }
};

class RecordingObjects : public RecordingLayer<kv::ObjectsInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void objInitObjects() override { forward("objInitObjects", &Interface::objInitObjects); }
    void objReleaseObjects() override { forward("objReleaseObjects", &Interface::objReleaseObjects); }
    int32_t objGetFlagByName(const char* name) override {
        return forward("objGetFlagByName", &Interface::objGetFlagByName, name);
    }
    kv::GameObject* objGetObject(int32_t objectId) override {
        return forward("objGetObject", &Interface::objGetObject, objectId);
    }
    int32_t objGetObjectInterface(int32_t objectId, int32_t kind, void** iface) override {
        return forward("objGetObjectInterface", &Interface::objGetObjectInterface, objectId, kind, iface);
    }
    int32_t objGetPlayerObject() override { return forward("objGetPlayerObject", &Interface::objGetPlayerObject); }
    void objSetPlayerObject(int32_t objectId) override {
        forward("objSetPlayerObject", &Interface::objSetPlayerObject, objectId);
    }
    void objSetPlayerControl(int32_t on) override {
        forward("objSetPlayerControl", &Interface::objSetPlayerControl, on);
    }
    void objUpdate(float stepTime) override { forward("objUpdate", &Interface::objUpdate, stepTime); }
    void objRender(float simulatedTime) override { forward("objRender", &Interface::objRender, simulatedTime); }
    void objRenderShadows() override { forward("objRenderShadows", &Interface::objRenderShadows); }
    void objEndFrame() override { forward("objEndFrame", &Interface::objEndFrame); }
};

class RecordingWorld : public RecordingLayer<kv::WorldInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void wldSetBounds(float border, float maxHeight, float minHeight) override {
        forward("wldSetBounds", &Interface::wldSetBounds, border, maxHeight, minHeight);
    }
    void wldSetSectors(int32_t width, int32_t height, int32_t objectsPerSector) override {
        forward("wldSetSectors", &Interface::wldSetSectors, width, height, objectsPerSector);
    }
    void wldRelease() override { forward("wldRelease", &Interface::wldRelease); }
    void wldUpdate(float stepTime) override { forward("wldUpdate", &Interface::wldUpdate, stepTime); }
};

class RecordingSound : public RecordingLayer<kv::SoundInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void sndLoadSoundList(const char* fileName) override {
        forward("sndLoadSoundList", &Interface::sndLoadSoundList, fileName);
    }
    void sndLoadSound(int32_t* soundId, const char* fileName) override {
        forward("sndLoadSound", &Interface::sndLoadSound, soundId, fileName);
    }
    void sndReleaseSounds() override { forward("sndReleaseSounds", &Interface::sndReleaseSounds); }
    void sndSetFormat(int32_t bitsPerSample, int32_t sampleFrequency) override {
        forward("sndSetFormat", &Interface::sndSetFormat, bitsPerSample, sampleFrequency);
    }
    void sndStopAllSounds() override { forward("sndStopAllSounds", &Interface::sndStopAllSounds); }
    void sndPlaySound(int32_t* playHandle, int32_t soundId, int32_t zero) override {
        forward("sndPlaySound", &Interface::sndPlaySound, playHandle, soundId, zero);
    }
    void sndPrepare() override { forward("sndPrepare", &Interface::sndPrepare); }
    void sndSetListenerPosition(const double* position) override {
        forward("sndSetListenerPosition", &Interface::sndSetListenerPosition, position);
    }
    void sndSetListenerVelocity(const float* velocity) override {
        forward("sndSetListenerVelocity", &Interface::sndSetListenerVelocity, velocity);
    }
    void sndSetListenerOrientation(const float* orientation) override {
        forward("sndSetListenerOrientation", &Interface::sndSetListenerOrientation, orientation);
    }
    void sndUpdate() override { forward("sndUpdate", &Interface::sndUpdate); }
    int32_t sndIsStreamPlaying() override { return forward("sndIsStreamPlaying", &Interface::sndIsStreamPlaying); }
    void sndPlayStream(const char* fileName, int32_t loop) override {
        forward("sndPlayStream", &Interface::sndPlayStream, fileName, loop);
    }
    void sndStopStream() override { forward("sndStopStream", &Interface::sndStopStream); }
};

class RecordingInput : public RecordingLayer<kv::InputInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void inpClearInput() override { forward("inpClearInput", &Interface::inpClearInput); }
};

class RecordingControls : public RecordingLayer<kv::ControlsInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void ctlLoadControlMap(const char* name, int32_t one) override {
        forward("ctlLoadControlMap", &Interface::ctlLoadControlMap, name, one);
    }
    void ctlUnloadControlMap() override { forward("ctlUnloadControlMap", &Interface::ctlUnloadControlMap); }
    void ctlSetInputEnabled(int32_t on) override { forward("ctlSetInputEnabled", &Interface::ctlSetInputEnabled, on); }
    int32_t ctlGetControlId(const char* name) override {
        return forward("ctlGetControlId", &Interface::ctlGetControlId, name);
    }
    void ctlRegisterCommand(const char* name, kv::CommandHandler handler, int32_t zero) override {
        forward("ctlRegisterCommand", &Interface::ctlRegisterCommand, name, handler, zero);
    }
    void ctlInjectEvent(const kv::ControlEvent* event) override {
        forward("ctlInjectEvent", &Interface::ctlInjectEvent, event);
    }
    float ctlGetAxisValue(int32_t controlId) override {
        return forward("ctlGetAxisValue", &Interface::ctlGetAxisValue, controlId);
    }
    void ctlUpdate(float rawFrameTime) override { forward("ctlUpdate", &Interface::ctlUpdate, rawFrameTime); }
    void ctlSetKeyRepeat(float rate, float delay) override {
        forward("ctlSetKeyRepeat", &Interface::ctlSetKeyRepeat, rate, delay);
    }
    void ctlSetTextEntryMode(int32_t mode) override {
        forward("ctlSetTextEntryMode", &Interface::ctlSetTextEntryMode, mode);
    }
    int32_t ctlIsTextEntryOpen() override { return forward("ctlIsTextEntryOpen", &Interface::ctlIsTextEntryOpen); }
    void ctlBeginTextEntry() override { forward("ctlBeginTextEntry", &Interface::ctlBeginTextEntry); }
    void ctlGetEntryText(char* buffer, int32_t size) override {
        forward("ctlGetEntryText", &Interface::ctlGetEntryText, buffer, size);
    }
    void ctlSetCommandFilter(kv::CommandHandler filter) override {
        forward("ctlSetCommandFilter", &Interface::ctlSetCommandFilter, filter);
    }
    kv::ControlEvent* ctlGetControlEvent(int32_t controlId) override {
        return forward("ctlGetControlEvent", &Interface::ctlGetControlEvent, controlId);
    }
    void ctlSetActive(int32_t on) override { forward("ctlSetActive", &Interface::ctlSetActive, on); }
};

class RecordingViews : public RecordingLayer<kv::ViewsInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void vmgLoadViewList(const char* fileName) override {
        forward("vmgLoadViewList", &Interface::vmgLoadViewList, fileName);
    }
    void vmgUnloadViewList() override { forward("vmgUnloadViewList", &Interface::vmgUnloadViewList); }
    int32_t vmgCreateView(const char* name, int32_t objectId, int32_t one) override {
        return forward("vmgCreateView", &Interface::vmgCreateView, name, objectId, one);
    }
    void vmgSelectView(int32_t view) override { forward("vmgSelectView", &Interface::vmgSelectView, view); }
    void vmgSelectPlayerView(int32_t view) override {
        forward("vmgSelectPlayerView", &Interface::vmgSelectPlayerView, view);
    }
    void vmgHandleCommand(int32_t commandId) override {
        forward("vmgHandleCommand", &Interface::vmgHandleCommand, commandId);
    }
    int32_t vmgIsViewCommand(int32_t commandId) override {
        return forward("vmgIsViewCommand", &Interface::vmgIsViewCommand, commandId);
    }
    void vmgEnableViewControls(int32_t on) override {
        forward("vmgEnableViewControls", &Interface::vmgEnableViewControls, on);
    }
    void vmgUpdate(float rawFrameTime) override { forward("vmgUpdate", &Interface::vmgUpdate, rawFrameTime); }
    int32_t vmgIsCockpitView() override { return forward("vmgIsCockpitView", &Interface::vmgIsCockpitView); }
    void vmgRenderCockpit(int32_t showCockpit) override {
        forward("vmgRenderCockpit", &Interface::vmgRenderCockpit, showCockpit);
    }
    float vmgGetFieldOfView() override { return forward("vmgGetFieldOfView", &Interface::vmgGetFieldOfView); }
    int32_t vmgGetViewObject() override { return forward("vmgGetViewObject", &Interface::vmgGetViewObject); }
    void vmgGetViewPosition(double* position) override {
        forward("vmgGetViewPosition", &Interface::vmgGetViewPosition, position);
    }
    void vmgGetViewVelocity(float* velocity) override {
        forward("vmgGetViewVelocity", &Interface::vmgGetViewVelocity, velocity);
    }
    void vmgGetViewOrientation(float* orientation) override {
        forward("vmgGetViewOrientation", &Interface::vmgGetViewOrientation, orientation);
    }
};

class RecordingParticles : public RecordingLayer<kv::ParticlesInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void ptsLoadParticleSystemData(const char* fileName, int32_t effectsDetail) override {
        forward("ptsLoadParticleSystemData", &Interface::ptsLoadParticleSystemData, fileName, effectsDetail);
    }
    void ptsUnloadParticleSystemData() override {
        forward("ptsUnloadParticleSystemData", &Interface::ptsUnloadParticleSystemData);
    }
    void ptsSetViewPosition(const double* position) override {
        forward("ptsSetViewPosition", &Interface::ptsSetViewPosition, position);
    }
    void ptsSetViewVelocity(const float* velocity) override {
        forward("ptsSetViewVelocity", &Interface::ptsSetViewVelocity, velocity);
    }
    void ptsSetViewOrientation(const float* orientation) override {
        forward("ptsSetViewOrientation", &Interface::ptsSetViewOrientation, orientation);
    }
    void ptsSetEnvironmentState(const kv::EnvironmentState* state) override {
        forward("ptsSetEnvironmentState", &Interface::ptsSetEnvironmentState, state);
    }
    void ptsSetLevel(float level) override { forward("ptsSetLevel", &Interface::ptsSetLevel, level); }
    void ptsUpdate(float stepTime) override { forward("ptsUpdate", &Interface::ptsUpdate, stepTime); }
    void ptsRender() override { forward("ptsRender", &Interface::ptsRender); }
};

class RecordingEnvironment : public RecordingLayer<kv::EnvironmentInterface> {
public:
    using RecordingLayer::RecordingLayer;
    int32_t envLoadEnvironment(const char* fileName) override {
        return forward("envLoadEnvironment", &Interface::envLoadEnvironment, fileName);
    }
    void envUnloadEnvironment() override { forward("envUnloadEnvironment", &Interface::envUnloadEnvironment); }
    void envSetHorizonDistance(float distance) override {
        forward("envSetHorizonDistance", &Interface::envSetHorizonDistance, distance);
    }
    void envAdvanceTime(float simulatedTime) override {
        forward("envAdvanceTime", &Interface::envAdvanceTime, simulatedTime);
    }
    void envRenderBackground() override { forward("envRenderBackground", &Interface::envRenderBackground); }
    void envRenderMiddle() override { forward("envRenderMiddle", &Interface::envRenderMiddle); }
    void envRenderLensFlare() override { forward("envRenderLensFlare", &Interface::envRenderLensFlare); }
    void envApplyMissionRecord(const kv::EnvironmentRecord* record) override {
        forward("envApplyMissionRecord", &Interface::envApplyMissionRecord, record);
    }
    void envInitFromMissionRecord(const kv::EnvironmentRecord* record) override {
        forward("envInitFromMissionRecord", &Interface::envInitFromMissionRecord, record);
    }
    void envGetTimeOfDay(kv::TimeRecord* time) override {
        forward("envGetTimeOfDay", &Interface::envGetTimeOfDay, time);
    }
    void envShiftTimeOfDay(int32_t seconds) override {
        forward("envShiftTimeOfDay", &Interface::envShiftTimeOfDay, seconds);
    }
    void envSetTerrainParameter(int32_t value) override {
        forward("envSetTerrainParameter", &Interface::envSetTerrainParameter, value);
    }
    float envGetLevel() override { return forward("envGetLevel", &Interface::envGetLevel); }
    kv::EnvironmentState* envGetStateAt(const double* position, kv::EnvironmentState* state) override {
        return forward("envGetStateAt", &Interface::envGetStateAt, position, state);
    }
    int32_t envCameraCondition(float viewCoordinate) override {
        return forward("envCameraCondition", &Interface::envCameraCondition, viewCoordinate);
    }
};

class RecordingMission : public RecordingLayer<kv::MissionInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void msnLoadSpeech(const char* fileName) override { forward("msnLoadSpeech", &Interface::msnLoadSpeech, fileName); }
    void msnUnload() override { forward("msnUnload", &Interface::msnUnload); }
    void msnGetMissionSetup(kv::MissionSetup** setup) override {
        forward("msnGetMissionSetup", &Interface::msnGetMissionSetup, setup);
    }
    void msnUpdate(float simulatedTime) override { forward("msnUpdate", &Interface::msnUpdate, simulatedTime); }
    void msnRenderUpper() override { forward("msnRenderUpper", &Interface::msnRenderUpper); }
    void msnRenderLower() override { forward("msnRenderLower", &Interface::msnRenderLower); }
    void msnRenderMap() override { forward("msnRenderMap", &Interface::msnRenderMap); }
    void msnFirstFrameDone() override { forward("msnFirstFrameDone", &Interface::msnFirstFrameDone); }
    void msnEndFlight() override { forward("msnEndFlight", &Interface::msnEndFlight); }
    int32_t msnIsNetworkMission() override { return forward("msnIsNetworkMission", &Interface::msnIsNetworkMission); }
    int32_t msnCanPause() override { return forward("msnCanPause", &Interface::msnCanPause); }
    int32_t msnCanCompressTime() override { return forward("msnCanCompressTime", &Interface::msnCanCompressTime); }
    int32_t msnCanChangeTime() override { return forward("msnCanChangeTime", &Interface::msnCanChangeTime); }
    int32_t msnCanSkipToNext() override { return forward("msnCanSkipToNext", &Interface::msnCanSkipToNext); }
    void msnSkipToNext() override { forward("msnSkipToNext", &Interface::msnSkipToNext); }
    const char* msnGetLoadingImage() override { return forward("msnGetLoadingImage", &Interface::msnGetLoadingImage); }
    kv::EnvironmentRecord* msnGetInitialEnvironmentRecord(kv::EnvironmentRecord* record) override {
        return forward("msnGetInitialEnvironmentRecord", &Interface::msnGetInitialEnvironmentRecord, record);
    }
    kv::EnvironmentRecord* msnGetEnvironmentRecord(kv::EnvironmentRecord* record) override {
        return forward("msnGetEnvironmentRecord", &Interface::msnGetEnvironmentRecord, record);
    }
    int32_t msnCreateMissionObjects() override {
        return forward("msnCreateMissionObjects", &Interface::msnCreateMissionObjects);
    }
    void msnDestroyMissionObjects() override {
        forward("msnDestroyMissionObjects", &Interface::msnDestroyMissionObjects);
    }
    int32_t msnGetPlayerObject() override { return forward("msnGetPlayerObject", &Interface::msnGetPlayerObject); }
};

class RecordingClock : public RecordingLayer<kv::ClockInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void clkReset() override { forward("clkReset", &Interface::clkReset); }
    void clkUpdate() override { forward("clkUpdate", &Interface::clkUpdate); }
    int32_t clkGetTime() override { return forward("clkGetTime", &Interface::clkGetTime); }
    float clkGetFrameTime() override { return forward("clkGetFrameTime", &Interface::clkGetFrameTime); }
};

class RecordingText : public RecordingLayer<kv::TextInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void txtLoadTextFile(const char* fileName) override {
        forward("txtLoadTextFile", &Interface::txtLoadTextFile, fileName);
    }
    void txtUnloadTextFile(const char* fileName) override {
        forward("txtUnloadTextFile", &Interface::txtUnloadTextFile, fileName);
    }
    int32_t txtGetStringId(const char* fileName, const char* name) override {
        return forward("txtGetStringId", &Interface::txtGetStringId, fileName, name);
    }
    void txtGetIndexedString(const char* fileName, int32_t id, char* buffer, int32_t size) override {
        forward("txtGetIndexedString", &Interface::txtGetIndexedString, fileName, id, buffer, size);
    }
    const char* txtGetString(const char* fileName, int32_t id) override {
        return forward("txtGetString", &Interface::txtGetString, fileName, id);
    }
    void txtFormatTime(const kv::TimeRecord* time, char* buffer, int32_t size, int32_t style) override {
        forward("txtFormatTime", &Interface::txtFormatTime, time, buffer, size, style);
    }
};

class RecordingMessages : public RecordingLayer<kv::MessagesInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void msgLoadMessageSystem(const char* fileName) override {
        forward("msgLoadMessageSystem", &Interface::msgLoadMessageSystem, fileName);
    }
    void msgUnloadMessageSystem() override { forward("msgUnloadMessageSystem", &Interface::msgUnloadMessageSystem); }
    void msgShowText(const char* format, ...) override;
    void msgShowEntryLine(const char* format, ...) override;

private:
    using ShowOperation = void (kv::MessagesInterface::*)(const char*, ...);
    void passOn(const char* op, ShowOperation operation, const char* format, va_list args);
    void msgUpdate(float clampedFrameTime) override { forward("msgUpdate", &Interface::msgUpdate, clampedFrameTime); }
    void msgRender() override { forward("msgRender", &Interface::msgRender); }
};

class RecordingSpeech : public RecordingLayer<kv::SpeechInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void spcLoadSpeechSystem(const char* fileName) override {
        forward("spcLoadSpeechSystem", &Interface::spcLoadSpeechSystem, fileName);
    }
    void spcUnloadSpeechSystem() override { forward("spcUnloadSpeechSystem", &Interface::spcUnloadSpeechSystem); }
    void spcSetSubtitles(int32_t on) override { forward("spcSetSubtitles", &Interface::spcSetSubtitles, on); }
    void spcUpdate() override { forward("spcUpdate", &Interface::spcUpdate); }
};

class RecordingFade : public RecordingLayer<kv::FadeInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void fadSetFadeTime(float seconds) override { forward("fadSetFadeTime", &Interface::fadSetFadeTime, seconds); }
    void fadStartFadeOut(int32_t zero) override { forward("fadStartFadeOut", &Interface::fadStartFadeOut, zero); }
    void fadStartFadeIn(int32_t zero) override { forward("fadStartFadeIn", &Interface::fadStartFadeIn, zero); }
    int32_t fadStep(int32_t clockTime) override { return forward("fadStep", &Interface::fadStep, clockTime); }
    void fadUpdate(float clampedFrameTime) override { forward("fadUpdate", &Interface::fadUpdate, clampedFrameTime); }
};

class RecordingNetwork : public RecordingLayer<kv::NetworkInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void netLeave() override { forward("netLeave", &Interface::netLeave); }
    void netGetGameSettings(kv::HostGameSettings* settings) override {
        forward("netGetGameSettings", &Interface::netGetGameSettings, settings);
    }
    void netFlush() override { forward("netFlush", &Interface::netFlush); }
    int32_t netPlayersChanged() override { return forward("netPlayersChanged", &Interface::netPlayersChanged); }
    void netEnumPlayers(kv::PlayerCallback callback) override {
        forward("netEnumPlayers", &Interface::netEnumPlayers, callback);
    }
    void netSendChat(const char* text, int32_t recipient, int32_t minusOne) override {
        forward("netSendChat", &Interface::netSendChat, text, recipient, minusOne);
    }
    void netBeginFlight() override { forward("netBeginFlight", &Interface::netBeginFlight); }
    void netUpdate() override { forward("netUpdate", &Interface::netUpdate); }
    float netGetFrameTime() override { return forward("netGetFrameTime", &Interface::netGetFrameTime); }
};

class RecordingForceFeedback : public RecordingLayer<kv::ForceFeedbackInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void ffbLoadEffects(const char* fileName) override {
        forward("ffbLoadEffects", &Interface::ffbLoadEffects, fileName);
    }
    void ffbUnloadEffects() override { forward("ffbUnloadEffects", &Interface::ffbUnloadEffects); }
    void ffbSetControlEvent(const kv::ControlEvent* event) override {
        forward("ffbSetControlEvent", &Interface::ffbSetControlEvent, event);
    }
    void ffbStopEffects() override { forward("ffbStopEffects", &Interface::ffbStopEffects); }
};

class RecordingHud : public RecordingLayer<kv::HudInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void hudInit(const char* dataFileName) override { forward("hudInit", &Interface::hudInit, dataFileName); }
    void hudShutdown() override { forward("hudShutdown", &Interface::hudShutdown); }
    void hudSetViewPosition(const double* position) override {
        forward("hudSetViewPosition", &Interface::hudSetViewPosition, position);
    }
    void hudSetViewOrientation(const float* orientation) override {
        forward("hudSetViewOrientation", &Interface::hudSetViewOrientation, orientation);
    }
    void hudRender() override { forward("hudRender", &Interface::hudRender); }
    void hudRenderMap() override { forward("hudRenderMap", &Interface::hudRenderMap); }
};

class RecordingAvionics : public RecordingLayer<kv::AvionicsInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void avnUpdate() override { forward("avnUpdate", &Interface::avnUpdate); }
};

class RecordingComm : public RecordingLayer<kv::CommInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void comInit(const char* dataFileName) override { forward("comInit", &Interface::comInit, dataFileName); }
    void comShutdown() override { forward("comShutdown", &Interface::comShutdown); }
    void comOpenRadioMenu() override { forward("comOpenRadioMenu", &Interface::comOpenRadioMenu); }
    void comUpdate(float clampedFrameTime) override { forward("comUpdate", &Interface::comUpdate, clampedFrameTime); }
    void comRender() override { forward("comRender", &Interface::comRender); }
};

class RecordingOptions : public RecordingLayer<kv::OptionsInterface> {
public:
    using RecordingLayer::RecordingLayer;
    void optReloadOptions() override { forward("optReloadOptions", &Interface::optReloadOptions); }
    kv::ConfigDocument* optGetDocument(kv::ConfigDocument** document) override {
        return forward("optGetDocument", &Interface::optGetDocument, document);
    }
    void optReleaseDocument(kv::ConfigDocument** document) override {
        forward("optReleaseDocument", &Interface::optReleaseDocument, document);
    }
};


// The recording layer of each interface, for SimHost::replace.
template <>
struct RecordingLayerFor<kv::AppInterface> {
    using type = RecordingApp;
};
template <>
struct RecordingLayerFor<kv::DllInterface> {
    using type = RecordingDll;
};
template <>
struct RecordingLayerFor<kv::FileManagerInterface> {
    using type = RecordingFileManager;
};
template <>
struct RecordingLayerFor<kv::MemoryInterface> {
    using type = RecordingMemory;
};
template <>
struct RecordingLayerFor<kv::GraphicsInterface> {
    using type = RecordingGraphics;
};
template <>
struct RecordingLayerFor<kv::TerrainInterface> {
    using type = RecordingTerrain;
};
template <>
struct RecordingLayerFor<kv::ObjectsInterface> {
    using type = RecordingObjects;
};
template <>
struct RecordingLayerFor<kv::WorldInterface> {
    using type = RecordingWorld;
};
template <>
struct RecordingLayerFor<kv::SoundInterface> {
    using type = RecordingSound;
};
template <>
struct RecordingLayerFor<kv::InputInterface> {
    using type = RecordingInput;
};
template <>
struct RecordingLayerFor<kv::ControlsInterface> {
    using type = RecordingControls;
};
template <>
struct RecordingLayerFor<kv::ViewsInterface> {
    using type = RecordingViews;
};
template <>
struct RecordingLayerFor<kv::ParticlesInterface> {
    using type = RecordingParticles;
};
template <>
struct RecordingLayerFor<kv::EnvironmentInterface> {
    using type = RecordingEnvironment;
};
template <>
struct RecordingLayerFor<kv::MissionInterface> {
    using type = RecordingMission;
};
template <>
struct RecordingLayerFor<kv::ClockInterface> {
    using type = RecordingClock;
};
template <>
struct RecordingLayerFor<kv::TextInterface> {
    using type = RecordingText;
};
template <>
struct RecordingLayerFor<kv::MessagesInterface> {
    using type = RecordingMessages;
};
template <>
struct RecordingLayerFor<kv::SpeechInterface> {
    using type = RecordingSpeech;
};
template <>
struct RecordingLayerFor<kv::FadeInterface> {
    using type = RecordingFade;
};
template <>
struct RecordingLayerFor<kv::NetworkInterface> {
    using type = RecordingNetwork;
};
template <>
struct RecordingLayerFor<kv::ForceFeedbackInterface> {
    using type = RecordingForceFeedback;
};
template <>
struct RecordingLayerFor<kv::HudInterface> {
    using type = RecordingHud;
};
template <>
struct RecordingLayerFor<kv::AvionicsInterface> {
    using type = RecordingAvionics;
};
template <>
struct RecordingLayerFor<kv::CommInterface> {
    using type = RecordingComm;
};
template <>
struct RecordingLayerFor<kv::OptionsInterface> {
    using type = RecordingOptions;
};

}  // namespace kvsim
