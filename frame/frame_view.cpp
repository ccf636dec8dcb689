#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "frame/frame_parts.h"

namespace kv {

void readFrameView(FlightModule& flight, FrameView& view) {
    if (!flight.mapShown) {
        VMG->vmgGetViewPosition(view.position);
        VMG->vmgGetViewOrientation(view.orientation);
        VMG->vmgGetViewVelocity(view.velocity);
        GFX->gfxSetCamera(mainCamera);
        mainCamera->cameraSetPosition(view.position);
        mainCamera->cameraSetOrientation(view.orientation);
        return;
    }
    void* found = nullptr;
    OBJ->objGetObjectInterface(MSN->msnGetPlayerObject(), kBodyKind, &found);
    // Without a body the map stays where the last frame put it.
    if (Body* body = static_cast<Body*>(found)) {
        body->bodyGetPosition(view.position);
        body->bodyGetOrientation(view.orientation);
        body->bodyGetVelocity(view.velocity);
    }
    GFX->gfxSetCamera(mapCamera);
    mapCamera->cameraSetPosition(view.position);
}

void placeListener(const FrameView& view) {
    // The listener sits one unit back from the eye along the view's second
    // axis, in 64-bit reals like every position.
    const double listener[3] = {
        view.position[0] - static_cast<double>(view.orientation[3]),
        view.position[1] - static_cast<double>(view.orientation[4]),
        view.position[2] - static_cast<double>(view.orientation[5]),
    };
    SND->sndSetListenerPosition(listener);
    SND->sndSetListenerVelocity(view.velocity);
    SND->sndSetListenerOrientation(view.orientation);
    PTS->ptsSetViewPosition(view.position);
    PTS->ptsSetViewVelocity(view.velocity);
    PTS->ptsSetViewOrientation(view.orientation);
}

}  // namespace kv
