// A caller's own module in place of a simulated one: the module reaches the
// caller's object, every call still goes into the log, and the flight runs
// as it does with the simulation.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/flight_module.h"
#include "entry/module_entry.h"
#include "sim/host/module_driver.h"
#include "sim/scenario/scenario_file.h"
#include "sim/host/sim_host.h"
#include "tests/sim/scratch_folder.h"
#include "tests/support/call_sequence.h"

namespace {

namespace fs = std::filesystem;

// A messages module of the caller's: keeps each text with the frame the
// stand-in had in progress.
class OwnMessages : public kv::MessagesInterface {
public:
    explicit OwnMessages(const kvsim::SimState& state) : state_(state) {}
    void msgLoadMessageSystem(const char* fileName) override { loaded.emplace_back(fileName ? fileName : "(null)"); }
    void msgUnloadMessageSystem() override { ++unloads; }
    void msgShowText(const char* format, ...) override {
        char line[1024];
        va_list args;
        va_start(args, format);
        std::vsnprintf(line, sizeof line, format, args);
        va_end(args);
        formats.emplace_back(format);
        shown.emplace_back(state_.frame, line);
    }
    void msgShowEntryLine(const char*, ...) override { ++entryLines; }
    void msgUpdate(float) override { ++updates; }
    void msgRender() override { ++renders; }

    std::vector<std::string> loaded;
    std::vector<std::string> formats;
    std::vector<std::pair<int32_t, std::string>> shown;
    int unloads = 0, entryLines = 0, updates = 0, renders = 0;

private:
    const kvsim::SimState& state_;
};

// The training flight, copied to a scratch folder, with whatever the
// caller does to the host before binding.
template <typename Prepare>
int32_t flyTraining(kvsim::SimHost& host, Prepare prepare, std::string* flownFrom = nullptr) {
    kvtest::ScratchFolder scratch("replaced-module");
    // Into a folder of its own: the Windows runtime's copy will not copy a
    // folder into one that already exists.
    const fs::path folder = scratch.path() / "training";
    if (flownFrom) *flownFrom = scratch.path().string();
    fs::copy(KORVANE_EXAMPLES "/training", folder, fs::copy_options::recursive);
    kvsim::ScenarioError problem;
    EXPECT_TRUE(kvsim::readScenarioFile((folder / "scenario.ini").string(), host.scenario, problem))
        << problem.text();
    prepare();
    // As from a module loaded afresh (korvane-host's flights): within one
    // load, screenshot numbers go on from the flight before.
    kv::flightModule().screenshot.lastNumber = 0;
    kvsim::ModuleDriver driver{host, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
    driver.initDll(0);
    fs::create_directories(folder / host.scenario.screenshotDirectory);
    driver.setScreenshotDirectory(host.scenario.screenshotDirectory.c_str());
    const int32_t result = driver.fly(folder.string().c_str(), host.scenario.startupFile.c_str());
    driver.exitDll();
    return result;
}

std::vector<std::string> shownInLog(const kvsim::CallLog& log) {
    std::vector<std::string> lines;
    for (const auto& record : log.records())
        if (record.kind == kvsim::RecordKind::Call && record.op == "msgShowText")
            lines.push_back(record.args.at(1).get<std::string>());
    return lines;
}

}  // namespace

TEST(ReplacedModule, OwnMessagesModuleShowsWhatTheSimulationWouldAndTheLogKeepsEveryCall) {
    kvsim::SimHost simulated;
    ASSERT_EQ(flyTraining(simulated, [] {}), 0);
    ASSERT_GE(simulated.messages.shown.size(), 4u) << "the training flight shows messages";

    kvsim::SimHost host;
    OwnMessages own(host.state);
    ASSERT_EQ(flyTraining(host, [&] { host.replace("MSG", static_cast<kv::MessagesInterface&>(own)); }), 0);

    // Every message reached the caller's module, as formatted text, and
    // none the simulation.
    EXPECT_TRUE(host.messages.shown.empty());
    std::vector<std::string> ownLines;
    int32_t lastFrame = 0;
    for (const auto& [frame, line] : own.shown) {
        EXPECT_GE(frame, lastFrame) << line << ": shown during the frames, in order";
        lastFrame = frame;
        ownLines.push_back(line);
    }
    EXPECT_EQ(ownLines, simulated.messages.shown);
    for (const std::string& format : own.formats) EXPECT_EQ(format, "%s");

    // The log recorded the calls to it as it records the simulation's.
    EXPECT_EQ(shownInLog(host.log()), ownLines);
    EXPECT_EQ(host.log().count("msgUpdate"), static_cast<std::size_t>(own.updates));
    EXPECT_EQ(host.log().count("msgRender"), static_cast<std::size_t>(own.renders));
    EXPECT_EQ(host.log().count("msgUpdate"), simulated.log().count("msgUpdate"));
    EXPECT_GT(own.updates, 100);
    ASSERT_EQ(own.loaded.size(), 1u);
    EXPECT_EQ(own.unloads, 1);
    EXPECT_TRUE(kvtest::callsInOrder(host.log(), {"GetInterface MSG", "msgLoadMessageSystem " + own.loaded[0],
                                                  "msgUpdate", "msgShowText", "msgRender",
                                                  "msgUnloadMessageSystem", "ReleaseInterface MSG"}));
}

// An application of the caller's that ends the application at its fifth
// frame: its results steer the module and each is in the log.
class EndingApp : public kv::AppInterface {
public:
    int32_t appUpdate() override { return ++updates < 5 ? 1 : 0; }
    int32_t appIsRunning() override { return 1; }
    int32_t appQueryFlag() override { return 0; }
    int updates = 0;
};

TEST(ReplacedModule, ResultsComeFromTheCallersModuleAndAreRecorded) {
    kvsim::SimHost host;
    EndingApp app;
    EXPECT_EQ(flyTraining(host, [&] { host.replace("APP", static_cast<kv::AppInterface&>(app)); }), 1)
        << "the application ended";
    EXPECT_EQ(app.updates, 5);
    std::vector<int> results;
    for (const auto& record : host.log().records())
        if (record.op == "appUpdate") results.push_back(record.result.get<int>());
    EXPECT_EQ(results, (std::vector<int>{1, 1, 1, 1, 0}));
    EXPECT_EQ(host.app.updates, 0) << "the simulated application is no longer reached";
}

// The log as the trace file has it, with the scratch folder, in both its
// spellings, named alike.
std::string traceOf(const kvsim::CallLog& log, std::string folder) {
    std::ostringstream out;
    log.writeJsonLines(out);
    std::string text = out.str();
    const auto replaceAll = [&text](const std::string& from, const std::string& to) {
        for (std::size_t at = text.find(from); !from.empty() && at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
    };
    std::string backslashed = folder;
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    replaceAll(kvsim::Json(folder).dump().substr(1, kvsim::Json(folder).dump().size() - 2), "FOLDER");
    replaceAll(kvsim::Json(backslashed).dump().substr(1, kvsim::Json(backslashed).dump().size() - 2), "FOLDER");
    return text;
}

// The graphics module of another stand-in host behind the layer: the
// module's calls to it and to the cameras, images and display it hands out
// reach the other host, and the log is the simulation's own, record for
// record.
TEST(ReplacedModule, RecordingLayerPassesEachCallOnUnchanged) {
    kvsim::SimHost simulated;
    std::string simulatedFolder;
    ASSERT_EQ(flyTraining(simulated, [] {}, &simulatedFolder), 0);

    kvsim::SimHost host;
    kvsim::SimHost other;
    std::string folder;
    ASSERT_EQ(flyTraining(host,
                          [&] {
                              other.scenario = host.scenario;
                              host.replace("GFX", static_cast<kv::GraphicsInterface&>(other.graphics));
                          },
                          &folder),
              0);
    EXPECT_GT(other.graphics.framesPresented, 100);
    EXPECT_EQ(host.graphics.framesPresented, 0) << "the host's own graphics is no longer reached";
    EXPECT_TRUE(other.log().records().empty()) << "the simulation behind the layer records nothing itself";
    EXPECT_GT(host.log().count("cameraApply"), 100u) << "calls on the cameras handed out are recorded";

    const std::string expected = traceOf(simulated.log(), simulatedFolder);
    const std::string got = traceOf(host.log(), folder);
    ASSERT_GT(expected.size(), 100000u);
    EXPECT_TRUE(got == expected) << "the first difference is at byte "
                                 << std::mismatch(got.begin(), got.end(), expected.begin(), expected.end()).first -
                                        got.begin();
}

// A HUD of the caller's is offered as the stand-in's is: only while the
// module file that offers it is loaded.
class OwnHud : public kv::HudInterface {
public:
    void hudInit(const char*) override { ++inits; }
    void hudShutdown() override { ++shutdowns; }
    void hudSetViewPosition(const double*) override {}
    void hudSetViewOrientation(const float*) override {}
    void hudRender() override { ++renders; }
    void hudRenderMap() override {}
    int inits = 0, shutdowns = 0, renders = 0;
};

TEST(ReplacedModule, OwnHudIsOfferedWhileItsModuleFileIsLoaded) {
    kvsim::SimHost host;
    OwnHud hud;
    ASSERT_EQ(flyTraining(host, [&] { host.replace("HUD", static_cast<kv::HudInterface&>(hud)); }), 0);
    EXPECT_EQ(hud.inits, 1);
    EXPECT_EQ(hud.shutdowns, 1);
    EXPECT_GT(hud.renders, 100);
    EXPECT_EQ(host.log().count("hudRender"), static_cast<std::size_t>(hud.renders));
    EXPECT_EQ(host.shell.held("HUD"), 0);
    void* slot = &hud;
    EXPECT_EQ(host.shell.GetInterface("HUD", &slot), 0) << "the HUD module was unloaded with the flight";
    EXPECT_EQ(slot, nullptr);
}
