#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "frame/frame_parts.h"

namespace kv {

namespace {

// factor x vector into result; returns result.
float* scaleVector(float* result, float factor, const float* vector) {
    result[0] = factor * vector[0];
    result[1] = factor * vector[1];
    result[2] = factor * vector[2];
    return result;
}

constexpr int32_t kScreenTarget = -1;

}  // namespace

// The world once more, into the cockpit mirror's texture: from the eye
// moved along the aircraft's third axis, with the aircraft's second axis
// reversed, which is what makes the picture a reflection. No shadows,
// cockpit, transparent pass or HUD, and one near partition whatever the
// depth buffer.
void FlightModule::renderMirrorView() {
    if (!mirrorCamera) return;  // no camera was made for the mirror: nothing to draw into
    GFX->gfxSetRenderTarget(mirrorTextureId);                                // 1
    GFX->gfxSetCamera(mirrorCamera);
    void* found = nullptr;                                                   // 2
    OBJ->objGetObjectInterface(OBJ->objGetPlayerObject(), kBodyKind, &found);
    Body* body = static_cast<Body*>(found);
    if (!body) {
        // Without a body there is no mirror orientation: the frame has no
        // mirror, and the main view goes on on the screen with its camera.
        GFX->gfxSetRenderTarget(kScreenTarget);
        GFX->gfxSetCamera(mainCamera);
        return;
    }
    double eye[3] = {};
    mainCamera->cameraGetPosition(eye);
    float orientation[9] = {};
    body->bodyGetOrientation(orientation);
    float mirrored[9] = {                                                    // 3
        orientation[0], orientation[1], orientation[2],
        0.0f, 0.0f, 0.0f,
        orientation[6], orientation[7], orientation[8],
    };
    scaleVector(mirrored + 3, -1.0f, orientation + 3);
    const int32_t savedPassOption = GFX->gfxGetPassOption();                 // 4
    GFX->gfxSetMirrorPass(1);
    GFX->gfxSetPassOption(0);
    GFX->gfxSetLightingEnable(0);
    const double position[3] = {                                             // 5
        eye[0] + static_cast<double>(orientation[6]),
        eye[1] + static_cast<double>(orientation[7]),
        eye[2] + static_cast<double>(orientation[8]),
    };
    mirrorCamera->cameraSetOrientation(mirrored);                            // 6
    mirrorCamera->cameraSetPosition(position);
    CameraParams* params = nullptr;                                          // 7
    mirrorCamera->cameraGetParams(&params);
    GFX->gfxClearBuffers();
    setClipRange(params, nearSceneClip.nearClip, farSceneClip.farClip);
    mirrorCamera->cameraApply();
    const float viewHeight = static_cast<float>(position[2]);               // 8
    beginSceneLayers(viewHeight, 0.0f);  // the mirror draws no shadows
    drawFarPartition(*this, params, viewHeight);                             // 9
    setClipRange(params, nearSceneClip.nearClip, normalSceneClip.farClip);   // 10
    GFX->gfxApplyCamera();
    GFX->gfxDrawObjects();
    // Only "everywhere" reaches the mirror; "outside only" never does.
    if (lensFlare == 0) ENV->envRenderLensFlare();                           // 11
    GFX->gfxEndScene();                                                      // 12
    GFX->gfxSetRenderTarget(kScreenTarget);
    GFX->gfxSetCamera(mainCamera);
    GFX->gfxSetPassOption(savedPassOption);
    GFX->gfxSetMirrorPass(0);
}

}  // namespace kv
