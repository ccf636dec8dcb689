// Every key of the scenario table takes effect: each one, written with a
// value other than the flight's own, changes the trace korvane-host makes
// of an example flight. A key that is read and then ignored fails here.
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "sim/host/module_driver.h"
#include "sim/host/module_library.h"
#include "sim/scenario/scenario_file.h"
#include "sim/host/sim_host.h"
#include "tools/korvane_host_flights.h"
#include "tools/korvane_host_trace.h"

namespace fs = std::filesystem;

namespace {

// One key written over an example's own scenario. context, when given, is
// written first, into both the flight compared against and the changed
// one: what the key needs to show (an event it acts on, a game mode).
struct KeyChange {
    const char* section;
    const char* key;  // for [Events], a frame number
    const char* value;
    const char* example;
    const char* context;
};

const KeyChange kChanges[] = {
    {"Host", "StartupFile", "absent.ini", "training", ""},
    {"Host", "Flights", "2", "training", ""},
    {"Host", "Frames", "20", "training", ""},
    {"Host", "AppEndsAfter", "30", "training", ""},
    {"Host", "AppStopsAfter", "30", "training", ""},
    {"Host", "FrameTime", "0.04", "training", ""},
    {"Host", "ScreenshotDirectory", "shots", "training", ""},
    {"Host", "OptionsFile", "absent.ini", "training", ""},
    {"Host", "Present", "NET,FFB,OPT", "training", ""},
    {"Host", "ThreeScreens", "1", "training", ""},
    {"Mission", "Network", "1", "training", ""},
    {"Mission", "CanPause", "0", "training", ""},
    {"Mission", "CanCompressTime", "0", "training", ""},
    {"Mission", "CanChangeTime", "0", "training", ""},
    {"Mission", "CanSkipToNext", "0", "training", "[Events]\n20=SKIP_TO_NEXT\n"},
    {"Mission", "GameMode", "0", "network", ""},
    // Game mode 3 allows one screenshot per ModeSeconds: the second is refused.
    {"Mission", "ModeSeconds", "30", "training", "[Mission]\nGameMode=3\n"},
    {"Mission", "NullMissionSetup", "1", "network", ""},
    {"Mission", "PlayerObject", "2", "training", ""},
    {"Mission", "LoadingImage", "loading.png", "training", ""},
    {"Objects", "PlayerInterfaces", "2,3,10,11", "training", ""},
    {"Objects", "MirrorTexture", "5", "training", ""},
    {"Objects", "Target", "-1", "network", ""},
    {"Objects", "TargetActive", "0", "network", ""},
    {"Objects", "PlayerLostAtFrame", "100", "training", ""},
    {"Objects", "PlayerChangesAtFrame", "100", "training", ""},
    {"Fail", "Display", "1", "training", ""},
    {"Fail", "Terrain", "1", "training", ""},
    {"Fail", "MissionObjects", "1", "training", ""},
    {"Fail", "HudModule", "1", "training", ""},
    {"Fail", "CommModule", "1", "training", ""},
    {"Fail", "Allocation", "2", "training", ""},
    {"Fail", "AllocationsFrom", "100", "training", ""},
    {"Events", "30", "EJECT", "training", ""},
    {"Controls", "ZoomAxis", "0.5", "training", ""},
    {"Modules", "modules\\TrainingComm.DLL", "none", "training", ""},
    {"Network", "FrameTime", "0.04", "network", ""},
    {"Network", "Players", "Red 1:3;Red 2:1;Blue 1:3", "network", ""},
    {"Network", "ReadyAtFrame", "Red 2:20;Blue 1:60", "network", ""},
    {"Network", "JoinAtFrame", "Blue 1:30", "network", ""},
    {"Network", "HostGameplay", "0,0,0,0,0,0,0,0,0,0,0", "network", ""},
    {"Network", "ChatText", "Hello", "network", ""},
};

// The table entry a change writes: [Events] takes any frame number and
// [Modules] any file name.
bool writes(const kvsim::ScenarioKey& entry, const KeyChange& change) {
    if (std::string(entry.section) != change.section) return false;
    const std::string key = entry.key;
    return key == change.key || key == "(frame)" || key == "(file)";
}

class ScenarioKeyEffects : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_ = fs::temp_directory_path() / ("korvane-keys-" + std::to_string(::getpid()));
        fs::remove_all(scratch_);
        fs::create_directories(scratch_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(scratch_, ignored);
    }

    // The example's scenario.ini, then each text in turn read over it as a
    // scenario file of its own.
    kvsim::Scenario scenario(const std::string& example, const std::vector<std::string>& texts) {
        kvsim::Scenario s;
        kvsim::ScenarioError error;
        const std::string own = std::string(KORVANE_EXAMPLES) + "/" + example + "/scenario.ini";
        EXPECT_TRUE(kvsim::readScenarioFile(own, s, error)) << error.text();
        for (const std::string& text : texts) {
            if (text.empty()) continue;
            const fs::path file = scratch_ / "change.ini";
            std::ofstream(file, std::ios::binary) << text;
            EXPECT_TRUE(kvsim::readScenarioFile(file.string(), s, error)) << error.text();
        }
        return s;
    }

    // The trace korvane-host writes for the example under s: a fresh copy
    // of the flight directory at the same place each time, and the module
    // loaded afresh, so nothing of an earlier flight carries over.
    std::string trace(const std::string& example, const kvsim::Scenario& s) {
        const fs::path flight = scratch_ / "flight";
        fs::remove_all(flight);
        fs::copy(fs::path(KORVANE_EXAMPLES) / example, flight, fs::copy_options::recursive);
        kvsim::ModuleLibrary library;
        if (!library.open(KORVANE_LIBRARY_FILE)) {
            ADD_FAILURE() << library.error();
            return "";
        }
        std::ostringstream out;
        {
            kvsim::SimHost host(s);
            kvsim::ModuleDriver driver(host, library.entryPoints());
            host.log().setMode(kvsim::CallLog::Mode::Streaming, &out);
            kvhost::setTraceLog(&host.log());
            EXPECT_TRUE(kvhost::flyScenario(host, driver, flight, {}).has_value());
            kvhost::setTraceLog(nullptr);
            host.log().setMode(kvsim::CallLog::Mode::Off);
        }
        return out.str();
    }

    // The trace of an example under a context, flown once per context.
    const std::string& baseline(const std::string& example, const std::string& context) {
        auto& cached = baselines_[example + "\n" + context];
        if (cached.empty()) cached = trace(example, scenario(example, {context}));
        return cached;
    }

private:
    fs::path scratch_;
    std::map<std::string, std::string> baselines_;
};

TEST_F(ScenarioKeyEffects, EveryKeyOfTheTableChangesTheTrace) {
    // The comparison means something only if a flight repeats exactly.
    for (const char* example : {"training", "network"}) {
        const std::string again = trace(example, scenario(example, {}));
        EXPECT_FALSE(again.empty());
        EXPECT_TRUE(again == baseline(example, "")) << example << " flown twice gives two traces";
    }
    for (const kvsim::ScenarioKey* entry = kvsim::scenarioKeys(); entry->section; ++entry) {
        const std::string name = std::string("[") + entry->section + "] " + entry->key;
        bool covered = false;
        for (const KeyChange& change : kChanges) {
            if (!writes(*entry, change)) continue;
            covered = true;
            const std::string line = std::string("[") + change.section + "]\n" + change.key + "=" + change.value + "\n";
            const std::string changed = trace(change.example, scenario(change.example, {change.context, line}));
            // Not EXPECT_NE: a failure would print both traces whole.
            EXPECT_TRUE(changed != baseline(change.example, change.context))
                << name << "=" << change.value << " leaves the trace of " << change.example << " as it was";
        }
        EXPECT_TRUE(covered) << name << " has no change in this test: give it one";
    }
}

}  // namespace
