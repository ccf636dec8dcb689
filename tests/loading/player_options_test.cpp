#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/config_document.h"
#include "tests/loading/flight_directory.h"
#include "tests/support/call_sequence.h"
#include "tests/support/record_bytes.h"
#include "tests/support/trace_lines.h"

namespace {

using kvtest::callsInOrder;

// The options and network calls of the log, by name; the interface calls
// with their tag.
std::vector<std::string> optionCalls(const kvsim::CallLog& log) {
    std::vector<std::string> out;
    for (const auto& record : log.records()) {
        if (record.fromHost) continue;
        if (record.op == "GetInterface" || record.op == "ReleaseInterface") {
            if (record.args.at(0) == "OPT") out.push_back(record.op + " OPT");
        } else if (record.op.compare(0, 3, "opt") == 0 || record.op == "netGetGameSettings") {
            out.push_back(record.op);
        }
    }
    return out;
}

const char* const kOptions =
    "[GameplayOptions]\nCockpitView=14\nEnemySkill=1\n"
    "[GraphicsOptions]\nDisplayDeviceID=1\nDisplayWidth=1024\nDisplayHeight=768\nDisplayDepth=16\n"
    "ObjectDetail=3\nShadow=4\nEffectsDetail=5\nTerrainDetail=2\nHorizonDistance=6\nGroundObjectDensity=7\n"
    "ObjectTexture=8\nTerrainTexture=9\nCockpitTexture=10\nCockpitMirrors=11\nLensFlare=12\n"
    "[SoundOptions]\nSpeechSubtitles=13\n"
    "[ControlOptions]\nControlMap=MyKeys.MAP\n";

class PlayerOptions : public kvtest::FlightDirectory {
protected:
    void SetUp() override {
        FlightDirectory::SetUp();
        host.log().clear();
    }

    // The options module's document as another module would see it.
    int32_t optionInDocument(const char* section, const char* key) {
        kv::ConfigDocument* document = nullptr;
        host.options.optGetDocument(&document);
        const int32_t value = document ? document->getInt(section, key, -1) : -99;
        host.options.optReleaseDocument(&document);
        return value;
    }

    // The seventeen whole-number options, in reading order.
    std::vector<int32_t*> optionFields() {
        return {&fm.cockpitView, &fm.graphicsSetup.displayDeviceId, &fm.graphicsSetup.displayWidth,
                &fm.graphicsSetup.displayHeight, &fm.graphicsSetup.displayDepth, &fm.displayOptions.objectDetail,
                &fm.displayOptions.shadow, &fm.effectsDetail, &fm.terrainDetailOption, &fm.horizonDistanceOption,
                &fm.terrainSetup.groundObjectDensity, &fm.objectTextureOption, &fm.terrainTextureOption,
                &fm.cockpitTextureOption, &fm.cockpitMirrors, &fm.lensFlare, &fm.speechSubtitles};
    }
    void setEveryOption(int32_t value) {
        for (int32_t* field : optionFields()) *field = value;
    }
    std::vector<int32_t> everyOption() {
        std::vector<int32_t> out;
        for (const int32_t* field : optionFields()) out.push_back(*field);
        return out;
    }
};

TEST_F(PlayerOptions, TheOptionsAreReadFromTheBorrowedDocumentAndItIsGivenBack) {
    write("options.ini", kOptions);
    setEveryOption(-5);

    fm.readPlayerOptions();

    EXPECT_EQ(everyOption(), (std::vector<int32_t>{14, 1, 1024, 768, 16, 3, 4, 5, 2, 6, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_STREQ(fm.controlMap, "MyKeys.MAP") << "case kept";
    EXPECT_EQ(optionCalls(host.log()),
              (std::vector<std::string>{"GetInterface OPT", "optGetDocument", "optReleaseDocument",
                                        "ReleaseInterface OPT"}))
        << "a single-player flight asks no host settings and writes nothing";
    EXPECT_EQ(host.shell.held("OPT"), 0);
    EXPECT_EQ(optionInDocument("GameplayOptions", "EnemySkill"), 1);

    // Without graphics options every graphics field is 0, so every quality
    // level reads the low detail section; an empty control map is null.
    write("options.ini", "[GameplayOptions]\nCockpitView=1\n[ControlOptions]\nControlMap=\n");
    host.options.optReloadOptions();
    fm.readPlayerOptions();
    EXPECT_EQ(everyOption(), (std::vector<int32_t>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(fm.controlMap, nullptr);
}

// A network module that hands out the scenario's gameplay bytes, as the
// stand-in network does once its settings record follows the scenario. On
// the 32-bit target it fills the record as a module built elsewhere would:
// ten words by their offsets, the pointer in the tenth, noise before it.
class HostSettingsNetwork : public kvsim::SimNetwork {
public:
    explicit HostSettingsNetwork(kvsim::SimState& state) : SimNetwork(state), scenario_(state.scenario) {}
    void netGetGameSettings(kv::HostGameSettings* settings) override {
        SimNetwork::netGetGameSettings(settings);
        if (!settings || scenario_.hostGameplay.empty()) return;
#if KV_DOCUMENTED_LAYOUT
        kvtest::RecordBytes<40> record;
        record.put<const void*>(36, scenario_.hostGameplay.data());
        std::memcpy(settings, record.bytes, sizeof record.bytes);
#else
        settings->gameplay = scenario_.hostGameplay.data();
#endif
    }

private:
    kvsim::Scenario& scenario_;
};

class NetworkPlayerOptions : public PlayerOptions {
protected:
    void SetUp() override {
        host.replace("NET", static_cast<kv::NetworkInterface&>(network_));
        PlayerOptions::SetUp();
    }

private:
    HostSettingsNetwork network_{host.state};
};

TEST_F(NetworkPlayerOptions, ANetworkFlightReadsTheHostsSettingsUntilTheOptionsAreReloaded) {
    write("options.ini", kOptions);
    write("flight.ini", "[LowDetailOption]\nDetailLevel=1\n[HighDetailOption]\nDetailLevel=3\n");
    host.scenario.hostGameplay = {3, 20, 30, 40, 50, 60, 70, 80, 90, 200, 1};

    // Alone, the player's own terrain detail 2 chooses the high section.
    fm.readPlayerOptions();
    ASSERT_EQ(fm.loadStartupFile("flight"), 1);
    EXPECT_EQ(fm.terrainDetailOption, 2);
    EXPECT_EQ(fm.terrainSetup.detailLevel, 3);

    const int liveBefore = host.memory.liveBlocks("FLT");
    host.log().clear();
    fm.networkFlight = 1;
    fm.readPlayerOptions();
    ASSERT_EQ(fm.loadStartupFile("flight"), 1);
    EXPECT_TRUE(callsInOrder(host.log(), {"GetInterface OPT", "optGetDocument", "netGetGameSettings",
                                          "optReleaseDocument", "ReleaseInterface OPT"}));
    EXPECT_EQ(fm.terrainDetailOption, 0) << "written into the document before it is read";
    EXPECT_EQ(fm.terrainSetup.detailLevel, 1);
    EXPECT_EQ(fm.cockpitView, 14) << "the player's other options stay";
    EXPECT_EQ(optionInDocument("GraphicsOptions", "TerrainDetail"), 0);
    std::vector<int32_t> gameplay;
    for (const char* key : {"EnemySkill", "FlightModel", "WeaponEffectiveness", "Avionics", "Targeting", "HUDDisplay",
                            "Landing", "Collision", "Blackout", "AmmoUsage", "FuelUsage"})
        gameplay.push_back(optionInDocument("GameplayOptions", key));
    EXPECT_EQ(gameplay, (std::vector<int32_t>{3, 20, 30, 40, 50, 60, 70, 80, 90, 200, 1}))
        << "the eleven bytes in the record's order, unsigned";

    // The unloading's reload brings the player's own values back, and no
    // record of this module stays linked in the options module's document.
    host.options.optReloadOptions();
    EXPECT_EQ(optionInDocument("GraphicsOptions", "TerrainDetail"), 2);
    EXPECT_EQ(optionInDocument("GameplayOptions", "EnemySkill"), 1);
    EXPECT_EQ(optionInDocument("GameplayOptions", "FuelUsage"), -1);
    EXPECT_EQ(host.memory.liveBlocks("FLT"), liveBefore);

    // A host that sends no gameplay bytes still forces the terrain detail.
    host.scenario.hostGameplay.clear();
    fm.readPlayerOptions();
    EXPECT_EQ(fm.terrainDetailOption, 0);
    EXPECT_EQ(optionInDocument("GraphicsOptions", "TerrainDetail"), 0);
    EXPECT_EQ(optionInDocument("GameplayOptions", "EnemySkill"), 1);
    host.options.optReloadOptions();
}

TEST_F(PlayerOptions, WithoutAnOptionsModuleEveryOptionIsZero) {
    write("options.ini", kOptions);
    host.shell.remove("OPT");
    setEveryOption(4);
    fm.controlMap = kv::strDuplicate("Old.map");
    fm.networkFlight = 1;
    kvtest::TraceLines trace;

    fm.readPlayerOptions();

    EXPECT_EQ(everyOption(), std::vector<int32_t>(17, 0));
    EXPECT_EQ(fm.controlMap, nullptr);
    EXPECT_EQ(optionCalls(host.log()), std::vector<std::string>{"GetInterface OPT"});
    EXPECT_EQ(trace.lines, std::vector<std::string>{"No player options document, every option is 0!"});
}

// An options module that lends no document: nothing is given back and
// the options are 0, as without the module.
class LendsNothing : public kv::OptionsInterface {
public:
    void optReloadOptions() override {}
    kv::ConfigDocument* optGetDocument(kv::ConfigDocument** document) override {
        ++lends;
        return *document;
    }
    void optReleaseDocument(kv::ConfigDocument**) override { ++releases; }
    int lends = 0;
    int releases = 0;
};

TEST_F(PlayerOptions, AnOptionsModuleThatLendsNoDocumentGivesZeroOptions) {
    LendsNothing options;
    host.replace("OPT", static_cast<kv::OptionsInterface&>(options));
    setEveryOption(4);
    fm.controlMap = kv::strDuplicate("Old.map");
    kvtest::TraceLines trace;

    fm.readPlayerOptions();

    EXPECT_EQ(everyOption(), std::vector<int32_t>(17, 0));
    EXPECT_EQ(fm.controlMap, nullptr);
    EXPECT_EQ(options.lends, 1);
    EXPECT_EQ(options.releases, 0);
    EXPECT_EQ(host.shell.held("OPT"), 0) << "the interface is still given back";
    EXPECT_EQ(trace.lines, std::vector<std::string>{"No player options document, every option is 0!"});
}

}  // namespace
