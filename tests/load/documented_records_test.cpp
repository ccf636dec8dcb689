// On the 32-bit target the module uses the host's records in place, at
// their documented byte offsets. Here the terrain and mission modules hand
// out records laid out by those offsets alone, every other byte noise, and
// the map camera's parameter block is read back by offset.
#include <korvane/records.h>
#include "sim/modules/sim_mission.h"
#include "sim/modules/sim_scene.h"
#include "tests/load/load_flight.h"
#include "tests/support/record_bytes.h"

namespace kvtest {
namespace {

[[maybe_unused]] const char* const kOnlyThe32BitTarget =
    "the documented offsets hold 32-bit pointers; a 64-bit build's modules share the natural layout of the same "
    "declarations, which the other load tests cover";

// Noise everywhere but the fields the module reads, which start out as a
// plain terrain and a single-player mission give them.
class OffsetTerrain : public kvsim::SimTerrain {
public:
    explicit OffsetTerrain(kvsim::SimState& state) : SimTerrain(state) {
        record.put<const char*>(8, "terrain");
        record.put<const char*>(44, nullptr);
        record.put<int32_t>(80, 0);
    }
    kv::TerrainInfo* terGetTerrainInfo(kv::TerrainInfo** out) override {
        SimTerrain::terGetTerrainInfo(out);  // logged as the stand-in logs it
        kv::TerrainInfo* info = record.as<kv::TerrainInfo>();
        if (out) *out = info;
        return info;
    }
    RecordBytes<84> record;
};

class OffsetMission : public kvsim::SimMission {
public:
    explicit OffsetMission(kvsim::SimState& state) : SimMission(state) {
        setup.put<int32_t>(4356, 0);
        setup.put<const void*>(5124, nullptr);
    }
    void msnGetMissionSetup(kv::MissionSetup** out) override {
        SimMission::msnGetMissionSetup(out);
        if (out) *out = setup.as<kv::MissionSetup>();
    }
    RecordBytes<5128> setup;
    RecordBytes<292> timing;
};

class DocumentedRecords : public LoadFlight {
protected:
    void SetUp() override {
        host.replace("TER", static_cast<kv::TerrainInterface&>(terrain));
        host.replace("MSN", static_cast<kv::MissionInterface&>(mission));
        LoadFlight::SetUp();
    }
    OffsetTerrain terrain{host.state};
    OffsetMission mission{host.state};
};

TEST_F(DocumentedRecords, TerrainAndMissionRecordsAreReadAtTheirOffsets) {
#if !KV_DOCUMENTED_LAYOUT
    GTEST_SKIP() << kOnlyThe32BitTarget;
#else
    terrain.record.put<const char*>(8, "terrain\\dunes");
    terrain.record.put<const char*>(44, "dunes.env");
    terrain.record.put<int32_t>(80, 77);
    mission.setup.put<int32_t>(4356, 3);
    mission.setup.put<const void*>(5124, mission.timing.bytes);
    mission.timing.put<int32_t>(288, 12);
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(callsMatching(host.log(), {"envLoadEnvironment", "envSetTerrainParameter"}),
              (std::vector<std::string>{"envLoadEnvironment terrain\\dunes\\dunes.env", "envSetTerrainParameter"}));
    EXPECT_EQ(argsOf("envSetTerrainParameter"), kvsim::Json::array({77}));
    EXPECT_EQ(flight->waitingForPlayers, 0);
    EXPECT_FLOAT_EQ(flight->screenshotInterval, 12.0f) << "game mode 3 takes the timing record's seconds";
    unload();

    // No environment name at 44: the default; game mode 4 waits.
    terrain.record.put<const char*>(44, nullptr);
    mission.setup.put<int32_t>(4356, 4);
    host.log().clear();
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(callsMatching(host.log(), {"envLoadEnvironment", "envSetTerrainParameter"}),
              (std::vector<std::string>{"envSetTerrainParameter", "envLoadEnvironment default.env"}));
    EXPECT_EQ(flight->waitingForPlayers, 1);
    EXPECT_FLOAT_EQ(flight->screenshotInterval, 0.0f);
#endif
}

TEST_F(DocumentedRecords, TheMapCamerasBlockIsWrittenAtItsOffsets) {
#if !KV_DOCUMENTED_LAYOUT
    GTEST_SKIP() << kOnlyThe32BitTarget;
#else
    ASSERT_EQ(load(), 1);
    const kvsim::SimCamera* map = nullptr;
    for (const auto& camera : host.graphics.cameras)
        if (camera->kind == 1) map = camera.get();
    ASSERT_NE(map, nullptr);
    const void* params = &map->params;  // edited in place by the load
    EXPECT_EQ(fieldAt<int32_t>(params, 4), 0);
    EXPECT_EQ(fieldAt<int32_t>(params, 12), 1023) << "viewport right: the display's width - 1";
    EXPECT_EQ(fieldAt<int32_t>(params, 16), 767);
    EXPECT_EQ(fieldAt<float>(params, 20), 90.0f) << "field of view";
    EXPECT_EQ(fieldAt<float>(params, 24), 1.5f) << "aspect ratio";
    EXPECT_EQ(fieldAt<float>(params, 28), 100.0f) << "near clip";
    EXPECT_EQ(fieldAt<float>(params, 32), 100000.0f) << "far clip";
    const auto* extra = fieldAt<const unsigned char*>(params, 56);
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(std::count(extra, extra + 52, 0), 52) << "the 52-byte block, zeroed";
#endif
}

}  // namespace
}  // namespace kvtest
