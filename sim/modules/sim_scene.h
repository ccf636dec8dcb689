// Terrain, world, particles and environment: the scene around the flight.
// Each gives the results a flight relies on; the terrain fails to start when the scenario's [Fail] section says so.
#pragma once

#include <map>
#include <string>

#include <korvane/engine_interfaces.h>
#include "sim/modules/sim_part.h"
#include "sim/calls/noop_defaults.h"

namespace kvsim {

class SimTerrain : public NoopTerrain, SimPart {
public:
    using SimPart::SimPart;
    kv::TerrainInfo* terGetTerrainInfo(kv::TerrainInfo** info) override;
    int32_t terInitTerrainSystem(kv::TerrainSetup* setup) override;

    // What terGetTerrainInfo tells: nothing at all when hasInfo is false;
    // an empty environmentFile is a null name.
    bool hasInfo = true;
    std::string baseDirectory = "terrain";
    std::string environmentFile;
    int32_t environmentParameter = 0;
    kv::TerrainInfo info = {};
};

class SimWorldModule : public NoopWorld, SimPart {
public:
    using SimPart::SimPart;
};

class SimParticles : public NoopParticles, SimPart {
public:
    using SimPart::SimPart;
};

class SimEnvironment : public NoopEnvironment, SimPart {
public:
    using SimPart::SimPart;
    int32_t envLoadEnvironment(const char* fileName) override;
    void envGetTimeOfDay(kv::TimeRecord* time) override;
    void envShiftTimeOfDay(int32_t seconds) override;
    float envGetLevel() override;
    kv::EnvironmentState* envGetStateAt(const double* p, kv::EnvironmentState* state) override;
    int32_t envCameraCondition(float viewCoordinate) override;

    // What envLoadEnvironment returns for a file name; 1 for every other.
    std::map<std::string, int32_t> loadResults;
    int32_t secondsOfDay = 12 * 3600;
};

}  // namespace kvsim
