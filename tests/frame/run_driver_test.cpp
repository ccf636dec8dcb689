// Fly: one flight from the host's call to its result, through a real flight
// directory on disk and the stand-in host.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/frame/frame_fixture.h"

namespace kvtest {
namespace {

namespace fs = std::filesystem;

class FlyTest : public BoundModule {
protected:
    void SetUp() override {
        hostDirectory_ = fs::current_path();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        flightDirectory_ = fs::temp_directory_path() /
                           ("korvane-fly-" + std::to_string(::getpid()) + "-" + info->name());
        fs::remove_all(flightDirectory_);
        fs::create_directories(flightDirectory_);
        write("flight.ini",
              "[Korvane]\nTextFilename=flight.txt\nDeltaT=0.1\nMaxDeltaT=0.2\n"
              "[StartView]\nStartView000=Cockpit\n[SkipToNext]\nTimer=0.5\nAutoPilotCommand=AUTOPILOT\n");
        write("skip.ini", "[Debug]\nSkipFlight=TRUE\n[Korvane]\nTextFilename=flight.txt\n");
        write("options.ini", "[ControlOptions]\nControlMap=keys.map\n");
        write("flight.txt", "[Strings]\nPaused=Paused\n");
        host.scenario.optionsFile = (flightDirectory_ / "options.ini").string();
        // A safety net: a flight that should have ended fails its test
        // instead of running for ever.
        host.scenario.appEndsAfter = 100;
        BoundModule::SetUp();
        flight = kv::engine;
        flight->runState = 0;
    }
    void TearDown() override {
        BoundModule::TearDown();
        fs::current_path(hostDirectory_);
        fs::remove_all(flightDirectory_);
    }

    void write(const std::string& name, const std::string& text) {
        std::ofstream(flightDirectory_ / name, std::ios::binary) << text;
    }
    int32_t fly(const char* startFile = "flight.ini") {
        return driver.fly(flightDirectory_.string().c_str(), startFile);
    }
    // A directory as the module sees it: with backslashes.
    static std::string moduleForm(const fs::path& path) {
        std::string text = path.string();
        for (char& c : text)
            if (c == '/') c = '\\';
        return text;
    }
    std::size_t calls(const std::string& op) { return host.log().count(op); }
    // Frames the flight ran: the mission is updated once in each.
    std::size_t framesRun() { return calls("msnUpdate"); }

    kv::FlightModule* flight = nullptr;
    fs::path hostDirectory_;
    fs::path flightDirectory_;
};

TEST_F(FlyTest, AFlightRunsFromLoadingToUnloadingInTheFlightsDirectory) {
    host.scenario.appEndsAfter = 1;
    EXPECT_EQ(fly(), 1) << "the application ends after the first frame";
    EXPECT_EQ(framesRun(), 1u);
    EXPECT_EQ(flight->runState, 2);
    EXPECT_TRUE(callsInOrder(host.log(), {
        "host:Fly", "fmgPushDirectory", "memCheckpoint Start of _LoadKorvane", "memCheckpoint End of _LoadKorvane",
        "inpClearInput", "ctlSetActive", "fadStartFadeIn", "clkReset",
        "clkUpdate", "appIsRunning", "clkGetFrameTime", "msnUpdate", "gfxPresent", "msnFirstFrameDone", "objEndFrame",
        "appUpdate", "msnEndFlight", "fmgPopDirectory"}));
    // Not a network flight: the loop never asks whether the application
    // runs, and the network is left alone.
    EXPECT_EQ(calls("appIsRunning"), 1u) << "only the frame's own question";
    for (const char* op : {"netBeginFlight", "netUpdate", "netFlush"}) EXPECT_EQ(calls(op), 0u) << op;
    EXPECT_EQ(fs::current_path(), hostDirectory_);
    EXPECT_EQ(std::string(flight->flightDirectory), moduleForm(fs::canonical(flightDirectory_)));
}

TEST_F(FlyTest, AnEmptyOrMissingDirectoryFliesWhereTheHostIs) {
    fs::current_path(flightDirectory_);
    const std::string here = moduleForm(fs::current_path());
    host.scenario.appEndsAfter = 1;
    for (const char* directory : {"", static_cast<const char*>(nullptr), "no such folder"}) {
        SCOPED_TRACE(directory ? directory : "(null)");
        EXPECT_EQ(driver.fly(directory, "flight.ini"), 1);
        EXPECT_EQ(std::string(flight->flightDirectory), here);
        EXPECT_EQ(moduleForm(fs::current_path()), here);
    }
    EXPECT_EQ(calls("msnEndFlight"), 3u) << "each flight loaded and unloaded";
}

TEST_F(FlyTest, AFailedLoadRunsNoFrameAndNoUnloadingButGivesTheDirectoryBack) {
    host.scenario.failTerrain = 1;
    EXPECT_EQ(fly(), 1);
    for (const char* op : {"inpClearInput", "appUpdate", "msnUpdate", "msnEndFlight"}) EXPECT_EQ(calls(op), 0u) << op;
    EXPECT_EQ(host.log().records().back().op, "fmgPopDirectory");
    EXPECT_EQ(fs::current_path(), hostDirectory_);
}

TEST_F(FlyTest, AnUnreadableWorkingDirectoryLeavesTheFlightDirectoryEmpty) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows does not let a process remove its own working directory";
#endif
    const fs::path gone = flightDirectory_ / "gone";
    fs::create_directories(gone);
    fs::current_path(gone);
    fs::remove(gone);
    EXPECT_EQ(driver.fly(nullptr, "flight.ini"), 1) << "nothing to load from";
    EXPECT_STREQ(flight->flightDirectory, "");
    bool traced = false;
    for (const std::string& text : host.log().traces()) traced |= text.find("working directory") != std::string::npos;
    EXPECT_TRUE(traced);
    fs::current_path(hostDirectory_);
}

TEST_F(FlyTest, ARunStateSetDuringAFrameEndsTheFlightAfterIt) {
    struct Case {
        const char* command;
        int32_t result;
    };
    for (const Case& c : {Case{"EXIT_FLIGHT", 0}, Case{"QUIT_GAME", 1}}) {
        SCOPED_TRACE(c.command);
        host.scenario.events = {{3, {c.command}}};
        host.log().clear();
        EXPECT_EQ(fly(), c.result);
        // Commands are dispatched from the third frame on (frame 2 is the
        // first that updates the controls); frame 3 is the fourth.
        EXPECT_EQ(framesRun(), 4u);
        EXPECT_EQ(calls("appUpdate"), 4u) << "the loop asks after the frame that ended it too";
    }
}

TEST_F(FlyTest, ASkippedFlightLoadsAndUnloadsWithoutFlying) {
    for (int32_t before : {0, 2}) {
        SCOPED_TRACE(before);
        flight->runState = before;
        host.log().clear();
        EXPECT_EQ(fly("skip.ini"), before == 2 ? 1 : 0);
        for (const char* op : {"inpClearInput", "appIsRunning", "appUpdate", "msnUpdate"})
            EXPECT_EQ(calls(op), 0u) << op;
        EXPECT_EQ(calls("msnEndFlight"), 1u);
        EXPECT_EQ(flight->runState, before);
    }
}

TEST_F(FlyTest, TheApplicationStoppingEndsASinglePlayerFlight) {
    // The frame asks; the third answer is no. The frame stops there, and
    // so does the flight instead of running empty frames for ever.
    host.scenario.appStopsAfter = 3;
    EXPECT_EQ(fly(), 1);
    EXPECT_EQ(framesRun(), 2u);
    EXPECT_EQ(calls("appIsRunning"), 3u);
    EXPECT_EQ(calls("appUpdate"), 3u);
    EXPECT_EQ(calls("msnEndFlight"), 1u);
}

TEST_F(FlyTest, TheApplicationStoppingEndsANetworkFlight) {
    host.scenario.network = 1;
    // Each network frame is asked about twice: by the frame, then by the
    // loop. The loop's answer ends the flight at once ...
    host.scenario.appStopsAfter = 2;
    EXPECT_EQ(fly(), 1);
    EXPECT_EQ(framesRun(), 1u);
    EXPECT_EQ(calls("netLeave"), 0u);
    EXPECT_TRUE(callsInOrder(host.log(), {"netBeginFlight", "inpClearInput", "clkReset", "netUpdate", "netFlush",
                                          "clkUpdate", "netUpdate", "appIsRunning", "appUpdate", "appIsRunning",
                                          "msnEndFlight"}));

    // ... and the frame's answer leaves the network, after which the loop
    // would no longer ask: the flight ends all the same.
    host.log().clear();
    host.scenario.appStopsAfter = 3;
    EXPECT_EQ(fly(), 1);
    EXPECT_EQ(framesRun(), 1u);
    EXPECT_EQ(calls("netLeave"), 1u);
    EXPECT_EQ(calls("appUpdate"), 2u);
    EXPECT_EQ(flight->networkFlight, 0);

    // An application that ends is still asked whether it runs: the loop
    // asks both after every frame of a network flight.
    host.log().clear();
    host.scenario.appStopsAfter = 0;
    host.scenario.appEndsAfter = 1;
    EXPECT_EQ(fly(), 1);
    EXPECT_EQ(framesRun(), 1u);
    EXPECT_TRUE(callsInOrder(host.log(), {"clkUpdate", "appIsRunning", "objEndFrame", "appUpdate", "appIsRunning",
                                          "msnEndFlight"}));
}

TEST_F(FlyTest, AScriptedFlightSkipsAheadOnAutopilotAndLosesItsAircraftOverTheMap) {
    host.scenario.frameTimes = {0.1f};
    host.scenario.events = {{2, {"SKIP_TO_NEXT"}}, {12, {"MAP"}}};
    host.scenario.playerLostAtFrame = 14;
    host.scenario.appEndsAfter = 16;
    EXPECT_EQ(fly(), 1);
    kvsim::SimGameObject& aircraft = host.objects.object(host.scenario.playerObject);
    // The skip engaged the autopilot once, held it, and released it once.
    EXPECT_EQ(calls("ctlInjectEvent"), 2u);
    EXPECT_EQ(aircraft.controlStates[kvsim::SimGameObject::kAutoPilot], 0);
    EXPECT_TRUE(callsInOrder(host.log(), {"host:command SKIP_TO_NEXT", "ctlInjectEvent", "msnSkipToNext",
                                          "ctlInjectEvent", "host:command MAP", "terRenderMap", "ffbStopEffects",
                                          "ctlSetCommandFilter", "vmgGetViewPosition", "msnEndFlight"}));
    EXPECT_EQ(calls("ffbStopEffects"), 1u);
    EXPECT_EQ(calls("terRenderMap"), 2u) << "frames 12 and 13 show the map; 14 has no aircraft";
}

}  // namespace
}  // namespace kvtest
