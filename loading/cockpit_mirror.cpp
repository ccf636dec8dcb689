// setupCockpitMirror: whether the player's aircraft has a cockpit mirror,
// the texture it is drawn into, and the camera that draws it.
#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"

namespace kv {

namespace {

// Flight-controls attributes of an aircraft: whether its cockpit has a
// mirror, and the mirror's texture (-1 for none).
constexpr int32_t kHasMirrorAttribute = 27;
constexpr int32_t kMirrorTextureAttribute = 28;
constexpr float kMirrorFieldOfView = 45.0f;

}  // namespace

void FlightModule::setupCockpitMirror(int32_t objectId) {
    // 1.
    mirrorTextureId = -1;
    // 2.
    if (cockpitMirrors) {
        FlightControls* controls = nullptr;
        OBJ->objGetObjectInterface(objectId, kFlightControlsKind, reinterpret_cast<void**>(&controls));
        // An aircraft without flight controls cannot say where its mirror
        // is drawn: it has none, rather than a camera aimed at texture -1.
        if (!controls) cockpitMirrors = 0;
        if (controls && controls->controlsGetState(kHasMirrorAttribute) == 0) cockpitMirrors = 0;
        if (cockpitMirrors) mirrorTextureId = controls->controlsGetState(kMirrorTextureAttribute);
        if (mirrorTextureId == -1) cockpitMirrors = 0;
    }
    // 3.
    mirrorCamera = nullptr;
    if (!cockpitMirrors) return;
    // 4.
    mirrorCamera = GFX->gfxCreateCamera(0);
    CameraParams* params = nullptr;
    if (mirrorCamera) mirrorCamera->cameraGetParams(&params);
    if (!params) return;
    params->nearClip = farSceneClip.nearClip;
    params->viewportLeft = 0;
    params->viewportTop = 0;
    GFX->gfxGetTextureSize(mirrorTextureId, &params->viewportRight, &params->viewportBottom);
    params->viewportRight -= 1;
    params->viewportBottom -= 1;
    params->aspectRatio = 1.0f;
    params->minPixelSize = minPixelSize;
    params->fieldOfView = kMirrorFieldOfView;
}

}  // namespace kv
