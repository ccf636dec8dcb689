// Every operation of the host contract, once: the shell, the shell-level
// and engine interfaces, and the objects they hand out. The recording layer
// (sim/calls/recording_layer.h), the no-op host's answers (sim/calls/noop_defaults.h)
// and the tag lists are built from these rows; the declarations in
// include/korvane/ stay hand-written, and every generated method is an
// override, so a row that disagrees with the contract does not compile.
//
// One row per operation:
//
//   OP(result, name, (parameters), (passed on), (recorded), result recorded, no-op answer)
//
// - passed on: the arguments the implementation behind the layer gets;
//   the parameters themselves, except where an object handed out earlier
//   goes back (inner(), slotOf()) or comes out through a slot
//   (handedOut(), keptParams()).
// - recorded: the arguments as the call log writes them, by meaning: Text
//   for a text, Pair, Color, Rgb, Position, Vector3, Orientation for the
//   arrays, a record pointer with its fields, Handle{p, "kind"} for an
//   opaque pointer. Output buffers are left out. KV_AFTER_THE_CALL first
//   records them once the implementation has returned (what it put in a
//   slot is part of the record).
// - result recorded: `result` as it is, an expression of it or of the
//   parameters after the call, or KV_UNRECORDED.
// - no-op answer: what the no-op host gives back (empty for void).
//
// The two variadic message operations are listed apart: their text is
// formatted before it goes on, as the argument of "%s".
#pragma once

#define KV_SHELL_OPERATIONS(OP) \
    OP(int32_t, RegisterModule, (kv::ModuleTag tag, void* module, int32_t arg), (tag, module, arg), (Text{tag}, Handle{module, "module"}, arg), result, 1) \
    OP(int32_t, UnregisterModule, (kv::ModuleTag tag), (tag), (Text{tag}), result, 1) \
    OP(int32_t, GetInterface, (kv::ModuleTag tag, void** slot), (tag, slot), (KV_AFTER_THE_CALL, Text{tag}, Handle{slot ? *slot : nullptr, tag}), result, 0) \
    OP(int32_t, ReleaseInterface, (kv::ModuleTag tag, void** slot), (tag, slot), (Text{tag}), result, 1)

#define KV_APP_OPERATIONS(OP) \
    OP(int32_t, appUpdate, (), (), (), result, 1) \
    OP(int32_t, appIsRunning, (), (), (), result, 1) \
    OP(int32_t, appQueryFlag, (), (), (), result, 0)

#define KV_DLL_OPERATIONS(OP) \
    OP(int32_t, dllLoadModule, (const char* fileName), (fileName), (Text{fileName}), result, 1) \
    OP(void, dllUnloadModule, (const char* fileName), (fileName), (Text{fileName}), KV_UNRECORDED, )

#define KV_FILE_MANAGER_OPERATIONS(OP) \
    OP(int32_t, fmgOpenFile, (const char* name, int32_t mode), (name, mode), (Text{name}, mode), result, -1) \
    OP(void, fmgCloseFile, (int32_t handle), (handle), (handle), KV_UNRECORDED, ) \
    OP(int32_t, fmgReadFile, (int32_t handle, void* buffer, int32_t count), (handle, buffer, count), (handle, count), result, 0) \
    OP(int32_t, fmgFileExists, (const char* name, int32_t mode), (name, mode), (Text{name}, mode), result, 0) \
    OP(int32_t, fmgGetFileSize, (const char* name), (name), (Text{name}), result, 0) \
    OP(void, fmgPushDirectory, (), (), (), KV_UNRECORDED, ) \
    OP(void, fmgPopDirectory, (), (), (), KV_UNRECORDED, )

#define KV_MEMORY_OPERATIONS(OP) \
    OP(void*, memAlloc, (int32_t size, int32_t reserved1, int32_t reserved2, const char* owner), (size, reserved1, reserved2, owner), (size, reserved1, reserved2, Text{owner}), allocated(result, owner), nullptr) \
    OP(void, memFree, (void* block), (block), (Handle{block, "block"}), freed(block), ) \
    OP(void, memReleaseOwner, (const char* owner), (owner), (Text{owner}), ownerReleased(owner), ) \
    OP(void, memCheckpoint, (const char* label), (label), (Text{label}), KV_UNRECORDED, )

#define KV_CAMERA_OPERATIONS(OP) \
    OP(void, cameraGetParams, (kv::CameraParams** params), (keptParams(this, params)), (), KV_UNRECORDED, ) \
    OP(void, cameraSetPosition, (const double* position), (position), (Position{position}), KV_UNRECORDED, ) \
    OP(void, cameraSetOrientation, (const float* orientation), (orientation), (Orientation{orientation}), KV_UNRECORDED, ) \
    OP(void, cameraGetPosition, (double* position), (position), (), KV_UNRECORDED, ) \
    OP(void, cameraApply, (), (), (paramsOf(this)), KV_UNRECORDED, )

#define KV_IMAGE_OPERATIONS(OP) \
    OP(void, imageDraw, (float x, float y, float width, float height), (x, y, width, height), (x, y, width, height), KV_UNRECORDED, )

#define KV_DISPLAY_OPERATIONS(OP) \
    OP(void, displayGetInfo, (kv::DisplayInfo** info), (info), (), KV_UNRECORDED, )

#define KV_GAME_OBJECT_OPERATIONS(OP) \
    OP(int32_t, objectGetInterface, (int32_t kind, void** iface), (kind, handedOut(kind, iface)), (kind), result, 0) \
    OP(int32_t, objectIsActive, (), (), (), result, 1) \
    OP(int32_t, objectGetRenderFlags, (), (), (), result, 0) \
    OP(void, objectSetRenderFlags, (int32_t flags), (flags), (flags), KV_UNRECORDED, )

#define KV_TARGET_RECORD_OPERATIONS(OP) \
    OP(int32_t, targetIsActive, (), (), (), result, 1)

#define KV_FLIGHT_CONTROLS_OPERATIONS(OP) \
    OP(int32_t, controlsGetState, (int32_t attribute), (attribute), (attribute), result, 0)

#define KV_BODY_OPERATIONS(OP) \
    OP(void, bodyGetPosition, (double* position), (position), (), KV_UNRECORDED, ) \
    OP(void, bodyGetVelocity, (float* velocity), (velocity), (), KV_UNRECORDED, ) \
    OP(void, bodyGetOrientation, (float* orientation), (orientation), (), KV_UNRECORDED, )

#define KV_AIRCRAFT_OPERATIONS(OP) \
    OP(void, objectSendEvent, (int32_t event, int32_t target, int32_t value), (event, target, value), (event, target, value), KV_UNRECORDED, ) \
    OP(int32_t, targetGetObjectId, (), (), (), result, -1)

#define KV_VIEW_ATTACHMENT_OPERATIONS(OP) \
    OP(void, viewAttachReset, (int32_t a, int32_t b), (a, b), (a, b), KV_UNRECORDED, )

#define KV_GRAPHICS_OPERATIONS(OP) \
    OP(int32_t, gfxInitDisplay, (kv::GraphicsSetup* setup, kv::DisplayOptions* options), (setup, options), (setup, options), result, 1) \
    OP(void, gfxConfigure, (kv::GraphicsSetup* setup), (setup), (setup), KV_UNRECORDED, ) \
    OP(void, gfxReleaseDisplay, (), (), (), KV_UNRECORDED, ) \
    OP(kv::Image*, gfxLoadImage, (const char* fileName), (fileName), (Text{fileName}), (Handle{result, "image"}), nullptr) \
    OP(void, gfxReleaseImage, (kv::Image** image), (slotOf(image)), (Handle{image ? *image : nullptr, "image"}), KV_UNRECORDED, ) \
    OP(kv::Camera*, gfxCreateCamera, (int32_t kind), (kind), (kind), (Handle{result, "camera"}), nullptr) \
    OP(void, gfxDestroyCamera, (kv::Camera** camera), (slotOf(camera)), (Handle{camera ? *camera : nullptr, "camera"}), KV_UNRECORDED, ) \
    OP(void, gfxSetCamera, (kv::Camera* camera), (inner(camera)), (Handle{camera, "camera"}, selected(camera)), KV_UNRECORDED, ) \
    OP(kv::Display*, gfxGetDisplay, (), (), (), (Handle{result, "display"}), nullptr) \
    OP(void, gfxSetTextureLimit, (int32_t resolution), (resolution), (resolution), KV_UNRECORDED, ) \
    OP(void, gfxEnableTextureLimit, (int32_t enable), (enable), (enable), KV_UNRECORDED, ) \
    OP(void, gfxGetTextureSize, (int32_t textureId, int32_t* width, int32_t* height), (textureId, width, height), (textureId), KV_UNRECORDED, ) \
    OP(void, gfxSetRenderTarget, (int32_t textureId), (textureId), (textureId), KV_UNRECORDED, ) \
    OP(void, gfxDrawRectFrame, (const float* leftTop, const float* rightBottom, const float* color), (leftTop, rightBottom, color), (Pair{leftTop}, Pair{rightBottom}, Color{color}), KV_UNRECORDED, ) \
    OP(void, gfxFillRect, (const float* leftTop, const float* rightBottom, const float* color), (leftTop, rightBottom, color), (Pair{leftTop}, Pair{rightBottom}, Color{color}), KV_UNRECORDED, ) \
    OP(void, gfxSetSceneMode, (int32_t mode), (mode), (mode), KV_UNRECORDED, ) \
    OP(void, gfxSetWorldMode, (int32_t on), (on), (on), KV_UNRECORDED, ) \
    OP(void, gfxSetPassOption, (int32_t option), (option), (option), KV_UNRECORDED, ) \
    OP(void, gfxSetMirrorPass, (int32_t on), (on), (on), KV_UNRECORDED, ) \
    OP(int32_t, gfxGetPassOption, (), (), (), result, 0) \
    OP(int32_t, gfxSaveScreenshot, (const char* fileName), (fileName), (Text{fileName}), result, 1) \
    OP(void, gfxSetDefaultColor, (const int32_t* rgb), (rgb), (Rgb{rgb}), KV_UNRECORDED, ) \
    OP(void, gfxSetLightingEnable, (int32_t on), (on), (on), KV_UNRECORDED, ) \
    OP(void, gfxClearBuffers, (), (), (), KV_UNRECORDED, ) \
    OP(void, gfxApplyCamera, (), (), (selectedParams()), KV_UNRECORDED, ) \
    OP(void, gfxClearDepth, (), (), (), KV_UNRECORDED, ) \
    OP(void, gfxBeginFrame, (), (), (), KV_UNRECORDED, ) \
    OP(void, gfxEndFrame, (), (), (), KV_UNRECORDED, ) \
    OP(void, gfxPresent, (), (), (), KV_UNRECORDED, ) \
    OP(void, gfxBeginScene, (), (), (), KV_UNRECORDED, ) \
    OP(void, gfxEndScene, (), (), (), KV_UNRECORDED, ) \
    OP(void, gfxBeginPass, (), (), (), KV_UNRECORDED, ) \
    OP(void, gfxEndPass, (), (), (), KV_UNRECORDED, ) \
    OP(void, gfxDrawObjects, (), (), (), KV_UNRECORDED, ) \
    OP(void, gfxFlushObjects, (), (), (), KV_UNRECORDED, ) \
    OP(void, gfxDrawFarObjects, (), (), (), KV_UNRECORDED, ) \
    OP(void, gfxDrawTransparent, (), (), (), KV_UNRECORDED, ) \
    OP(int32_t, gfxCreateFont, (const kv::FontSettings* font), (font), (font), result, 1) \
    OP(void, gfxSelectFont, (int32_t font), (font), (font), KV_UNRECORDED, ) \
    OP(void, gfxSetTextColor, (const float* color), (color), (Color{color}), KV_UNRECORDED, ) \
    OP(void, gfxBeginText, (), (), (), KV_UNRECORDED, ) \
    OP(void, gfxEndText, (), (), (), KV_UNRECORDED, ) \
    OP(void, gfxDrawText, (const char* text, float x, float y, int32_t zero, int32_t alignment), (text, x, y, zero, alignment), (Text{text}, x, y, zero, alignment), KV_UNRECORDED, )

#define KV_TERRAIN_OPERATIONS(OP) \
    OP(kv::TerrainInfo*, terGetTerrainInfo, (kv::TerrainInfo** info), (info), (), (Handle{result, "terrainInfo"}), nullptr) \
    OP(int32_t, terInitTerrainSystem, (kv::TerrainSetup* setup), (setup), (setup), result, 1) \
    OP(void, terReleaseTerrainSystem, (), (), (), KV_UNRECORDED, ) \
    OP(void, terRenderLower, (), (), (), KV_UNRECORDED, ) \
    OP(void, terRenderUpper, (), (), (), KV_UNRECORDED, ) \
    OP(void, terRenderMap, (), (), (), KV_UNRECORDED, )

#define KV_OBJECTS_OPERATIONS(OP) \
    OP(void, objInitObjects, (), (), (), KV_UNRECORDED, ) \
    OP(void, objReleaseObjects, (), (), (), KV_UNRECORDED, ) \
    OP(int32_t, objGetFlagByName, (const char* name), (name), (Text{name}), result, 0x100) \
    OP(kv::GameObject*, objGetObject, (int32_t objectId), (objectId), (objectId), (Handle{result, "object"}), nullptr) \
    OP(int32_t, objGetObjectInterface, (int32_t objectId, int32_t kind, void** iface), (objectId, kind, handedOut(kind, iface)), (objectId, kind), result, 0) \
    OP(int32_t, objGetPlayerObject, (), (), (), result, 1) \
    OP(void, objSetPlayerObject, (int32_t objectId), (objectId), (objectId), KV_UNRECORDED, ) \
    OP(void, objSetPlayerControl, (int32_t on), (on), (on), KV_UNRECORDED, ) \
    OP(void, objUpdate, (float stepTime), (stepTime), (stepTime), KV_UNRECORDED, ) \
    OP(void, objRender, (float simulatedTime), (simulatedTime), (simulatedTime), KV_UNRECORDED, ) \
    OP(void, objRenderShadows, (), (), (), KV_UNRECORDED, ) \
    OP(void, objEndFrame, (), (), (), KV_UNRECORDED, )

#define KV_WORLD_OPERATIONS(OP) \
    OP(void, wldSetBounds, (float border, float maxHeight, float minHeight), (border, maxHeight, minHeight), (border, maxHeight, minHeight), KV_UNRECORDED, ) \
    OP(void, wldSetSectors, (int32_t width, int32_t height, int32_t objectsPerSector), (width, height, objectsPerSector), (width, height, objectsPerSector), KV_UNRECORDED, ) \
    OP(void, wldRelease, (), (), (), KV_UNRECORDED, ) \
    OP(void, wldUpdate, (float stepTime), (stepTime), (stepTime), KV_UNRECORDED, )

#define KV_SOUND_OPERATIONS(OP) \
    OP(void, sndLoadSoundList, (const char* fileName), (fileName), (Text{fileName}), KV_UNRECORDED, ) \
    OP(void, sndLoadSound, (int32_t* soundId, const char* fileName), (soundId, fileName), (Text{fileName}), KV_UNRECORDED, ) \
    OP(void, sndReleaseSounds, (), (), (), KV_UNRECORDED, ) \
    OP(void, sndSetFormat, (int32_t bitsPerSample, int32_t sampleFrequency), (bitsPerSample, sampleFrequency), (bitsPerSample, sampleFrequency), KV_UNRECORDED, ) \
    OP(void, sndStopAllSounds, (), (), (), KV_UNRECORDED, ) \
    OP(void, sndPlaySound, (int32_t* playHandle, int32_t soundId, int32_t zero), (playHandle, soundId, zero), (Maybe<int32_t>{playHandle}, soundId, zero), KV_UNRECORDED, ) \
    OP(void, sndPrepare, (), (), (), KV_UNRECORDED, ) \
    OP(void, sndSetListenerPosition, (const double* position), (position), (Position{position}), KV_UNRECORDED, ) \
    OP(void, sndSetListenerVelocity, (const float* velocity), (velocity), (Vector3{velocity}), KV_UNRECORDED, ) \
    OP(void, sndSetListenerOrientation, (const float* orientation), (orientation), (Orientation{orientation}), KV_UNRECORDED, ) \
    OP(void, sndUpdate, (), (), (), KV_UNRECORDED, ) \
    OP(int32_t, sndIsStreamPlaying, (), (), (), result, 0) \
    OP(void, sndPlayStream, (const char* fileName, int32_t loop), (fileName, loop), (Text{fileName}, loop), KV_UNRECORDED, ) \
    OP(void, sndStopStream, (), (), (), KV_UNRECORDED, )

#define KV_INPUT_OPERATIONS(OP) \
    OP(void, inpClearInput, (), (), (), KV_UNRECORDED, )

#define KV_CONTROLS_OPERATIONS(OP) \
    OP(void, ctlLoadControlMap, (const char* name, int32_t one), (name, one), (Text{name}, one), KV_UNRECORDED, ) \
    OP(void, ctlUnloadControlMap, (), (), (), KV_UNRECORDED, ) \
    OP(void, ctlSetInputEnabled, (int32_t on), (on), (on), KV_UNRECORDED, ) \
    OP(int32_t, ctlGetControlId, (const char* name), (name), (Text{name}), result, 7) \
    OP(void, ctlRegisterCommand, (const char* name, kv::CommandHandler handler, int32_t zero), (name, handler, zero), (Text{name}, Text{handler ? "handler" : nullptr}, zero), KV_UNRECORDED, ) \
    OP(void, ctlInjectEvent, (const kv::ControlEvent* event), (event), (event), KV_UNRECORDED, ) \
    OP(float, ctlGetAxisValue, (int32_t controlId), (controlId), (controlId), result, 0.0f) \
    OP(void, ctlUpdate, (float rawFrameTime), (rawFrameTime), (rawFrameTime), KV_UNRECORDED, ) \
    OP(void, ctlSetKeyRepeat, (float rate, float delay), (rate, delay), (rate, delay), KV_UNRECORDED, ) \
    OP(void, ctlSetTextEntryMode, (int32_t mode), (mode), (mode), KV_UNRECORDED, ) \
    OP(int32_t, ctlIsTextEntryOpen, (), (), (), result, 0) \
    OP(void, ctlBeginTextEntry, (), (), (), KV_UNRECORDED, ) \
    OP(void, ctlGetEntryText, (char* buffer, int32_t size), (buffer, size), (size), KV_UNRECORDED, ) \
    OP(void, ctlSetCommandFilter, (kv::CommandHandler filter), (filter), (Text{filter ? "filter" : nullptr}), KV_UNRECORDED, ) \
    OP(kv::ControlEvent*, ctlGetControlEvent, (int32_t controlId), (controlId), (controlId), static_cast<const kv::ControlEvent*>(result), nullptr) \
    OP(void, ctlSetActive, (int32_t on), (on), (on), KV_UNRECORDED, )

#define KV_VIEWS_OPERATIONS(OP) \
    OP(void, vmgLoadViewList, (const char* fileName), (fileName), (Text{fileName}), KV_UNRECORDED, ) \
    OP(void, vmgUnloadViewList, (), (), (), KV_UNRECORDED, ) \
    OP(int32_t, vmgCreateView, (const char* name, int32_t objectId, int32_t one), (name, objectId, one), (Text{name}, objectId, one), result, 1) \
    OP(void, vmgSelectView, (int32_t view), (view), (view), KV_UNRECORDED, ) \
    OP(void, vmgSelectPlayerView, (int32_t view), (view), (view), KV_UNRECORDED, ) \
    OP(void, vmgHandleCommand, (int32_t commandId), (commandId), (commandId), KV_UNRECORDED, ) \
    OP(int32_t, vmgIsViewCommand, (int32_t commandId), (commandId), (commandId), result, 0) \
    OP(void, vmgEnableViewControls, (int32_t on), (on), (on), KV_UNRECORDED, ) \
    OP(void, vmgUpdate, (float rawFrameTime), (rawFrameTime), (rawFrameTime), KV_UNRECORDED, ) \
    OP(int32_t, vmgIsCockpitView, (), (), (), result, 1) \
    OP(void, vmgRenderCockpit, (int32_t showCockpit), (showCockpit), (showCockpit), KV_UNRECORDED, ) \
    OP(float, vmgGetFieldOfView, (), (), (), result, 60.0f) \
    OP(int32_t, vmgGetViewObject, (), (), (), result, 1) \
    OP(void, vmgGetViewPosition, (double* position), (position), (), KV_UNRECORDED, ) \
    OP(void, vmgGetViewVelocity, (float* velocity), (velocity), (), KV_UNRECORDED, ) \
    OP(void, vmgGetViewOrientation, (float* orientation), (orientation), (), KV_UNRECORDED, )

#define KV_PARTICLES_OPERATIONS(OP) \
    OP(void, ptsLoadParticleSystemData, (const char* fileName, int32_t effectsDetail), (fileName, effectsDetail), (Text{fileName}, effectsDetail), KV_UNRECORDED, ) \
    OP(void, ptsUnloadParticleSystemData, (), (), (), KV_UNRECORDED, ) \
    OP(void, ptsSetViewPosition, (const double* position), (position), (Position{position}), KV_UNRECORDED, ) \
    OP(void, ptsSetViewVelocity, (const float* velocity), (velocity), (Vector3{velocity}), KV_UNRECORDED, ) \
    OP(void, ptsSetViewOrientation, (const float* orientation), (orientation), (Orientation{orientation}), KV_UNRECORDED, ) \
    OP(void, ptsSetEnvironmentState, (const kv::EnvironmentState* state), (state), (Handle{state, "environmentState"}), KV_UNRECORDED, ) \
    OP(void, ptsSetLevel, (float level), (level), (level), KV_UNRECORDED, ) \
    OP(void, ptsUpdate, (float stepTime), (stepTime), (stepTime), KV_UNRECORDED, ) \
    OP(void, ptsRender, (), (), (), KV_UNRECORDED, )

#define KV_ENVIRONMENT_OPERATIONS(OP) \
    OP(int32_t, envLoadEnvironment, (const char* fileName), (fileName), (Text{fileName}), result, 1) \
    OP(void, envUnloadEnvironment, (), (), (), KV_UNRECORDED, ) \
    OP(void, envSetHorizonDistance, (float distance), (distance), (distance), KV_UNRECORDED, ) \
    OP(void, envAdvanceTime, (float simulatedTime), (simulatedTime), (simulatedTime), KV_UNRECORDED, ) \
    OP(void, envRenderBackground, (), (), (), KV_UNRECORDED, ) \
    OP(void, envRenderMiddle, (), (), (), KV_UNRECORDED, ) \
    OP(void, envRenderLensFlare, (), (), (), KV_UNRECORDED, ) \
    OP(void, envApplyMissionRecord, (const kv::EnvironmentRecord* record), (record), (Handle{record, "environmentRecord"}), KV_UNRECORDED, ) \
    OP(void, envInitFromMissionRecord, (const kv::EnvironmentRecord* record), (record), (Handle{record, "environmentRecord"}), KV_UNRECORDED, ) \
    OP(void, envGetTimeOfDay, (kv::TimeRecord* time), (time), (), KV_UNRECORDED, ) \
    OP(void, envShiftTimeOfDay, (int32_t seconds), (seconds), (seconds), KV_UNRECORDED, ) \
    OP(void, envSetTerrainParameter, (int32_t value), (value), (value), KV_UNRECORDED, ) \
    OP(float, envGetLevel, (), (), (), result, 0.5f) \
    OP(kv::EnvironmentState*, envGetStateAt, (const double* position, kv::EnvironmentState* state), (position, state), (Position{position}), KV_UNRECORDED, state) \
    OP(int32_t, envCameraCondition, (float viewCoordinate), (viewCoordinate), (viewCoordinate), result, 0)

#define KV_MISSION_OPERATIONS(OP) \
    OP(void, msnLoadSpeech, (const char* fileName), (fileName), (Text{fileName}), KV_UNRECORDED, ) \
    OP(void, msnUnload, (), (), (), KV_UNRECORDED, ) \
    OP(void, msnGetMissionSetup, (kv::MissionSetup** setup), (setup), (), (Handle{setup ? *setup : nullptr, "missionSetup"}), ) \
    OP(void, msnUpdate, (float simulatedTime), (simulatedTime), (simulatedTime), KV_UNRECORDED, ) \
    OP(void, msnRenderUpper, (), (), (), KV_UNRECORDED, ) \
    OP(void, msnRenderLower, (), (), (), KV_UNRECORDED, ) \
    OP(void, msnRenderMap, (), (), (), KV_UNRECORDED, ) \
    OP(void, msnFirstFrameDone, (), (), (), KV_UNRECORDED, ) \
    OP(void, msnEndFlight, (), (), (), KV_UNRECORDED, ) \
    OP(int32_t, msnIsNetworkMission, (), (), (), result, 0) \
    OP(int32_t, msnCanPause, (), (), (), result, 1) \
    OP(int32_t, msnCanCompressTime, (), (), (), result, 1) \
    OP(int32_t, msnCanChangeTime, (), (), (), result, 1) \
    OP(int32_t, msnCanSkipToNext, (), (), (), result, 1) \
    OP(void, msnSkipToNext, (), (), (), KV_UNRECORDED, ) \
    OP(const char*, msnGetLoadingImage, (), (), (), Text{result}, nullptr) \
    OP(kv::EnvironmentRecord*, msnGetInitialEnvironmentRecord, (kv::EnvironmentRecord* record), (record), (), KV_UNRECORDED, record) \
    OP(kv::EnvironmentRecord*, msnGetEnvironmentRecord, (kv::EnvironmentRecord* record), (record), (), KV_UNRECORDED, record) \
    OP(int32_t, msnCreateMissionObjects, (), (), (), result, 1) \
    OP(void, msnDestroyMissionObjects, (), (), (), KV_UNRECORDED, ) \
    OP(int32_t, msnGetPlayerObject, (), (), (), result, 1)

#define KV_CLOCK_OPERATIONS(OP) \
    OP(void, clkReset, (), (), (), KV_UNRECORDED, ) \
    OP(void, clkUpdate, (), (), (), KV_UNRECORDED, ) \
    OP(int32_t, clkGetTime, (), (), (), result, 0) \
    OP(float, clkGetFrameTime, (), (), (), result, 1.0f / 60.0f)

#define KV_TEXT_OPERATIONS(OP) \
    OP(void, txtLoadTextFile, (const char* fileName), (fileName), (Text{fileName}), KV_UNRECORDED, ) \
    OP(void, txtUnloadTextFile, (const char* fileName), (fileName), (Text{fileName}), KV_UNRECORDED, ) \
    OP(int32_t, txtGetStringId, (const char* fileName, const char* name), (fileName, name), (Text{fileName}, Text{name}), result, 0) \
    OP(void, txtGetIndexedString, (const char* fileName, int32_t id, char* buffer, int32_t size), (fileName, id, buffer, size), (Text{fileName}, id, size), KV_UNRECORDED, ) \
    OP(const char*, txtGetString, (const char* fileName, int32_t id), (fileName, id), (Text{fileName}, id), Text{result}, "") \
    OP(void, txtFormatTime, (const kv::TimeRecord* time, char* buffer, int32_t size, int32_t style), (time, buffer, size, style), (time, size, style), KV_UNRECORDED, )

#define KV_MESSAGES_OPERATIONS(OP) \
    OP(void, msgLoadMessageSystem, (const char* fileName), (fileName), (Text{fileName}), KV_UNRECORDED, ) \
    OP(void, msgUnloadMessageSystem, (), (), (), KV_UNRECORDED, ) \
    OP(void, msgUpdate, (float clampedFrameTime), (clampedFrameTime), (clampedFrameTime), KV_UNRECORDED, ) \
    OP(void, msgRender, (), (), (), KV_UNRECORDED, )

#define KV_SPEECH_OPERATIONS(OP) \
    OP(void, spcLoadSpeechSystem, (const char* fileName), (fileName), (Text{fileName}), KV_UNRECORDED, ) \
    OP(void, spcUnloadSpeechSystem, (), (), (), KV_UNRECORDED, ) \
    OP(void, spcSetSubtitles, (int32_t on), (on), (on), KV_UNRECORDED, ) \
    OP(void, spcUpdate, (), (), (), KV_UNRECORDED, )

#define KV_FADE_OPERATIONS(OP) \
    OP(void, fadSetFadeTime, (float seconds), (seconds), (seconds), KV_UNRECORDED, ) \
    OP(void, fadStartFadeOut, (int32_t zero), (zero), (zero), KV_UNRECORDED, ) \
    OP(void, fadStartFadeIn, (int32_t zero), (zero), (zero), KV_UNRECORDED, ) \
    OP(int32_t, fadStep, (int32_t clockTime), (clockTime), (clockTime), result, 1) \
    OP(void, fadUpdate, (float clampedFrameTime), (clampedFrameTime), (clampedFrameTime), KV_UNRECORDED, )

#define KV_NETWORK_OPERATIONS(OP) \
    OP(void, netLeave, (), (), (), KV_UNRECORDED, ) \
    OP(void, netGetGameSettings, (kv::HostGameSettings* settings), (settings), (), Gameplay{settings}, ) \
    OP(void, netFlush, (), (), (), KV_UNRECORDED, ) \
    OP(int32_t, netPlayersChanged, (), (), (), result, 0) \
    OP(void, netEnumPlayers, (kv::PlayerCallback callback), (callback), (Text{callback ? "callback" : nullptr}), KV_UNRECORDED, ) \
    OP(void, netSendChat, (const char* text, int32_t recipient, int32_t minusOne), (text, recipient, minusOne), (Text{text}, recipient, minusOne), KV_UNRECORDED, ) \
    OP(void, netBeginFlight, (), (), (), KV_UNRECORDED, ) \
    OP(void, netUpdate, (), (), (), KV_UNRECORDED, ) \
    OP(float, netGetFrameTime, (), (), (), result, 1.0f / 60.0f)

#define KV_FORCE_FEEDBACK_OPERATIONS(OP) \
    OP(void, ffbLoadEffects, (const char* fileName), (fileName), (Text{fileName}), KV_UNRECORDED, ) \
    OP(void, ffbUnloadEffects, (), (), (), KV_UNRECORDED, ) \
    OP(void, ffbSetControlEvent, (const kv::ControlEvent* event), (event), (event), KV_UNRECORDED, ) \
    OP(void, ffbStopEffects, (), (), (), KV_UNRECORDED, )

#define KV_HUD_OPERATIONS(OP) \
    OP(void, hudInit, (const char* dataFileName), (dataFileName), (Text{dataFileName}), KV_UNRECORDED, ) \
    OP(void, hudShutdown, (), (), (), KV_UNRECORDED, ) \
    OP(void, hudSetViewPosition, (const double* position), (position), (Position{position}), KV_UNRECORDED, ) \
    OP(void, hudSetViewOrientation, (const float* orientation), (orientation), (Orientation{orientation}), KV_UNRECORDED, ) \
    OP(void, hudRender, (), (), (), KV_UNRECORDED, ) \
    OP(void, hudRenderMap, (), (), (), KV_UNRECORDED, )

#define KV_AVIONICS_OPERATIONS(OP) \
    OP(void, avnUpdate, (), (), (), KV_UNRECORDED, )

#define KV_COMM_OPERATIONS(OP) \
    OP(void, comInit, (const char* dataFileName), (dataFileName), (Text{dataFileName}), KV_UNRECORDED, ) \
    OP(void, comShutdown, (), (), (), KV_UNRECORDED, ) \
    OP(void, comOpenRadioMenu, (), (), (), KV_UNRECORDED, ) \
    OP(void, comUpdate, (float clampedFrameTime), (clampedFrameTime), (clampedFrameTime), KV_UNRECORDED, ) \
    OP(void, comRender, (), (), (), KV_UNRECORDED, )

#define KV_OPTIONS_OPERATIONS(OP) \
    OP(void, optReloadOptions, (), (), (), KV_UNRECORDED, ) \
    OP(kv::ConfigDocument*, optGetDocument, (kv::ConfigDocument** document), (document), (), (Handle{result, "document"}), nullptr) \
    OP(void, optReleaseDocument, (kv::ConfigDocument** document), (document), (Handle{document ? *document : nullptr, "document"}), KV_UNRECORDED, )
#define KV_NO_FORMATTED_OPERATIONS(F)
#define KV_MESSAGES_FORMATTED_OPERATIONS(F) \
    F(msgShowText)                          \
    F(msgShowEntryLine)

// The interfaces the shell hands out by tag: tag, interface, name,
// operations, formatted operations, and when the shell offers it:
// KV_ALWAYS, KV_OPTIONAL (the host may have none) or KV_WHILE_LOADED (only
// while the module file that offers it is loaded).
#define KV_TAGGED_INTERFACES(X)                                                                                  \
    X(APP, kv::AppInterface, App, KV_APP_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)                        \
    X(DLL, kv::DllInterface, Dll, KV_DLL_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)                        \
    X(FMG, kv::FileManagerInterface, FileManager, KV_FILE_MANAGER_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS) \
    X(MEM, kv::MemoryInterface, Memory, KV_MEMORY_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)               \
    X(GFX, kv::GraphicsInterface, Graphics, KV_GRAPHICS_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)         \
    X(TER, kv::TerrainInterface, Terrain, KV_TERRAIN_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)            \
    X(OBJ, kv::ObjectsInterface, Objects, KV_OBJECTS_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)            \
    X(WLD, kv::WorldInterface, World, KV_WORLD_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)                  \
    X(SND, kv::SoundInterface, Sound, KV_SOUND_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)                  \
    X(INP, kv::InputInterface, Input, KV_INPUT_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)                  \
    X(CTL, kv::ControlsInterface, Controls, KV_CONTROLS_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)         \
    X(VMG, kv::ViewsInterface, Views, KV_VIEWS_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)                  \
    X(PTS, kv::ParticlesInterface, Particles, KV_PARTICLES_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)      \
    X(ENV, kv::EnvironmentInterface, Environment, KV_ENVIRONMENT_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS) \
    X(MSN, kv::MissionInterface, Mission, KV_MISSION_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)            \
    X(CLK, kv::ClockInterface, Clock, KV_CLOCK_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)                  \
    X(TXT, kv::TextInterface, Text, KV_TEXT_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)                     \
    X(MSG, kv::MessagesInterface, Messages, KV_MESSAGES_OPERATIONS, KV_MESSAGES_FORMATTED_OPERATIONS, KV_ALWAYS)   \
    X(SPC, kv::SpeechInterface, Speech, KV_SPEECH_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)               \
    X(FAD, kv::FadeInterface, Fade, KV_FADE_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_ALWAYS)                     \
    X(NET, kv::NetworkInterface, Network, KV_NETWORK_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_OPTIONAL)          \
    X(FFB, kv::ForceFeedbackInterface, ForceFeedback, KV_FORCE_FEEDBACK_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_OPTIONAL) \
    X(HUD, kv::HudInterface, Hud, KV_HUD_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_WHILE_LOADED)                  \
    X(AVN, kv::AvionicsInterface, Avionics, KV_AVIONICS_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_OPTIONAL)       \
    X(COM, kv::CommInterface, Comm, KV_COMM_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_WHILE_LOADED)               \
    X(OPT, kv::OptionsInterface, Options, KV_OPTIONS_OPERATIONS, KV_NO_FORMATTED_OPERATIONS, KV_OPTIONAL)

// The objects the interfaces hand out: interface, name, operations, and
// the kind objGetObjectInterface and objectGetInterface ask for it by (0
// for the objects handed out otherwise).
#define KV_HANDED_OUT_OBJECTS(X)                                               \
    X(kv::Camera, Camera, KV_CAMERA_OPERATIONS, 0)                             \
    X(kv::Image, Image, KV_IMAGE_OPERATIONS, 0)                                \
    X(kv::Display, Display, KV_DISPLAY_OPERATIONS, 0)                          \
    X(kv::GameObject, GameObject, KV_GAME_OBJECT_OPERATIONS, 0)                \
    X(kv::TargetRecord, TargetRecord, KV_TARGET_RECORD_OPERATIONS, kv::kTargetRecordKind)       \
    X(kv::FlightControls, FlightControls, KV_FLIGHT_CONTROLS_OPERATIONS, kv::kFlightControlsKind) \
    X(kv::Body, Body, KV_BODY_OPERATIONS, kv::kBodyKind)                       \
    X(kv::Aircraft, Aircraft, KV_AIRCRAFT_OPERATIONS, kv::kAircraftKind)       \
    X(kv::ViewAttachment, ViewAttachment, KV_VIEW_ATTACHMENT_OPERATIONS, kv::kViewAttachmentKind)

// RND and DBG are held for the whole binding and never called: they have
// no operations, and the shell hands out any distinct object for them.
#define KV_OPAQUE_TAGS(X) \
    X(RND)                \
    X(DBG)
