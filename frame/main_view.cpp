#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "frame/frame_parts.h"
#include "frame/frame_state.h"

namespace kv {

namespace {

// The cockpit and the HUD are drawn in a range of their own, in front of
// everything the depth partitions drew.
constexpr float kCockpitNearClip = 0.01f;
constexpr float kCockpitFarClip = 10.0f;

// A depth buffer of this many bits or fewer cannot hold the near range in
// one partition without the cockpit's neighbourhood fighting for depth.
constexpr int32_t kShallowDepthBufferBits = 16;

// lensFlare: 0 in every view, 1 outside the cockpit only, else never.
constexpr int32_t kLensFlareEverywhere = 0;
constexpr int32_t kLensFlareOutsideOnly = 1;

void drawNearPartitions(const FlightModule& flight, CameraParams* params) {
    if (flight.graphicsSetup.zBufferDepth <= kShallowDepthBufferBits) {
        setClipRange(params, flight.normalSceneClip.nearClip, flight.normalSceneClip.farClip);
        GFX->gfxApplyCamera();
        GFX->gfxDrawObjects();
        setClipRange(params, flight.nearSceneClip.nearClip, flight.nearSceneClip.farClip);
    } else {
        setClipRange(params, flight.nearSceneClip.nearClip, flight.normalSceneClip.farClip);
    }
    GFX->gfxApplyCamera();
    GFX->gfxDrawObjects();
    GFX->gfxFlushObjects();
}

// Hides the player's own aircraft in a cockpit view without a cockpit
// model, and shows it in every other view.
void setPlayerRenderFlag(const FlightModule& flight, int32_t cockpit) {
    GameObject* player = OBJ->objGetObject(flight.playerObjectId);
    if (!player) return;
    int32_t flags = player->objectGetRenderFlags();
    if (cockpit && !flight.showCockpit)
        flags |= flight.notRenderedFlag;
    else
        flags &= ~flight.notRenderedFlag;
    player->objectSetRenderFlags(flags);
}

void resetViewAttachment(const FlightModule& flight) {
    if (flight.playerObjectId == -1) return;
    if (VMG->vmgGetViewObject() != flight.playerObjectId) return;
    void* attachment = nullptr;
    OBJ->objGetObjectInterface(flight.playerObjectId, kViewAttachmentKind, &attachment);
    if (attachment) static_cast<ViewAttachment*>(attachment)->viewAttachReset(0, 0);
}

}  // namespace

void FlightModule::renderMainView(const FrameView& view, float simTime) {
    CameraParams* params = nullptr;
    mainCamera->cameraGetParams(&params);                                    // 1
    const float fieldOfView = VMG->vmgGetFieldOfView();
    if (params) params->fieldOfView = fieldOfView;
    const int32_t cockpit = VMG->vmgIsCockpitView();
    if (avionicsInterface && playerObjectId != -1 && !ejected &&            // 2
        (cockpit || VMG->vmgGetViewObject() == playerObjectId))
        avionicsInterface->avnUpdate();
    GFX->gfxSetSceneMode(1);                                                 // 3
    GFX->gfxSetWorldMode(1);
    if (cockpit && cockpitMirrors) renderMirrorView();                       // 4
    setPlayerRenderFlag(*this, cockpit);                                     // 5
    GFX->gfxClearBuffers();                                                  // 6
    GFX->gfxSetLightingEnable(1);
    setClipRange(params, nearSceneClip.nearClip, farSceneClip.farClip);      // 7: whole range
    mainCamera->cameraApply();
    const float viewHeight = static_cast<float>(view.position[2]);           // 8
    beginSceneLayers(viewHeight, simTime);
    OBJ->objRenderShadows();
    drawFarPartition(*this, params, viewHeight);                             // 9
    drawNearPartitions(*this, params);                                       // 10
    setClipRange(params, kCockpitNearClip, kCockpitFarClip);                 // 11
    if (cockpit) {                                                           // 12
        GFX->gfxSetWorldMode(0);
        GFX->gfxBeginPass();
        GFX->gfxApplyCamera();
        GFX->gfxClearDepth();
        VMG->vmgRenderCockpit(showCockpit);
        GFX->gfxEndPass();
    } else {
        // An outside view always returns to a shown cockpit.
        showCockpit = 1;
        resetViewAttachment(*this);
    }
    if (lensFlare == kLensFlareEverywhere || (lensFlare == kLensFlareOutsideOnly && !cockpit))  // 13
        ENV->envRenderLensFlare();
    GFX->gfxDrawTransparent();                                               // 14
    GFX->gfxEndScene();
    GFX->gfxSetLightingEnable(0);
    if (hudInterface) {                                                      // 15
        GFX->gfxBeginPass();
        GFX->gfxApplyCamera();
        hudInterface->hudSetViewPosition(view.position);
        hudInterface->hudSetViewOrientation(view.orientation);
        hudInterface->hudRender();
        GFX->gfxEndPass();
    }
}

}  // namespace kv
