#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "frame/frame_parts.h"

namespace kv {

void setClipRange(CameraParams* params, float nearClip, float farClip) {
    // A camera that hands out no block has nothing to edit.
    if (!params) return;
    params->nearClip = nearClip;
    params->farClip = farClip;
}

void beginSceneLayers(float viewHeight, float objectTime) {
    GFX->gfxBeginScene();
    ENV->envRenderBackground();
    if (ENV->envCameraCondition(viewHeight) != 0) {
        TER->terRenderLower();
        MSN->msnRenderLower();
    }
    PTS->ptsRender();
    OBJ->objRender(objectTime);
}

void drawFarPartition(const FlightModule& flight, CameraParams* params, float viewHeight) {
    setClipRange(params, flight.farSceneClip.nearClip, flight.farSceneClip.farClip);
    GFX->gfxBeginPass();
    GFX->gfxDrawFarObjects();
    ENV->envRenderMiddle();
    if (ENV->envCameraCondition(viewHeight) != 0) TER->terRenderUpper();
    MSN->msnRenderUpper();
    GFX->gfxEndPass();
}

}  // namespace kv
