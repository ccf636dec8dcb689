#include "sim/sim_scene.h"


namespace kvsim {

kv::TerrainInfo* SimTerrain::terGetTerrainInfo(kv::TerrainInfo** out) {
    const RecordRef r = call("terGetTerrainInfo");
    info = kv::TerrainInfo{};
    info.baseDirectory = baseDirectory.c_str();
    info.environmentFile = environmentFile.empty() ? nullptr : environmentFile.c_str();
    info.environmentParameter = environmentParameter;
    kv::TerrainInfo* result = hasInfo ? &info : nullptr;
    if (out) *out = result;
    returns(r, handle(result, "terrainInfo"));
    return result;
}
int32_t SimTerrain::terInitTerrainSystem(kv::TerrainSetup* setup) {
    return returns(call("terInitTerrainSystem", setup), world_.scenario.failTerrain ? 0 : 1);
}
void SimTerrain::terReleaseTerrainSystem() { call("terReleaseTerrainSystem"); }
void SimTerrain::terRenderLower() { call("terRenderLower"); }
void SimTerrain::terRenderUpper() { call("terRenderUpper"); }
void SimTerrain::terRenderMap() { call("terRenderMap"); }

void SimWorldModule::wldSetBounds(float border, float maxHeight, float minHeight) {
    call("wldSetBounds", border, maxHeight, minHeight);
}
void SimWorldModule::wldSetSectors(int32_t width, int32_t height, int32_t objectsPerSector) {
    call("wldSetSectors", width, height, objectsPerSector);
}
void SimWorldModule::wldRelease() { call("wldRelease"); }
void SimWorldModule::wldUpdate(float stepTime) { call("wldUpdate", stepTime); }

void SimParticles::ptsLoadParticleSystemData(const char* fileName, int32_t effectsDetail) {
    call("ptsLoadParticleSystemData", text(fileName), effectsDetail);
}
void SimParticles::ptsUnloadParticleSystemData() { call("ptsUnloadParticleSystemData"); }
void SimParticles::ptsSetViewPosition(const double* p) { call("ptsSetViewPosition", position(p)); }
void SimParticles::ptsSetViewVelocity(const float* v) { call("ptsSetViewVelocity", vector3(v)); }
void SimParticles::ptsSetViewOrientation(const float* m) { call("ptsSetViewOrientation", orientation(m)); }
void SimParticles::ptsSetEnvironmentState(const kv::EnvironmentState* state) {
    call("ptsSetEnvironmentState", handle(state, "environmentState"));
}
void SimParticles::ptsSetLevel(float level) { call("ptsSetLevel", level); }
void SimParticles::ptsUpdate(float stepTime) { call("ptsUpdate", stepTime); }
void SimParticles::ptsRender() { call("ptsRender"); }

int32_t SimEnvironment::envLoadEnvironment(const char* fileName) {
    auto it = fileName ? loadResults.find(fileName) : loadResults.end();
    return returns(call("envLoadEnvironment", text(fileName)), it == loadResults.end() ? 1 : it->second);
}
void SimEnvironment::envUnloadEnvironment() { call("envUnloadEnvironment"); }
void SimEnvironment::envSetHorizonDistance(float distance) { call("envSetHorizonDistance", distance); }
void SimEnvironment::envAdvanceTime(float simulatedTime) { call("envAdvanceTime", simulatedTime); }
void SimEnvironment::envRenderBackground() { call("envRenderBackground"); }
void SimEnvironment::envRenderMiddle() { call("envRenderMiddle"); }
void SimEnvironment::envRenderLensFlare() { call("envRenderLensFlare"); }
void SimEnvironment::envApplyMissionRecord(const kv::EnvironmentRecord* record) {
    call("envApplyMissionRecord", handle(record, "environmentRecord"));
}
void SimEnvironment::envInitFromMissionRecord(const kv::EnvironmentRecord* record) {
    call("envInitFromMissionRecord", handle(record, "environmentRecord"));
}
void SimEnvironment::envGetTimeOfDay(kv::TimeRecord* time) {
    call("envGetTimeOfDay");
    if (!time) return;
    time->words[0] = secondsOfDay / 3600;
    time->words[1] = secondsOfDay / 60 % 60;
    time->words[2] = secondsOfDay % 60;
}
void SimEnvironment::envShiftTimeOfDay(int32_t seconds) {
    call("envShiftTimeOfDay", seconds);
    secondsOfDay = ((secondsOfDay + seconds) % 86400 + 86400) % 86400;
}
void SimEnvironment::envSetTerrainParameter(int32_t value) { call("envSetTerrainParameter", value); }
float SimEnvironment::envGetLevel() { return returns(call("envGetLevel"), 0.5f); }
kv::EnvironmentState* SimEnvironment::envGetStateAt(const double* p, kv::EnvironmentState* state) {
    call("envGetStateAt", position(p));
    return state;
}
int32_t SimEnvironment::envCameraCondition(float viewCoordinate) {
    return returns(call("envCameraCondition", viewCoordinate), viewCoordinate < 0.0f ? 1 : 0);
}

}  // namespace kvsim
