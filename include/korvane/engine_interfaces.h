// The engine subsystem interfaces the shell hands out by tag, and the
// objects they hand out. Same binary rules as <korvane/shell.h>: pure virtual
// operations in exactly this order, no data, no virtual destructor, no
// overloads; positions are double[3], velocities float[3], orientations
// float[9] row by row; object ids are 32-bit with -1 for none.
#pragma once

#include <cstdint>

#include <korvane/records.h>

#if defined(_WIN32) && !defined(_WIN64)
#define KV_STDCALL __stdcall
#else
#define KV_STDCALL
#endif

namespace kv {

class ConfigDocument;

// A flight command handler: standard call, three 32-bit words, the first
// being the command's identifier.
using CommandHandler = int32_t(KV_STDCALL*)(int32_t commandId, int32_t arg1, int32_t arg2);
// The network's player enumeration callback; nonzero goes on.
using PlayerCallback = int32_t (*)(NetworkPlayer* player);

// ---- objects handed out ----

class Camera {
public:
    // The camera's parameter block, to be edited in place.
    virtual void cameraGetParams(CameraParams** params) = 0;
    virtual void cameraSetPosition(const double* position) = 0;
    virtual void cameraSetOrientation(const float* orientation) = 0;
    virtual void cameraGetPosition(double* position) = 0;
    // Takes the edited parameter block into effect.
    virtual void cameraApply() = 0;
};

class Image {
public:
    // Position and size as fractions of the screen.
    virtual void imageDraw(float x, float y, float width, float height) = 0;
};

class Display {
public:
    virtual void displayGetInfo(DisplayInfo** info) = 0;
};

class GameObject {
public:
    virtual int32_t objectGetInterface(int32_t kind, void** iface) = 0;
    virtual int32_t objectIsActive() = 0;
    virtual int32_t objectGetRenderFlags() = 0;
    virtual void objectSetRenderFlags(int32_t flags) = 0;
};

// Object interface of kind 2.
class TargetRecord {
public:
    virtual int32_t targetIsActive() = 0;
};

// Object interface of kind 3.
class FlightControls {
public:
    virtual int32_t controlsGetState(int32_t attribute) = 0;
};

// Object interface of kind 4.
class Body {
public:
    virtual void bodyGetPosition(double* position) = 0;
    virtual void bodyGetVelocity(float* velocity) = 0;
    virtual void bodyGetOrientation(float* orientation) = 0;
};

// Object interface of kind 10.
class Aircraft {
public:
    virtual void objectSendEvent(int32_t event, int32_t target, int32_t value) = 0;
    virtual int32_t targetGetObjectId() = 0;
};

// Object interface of kind 11.
class ViewAttachment {
public:
    virtual void viewAttachReset(int32_t a, int32_t b) = 0;
};

enum ObjectInterfaceKind : int32_t {
    kTargetRecordKind = 2,
    kFlightControlsKind = 3,
    kBodyKind = 4,
    kAircraftKind = 10,
    kViewAttachmentKind = 11,
};

// ---- engine subsystems ----

// GFX, graphics.
class GraphicsInterface {
public:
    virtual int32_t gfxInitDisplay(GraphicsSetup* setup, DisplayOptions* options) = 0;
    virtual void gfxConfigure(GraphicsSetup* setup) = 0;
    virtual void gfxReleaseDisplay() = 0;
    virtual Image* gfxLoadImage(const char* fileName) = 0;
    virtual void gfxReleaseImage(Image** image) = 0;
    // 0 for a perspective view, 1 for the map view.
    virtual Camera* gfxCreateCamera(int32_t kind) = 0;
    virtual void gfxDestroyCamera(Camera** camera) = 0;
    virtual void gfxSetCamera(Camera* camera) = 0;
    virtual Display* gfxGetDisplay() = 0;
    virtual void gfxSetTextureLimit(int32_t resolution) = 0;
    virtual void gfxEnableTextureLimit(int32_t enable) = 0;
    virtual void gfxGetTextureSize(int32_t textureId, int32_t* width, int32_t* height) = 0;
    // -1 renders to the screen.
    virtual void gfxSetRenderTarget(int32_t textureId) = 0;
    virtual void gfxDrawRectFrame(const float* leftTop, const float* rightBottom, const float* color) = 0;
    virtual void gfxFillRect(const float* leftTop, const float* rightBottom, const float* color) = 0;
    virtual void gfxSetSceneMode(int32_t mode) = 0;
    virtual void gfxSetWorldMode(int32_t on) = 0;
    virtual void gfxSetPassOption(int32_t option) = 0;
    virtual void gfxSetMirrorPass(int32_t on) = 0;
    virtual int32_t gfxGetPassOption() = 0;
    virtual int32_t gfxSaveScreenshot(const char* fileName) = 0;
    virtual void gfxSetDefaultColor(const int32_t* rgb) = 0;
    virtual void gfxSetLightingEnable(int32_t on) = 0;
    virtual void gfxClearBuffers() = 0;
    virtual void gfxApplyCamera() = 0;
    virtual void gfxClearDepth() = 0;
    virtual void gfxBeginFrame() = 0;
    virtual void gfxEndFrame() = 0;
    virtual void gfxPresent() = 0;
    virtual void gfxBeginScene() = 0;
    virtual void gfxEndScene() = 0;
    virtual void gfxBeginPass() = 0;
    virtual void gfxEndPass() = 0;
    virtual void gfxDrawObjects() = 0;
    virtual void gfxFlushObjects() = 0;
    virtual void gfxDrawFarObjects() = 0;
    virtual void gfxDrawTransparent() = 0;
    virtual int32_t gfxCreateFont(const FontSettings* font) = 0;
    virtual void gfxSelectFont(int32_t font) = 0;
    virtual void gfxSetTextColor(const float* color) = 0;
    virtual void gfxBeginText() = 0;
    virtual void gfxEndText() = 0;
    virtual void gfxDrawText(const char* text, float x, float y, int32_t zero, int32_t alignment) = 0;
};

// TER, terrain.
class TerrainInterface {
public:
    virtual TerrainInfo* terGetTerrainInfo(TerrainInfo** info) = 0;
    virtual int32_t terInitTerrainSystem(TerrainSetup* setup) = 0;
    virtual void terReleaseTerrainSystem() = 0;
    virtual void terRenderLower() = 0;
    virtual void terRenderUpper() = 0;
    virtual void terRenderMap() = 0;
};

// OBJ, objects.
class ObjectsInterface {
public:
    virtual void objInitObjects() = 0;
    virtual void objReleaseObjects() = 0;
    virtual int32_t objGetFlagByName(const char* name) = 0;
    virtual GameObject* objGetObject(int32_t objectId) = 0;
    virtual int32_t objGetObjectInterface(int32_t objectId, int32_t kind, void** iface) = 0;
    virtual int32_t objGetPlayerObject() = 0;
    virtual void objSetPlayerObject(int32_t objectId) = 0;
    virtual void objSetPlayerControl(int32_t on) = 0;
    // 0 while paused.
    virtual void objUpdate(float stepTime) = 0;
    virtual void objRender(float simulatedTime) = 0;
    virtual void objRenderShadows() = 0;
    virtual void objEndFrame() = 0;
};

// WLD, world.
class WorldInterface {
public:
    virtual void wldSetBounds(float border, float maxHeight, float minHeight) = 0;
    virtual void wldSetSectors(int32_t width, int32_t height, int32_t objectsPerSector) = 0;
    virtual void wldRelease() = 0;
    virtual void wldUpdate(float stepTime) = 0;
};

// SND, sound.
class SoundInterface {
public:
    virtual void sndLoadSoundList(const char* fileName) = 0;
    virtual void sndLoadSound(int32_t* soundId, const char* fileName) = 0;
    virtual void sndReleaseSounds() = 0;
    virtual void sndSetFormat(int32_t bitsPerSample, int32_t sampleFrequency) = 0;
    virtual void sndStopAllSounds() = 0;
    virtual void sndPlaySound(int32_t* playHandle, int32_t soundId, int32_t zero) = 0;
    virtual void sndPrepare() = 0;
    virtual void sndSetListenerPosition(const double* position) = 0;
    virtual void sndSetListenerVelocity(const float* velocity) = 0;
    virtual void sndSetListenerOrientation(const float* orientation) = 0;
    virtual void sndUpdate() = 0;
    virtual int32_t sndIsStreamPlaying() = 0;
    virtual void sndPlayStream(const char* fileName, int32_t loop) = 0;
    virtual void sndStopStream() = 0;
};

// INP, input.
class InputInterface {
public:
    virtual void inpClearInput() = 0;
};

// CTL, controls.
class ControlsInterface {
public:
    virtual void ctlLoadControlMap(const char* name, int32_t one) = 0;
    virtual void ctlUnloadControlMap() = 0;
    virtual void ctlSetInputEnabled(int32_t on) = 0;
    // -1 when the name is not found.
    virtual int32_t ctlGetControlId(const char* name) = 0;
    virtual void ctlRegisterCommand(const char* name, CommandHandler handler, int32_t zero) = 0;
    virtual void ctlInjectEvent(const ControlEvent* event) = 0;
    virtual float ctlGetAxisValue(int32_t controlId) = 0;
    virtual void ctlUpdate(float rawFrameTime) = 0;
    virtual void ctlSetKeyRepeat(float rate, float delay) = 0;
    virtual void ctlSetTextEntryMode(int32_t mode) = 0;
    // 0 once the player has finished typing.
    virtual int32_t ctlIsTextEntryOpen() = 0;
    virtual void ctlBeginTextEntry() = 0;
    virtual void ctlGetEntryText(char* buffer, int32_t size) = 0;
    // Null removes the filter.
    virtual void ctlSetCommandFilter(CommandHandler filter) = 0;
    virtual ControlEvent* ctlGetControlEvent(int32_t controlId) = 0;
    virtual void ctlSetActive(int32_t on) = 0;
};

// VMG, views.
class ViewsInterface {
public:
    virtual void vmgLoadViewList(const char* fileName) = 0;
    virtual void vmgUnloadViewList() = 0;
    // objectId -1 when the view looks from no particular object.
    virtual int32_t vmgCreateView(const char* name, int32_t objectId, int32_t one) = 0;
    virtual void vmgSelectView(int32_t view) = 0;
    virtual void vmgSelectPlayerView(int32_t view) = 0;
    virtual void vmgHandleCommand(int32_t commandId) = 0;
    virtual int32_t vmgIsViewCommand(int32_t commandId) = 0;
    virtual void vmgEnableViewControls(int32_t on) = 0;
    virtual void vmgUpdate(float rawFrameTime) = 0;
    virtual int32_t vmgIsCockpitView() = 0;
    virtual void vmgRenderCockpit(int32_t showCockpit) = 0;
    virtual float vmgGetFieldOfView() = 0;
    virtual int32_t vmgGetViewObject() = 0;
    virtual void vmgGetViewPosition(double* position) = 0;
    virtual void vmgGetViewVelocity(float* velocity) = 0;
    virtual void vmgGetViewOrientation(float* orientation) = 0;
};

// PTS, particles.
class ParticlesInterface {
public:
    virtual void ptsLoadParticleSystemData(const char* fileName, int32_t effectsDetail) = 0;
    virtual void ptsUnloadParticleSystemData() = 0;
    virtual void ptsSetViewPosition(const double* position) = 0;
    virtual void ptsSetViewVelocity(const float* velocity) = 0;
    virtual void ptsSetViewOrientation(const float* orientation) = 0;
    virtual void ptsSetEnvironmentState(const EnvironmentState* state) = 0;
    virtual void ptsSetLevel(float level) = 0;
    virtual void ptsUpdate(float stepTime) = 0;
    virtual void ptsRender() = 0;
};

// ENV, environment: sky layers, time of day, lens flare.
class EnvironmentInterface {
public:
    virtual int32_t envLoadEnvironment(const char* fileName) = 0;
    virtual void envUnloadEnvironment() = 0;
    virtual void envSetHorizonDistance(float distance) = 0;
    // 0 only refreshes.
    virtual void envAdvanceTime(float simulatedTime) = 0;
    virtual void envRenderBackground() = 0;
    virtual void envRenderMiddle() = 0;
    virtual void envRenderLensFlare() = 0;
    virtual void envApplyMissionRecord(const EnvironmentRecord* record) = 0;
    virtual void envInitFromMissionRecord(const EnvironmentRecord* record) = 0;
    virtual void envGetTimeOfDay(TimeRecord* time) = 0;
    virtual void envShiftTimeOfDay(int32_t seconds) = 0;
    virtual void envSetTerrainParameter(int32_t value) = 0;
    virtual float envGetLevel() = 0;
    virtual EnvironmentState* envGetStateAt(const double* position, EnvironmentState* state) = 0;
    virtual int32_t envCameraCondition(float viewCoordinate) = 0;
};

// MSN, mission.
class MissionInterface {
public:
    virtual void msnLoadSpeech(const char* fileName) = 0;
    virtual void msnUnload() = 0;
    virtual void msnGetMissionSetup(MissionSetup** setup) = 0;
    virtual void msnUpdate(float simulatedTime) = 0;
    virtual void msnRenderUpper() = 0;
    virtual void msnRenderLower() = 0;
    virtual void msnRenderMap() = 0;
    virtual void msnFirstFrameDone() = 0;
    virtual void msnEndFlight() = 0;
    virtual int32_t msnIsNetworkMission() = 0;
    virtual int32_t msnCanPause() = 0;
    virtual int32_t msnCanCompressTime() = 0;
    virtual int32_t msnCanChangeTime() = 0;
    virtual int32_t msnCanSkipToNext() = 0;
    virtual void msnSkipToNext() = 0;
    // Null or empty when the mission has no picture of its own.
    virtual const char* msnGetLoadingImage() = 0;
    virtual EnvironmentRecord* msnGetInitialEnvironmentRecord(EnvironmentRecord* record) = 0;
    virtual EnvironmentRecord* msnGetEnvironmentRecord(EnvironmentRecord* record) = 0;
    virtual int32_t msnCreateMissionObjects() = 0;
    virtual void msnDestroyMissionObjects() = 0;
    // -1 when there is none.
    virtual int32_t msnGetPlayerObject() = 0;
};

// CLK, clock.
class ClockInterface {
public:
    virtual void clkReset() = 0;
    virtual void clkUpdate() = 0;
    virtual int32_t clkGetTime() = 0;
    // Real seconds since the previous frame.
    virtual float clkGetFrameTime() = 0;
};

// TXT, text files: strings by id, time formatting.
class TextInterface {
public:
    virtual void txtLoadTextFile(const char* fileName) = 0;
    virtual void txtUnloadTextFile(const char* fileName) = 0;
    virtual int32_t txtGetStringId(const char* fileName, const char* name) = 0;
    virtual void txtGetIndexedString(const char* fileName, int32_t id, char* buffer, int32_t size) = 0;
    virtual const char* txtGetString(const char* fileName, int32_t id) = 0;
    virtual void txtFormatTime(const TimeRecord* time, char* buffer, int32_t size, int32_t style) = 0;
};

// MSG, on-screen messages. The two variadic operations take a format;
// text typed by players is always passed as the argument of "%s".
class MessagesInterface {
public:
    virtual void msgLoadMessageSystem(const char* fileName) = 0;
    virtual void msgUnloadMessageSystem() = 0;
    virtual void msgShowText(const char* format, ...) = 0;
    virtual void msgShowEntryLine(const char* format, ...) = 0;
    virtual void msgUpdate(float clampedFrameTime) = 0;
    virtual void msgRender() = 0;
};

// SPC, speech.
class SpeechInterface {
public:
    virtual void spcLoadSpeechSystem(const char* fileName) = 0;
    virtual void spcUnloadSpeechSystem() = 0;
    virtual void spcSetSubtitles(int32_t on) = 0;
    virtual void spcUpdate() = 0;
};

// FAD, screen fades.
class FadeInterface {
public:
    virtual void fadSetFadeTime(float seconds) = 0;
    virtual void fadStartFadeOut(int32_t zero) = 0;
    virtual void fadStartFadeIn(int32_t zero) = 0;
    // Nonzero when the fade has finished.
    virtual int32_t fadStep(int32_t clockTime) = 0;
    virtual void fadUpdate(float clampedFrameTime) = 0;
};

// NET, network; may be absent.
class NetworkInterface {
public:
    virtual void netLeave() = 0;
    virtual void netGetGameSettings(HostGameSettings* settings) = 0;
    virtual void netFlush() = 0;
    virtual int32_t netPlayersChanged() = 0;
    // Calls back once per player before it returns.
    virtual void netEnumPlayers(PlayerCallback callback) = 0;
    virtual void netSendChat(const char* text, int32_t recipient, int32_t minusOne) = 0;
    virtual void netBeginFlight() = 0;
    virtual void netUpdate() = 0;
    virtual float netGetFrameTime() = 0;
};

// FFB, force feedback; may be absent.
class ForceFeedbackInterface {
public:
    virtual void ffbLoadEffects(const char* fileName) = 0;
    virtual void ffbUnloadEffects() = 0;
    virtual void ffbSetControlEvent(const ControlEvent* event) = 0;
    virtual void ffbStopEffects() = 0;
};

// ---- per-flight modules; each may be absent ----

// HUD.
class HudInterface {
public:
    virtual void hudInit(const char* dataFileName) = 0;
    virtual void hudShutdown() = 0;
    virtual void hudSetViewPosition(const double* position) = 0;
    virtual void hudSetViewOrientation(const float* orientation) = 0;
    virtual void hudRender() = 0;
    virtual void hudRenderMap() = 0;
};

// AVN, avionics.
class AvionicsInterface {
public:
    virtual void avnUpdate() = 0;
};

// COM, radio communication.
class CommInterface {
public:
    virtual void comInit(const char* dataFileName) = 0;
    virtual void comShutdown() = 0;
    virtual void comOpenRadioMenu() = 0;
    virtual void comUpdate(float clampedFrameTime) = 0;
    virtual void comRender() = 0;
};

// OPT, the player options module; held only while used.
class OptionsInterface {
public:
    virtual void optReloadOptions() = 0;
    virtual ConfigDocument* optGetDocument(ConfigDocument** document) = 0;
    virtual void optReleaseDocument(ConfigDocument** document) = 0;
};

}  // namespace kv
