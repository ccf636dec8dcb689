// The module-wide engine subsystem pointers, held from AcquireInterfaces
// to ReleaseInterfaces, and the module-wide engine pointer.
#pragma once

#include <korvane/engine_interfaces.h>

namespace kv {

class FlightModule;

extern GraphicsInterface* GFX;
extern TerrainInterface* TER;
extern ObjectsInterface* OBJ;
extern WorldInterface* WLD;
extern SoundInterface* SND;
extern InputInterface* INP;
extern ControlsInterface* CTL;
extern ViewsInterface* VMG;
extern ParticlesInterface* PTS;
extern EnvironmentInterface* ENV;
extern MissionInterface* MSN;
extern ClockInterface* CLK;
extern TextInterface* TXT;
extern MessagesInterface* MSG;
extern SpeechInterface* SPC;
extern FadeInterface* FAD;
extern NetworkInterface* NET;         // may be null
extern ForceFeedbackInterface* FFB;  // may be null

// The flight's cameras, created by the loading and destroyed by the
// unloading; mirrorCamera only while the cockpit mirror is on.
extern Camera* mainCamera;
extern Camera* mapCamera;
extern Camera* mirrorCamera;

// The one engine object while the engine interfaces are held; null otherwise.
extern FlightModule* engine;

}  // namespace kv
