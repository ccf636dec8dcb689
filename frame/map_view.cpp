#include <cmath>

#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "frame/frame_parts.h"

namespace kv {

namespace {

// The map camera looks down on a square of mapSize: it sees from half of
// it away down to a tenth of that.
constexpr float kMapFarClipPerSize = 0.5f;
constexpr float kMapNearClipPerFar = 0.1f;

}  // namespace

void FlightModule::renderMapView(float clampedFrameTime) {
    CameraParams* params = nullptr;
    mapCamera->cameraGetParams(&params);                                     // 1
    if (zoomControlId != -1) {                                               // 2
        // A positive control value zooms in: a smaller extent.
        const float zoomed = mapSize - CTL->ctlGetAxisValue(zoomControlId) * mapScaleRate * clampedFrameTime;
        // A control that reports no number leaves the map as it was, rather
        // than losing its size for the rest of the flight.
        if (std::isfinite(zoomed)) mapSize = zoomed;
        if (!(mapSize > mapMinSize))
            mapSize = mapMinSize;
        else if (!(mapSize < mapMaxSize))
            mapSize = mapMaxSize;
    }
    const float farClip = mapSize * kMapFarClipPerSize;                      // 3
    setClipRange(params, farClip * kMapNearClipPerFar, farClip);
    GFX->gfxBeginScene();                                                    // 4
    GFX->gfxBeginPass();
    GFX->gfxClearBuffers();
    GFX->gfxApplyCamera();
    TER->terRenderMap();
    MSN->msnRenderMap();
    if (hudInterface) hudInterface->hudRenderMap();
    GFX->gfxEndPass();
    GFX->gfxEndScene();
}

}  // namespace kv
