// A caller's own module in place of a simulated one: the module reaches the
// caller's object, every call still goes into the log, and the flight runs
// as it does with the simulation.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "entry/module_entry.h"
#include "sim/module_driver.h"
#include "sim/scenario_file.h"
#include "sim/sim_host.h"
#include "tests/sim/scratch_folder.h"
#include "tests/support/call_sequence.h"

namespace {

namespace fs = std::filesystem;

// A messages module of the caller's: keeps each text with the frame the
// stand-in had in progress.
class OwnMessages : public kv::MessagesInterface {
public:
    explicit OwnMessages(const kvsim::SimWorld& world) : world_(world) {}
    void msgLoadMessageSystem(const char* fileName) override { loaded.emplace_back(fileName ? fileName : "(null)"); }
    void msgUnloadMessageSystem() override { ++unloads; }
    void msgShowText(const char* format, ...) override {
        char line[1024];
        va_list args;
        va_start(args, format);
        std::vsnprintf(line, sizeof line, format, args);
        va_end(args);
        formats.emplace_back(format);
        shown.emplace_back(world_.frame, line);
    }
    void msgShowEntryLine(const char*, ...) override { ++entryLines; }
    void msgUpdate(float) override { ++updates; }
    void msgRender() override { ++renders; }

    std::vector<std::string> loaded;
    std::vector<std::string> formats;
    std::vector<std::pair<int32_t, std::string>> shown;
    int unloads = 0, entryLines = 0, updates = 0, renders = 0;

private:
    const kvsim::SimWorld& world_;
};

// The training flight, copied to a scratch folder, with whatever the
// caller does to the host before binding.
template <typename Prepare>
int32_t flyTraining(kvsim::SimHost& host, Prepare prepare) {
    kvtest::ScratchFolder scratch("replaced-module");
    // Into a folder of its own: the Windows runtime's copy will not copy a
    // folder into one that already exists.
    const fs::path folder = scratch.path() / "training";
    fs::copy(KORVANE_EXAMPLES "/training", folder, fs::copy_options::recursive);
    kvsim::ScenarioError problem;
    EXPECT_TRUE(kvsim::readScenarioFile((folder / "scenario.ini").string(), host.scenario, problem))
        << problem.text();
    prepare();
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
    OwnMessages own(host.world);
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

// A graphics module of the caller's that is the simulation of another
// world: the replaced flight's graphics calls, their order and their
// results are the ones the other world's log saw.
TEST(ReplacedModule, RecordingLayerPassesEachCallOnUnchanged) {
    kvsim::SimHost host;
    kvsim::SimWorld other;
    kvsim::SimGraphics graphics(other);
    ASSERT_EQ(flyTraining(host, [&] {
                  other.scenario = host.scenario;
                  host.replace("GFX", static_cast<kv::GraphicsInterface&>(graphics));
              }),
              0);
    // Calls on the objects the graphics module hands out (cameras, the
    // display) go to those objects, not through the layer.
    const auto graphicsCalls = [](const kvsim::CallLog& log) {
        std::vector<const kvsim::CallRecord*> calls;
        for (const auto& record : log.records())
            if (record.kind == kvsim::RecordKind::Call && record.op.compare(0, 3, "gfx") == 0) calls.push_back(&record);
        return calls;
    };
    const std::vector<const kvsim::CallRecord*> recorded = graphicsCalls(host.log());
    const std::vector<const kvsim::CallRecord*> seen = graphicsCalls(other.log);
    ASSERT_EQ(recorded.size(), seen.size());
    ASSERT_GT(seen.size(), 1000u);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        ASSERT_EQ(recorded[i]->op, seen[i]->op) << "call " << i;
        ASSERT_EQ(recorded[i]->hasResult, seen[i]->hasResult) << seen[i]->op;
        if (seen[i]->result.is_number() || seen[i]->result.is_string()) {
            ASSERT_EQ(recorded[i]->result, seen[i]->result) << seen[i]->op;
        }
        // The simulation records some calls with what it knows of them (the
        // selected camera's parameters, the image in a slot); the layer
        // records the arguments alone, and a slot as a pointer of its own.
        const std::size_t common = std::min(recorded[i]->args.size(), seen[i]->args.size());
        for (std::size_t a = 0; a < common; ++a) {
            const kvsim::Json& got = recorded[i]->args[a];
            const kvsim::Json& want = seen[i]->args[a];
            const bool slot = got.is_string() && got.get<std::string>().compare(0, 8, "pointer:") == 0;
            if (want.is_number() || want.is_object() || (want.is_string() && !slot)) {
                ASSERT_EQ(got, want) << seen[i]->op << " argument " << a;
            }
        }
    }
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
