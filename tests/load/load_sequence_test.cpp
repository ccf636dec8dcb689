#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "tests/load/load_flight.h"

namespace kvtest {
namespace {

using LoadSequence = LoadFlight;

// The whole loading, milestone by milestone: each percentage the loading
// screen draws sits between the steps it marks.
TEST_F(LoadSequence, CompleteLoadBringsEverySubsystemUpInOrder) {
    // A numbered picture name: the loading screen is shown with no index.
    host.scenario.loadingImage = "load%d.tga";
    ASSERT_EQ(load(), 1);
    EXPECT_TRUE(callsInOrder(host.log(), {
        "memCheckpoint Start of _LoadKorvane",
        "msnIsNetworkMission",
        "GetInterface OPT", "optGetDocument", "optReleaseDocument", "ReleaseInterface OPT",
        "fmgFileExists", "txtLoadTextFile loading.txt", "txtLoadTextFile flight.txt", "txtLoadTextFile chat.txt",
        "gfxInitDisplay", "gfxSetDefaultColor", "gfxConfigure",
        "gfxCreateCamera", "cameraGetParams", "gfxSetCamera",
        "sndSetFormat",
        "gfxSetTextureLimit", "gfxEnableTextureLimit",
        "msnGetLoadingImage", "fadStartFadeIn", "gfxDrawText 0%", "fadStep",
        "gfxEnableTextureLimit",
        "gfxCreateCamera", "cameraGetParams", "cameraSetOrientation",
        "gfxDrawText 10%",
        "msgLoadMessageSystem messages.dat", "sndLoadSoundList sounds.lst", "sndPrepare",
        "spcLoadSpeechSystem speech.dat", "spcSetSubtitles",
        "memCheckpoint Before ptsLoadParticleSystemData", "gfxDrawText 20%",
        "ptsLoadParticleSystemData particles.dat", "gfxDrawText 30%",
        "memCheckpoint After ptsLoadParticleSystemData",
        "envSetHorizonDistance", "terGetTerrainInfo", "envSetTerrainParameter", "envLoadEnvironment default.env",
        "ctlLoadControlMap keys.map", "ctlSetKeyRepeat",
        "ctlGetControlId FFB_STRENGTH", "ctlGetControlEvent", "ffbSetControlEvent", "ffbLoadEffects effects.ffb",
        "ctlRegisterCommand",
        "ctlGetControlId AUTOPILOT", "ctlGetControlEvent",
        "ctlGetControlId MAP_ZOOM", "gfxDrawText 40%",
        "vmgLoadViewList views.lst", "gfxDrawText 50%",
        "objInitObjects", "gfxDrawText 60%",
        "memCheckpoint Before terInitTerrainSystem", "gfxSetTextureLimit", "gfxEnableTextureLimit",
        "terInitTerrainSystem", "gfxDrawText 70%", "memCheckpoint After terInitTerrainSystem",
        "wldSetSectors", "wldSetBounds", "gfxDrawText 80%",
        "gfxSetTextureLimit", "gfxEnableTextureLimit",
        "msnCreateMissionObjects", "gfxDrawText 90%",
        "msnGetPlayerObject", "gfxSetTextureLimit", "gfxEnableTextureLimit", "objSetPlayerObject",
        "objGetObjectInterface", "controlsGetState", "controlsGetState", "gfxCreateCamera", "gfxGetTextureSize",
        "msnLoadSpeech speech.dat",
        "dllLoadModule", "GetInterface HUD", "hudInit hud.dat",
        "GetInterface AVN", "gfxDrawText 100%",
        "dllLoadModule", "GetInterface COM", "comInit comm.dat",
        "vmgCreateView Cockpit", "vmgSelectPlayerView", "vmgUpdate",
        "msnGetInitialEnvironmentRecord", "envInitFromMissionRecord",
        "msnGetEnvironmentRecord", "envApplyMissionRecord",
        "gfxEnableTextureLimit",
        "fadStartFadeOut",
        "objSetPlayerControl", "ctlSetInputEnabled",
        "memCheckpoint End of _LoadKorvane",
        "msnGetMissionSetup",
        "vmgEnableViewControls", "ctlSetCommandFilter",
    }));
    EXPECT_EQ(callsMatching(host.log(), {"memCheckpoint"}),
              (std::vector<std::string>{"memCheckpoint Start of _LoadKorvane",
                                        "memCheckpoint Before ptsLoadParticleSystemData",
                                        "memCheckpoint After ptsLoadParticleSystemData",
                                        "memCheckpoint Before terInitTerrainSystem",
                                        "memCheckpoint After terInitTerrainSystem",
                                        "memCheckpoint End of _LoadKorvane"}));
    // show draws the empty bar, then ten advance(10); two passes each.
    EXPECT_EQ(percentagesDrawn(),
              (std::vector<std::string>{"0%", "0%", "10%", "10%", "20%", "20%", "30%", "30%", "40%", "40%",
                                        "50%", "50%", "60%", "60%", "70%", "70%", "80%", "80%", "90%", "90%",
                                        "100%", "100%"}));
    // Texture limits: none for the loading screen's picture, then the
    // terrain's, the objects' and the cockpit's (512 from the low detail
    // section), each enabled only while it is not -1.
    EXPECT_EQ(firstArgs("gfxSetTextureLimit"), (std::vector<kvsim::Json>{-1, 512, 512, 512}));
    EXPECT_EQ(firstArgs("gfxEnableTextureLimit"), (std::vector<kvsim::Json>{1, 0, 1, 1, 0, 1}));
    EXPECT_EQ(argsOf("sndSetFormat"), (kvsim::Json{8, 22050}));
    EXPECT_EQ(argsOf("wldSetSectors"), (kvsim::Json{16, 12, 64}));
    EXPECT_EQ(argsOf("wldSetBounds"), (kvsim::Json{5000.0f, 9000.0f, -100.0f})) << "maximum before minimum";
    EXPECT_EQ(argsOf("ptsLoadParticleSystemData"), (kvsim::Json{"particles.dat", 2}));
    EXPECT_EQ(argsOf("vmgCreateView"), (kvsim::Json{"Cockpit", host.scenario.playerObject, 1}));
    EXPECT_EQ(argsOf("ctlLoadControlMap"), (kvsim::Json{"keys.map", 1}));
    EXPECT_EQ(argsOf("spcSetSubtitles"), kvsim::Json::array({1}));
    EXPECT_EQ(firstArgs("gfxCreateCamera"), (std::vector<kvsim::Json>{0, 1, 0}));
    const auto pictures = callsMatching(host.log(), {"gfxLoadImage"});
    ASSERT_FALSE(pictures.empty());
    for (const auto& picture : pictures) EXPECT_EQ(picture, "gfxLoadImage load%d.tga");
    // The flight is handed over: player and view controls on, no filter.
    EXPECT_EQ(argsOf("objSetPlayerControl"), kvsim::Json::array({1}));
    EXPECT_EQ(argsOf("ctlSetInputEnabled"), kvsim::Json::array({1}));
    EXPECT_EQ(argsOf("vmgEnableViewControls"), kvsim::Json::array({1}));
    EXPECT_EQ(argsOf("ctlSetCommandFilter"), kvsim::Json::array({nullptr}));
    EXPECT_EQ(calls("fadStartFadeOut"), 1u);
    EXPECT_EQ(calls("netUpdate"), 0u) << "a single-player flight pumps no network";
    EXPECT_EQ(flight->loadingScreen, nullptr);
    EXPECT_EQ(flight->playerObjectId, host.scenario.playerObject);
    EXPECT_NE(flight->hudInterface, nullptr);
    EXPECT_NE(flight->commInterface, nullptr);
    EXPECT_NE(flight->avionicsInterface, nullptr);
    EXPECT_EQ(flight->autoPilotAvailable, 1);
    // The autopilot's event is kept by value: the controls module's own copy
    // may change.
    const int32_t autoPilotId = host.controls.controls.at("AUTOPILOT");
    EXPECT_EQ(std::vector<int32_t>(flight->autoPilotEvent.words, flight->autoPilotEvent.words + 4),
              (std::vector<int32_t>{autoPilotId, 1, 0, 0}));
    EXPECT_NE(flight->zoomControlId, -1);
}

TEST_F(LoadSequence, CamerasCarryTheFlightsParameters) {
    // Fresh blocks arrive dirty, as from a heap that does not clear them.
    host.memory.fillByte = 0xA5;
    ASSERT_EQ(load(), 1);
    ASSERT_EQ(host.graphics.cameras.size(), 3u);
    // ObjectDetail 1 scales the start-up MinPixelSize 3.0 by 1.5.
    EXPECT_FLOAT_EQ(flight->minPixelSize, 4.5f);

    const kv::CameraParams& main = host.graphics.cameras[0]->params;
    EXPECT_EQ(host.graphics.cameras[0]->kind, 0);
    EXPECT_EQ(main.viewportLeft, 0);
    EXPECT_EQ(main.viewportTop, 0);
    EXPECT_EQ(main.viewportRight, 1023);
    EXPECT_EQ(main.viewportBottom, 767);
    EXPECT_FLOAT_EQ(main.farClip, 20000.0f);
    EXPECT_FLOAT_EQ(main.nearClip, 2.0f);
    EXPECT_FLOAT_EQ(main.aspectRatio, 1.5f);
    EXPECT_FLOAT_EQ(main.minPixelSize, 4.5f);
    EXPECT_EQ(host.behind(kv::mainCamera), static_cast<kv::Camera*>(host.graphics.cameras[0].get()));

    const kv::CameraParams& map = host.graphics.cameras[1]->params;
    EXPECT_EQ(host.graphics.cameras[1]->kind, 1);
    EXPECT_EQ(map.viewportRight, 1023);
    EXPECT_EQ(map.viewportBottom, 767);
    EXPECT_FLOAT_EQ(map.farClip, 100000.0f);
    EXPECT_FLOAT_EQ(map.nearClip, 100.0f);
    EXPECT_FLOAT_EQ(map.fieldOfView, 90.0f);
    EXPECT_FLOAT_EQ(map.aspectRatio, 1.5f);
    EXPECT_FLOAT_EQ(map.minPixelSize, 4.5f);
    ASSERT_NE(map.extraBlock, nullptr);
    const char zeros[52] = {};
    EXPECT_EQ(std::memcmp(map.extraBlock, zeros, sizeof zeros), 0);

    // Straight down: (1, 0, 0), (0, c, -1), (0, 1, c) with c the cosine of
    // the 32-bit pitch, a tiny negative number rather than 0.
    const float* m = host.graphics.cameras[1]->orientation;
    const float c = static_cast<float>(std::cos(-1.5707963705062866));
    const float expected[9] = {1, 0, 0, 0, c, -1, 0, 1, c};
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(m[i], expected[i], 1e-12) << "element " << i;
    EXPECT_LT(m[4], 0.0f);
    EXPECT_NEAR(m[4], -4.371139e-8f, 1e-13f);

    // The mirror draws into texture 7, whose size the graphics module tells.
    const kv::CameraParams& mirror = host.graphics.cameras[2]->params;
    EXPECT_EQ(flight->cockpitMirrors, 1);
    EXPECT_EQ(flight->mirrorTextureId, 7);
    EXPECT_TRUE(callsInOrder(host.log(), {"controlsGetState", "controlsGetState", "gfxGetTextureSize"}));
    EXPECT_EQ(mirror.viewportLeft, 0);
    EXPECT_EQ(mirror.viewportTop, 0);
    EXPECT_EQ(mirror.viewportRight, 255);
    EXPECT_EQ(mirror.viewportBottom, 255);
    EXPECT_FLOAT_EQ(mirror.nearClip, 2.0f);
    EXPECT_FLOAT_EQ(mirror.aspectRatio, 1.0f);
    EXPECT_FLOAT_EQ(mirror.minPixelSize, 4.5f);
    EXPECT_FLOAT_EQ(mirror.fieldOfView, 45.0f);

    // ObjectDetail 0 doubles the start-up size, 2 leaves it as it is.
    for (const auto& detail : {std::pair<int, float>{0, 6.0f}, std::pair<int, float>{2, 3.0f}}) {
        SCOPED_TRACE(detail.first);
        unload();
        std::string options = kOptionsFile;
        options.replace(options.find("ObjectDetail=1"), 14, "ObjectDetail=" + std::to_string(detail.first));
        write("options.ini", options);
        ASSERT_EQ(load(), 1);
        EXPECT_FLOAT_EQ(flight->minPixelSize, detail.second);
        EXPECT_FLOAT_EQ(host.graphics.cameras[0]->params.minPixelSize, detail.second);
    }
}

// An aircraft without a mirror texture, or without flight controls at all,
// gets no mirror camera, and the option is off for the flight.
// A texture resolution of -1 is no limit: the terrain's and the objects'
// limits are set to it and left disabled (the loading screen's own is
// enabled as always, the cockpit's never).
TEST_F(LoadSequence, NoTextureLimitIsEnabledForAResolutionOfMinusOne) {
    std::string startup = kStartupFile;
    const std::string limited = "MaxTextureRes=512";
    startup.replace(startup.find(limited), limited.size(), "MaxTextureRes=-1");
    write("flight.ini", startup);
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(firstArgs("gfxSetTextureLimit"), (std::vector<kvsim::Json>{-1, -1, -1, -1}));
    EXPECT_EQ(firstArgs("gfxEnableTextureLimit"), (std::vector<kvsim::Json>{1, 0, 0, 0, 0, 0}));
}

TEST_F(LoadSequence, NoMirrorWithoutTextureOrFlightControls) {
    host.scenario.mirrorTexture = -1;
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(flight->cockpitMirrors, 0);
    EXPECT_EQ(kv::mirrorCamera, nullptr);
    EXPECT_EQ(host.graphics.cameras.size(), 2u);
    unload();

    host.scenario.mirrorTexture = 7;
    host.scenario.playerInterfaces = {2, 4, 10, 11};
    host.log().clear();
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(flight->cockpitMirrors, 0);
    EXPECT_EQ(flight->mirrorTextureId, -1);
    EXPECT_EQ(kv::mirrorCamera, nullptr);
    EXPECT_EQ(calls("controlsGetState"), 0u);
    EXPECT_EQ(calls("gfxGetTextureSize"), 0u);
}

// Every (N) mark pumps once: marks inside steps 7, 16, 18, 27 and 30 as
// well as those after a step.
TEST_F(LoadSequence, NetworkFlightIsPumpedAtEveryMark) {
    host.scenario.network = 1;
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(flight->networkFlight, 1);
    EXPECT_EQ(calls("netUpdate"), 37u);
    EXPECT_EQ(calls("netFlush"), 37u);
    EXPECT_TRUE(callsInOrder(host.log(), {
        "msnIsNetworkMission", "netUpdate", "netFlush", "GetInterface OPT",
        "gfxSetDefaultColor", "netUpdate", "netFlush", "gfxConfigure",
        "msgLoadMessageSystem", "netUpdate", "sndLoadSoundList", "netUpdate", "sndPrepare",
        "spcLoadSpeechSystem", "netUpdate", "spcSetSubtitles",
        "ptsLoadParticleSystemData", "netUpdate", "gfxDrawText 30%", "memCheckpoint After ptsLoadParticleSystemData",
        "netUpdate",
        "objInitObjects", "netUpdate", "gfxDrawText 60%", "netUpdate",
        "terInitTerrainSystem", "netUpdate", "gfxDrawText 70%", "netUpdate",
        "memCheckpoint After terInitTerrainSystem",
        "fadStartFadeOut", "netUpdate", "objSetPlayerControl",
        "ctlSetCommandFilter", "netUpdate", "netFlush",
    }));
    unload();

    // A network mission on a host without a network interface flies alone.
    host.shell.remove("NET");
    driver.exitDll();
    driver.initDll(0);
    host.log().clear();
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(flight->networkFlight, 0);
    EXPECT_EQ(calls("netUpdate"), 0u);
}

TEST_F(LoadSequence, GameModeAndPerFlightFlags) {
    // Left over from a previous flight: cleared by the load.
    flight->chatRequested = 1;
    flight->chatActive = 1;
    flight->ejected = 1;
    flight->mapShown = 1;
    flight->skipToNextActive = 1;
    flight->screenshotInterval = 4.0f;
    flight->screenshotTimer = 2.0f;
    host.scenario.gameMode = 3;
    host.scenario.modeSeconds = 10;
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(flight->chatRequested, 0);
    EXPECT_EQ(flight->chatActive, 0);
    EXPECT_EQ(flight->ejected, 0);
    EXPECT_EQ(flight->mapShown, 0);
    EXPECT_EQ(flight->skipToNextActive, 0);
    EXPECT_FLOAT_EQ(flight->screenshotInterval, 10.0f);
    EXPECT_FLOAT_EQ(flight->screenshotTimer, 0.0f) << "the first screenshot is not held back";
    EXPECT_EQ(flight->waitingForPlayers, 0);
    unload();

    host.scenario.gameMode = 4;
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(flight->waitingForPlayers, 1);
    EXPECT_FLOAT_EQ(flight->screenshotInterval, 0.0f);
    unload();

    // A mode-3 record without its timing record reads 0 seconds; no record
    // at all reads as mode 0.
    host.scenario.gameMode = 3;
    host.mission.withoutTiming = true;
    ASSERT_EQ(load(), 1);
    EXPECT_FLOAT_EQ(flight->screenshotInterval, 0.0f);
    unload();
    host.scenario.gameMode = 4;
    host.scenario.nullMissionSetup = true;
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(flight->missionSetup, nullptr);
    EXPECT_EQ(flight->waitingForPlayers, 0);
}

TEST_F(LoadSequence, EnvironmentFromTheTerrainOrTheDefault) {
    // The terrain names its own environment, which loads: no default.
    host.terrain.baseDirectory = "terrain\\alps";
    host.terrain.environmentFile = "alps.env";
    host.terrain.environmentParameter = 42;
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(callsMatching(host.log(), {"envLoadEnvironment", "envSetTerrainParameter"}),
              (std::vector<std::string>{"envLoadEnvironment terrain\\alps\\alps.env", "envSetTerrainParameter"}));
    EXPECT_EQ(argsOf("envSetTerrainParameter"), kvsim::Json::array({42}));
    unload();

    // It does not load: the parameter still goes, then the default.
    host.environment.loadResults["terrain\\alps\\alps.env"] = 0;
    host.log().clear();
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(callsMatching(host.log(), {"envLoadEnvironment", "envSetTerrainParameter"}),
              (std::vector<std::string>{"envLoadEnvironment terrain\\alps\\alps.env", "envSetTerrainParameter",
                                        "envLoadEnvironment default.env"}));
    unload();

    // No terrain information at all: only the default.
    host.terrain.hasInfo = false;
    host.log().clear();
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(callsMatching(host.log(), {"envLoadEnvironment", "envSetTerrainParameter"}),
              (std::vector<std::string>{"envLoadEnvironment default.env"}));
}

// Control names the control map does not know: the effects module is not
// handed a null event but still loads its effects; no autopilot.
TEST_F(LoadSequence, UnknownControlNames) {
    std::string startup = kStartupFile;
    startup.replace(startup.find("FFB_STRENGTH"), 12, "NO_SUCH_AXIS");
    startup.replace(startup.find("AutoPilotCommand=AUTOPILOT"), 26, "AutoPilotCommand=NO_SUCH_COMMAND");
    write("flight.ini", startup);
    flight->autoPilotAvailable = 1;
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(calls("ffbSetControlEvent"), 0u);
    EXPECT_EQ(callsMatching(host.log(), {"ffbLoadEffects effects.ffb"}).size(), 1u);
    EXPECT_EQ(flight->autoPilotAvailable, 0);
}

// HUD and Comm: a path that is empty, a module that fails to load, a module
// that loads without an interface. Avionics is asked for on every load.
TEST_F(LoadSequence, PerFlightModules) {
    host.scenario.failHudModule = 1;
    host.dll.withoutInterface.insert("COM");
    host.scenario.hasAvn = false;
    ASSERT_EQ(load(), 1);
    EXPECT_TRUE(callsMatching(host.log(), {"GetInterface HUD"}).empty());
    EXPECT_EQ(flight->hudInterface, nullptr);
    EXPECT_EQ(calls("hudInit"), 0u);
    const auto traces = host.log().traces();
    ASSERT_FALSE(traces.empty());
    EXPECT_EQ(traces.back(), "Unable to load HUD DLL " + std::string(flight->hudModulePath) + "!");
    EXPECT_EQ(callsMatching(host.log(), {"GetInterface COM"}).size(), 1u);
    EXPECT_EQ(flight->commInterface, nullptr);
    EXPECT_EQ(calls("comInit"), 0u);
    EXPECT_EQ(callsMatching(host.log(), {"GetInterface AVN"}).size(), 1u);
    EXPECT_EQ(flight->avionicsInterface, nullptr);

    // The Comm module loaded without an interface is unloaded all the same.
    host.log().clear();
    unload();
    EXPECT_EQ(calls("comShutdown"), 0u);
    EXPECT_EQ(callsMatching(host.log(), {"dllUnloadModule"}).size(), 1u);
    EXPECT_EQ(host.dll.loadedModules(), 0);

    // No module paths in the start-up file: nothing is loaded or asked for.
    std::string startup = kStartupFile;
    for (const char* key : {"HUDDLL=Hud\n", "CommDLL=Comm\n"}) startup.erase(startup.find(key), std::strlen(key));
    write("flight.ini", startup);
    host.log().clear();
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(calls("dllLoadModule"), 0u);
    EXPECT_TRUE(callsMatching(host.log(), {"GetInterface HUD", "GetInterface COM"}).empty());
    EXPECT_TRUE(host.log().traces().empty() ||
                host.log().traces().back().find("Unable to load") == std::string::npos);
    EXPECT_EQ(callsMatching(host.log(), {"GetInterface AVN"}).size(), 1u);
}

// A flight loaded only to be unloaded: the load stops after the mirror,
// with the loading screen closed and freed.
TEST_F(LoadSequence, SkipFlightStopsAfterTheMirror) {
    write("flight.ini", std::string("[Debug]\nSkipFlight=TRUE\n") + kStartupFile);
    ASSERT_EQ(load(), 1);
    EXPECT_EQ(flight->skipFlight, 1);
    EXPECT_TRUE(callsInOrder(host.log(), {"objGetObjectInterface", "gfxCreateCamera", "fadStartFadeOut"}));
    EXPECT_EQ(flight->loadingScreen, nullptr);
    for (const char* op : {"msnLoadSpeech", "dllLoadModule", "vmgCreateView", "envInitFromMissionRecord",
                           "objSetPlayerControl", "msnGetMissionSetup", "vmgEnableViewControls"})
        EXPECT_EQ(calls(op), 0u) << op;
    EXPECT_EQ(callsMatching(host.log(), {"GetInterface AVN"}).size(), 0u);
    unload();
    EXPECT_EQ(calls("hudShutdown") + calls("comShutdown") + calls("dllUnloadModule"), 0u);
    EXPECT_EQ(calls("gfxDestroyCamera"), 3u);
    // The mission was asked for its objects: it hears the flight end and
    // unloads, as after a failed load.
    EXPECT_TRUE(callsInOrder(host.log(), {"msnCreateMissionObjects", "msnEndFlight", "msnUnload",
                                          "msnDestroyMissionObjects"}));
    EXPECT_EQ(calls("msnEndFlight"), 1u);
    EXPECT_EQ(calls("msnUnload"), 1u);
}

}  // namespace
}  // namespace kvtest
