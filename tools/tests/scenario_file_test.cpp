#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "services/shell_binding.h"
#include "sim/scenario/scenario_file.h"

namespace fs = std::filesystem;

namespace {

// A folder of scenario files of its own, removed afterwards.
class ScenarioFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("korvane-scenario-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "shared");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    std::string write(const std::string& name, const std::string& text) {
        std::ofstream(folder_ / name, std::ios::binary) << text;
        return (folder_ / name).string();
    }
    // The error text of reading text as scenario.ini; "" when it reads.
    std::string errorOf(const std::string& text) {
        kvsim::Scenario scenario;
        kvsim::ScenarioError error;
        const std::string path = write("scenario.ini", text);
        if (kvsim::readScenarioFile(path, scenario, error)) return "";
        return fs::path(error.file).filename().string() + ":" + std::to_string(error.line) + ": " + error.key +
               ": " + error.message;
    }
    fs::path folder_;
};

TEST_F(ScenarioFiles, ValuesReachTheirFieldsAndUnwrittenKeysKeepTheirDefaults) {
    const std::string path = write("scenario.ini",
                                   "; a flight with a bit of everything\n"
                                   "[Host]\n"
                                   "Flights = 2\n"
                                   "FrameTime = 0.05, 0.1 ,nan\n"
                                   "Present = net, AVN\n"
                                   "ScreenshotDirectory = shots\n"
                                   "[Mission]\n"
                                   "PlayerObject = -1\n"
                                   "LoadingImage =\n"
                                   "[Events]\n"
                                   "40 = PAUSE_FLIGHT\n"
                                   "040 = MAP, EXIT_FLIGHT\n"
                                   "7=SCREEN_SHOT\n"
                                   "[Network]\n"
                                   "Players = Ann:1; Bo Diddley:2\n"
                                   "ReadyAtFrame = Ann:12\n"
                                   "HostGameplay = 3,0,0,0,0,0,0,0,0,0,255\n"
                                   "ChatText = 100% on target; = fine\n"
                                   "[Modules]\n"
                                   "modules\\Radio.DLL = com\n"
                                   "Panel.dll = HUD\n"
                                   "modules/TrainingHud.DLL = None\n");
    kvsim::Scenario s;
    kvsim::ScenarioError error;
    ASSERT_TRUE(kvsim::readScenarioFile(path, s, error)) << error.text();

    EXPECT_EQ(s.flights, 2);
    ASSERT_EQ(s.frameTimes.size(), 3u);
    EXPECT_FLOAT_EQ(s.frameTimes[1], 0.1f);
    EXPECT_TRUE(std::isnan(s.frameTimes[2]));
    EXPECT_TRUE(s.hasNet && s.hasAvn);
    EXPECT_FALSE(s.hasFfb || s.hasOpt);
    EXPECT_EQ(s.screenshotDirectory, "shots");
    EXPECT_EQ(s.playerObject, -1);
    EXPECT_EQ(s.loadingImage, "");
    // "40" and "040" are one frame; its commands keep file order.
    ASSERT_EQ(s.events.size(), 2u);
    EXPECT_EQ(s.events[40], (std::vector<std::string>{"PAUSE_FLIGHT", "MAP", "EXIT_FLIGHT"}));
    EXPECT_EQ(s.events[7], (std::vector<std::string>{"SCREEN_SHOT"}));
    ASSERT_EQ(s.players.size(), 2u);
    EXPECT_EQ(s.players[1], (std::pair<std::string, int32_t>{"Bo Diddley", 2}));
    EXPECT_EQ(s.readyAtFrame.at("Ann"), 12);
    ASSERT_EQ(s.hostGameplay.size(), 11u);
    EXPECT_EQ(s.hostGameplay[0], 3);
    EXPECT_EQ(s.hostGameplay[10], 255);
    // The value runs to the end of the line: ";" and "=" are text there.
    EXPECT_EQ(s.chatText, "100% on target; = fine");
    // File names as written, in order; the interface in capitals, "" for none.
    const std::vector<std::pair<std::string, std::string>> modules = {
        {"modules\\Radio.DLL", "COM"}, {"Panel.dll", "HUD"}, {"modules/TrainingHud.DLL", ""}};
    EXPECT_EQ(s.moduleInterfaces, modules);

    const kvsim::Scenario defaults;
    EXPECT_EQ(s.startupFile, defaults.startupFile);
    EXPECT_EQ(s.optionsFile, defaults.optionsFile);
    EXPECT_EQ(s.playerInterfaces, defaults.playerInterfaces);
    EXPECT_EQ(s.canPause, 1);

    // "Present =" with nothing names no optional interface at all.
    kvsim::Scenario none;
    ASSERT_TRUE(kvsim::readScenarioFile(write("none.ini", "[Host]\nPresent =\n"), none, error)) << error.text();
    EXPECT_FALSE(none.hasNet || none.hasFfb || none.hasOpt || none.hasAvn);
}

// Every mistake names the file, the line and the key, including the ones
// the configuration library itself would pass over without a word.
TEST_F(ScenarioFiles, MistakesAreErrorsAtTheirLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"[Host]\nFlights=1\n\nFramse=10\n", "scenario.ini:4: [Host] Framse: unknown key"},
        {"[Host]\n[Hosts]\nFrames=1\n", "scenario.ini:2: [Hosts]: unknown section"},
        {"[Host]\nFrames=ten\n", "scenario.ini:2: [Host] Frames: \"ten\" is not a whole number"},
        {"[Host]\nFrames=12abc\n", "scenario.ini:2: [Host] Frames: \"12abc\" is not a whole number"},
        {"[Host]\nFrames=-1\n", "scenario.ini:2: [Host] Frames: -1 is out of range"},
        {"[Host]\nFlights=0\n", "scenario.ini:2: [Host] Flights: 0 is out of range"},
        {"[Host]\nFrames=99999999999\n", "scenario.ini:2: [Host] Frames: 99999999999 is out of range"},
        {"[Mission]\nCanPause=2\n", "scenario.ini:2: [Mission] CanPause: 2 is out of range (0 to 1)"},
        {"[Host]\nFrameTime=0.05,,0.1\n", "scenario.ini:2: [Host] FrameTime: \"\" is not a number"},
        {"[Host]\nFrameTime=\n", "scenario.ini:2: [Host] FrameTime: needs at least one frame time"},
        {"[Controls]\nZoomAxis=inf\n", "scenario.ini:2: [Controls] ZoomAxis: inf is not a finite number"},
        {"[Host]\nPresent=NET,GFX\n", "scenario.ini:2: [Host] Present: \"GFX\" is not one of NET, FFB, OPT, AVN"},
        {"[Host]\nStartupFile=\n", "scenario.ini:2: [Host] StartupFile: needs a file name"},
        {"[Host]\nFrames=1\nframes=2\n", "scenario.ini:3: [Host] frames: key written twice (first at scenario.ini:2)"},
        {"[Host]\n[Mission]\n[HOST]\n", "scenario.ini:3: [HOST]: section written twice"},
        {"[Host]\n# frames to run\nFrames=5\n", "scenario.ini:3: [Host]: a \"#\" line inside a section"},
        {"Frames=5\n[Host]\n", "scenario.ini:1: : a line outside any section"},
        {"[Host]\nFrames 5\n", "scenario.ini:2: [Host]: neither a key"},
        {"[Host]\n=5\n", "scenario.ini:2: [Host]: a key without a name"},
        {"[Events]\nten=MAP\n", "scenario.ini:2: [Events] ten: the key must be a frame number"},
        {"[Events]\n10=MAP,PAUS_FLIGHT\n", "scenario.ini:2: [Events] 10: \"PAUS_FLIGHT\" is not a flight command"},
        {"[Events]\n10=\n", "scenario.ini:2: [Events] 10: needs at least one command name"},
        {"[Network]\nPlayers=Ann:1;Ann:3\n", "scenario.ini:2: [Network] Players: player Ann is listed twice"},
        {"[Network]\nPlayers=Ann\n", "scenario.ini:2: [Network] Players: \"Ann\" is not name:number"},
        {"[Network]\nPlayers=Ann:1\nJoinAtFrame=Anne:5\n",
         "scenario.ini:3: [Network] JoinAtFrame: Anne is not one of the Players"},
        {"[Network]\nHostGameplay=1,2,3\n", "scenario.ini:2: [Network] HostGameplay: needs eleven byte values or none"},
        {"[Network]\nHostGameplay=1,2,3,4,5,6,7,8,9,10,256\n", "scenario.ini:2: [Network] HostGameplay: 256 is out of range"},
        {"[Host]\r\nFrames=1\r\n\r\nFlghts=2\r\n", "scenario.ini:4: [Host] Flghts: unknown key"},
        {"#include missing.ini\n[Host]\n", "scenario.ini:1: : cannot read the included file missing.ini"},
        {"[Modules]\nRadio.DLL=Comm\n", "scenario.ini:2: [Modules] Radio.DLL: \"Comm\" is not one of HUD, COM, none"},
        {"[Modules]\nRadio.DLL=COM\nradio.dll=HUD\n", "scenario.ini:3: [Modules] radio.dll: key written twice"},
        {"[Module]\nRadio.DLL=COM\n",
         "scenario.ini:1: [Module]: unknown section (known: Host, Mission, Objects, Fail, Events, Controls, "
         "Modules, Network)"},
    };
    for (const auto& c : cases) {
        const std::string error = errorOf(c.text);
        EXPECT_EQ(error.compare(0, std::string(c.error).size(), c.error), 0)
            << "scenario:\n" << c.text << "gave: " << error << "\nwanted: " << c.error;
    }
}

TEST_F(ScenarioFiles, IncludesComeFromTheScenarioFolderAndTheirMistakesNameThem) {
    write("shared/common.ini", "[Mission]\nCanPause=0\n[Fail]\nAllocation=7\n");
    write("shared/broken.ini", "[Mission]\n\nCanPaws=0\n");
    write("loop.ini", "#include scenario.ini\n[Fail]\n");
    const fs::path before = fs::current_path();
    const fs::path elsewhere = folder_ / "shared";
    fs::current_path(elsewhere);

    kvsim::Scenario s;
    kvsim::ScenarioError error;
    const std::string path = write("scenario.ini", "#include shared/common.ini\n[Host]\nFrames=3\n");
    EXPECT_TRUE(kvsim::readScenarioFile(path, s, error)) << error.text();
    EXPECT_EQ(s.canPause, 0);
    EXPECT_EQ(s.failAllocation, 7);
    EXPECT_EQ(s.frames, 3);
    EXPECT_EQ(fs::current_path(), elsewhere);

    write("scenario.ini", "#include shared/broken.ini\n[Host]\n");
    EXPECT_FALSE(kvsim::readScenarioFile(path, s, error));
    EXPECT_EQ(error.text(), "shared/broken.ini:3: [Mission] CanPaws: unknown key");

    write("scenario.ini", "#include loop.ini\n[Host]\n");
    EXPECT_FALSE(kvsim::readScenarioFile(path, s, error));
    EXPECT_EQ(error.text(), "loop.ini:1: #include scenario.ini closes a cycle of includes");
    EXPECT_EQ(fs::current_path(), elsewhere);
    fs::current_path(before);

    // Nothing is left bound for the module's own configuration code.
    EXPECT_EQ(kv::FMG, nullptr);
    EXPECT_EQ(kv::MEM, nullptr);
}

TEST_F(ScenarioFiles, FilesThatCannotBeReadSaySo) {
    kvsim::Scenario s;
    kvsim::ScenarioError error;
    EXPECT_FALSE(kvsim::readScenarioFile((folder_ / "absent.ini").string(), s, error));
    EXPECT_EQ(error.message, "no such file");
    // The configuration library would open "scenario.INI" instead.
    EXPECT_FALSE(kvsim::readScenarioFile(write("scenario", "[Host]\n"), s, error));
    EXPECT_NE(error.message.find("needs an extension"), std::string::npos);
}

// The example the README runs ends by itself, with the player's command.
TEST(ScenarioKeys, TheTrainingScenarioReadsAndLeavesWithExitFlight) {
    kvsim::Scenario s;
    kvsim::ScenarioError error;
    ASSERT_TRUE(kvsim::readScenarioFile(KORVANE_EXAMPLES "/training/scenario.ini", s, error)) << error.text();
    ASSERT_FALSE(s.events.empty());
    EXPECT_EQ(s.events.rbegin()->second, (std::vector<std::string>{"EXIT_FLIGHT"}));
    EXPECT_EQ(s.screenshotDirectory, "screenshots");
}

// The documentation shows the table the reader checks against, as it is.
TEST(ScenarioKeys, DocumentationListsTheReadersTable) {
    std::ifstream in(KORVANE_SCENARIO_DOC);
    ASSERT_TRUE(in) << KORVANE_SCENARIO_DOC;
    std::stringstream doc;
    doc << in.rdbuf();
    EXPECT_NE(doc.str().find(kvsim::scenarioKeysMarkdown()), std::string::npos)
        << "paste this table into " << KORVANE_SCENARIO_DOC << ":\n" << kvsim::scenarioKeysMarkdown();
}

}  // namespace
