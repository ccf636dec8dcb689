// Terrain, world, particles and environment: the scene around the flight.
// Each records every call and gives the results a flight relies on; the
// terrain fails to start when the scenario's [Fail] section says so.
#pragma once

#include <map>
#include <string>

#include <korvane/engine_interfaces.h>
#include "sim/sim_part.h"

namespace kvsim {

class SimTerrain : public kv::TerrainInterface, SimPart {
public:
    using SimPart::SimPart;
    kv::TerrainInfo* terGetTerrainInfo(kv::TerrainInfo** info) override;
    int32_t terInitTerrainSystem(kv::TerrainSetup* setup) override;
    void terReleaseTerrainSystem() override;
    void terRenderLower() override;
    void terRenderUpper() override;
    void terRenderMap() override;

    // What terGetTerrainInfo tells: nothing at all when hasInfo is false;
    // an empty environmentFile is a null name.
    bool hasInfo = true;
    std::string baseDirectory = "terrain";
    std::string environmentFile;
    int32_t environmentParameter = 0;
    kv::TerrainInfo info = {};
};

class SimWorldModule : public kv::WorldInterface, SimPart {
public:
    using SimPart::SimPart;
    void wldSetBounds(float border, float maxHeight, float minHeight) override;
    void wldSetSectors(int32_t width, int32_t height, int32_t objectsPerSector) override;
    void wldRelease() override;
    void wldUpdate(float stepTime) override;
};

class SimParticles : public kv::ParticlesInterface, SimPart {
public:
    using SimPart::SimPart;
    void ptsLoadParticleSystemData(const char* fileName, int32_t effectsDetail) override;
    void ptsUnloadParticleSystemData() override;
    void ptsSetViewPosition(const double* p) override;
    void ptsSetViewVelocity(const float* v) override;
    void ptsSetViewOrientation(const float* m) override;
    void ptsSetEnvironmentState(const kv::EnvironmentState* state) override;
    void ptsSetLevel(float level) override;
    void ptsUpdate(float stepTime) override;
    void ptsRender() override;
};

class SimEnvironment : public kv::EnvironmentInterface, SimPart {
public:
    using SimPart::SimPart;
    int32_t envLoadEnvironment(const char* fileName) override;
    void envUnloadEnvironment() override;
    void envSetHorizonDistance(float distance) override;
    void envAdvanceTime(float simulatedTime) override;
    void envRenderBackground() override;
    void envRenderMiddle() override;
    void envRenderLensFlare() override;
    void envApplyMissionRecord(const kv::EnvironmentRecord* record) override;
    void envInitFromMissionRecord(const kv::EnvironmentRecord* record) override;
    void envGetTimeOfDay(kv::TimeRecord* time) override;
    void envShiftTimeOfDay(int32_t seconds) override;
    void envSetTerrainParameter(int32_t value) override;
    float envGetLevel() override;
    kv::EnvironmentState* envGetStateAt(const double* p, kv::EnvironmentState* state) override;
    int32_t envCameraCondition(float viewCoordinate) override;

    // What envLoadEnvironment returns for a file name; 1 for every other.
    std::map<std::string, int32_t> loadResults;
    int32_t secondsOfDay = 12 * 3600;
};

}  // namespace kvsim
