#include <functional>
#include <utility>

#include "loadingscreen/loading_screen.h"
#include "tests/load/load_flight.h"
#include "tests/support/picture_file.h"

namespace kvtest {
namespace {

// What a load brings up once, each with what takes it down. Cameras and
// string tables are counted by what the stand-in host still holds.
const std::vector<std::pair<std::string, std::string>> kUpAndDown = {
    {"gfxInitDisplay", "gfxReleaseDisplay"},
    {"msgLoadMessageSystem", "msgUnloadMessageSystem"},
    {"sndLoadSoundList", "sndReleaseSounds"},
    {"spcLoadSpeechSystem", "spcUnloadSpeechSystem"},
    {"ptsLoadParticleSystemData", "ptsUnloadParticleSystemData"},
    {"envSetHorizonDistance", "envUnloadEnvironment"},
    {"ctlLoadControlMap", "ctlUnloadControlMap"},
    {"ffbLoadEffects", "ffbUnloadEffects"},
    {"vmgLoadViewList", "vmgUnloadViewList"},
    {"objInitObjects", "objReleaseObjects"},
    {"terInitTerrainSystem", "terReleaseTerrainSystem"},
    {"wldSetSectors", "wldRelease"},
    {"msnCreateMissionObjects", "msnDestroyMissionObjects"},
};

class LoadFailure : public LoadFlight {
protected:
    // Calls of op that succeeded: those without a result, or with a
    // nonzero one.
    int succeeded(const std::string& op) const {
        int n = 0;
        for (const auto& record : host.state.log.records())
            if (record.kind == kvsim::RecordKind::Call && record.op == op)
                n += !record.hasResult || !record.result.is_number() || record.result != 0;
        return n;
    }

    // Each subsystem that came up is down again, or (after a clean load)
    // up exactly once more than it was taken down.
    void expectUpMinusDown(int difference) {
        for (const auto& pair : kUpAndDown)
            EXPECT_EQ(succeeded(pair.first) - static_cast<int>(calls(pair.second)), difference)
                << balance(pair.first, pair.second);
    }

    void expectNothingLeft() {
        expectUpMinusDown(0);
        EXPECT_EQ(liveFltBlocks(), liveBeforeLoad) << "every block of the load is given back";
        EXPECT_EQ(host.state.refusedFrees, 0);
        EXPECT_EQ(host.text.loadedTables(), 0u);
        EXPECT_TRUE(host.graphics.cameras.empty());
        EXPECT_EQ(kv::mainCamera, nullptr);
        EXPECT_EQ(kv::mapCamera, nullptr);
        EXPECT_EQ(kv::mirrorCamera, nullptr);
        EXPECT_EQ(flight->loadingScreen, nullptr);
        for (char* text : {flight->textFilename, flight->controlMap, flight->soundList, flight->viewList,
                           flight->particleSystem, flight->environmentSystem, flight->messageSystem,
                           flight->speechSystem, flight->chatTextFile, flight->cursorString, flight->forceFeedback,
                           flight->commModulePath, flight->commDataFilename, flight->hudModulePath,
                           flight->hudDataFilename, flight->startView, flight->ejectView, flight->skipToNextView,
                           flight->autoPilotCommand, flight->forceFeedbackControl, flight->zoomControl})
            EXPECT_EQ(text, nullptr);
        EXPECT_EQ(flight->lock.count, 0) << "the lock is released";
    }

    // The 1-based number, in this flight, of the first memAlloc of size
    // bytes after the call named after (any call when empty).
    int allocationNumber(int32_t size, const std::string& after = "") const {
        int number = 0;
        bool armed = after.empty();
        for (const auto& record : host.state.log.records()) {
            if (record.kind != kvsim::RecordKind::Call) continue;
            if (!armed && stepMatches(record, after)) armed = true;
            if (record.op != "memAlloc") continue;
            ++number;
            if (armed && record.args[0] == size) return number;
        }
        return 0;
    }
};

struct FatalCase {
    const char* name;
    std::function<void(kvsim::SimHost&)> fail;
    const char* startFile;
    const char* text;
    // The last percentage the bar showed; "" when it was never shown.
    const char* bar;
    // The mission had been asked for its objects: it hears the flight end.
    bool missionEnded;
};

void PrintTo(const FatalCase& c, std::ostream* out) { *out << c.name; }

class FatalFailure : public LoadFailure, public ::testing::WithParamInterface<FatalCase> {};

// Each fatal failure: its text, where the bar stood, everything that had
// come up taken down, no block of the load left; then the host flies again
// and the next load starts every subsystem exactly once.
TEST_P(FatalFailure, LeavesNothingBehindAndTheNextLoadIsClean) {
    const FatalCase& c = GetParam();
    write("mission.tga", tinyTgaPicture());
    host.scenario.loadingImage = "mission.tga";
    c.fail(host);
    EXPECT_EQ(load(c.startFile), 0);
    const auto traces = host.log().traces();
    ASSERT_FALSE(traces.empty());
    EXPECT_EQ(traces.back(), c.text);
    const auto bar = percentagesDrawn();
    const bool shown = !std::string(c.bar).empty();
    EXPECT_EQ(bar.empty() ? std::string() : bar.back(), c.bar);
    // A screen that was shown fades out and gives its picture back while
    // the display it draws on is still up; one that was not, does not fade.
    EXPECT_EQ(calls("fadStartFadeOut"), shown ? 1u : 0u);
    if (shown) {
        EXPECT_TRUE(callsInOrder(host.log(), {"fadStartFadeOut", "gfxReleaseImage", "gfxReleaseDisplay"}));
        EXPECT_EQ(argsOf("gfxReleaseImage")[0], "image:1") << "the mission's picture";
    }
    // Once asked for its objects, the mission hears the flight end and
    // unloads, in the unloading's order; objects that failed are not
    // destroyed.
    if (c.missionEnded) {
        EXPECT_TRUE(callsInOrder(host.log(), {"msnCreateMissionObjects", "ctlUnloadControlMap", "msnEndFlight",
                                              "vmgUnloadViewList", "msnUnload", "objReleaseObjects",
                                              "gfxReleaseDisplay"}));
        EXPECT_EQ(calls("msnDestroyMissionObjects"), 0u);
    }
    EXPECT_EQ(calls("msnEndFlight"), c.missionEnded ? 1u : 0u);
    EXPECT_EQ(calls("msnUnload"), c.missionEnded ? 1u : 0u);
    expectNothingLeft();

    host.scenario = kvsim::Scenario{};
    host.scenario.optionsFile = "options.ini";
    host.scenario.mirrorTexture = 7;
    ASSERT_EQ(load(), 1);
    expectUpMinusDown(1);
    unload();
    expectNothingLeft();
}

INSTANTIATE_TEST_SUITE_P(
    Load, FatalFailure,
    ::testing::Values(
        FatalCase{"StartupFileMissing", [](kvsim::SimHost&) {}, "missing.ini", "Error Reading missing.ini!", "", false},
        FatalCase{"Display", [](kvsim::SimHost& h) { h.scenario.failDisplay = 1; }, "flight.ini",
                  "Error Setting Graphics Display!", "", false},
        FatalCase{"Terrain", [](kvsim::SimHost& h) { h.scenario.failTerrain = 1; }, "flight.ini",
                  "...error while loading terrain!", "60%", false},
        FatalCase{"MissionObjects", [](kvsim::SimHost& h) { h.scenario.failMissionObjects = 1; }, "flight.ini",
                  "...error while creating mission objects!", "80%", true}),
    [](const ::testing::TestParamInfo<FatalCase>& info) { return std::string(info.param.name); });

// A network flight that fails gives the options module its player's own
// options back, as the unloading does.
TEST_F(LoadFailure, FailedNetworkLoadRestoresThePlayersOptions) {
    host.scenario.network = 1;
    host.scenario.failTerrain = 1;
    EXPECT_EQ(load(), 0);
    EXPECT_TRUE(callsInOrder(host.log(), {"terInitTerrainSystem", "ctlUnloadControlMap", "GetInterface OPT",
                                          "optReloadOptions", "ReleaseInterface OPT", "gfxReleaseDisplay"}));
    expectNothingLeft();
}

// The host refuses the loading screen's storage: the load fails before
// anything else starts. It refuses the map camera's extra block: the
// flight loads with a null block, which the unloading leaves alone.
TEST_F(LoadFailure, RefusedAllocations) {
    ASSERT_EQ(load(), 1);
    const int screen = allocationNumber(static_cast<int32_t>(sizeof(kv::LoadingScreen)));
    const int mapBlock = allocationNumber(52, "gfxCreateCamera");
    ASSERT_GT(screen, 0);
    ASSERT_GT(mapBlock, 0);
    unload();

    host.scenario.failAllocation = screen;
    host.log().clear();
    EXPECT_EQ(load(), 0);
    EXPECT_EQ(calls("fmgFileExists"), 0u);
    EXPECT_EQ(calls("gfxInitDisplay"), 0u);
    expectNothingLeft();

    host.scenario.failAllocation = mapBlock;
    host.log().clear();
    ASSERT_EQ(load(), 1);
    kv::CameraParams* params = nullptr;
    kv::mapCamera->cameraGetParams(&params);
    ASSERT_NE(params, nullptr);
    EXPECT_EQ(params->extraBlock, nullptr);
    unload();
    expectNothingLeft();
}

}  // namespace
}  // namespace kvtest
