// The pieces frameStep is made of, each a short sequence of its own.
#pragma once

#include <cstdint>

#include <korvane/records.h>

namespace kv {

class FlightModule;
struct FrameTiming;
struct FrameView;

// Skip-to-next: holds the autopilot engaged while the skip runs, counts it
// down in clamped real time and, once it runs out, ends it.
void advanceSkipToNext(FlightModule& flight, float clampedFrameTime);
// Eject: counts the time since the eject and ends a single-player flight
// once it passes ejectDelay.
void advanceEject(FlightModule& flight, float clampedFrameTime);
// Opens a requested chat entry line, or sends the line the player finished.
void advanceChat(FlightModule& flight);
// Advances objects, world and particles in sub-steps (or holds them while
// paused) and settles simTime and stepRate.
void simulateFrame(FlightModule& flight, FrameTiming& timing);
// The frame's view values: from the view manager for the 3D view, from the
// player's body for the map; places the camera that draws the frame.
void readFrameView(FlightModule& flight, FrameView& view);
// Hands the view to sound and particles.
void placeListener(const FrameView& view);

// Sets one depth partition's clip range in a camera's parameter block.
void setClipRange(CameraParams* params, float nearClip, float farClip);
// The start of a scene pass: the sky background, the lower terrain and
// mission layers when the camera condition holds, particles, and the
// objects at objectTime. viewHeight is the eye's third coordinate.
void beginSceneLayers(float viewHeight, float objectTime);

// The far partition of a scene pass: far objects, the middle sky layer,
// the upper terrain when the camera condition holds, the mission's upper
// layer. viewHeight is the eye's third coordinate.
void drawFarPartition(const FlightModule& flight, CameraParams* params, float viewHeight);

}  // namespace kv
