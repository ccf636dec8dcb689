#include "tests/load/load_flight.h"

namespace kvtest {
namespace {

using Unload = LoadFlight;

void expectTextsFreed(const kv::FlightModule& f) {
    for (const char* text : {f.textFilename, f.controlMap, f.soundList, f.viewList, f.particleSystem,
                             f.environmentSystem, f.messageSystem, f.speechSystem, f.chatTextFile, f.cursorString,
                             f.forceFeedback, f.commModulePath, f.commDataFilename, f.hudModulePath,
                             f.hudDataFilename, f.startView, f.ejectView, f.skipToNextView, f.autoPilotCommand,
                             f.forceFeedbackControl, f.zoomControl})
        EXPECT_EQ(text, nullptr);
}

TEST_F(Unload, SinglePlayerFlightComesDownInLayers) {
    ASSERT_EQ(load(), 1);
    kv::CameraParams* mapParams = nullptr;
    kv::mapCamera->cameraGetParams(&mapParams);
    ASSERT_NE(mapParams->extraBlock, nullptr);
    host.log().clear();
    unload();
    EXPECT_TRUE(callsInOrder(host.log(), {
        "sndStopStream", "sndStopAllSounds", "sndReleaseSounds",
        "ffbUnloadEffects",
        "ctlSetActive", "ctlSetInputEnabled", "ctlUnloadControlMap",
        "msnEndFlight",
        "ReleaseInterface AVN",
        "hudShutdown", "ReleaseInterface HUD", "dllUnloadModule",
        "comShutdown", "ReleaseInterface COM", "dllUnloadModule",
        "txtUnloadTextFile flight.txt", "txtUnloadTextFile chat.txt",
        "wldRelease", "vmgUnloadViewList", "msnUnload", "msnDestroyMissionObjects", "objReleaseObjects",
        "spcUnloadSpeechSystem", "ptsUnloadParticleSystemData", "terReleaseTerrainSystem", "envUnloadEnvironment",
        "gfxDestroyCamera", "cameraGetParams", "memFree", "gfxDestroyCamera", "gfxDestroyCamera",
        "gfxReleaseDisplay", "msgUnloadMessageSystem",
    }));
    EXPECT_TRUE(callsMatching(host.log(), {"GetInterface OPT", "optReloadOptions"}).empty())
        << "a single-player flight hands back no options";
    EXPECT_EQ(calls("gfxDestroyCamera"), 3u);
    EXPECT_TRUE(host.graphics.cameras.empty());
    EXPECT_EQ(kv::mainCamera, nullptr);
    EXPECT_EQ(kv::mapCamera, nullptr);
    EXPECT_EQ(kv::mirrorCamera, nullptr);
    EXPECT_EQ(flight->hudInterface, nullptr);
    EXPECT_EQ(flight->commInterface, nullptr);
    EXPECT_EQ(flight->avionicsInterface, nullptr);
    EXPECT_EQ(host.dll.loadedModules(), 0);
    EXPECT_EQ(host.text.loadedTables(), 0u);
    expectTextsFreed(*flight);
    // The map's block went back once, with every text: nothing of the
    // flight is left, and nothing was freed twice.
    EXPECT_EQ(liveFltBlocks(), liveBeforeLoad);
    EXPECT_EQ(host.state.refusedFrees, 0);
    EXPECT_EQ(flight->lock.count, 0);
}

TEST_F(Unload, NetworkFlightReloadsThePlayersOptions) {
    host.scenario.network = 1;
    ASSERT_EQ(load(), 1);
    host.log().clear();
    unload();
    EXPECT_TRUE(callsInOrder(host.log(), {"ctlUnloadControlMap", "GetInterface OPT", "optReloadOptions",
                                          "ReleaseInterface OPT", "msnEndFlight"}));
    EXPECT_EQ(calls("optReloadOptions"), 1u);
    EXPECT_EQ(host.shell.held("OPT"), 0);
    EXPECT_EQ(liveFltBlocks(), liveBeforeLoad) << "the host's settings written for the flight are gone";

    // Without an options module there is nothing to reload.
    host.shell.remove("OPT");
    ASSERT_EQ(load(), 1);
    host.log().clear();
    unload();
    EXPECT_EQ(callsMatching(host.log(), {"GetInterface OPT"}).size(), 1u);
    EXPECT_EQ(calls("optReloadOptions"), 0u);
    EXPECT_TRUE(callsMatching(host.log(), {"ReleaseInterface OPT"}).empty());
    expectTextsFreed(*flight);
}

// Texts that were never set are freed as null; empty text file names skip
// the text service.
TEST_F(Unload, MissingTextFilesSkipTheTextService) {
    std::string startup = kStartupFile;
    for (const char* key : {"TextFilename=flight.txt\n", "TargetText=chat.txt\n"})
        startup.erase(startup.find(key), std::strlen(key));
    write("flight.ini", startup);
    ASSERT_EQ(load(), 1);
    host.log().clear();
    unload();
    EXPECT_EQ(calls("txtUnloadTextFile"), 0u);
    expectTextsFreed(*flight);
    EXPECT_EQ(liveFltBlocks(), liveBeforeLoad);
}

}  // namespace
}  // namespace kvtest
