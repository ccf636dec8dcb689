#include "engine/subsystem_pointers.h"

namespace kv {

GraphicsInterface* GFX = nullptr;
TerrainInterface* TER = nullptr;
ObjectsInterface* OBJ = nullptr;
WorldInterface* WLD = nullptr;
SoundInterface* SND = nullptr;
InputInterface* INP = nullptr;
ControlsInterface* CTL = nullptr;
ViewsInterface* VMG = nullptr;
ParticlesInterface* PTS = nullptr;
EnvironmentInterface* ENV = nullptr;
MissionInterface* MSN = nullptr;
ClockInterface* CLK = nullptr;
TextInterface* TXT = nullptr;
MessagesInterface* MSG = nullptr;
SpeechInterface* SPC = nullptr;
FadeInterface* FAD = nullptr;
NetworkInterface* NET = nullptr;
ForceFeedbackInterface* FFB = nullptr;

Camera* mainCamera = nullptr;
Camera* mapCamera = nullptr;
Camera* mirrorCamera = nullptr;

FlightModule* engine = nullptr;

}  // namespace kv
