#include "sim/modules/sim_scene.h"


namespace kvsim {

kv::TerrainInfo* SimTerrain::terGetTerrainInfo(kv::TerrainInfo** out) {
    info = kv::TerrainInfo{};
    info.baseDirectory = baseDirectory.c_str();
    info.environmentFile = environmentFile.empty() ? nullptr : environmentFile.c_str();
    info.environmentParameter = environmentParameter;
    kv::TerrainInfo* result = hasInfo ? &info : nullptr;
    if (out) *out = result;
    return result;
}
int32_t SimTerrain::terInitTerrainSystem(kv::TerrainSetup*) {
    return state_.scenario.failTerrain ? 0 : 1;
}



int32_t SimEnvironment::envLoadEnvironment(const char* fileName) {
    auto it = fileName ? loadResults.find(fileName) : loadResults.end();
    return it == loadResults.end() ? 1 : it->second;
}
void SimEnvironment::envGetTimeOfDay(kv::TimeRecord* time) {
    if (!time) return;
    time->words[0] = secondsOfDay / 3600;
    time->words[1] = secondsOfDay / 60 % 60;
    time->words[2] = secondsOfDay % 60;
}
void SimEnvironment::envShiftTimeOfDay(int32_t seconds) {
    secondsOfDay = ((secondsOfDay + seconds) % 86400 + 86400) % 86400;
}
float SimEnvironment::envGetLevel() { return 0.5f; }
kv::EnvironmentState* SimEnvironment::envGetStateAt(const double* , kv::EnvironmentState* state) {
    return state;
}
int32_t SimEnvironment::envCameraCondition(float viewCoordinate) {
    return viewCoordinate < 0.0f ? 1 : 0;
}

}  // namespace kvsim
