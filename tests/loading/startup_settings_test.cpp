#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "loadingscreen/loading_screen.h"
#include "module/services.h"
#include "tests/loading/flight_directory.h"
#include "tests/support/call_sequence.h"
#include "tests/support/trace_lines.h"

namespace {

using kvtest::callsInOrder;

bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
    for (const auto& l : lines)
        if (l == line) return true;
    return false;
}

// What txtGetStringId returned for name, from the call log; -2 when absent.
int32_t loggedStringId(const kvsim::CallLog& log, const std::string& name) {
    for (const auto& record : log.records())
        if (record.op == "txtGetStringId" && record.args.size() > 1 && record.args[1] == name)
            return record.result.get<int32_t>();
    return -2;
}

const char* const kFullFile =
    "[Debug]\nSkipFlight=TRUE\n"
    "[Korvane]\n"
    "HUDDLL=Hud\nHUDDataFilename=Hud.dat\nCommDLL=..\\Mods\\Comm.dll\nCommDataFilename=Comm.dat\n"
    "SoundList=Sounds.lst\nViewList=Views.lst\nParticleSystem=Particles.psd\n"
    "EnvironmentSystem=Env.dat\nMessageSystem=Msg.dat\nSpeechSystem=Speech.dat\n"
    "ForceFeedback=Ffb.dat\nForceFeedbackControl=Stick\nTextFilename=Flight.txt\n"
    "DeltaT=0.02\nMaxDeltaT=0.5\nStartTimeCompression=2\nMaxTimeCompression=8\nChangeTimeAmount=5\n"
    "StartPaused=1\nShowCockpit=true\nEjectView=EjectCam\n"
    "[SoundSettings]\nSampleFrequency=22050\nBitsPerSample=8\n"
    "[GraphicsSettings]\nZBufferDepth=32\nMaxVertexCount=4096\nMaxLightPerScene=8\nAspectRatio=1.6\n"
    "[FarSceneClip]\nFarClipDistance=90000\nNearClipDistance=500\n"
    "[NearSceneClip]\nNearClipDistance=0.25\n"
    "[WorldSettings]\nSectorWidth=64\nMaxHeight=30000\n"
    "[MapSettings]\nMapMaxSize=200000\nMapInitSize=50000\nMapScaleRate=1.5\nZoomControl=MapZoom\n"
    "[ScreenShot]\nFilenameFormat=shot%03d.bmp\nMaxScreenShot=5\nSoundEffect=click.wav\n"
    "[TextStrings]\nGamePaused=PausedName\nGameUnpaused=UnpausedName\nTimeCompress=Compress\n"
    "NormalTime=Normal\nTimeSet=Set\nWaitJoin=Wait\n"
    "[SkipToNext]\nTimer=30\nSkipToNextView=Chase\nAutoPilotCommand=AUTOPILOT\n"
    "[StartView]\nStartView000=Cockpit\n"
    "[InFlightChat]\nTargetText=Chat.txt\nCursorFlashTime=0.5\nCursorString=_\nRepeatDelay=0.4\nRepeatRate=0.05\n";

const char* const kStringTable = "[Strings]\nUnused=x\nPausedName=PAUSED\nUnpausedName=GO\nWait=WAIT\n";

class StartupSettings : public kvtest::FlightDirectory {
protected:
    void SetUp() override {
        FlightDirectory::SetUp();
        fm.cockpitView = 0;
        fm.graphicsSetup.displayDepth = 32;
        setDetailLevels(0, 0, 0, 0, 0);
        fm.screenshot.maxScreenShot = 999;
        host.log().clear();
    }

    void setDetailLevels(int32_t horizon, int32_t terrain, int32_t object, int32_t terrainTexture,
                         int32_t cockpitTexture) {
        fm.horizonDistanceOption = horizon;
        fm.terrainDetailOption = terrain;
        fm.objectTextureOption = object;
        fm.terrainTextureOption = terrainTexture;
        fm.cockpitTextureOption = cockpitTexture;
    }
};

TEST_F(StartupSettings, AFileWithOnlyItsMainSectionGivesEveryDefault) {
    write("flight.ini", "[Korvane]\nSoundList=Sounds.lst\n");
    fm.graphicsSetup.displayDepth = 24;
    host.world.appFlag = 0;
    fm.zoomControlId = 7;
    fm.terrainSetup.terrainDetailLoaded = 0;
    kvtest::TraceLines trace;

    ASSERT_EQ(fm.loadStartupFile("flight"), 1);

    EXPECT_STREQ(fm.soundList, "Sounds.lst");
    EXPECT_EQ(fm.skipFlight, 0);
    ASSERT_NE(fm.hudModulePath, nullptr) << "a missing module path is empty, never null";
    EXPECT_STREQ(fm.hudModulePath, "");
    ASSERT_NE(fm.commModulePath, nullptr);
    EXPECT_STREQ(fm.commModulePath, "");
    EXPECT_EQ(fm.hudDataFilename, nullptr);
    EXPECT_EQ(fm.textFilename, nullptr);
    EXPECT_EQ(fm.deltaT, 0.1f);
    EXPECT_EQ(fm.maxDeltaT, 0.2f);
    EXPECT_EQ(fm.timeCompression, 1.0f);
    EXPECT_EQ(fm.maxTimeCompression, 0.0f);
    EXPECT_EQ(fm.changeTimeAmount, 0);
    EXPECT_EQ(fm.paused, 0);
    EXPECT_EQ(fm.sampleFrequency, 11025);
    EXPECT_EQ(fm.bitsPerSample, 16);
    EXPECT_EQ(fm.graphicsSetup.appFlag, 1) << "stored negated";
    EXPECT_EQ(fm.graphicsSetup.fixedFlag, 1);
    EXPECT_EQ(fm.graphicsSetup.zBufferDepth, 16);
    EXPECT_EQ(fm.graphicsSetup.maxVertexCount, 0);
    EXPECT_EQ(fm.aspectRatio, 1.333333f);
    EXPECT_EQ(fm.minPixelSize, 2.0f);
    for (const kv::ClipRange* clip : {&fm.farSceneClip, &fm.normalSceneClip, &fm.nearSceneClip}) {
        EXPECT_EQ(clip->farClip, 10000.0f);
        EXPECT_EQ(clip->nearClip, 1.0f);
    }
    EXPECT_EQ(fm.terrainSetup.horizonDistance, 60000.0f);
    EXPECT_EQ(fm.terrainSetup.detailLevel, 0);
    EXPECT_EQ(fm.terrainSetup.terrainDetailLoaded, 1);
    EXPECT_EQ(fm.objectTextureRes, 256);
    EXPECT_EQ(fm.terrainTextureRes, 256);
    EXPECT_EQ(fm.cockpitTextureRes, 256);
    EXPECT_EQ(fm.worldBorder, 10000.0f);
    EXPECT_EQ(fm.minHeight, 1.0f);
    EXPECT_EQ(fm.maxHeight, 24000.0f);
    EXPECT_EQ(fm.mapSize, 0.0f);
    EXPECT_EQ(fm.zoomControlId, -1);
    EXPECT_EQ(fm.zoomControl, nullptr);
    EXPECT_EQ(fm.screenshot.maxScreenShot, 0) << "no key replaces the start value 999 by 0";
    EXPECT_STREQ(fm.screenshot.filenameFormat, "");
    for (int32_t id : {fm.pausedTextId, fm.unpausedTextId, fm.timeCompressTextId, fm.normalTimeTextId,
                       fm.timeSetTextId, fm.waitJoinTextId})
        EXPECT_EQ(id, -1);
    EXPECT_EQ(fm.skipToNextTimer, 0.0f);
    EXPECT_EQ(fm.startView, nullptr) << "view 0 has no fallback";
    EXPECT_EQ(fm.chatTextFile, nullptr);
    EXPECT_EQ(fm.cursorFlashTime, 0.0f);

    // The click sound is loaded also with an empty name; no text file is.
    EXPECT_EQ(kvtest::callsMatching(host.log(), {"fmgFileExists", "appQueryFlag", "sndLoadSound", "txtLoadTextFile",
                                                 "txtGetStringId"}),
              (std::vector<std::string>{"fmgFileExists .\\flight.INI", "appQueryFlag", "sndLoadSound "}));
    EXPECT_TRUE(hasLine(trace.lines, "No in-flight text file specified!"));
    EXPECT_TRUE(hasLine(trace.lines, "No in-flight chat text file specified!"));
    EXPECT_FALSE(hasLine(trace.lines, "...Debug SkipFlight flag enabled..."));

    // A display shallower than the default depth buffer limits it.
    fm.graphicsSetup.displayDepth = 8;
    ASSERT_EQ(fm.loadStartupFile("flight"), 1);
    EXPECT_EQ(fm.graphicsSetup.zBufferDepth, 8);
}

TEST_F(StartupSettings, AFullFileIsReadInOrderIntoItsFields) {
    write("flight.ini", kFullFile);
    write("Flight.txt", kStringTable);
    write("Chat.txt", "[Strings]\nAll=ALL\n");
    fm.graphicsSetup.displayDepth = 16;
    host.world.appFlag = 1;
    kvtest::TraceLines trace;

    ASSERT_EQ(fm.loadStartupFile("flight.ini"), 1);

    EXPECT_TRUE(callsInOrder(host.log(), {"fmgFileExists .\\flight.ini", "appQueryFlag", "sndLoadSound",
                                          "txtLoadTextFile Flight.txt", "txtGetStringId Flight.txt",
                                          "txtGetStringId Flight.txt", "txtGetStringId Flight.txt",
                                          "txtGetStringId Flight.txt", "txtGetStringId Flight.txt",
                                          "txtGetStringId Flight.txt", "txtLoadTextFile Chat.txt"}));
    EXPECT_EQ(fm.skipFlight, 1);
    EXPECT_TRUE(hasLine(trace.lines, "...Debug SkipFlight flag enabled..."));
    EXPECT_FALSE(hasLine(trace.lines, "No in-flight text file specified!"));
    EXPECT_FALSE(hasLine(trace.lines, "No in-flight chat text file specified!"));

    // Module paths resolve against the flight directory in the module's
    // backslash form, ".." included.
    const std::string base = fm.flightDirectory;
    const std::string parent = base.substr(0, base.rfind('\\'));
    EXPECT_EQ(std::string(fm.hudModulePath), base + "\\Hud.DLL");
    EXPECT_EQ(std::string(fm.commModulePath), parent + "\\Mods\\Comm.dll");
    EXPECT_STREQ(fm.hudDataFilename, "Hud.dat");
    EXPECT_STREQ(fm.commDataFilename, "Comm.dat");
    EXPECT_STREQ(fm.viewList, "Views.lst");
    EXPECT_STREQ(fm.particleSystem, "Particles.psd");
    EXPECT_STREQ(fm.environmentSystem, "Env.dat");
    EXPECT_STREQ(fm.messageSystem, "Msg.dat");
    EXPECT_STREQ(fm.speechSystem, "Speech.dat");
    EXPECT_STREQ(fm.forceFeedback, "Ffb.dat");
    EXPECT_STREQ(fm.forceFeedbackControl, "Stick");
    EXPECT_STREQ(fm.textFilename, "Flight.txt");
    EXPECT_EQ(fm.deltaT, 0.02f);
    EXPECT_EQ(fm.maxDeltaT, 0.5f);
    EXPECT_EQ(fm.timeCompression, 2.0f);
    EXPECT_EQ(fm.maxTimeCompression, 8.0f);
    EXPECT_EQ(fm.changeTimeAmount, 300) << "minutes in the file, seconds in the engine";
    EXPECT_EQ(fm.paused, 1);
    EXPECT_EQ(fm.showCockpit, 1);
    EXPECT_STREQ(fm.ejectView, "EjectCam");
    EXPECT_EQ(fm.sampleFrequency, 22050);
    EXPECT_EQ(fm.bitsPerSample, 8);
    EXPECT_EQ(fm.graphicsSetup.appFlag, 0);
    EXPECT_EQ(fm.graphicsSetup.zBufferDepth, 16) << "32 is lowered to the display's 16";
    EXPECT_EQ(fm.graphicsSetup.maxVertexCount, 4096);
    EXPECT_EQ(fm.graphicsSetup.maxLightPerScene, 8);
    EXPECT_EQ(fm.aspectRatio, 1.6f);
    EXPECT_EQ(fm.farSceneClip.farClip, 90000.0f);
    EXPECT_EQ(fm.farSceneClip.nearClip, 500.0f);
    EXPECT_EQ(fm.normalSceneClip.farClip, 10000.0f);
    EXPECT_EQ(fm.nearSceneClip.nearClip, 0.25f);
    EXPECT_EQ(fm.sectorWidth, 64);
    EXPECT_EQ(fm.maxHeight, 30000.0f);
    EXPECT_EQ(fm.mapMaxSize, 200000.0f);
    EXPECT_EQ(fm.mapSize, 50000.0f);
    EXPECT_EQ(fm.mapScaleRate, 1.5f);
    EXPECT_STREQ(fm.zoomControl, "MapZoom");
    EXPECT_STREQ(fm.screenshot.filenameFormat, "shot%03d.bmp");
    EXPECT_EQ(fm.screenshot.maxScreenShot, 5);
    EXPECT_TRUE(callsInOrder(host.log(), {"sndLoadSound"}));
    EXPECT_EQ(fm.skipToNextTimer, 30.0f);
    EXPECT_STREQ(fm.skipToNextView, "Chase");
    EXPECT_STREQ(fm.autoPilotCommand, "AUTOPILOT");
    EXPECT_STREQ(fm.startView, "Cockpit");
    EXPECT_STREQ(fm.chatTextFile, "Chat.txt");
    EXPECT_EQ(fm.cursorFlashTime, 0.5f);
    EXPECT_STREQ(fm.cursorString, "_");
    EXPECT_EQ(fm.repeatDelay, 0.4f);
    EXPECT_EQ(fm.repeatRate, 0.05f);

    // Each text id is what the text service gave for the key's text, in
    // the six consecutive fields.
    const std::pair<int32_t, const char*> ids[] = {
        {fm.pausedTextId, "PausedName"}, {fm.unpausedTextId, "UnpausedName"}, {fm.timeCompressTextId, "Compress"},
        {fm.normalTimeTextId, "Normal"}, {fm.timeSetTextId, "Set"},            {fm.waitJoinTextId, "Wait"}};
    for (const auto& [id, name] : ids) EXPECT_EQ(id, loggedStringId(host.log(), name)) << name;
    EXPECT_NE(fm.pausedTextId, fm.waitJoinTextId);
}

TEST_F(StartupSettings, BooleansTakeTheTrueWordOrANumberOnly) {
    write("yes.ini", "[Debug]\nSkipFlight=yes\n[Korvane]\nStartPaused=-3\nShowCockpit=false\n");
    ASSERT_EQ(fm.loadStartupFile("yes"), 1);
    EXPECT_EQ(fm.skipFlight, 0) << "yes is no number and not the true word";
    EXPECT_EQ(fm.paused, 1);
    EXPECT_EQ(fm.showCockpit, 0);
}

TEST_F(StartupSettings, DetailSectionsFollowEachQualityLevel) {
    write("flight.ini",
          "[Korvane]\n"
          "[LowDetailOption]\nHorizonDistance=1000\nDetailMeshSize=1\nDetailLevel=1\nWaterEffect=1\n"
          "NoiseTexture=1\nMaxTextureRes=64\n"
          "[MedDetailOption]\nHorizonDistance=2000\nDetailMeshSize=2\nDetailLevel=2\nWaterEffect=2\n"
          "NoiseTexture=2\nMaxTextureRes=128\n"
          "[HighDetailOption]\nHorizonDistance=3000\nDetailMeshSize=3\nDetailLevel=3\nWaterEffect=3\n"
          "NoiseTexture=3\nMaxTextureRes=512\n");

    setDetailLevels(1, 2, 3, -1, 2);
    ASSERT_EQ(fm.loadStartupFile("flight"), 1);
    EXPECT_EQ(fm.terrainSetup.horizonDistance, 2000.0f);
    EXPECT_EQ(fm.terrainSetup.detailMeshSize, 2);
    EXPECT_EQ(fm.terrainSetup.detailLevel, 3);
    EXPECT_EQ(fm.terrainSetup.waterEffect, 3);
    EXPECT_EQ(fm.terrainSetup.noiseTexture, 3);
    EXPECT_EQ(fm.objectTextureRes, 64) << "level 3 reads the low section";
    EXPECT_EQ(fm.terrainTextureRes, 64) << "level -1 reads the low section";
    EXPECT_EQ(fm.cockpitTextureRes, 512);

    setDetailLevels(0, 1, 2, 1, 0);
    ASSERT_EQ(fm.loadStartupFile("flight"), 1);
    EXPECT_EQ(fm.terrainSetup.horizonDistance, 1000.0f);
    EXPECT_EQ(fm.terrainSetup.detailMeshSize, 1);
    EXPECT_EQ(fm.terrainSetup.detailLevel, 2);
    EXPECT_EQ(fm.terrainSetup.noiseTexture, 2);
    EXPECT_EQ(fm.objectTextureRes, 512);
    EXPECT_EQ(fm.terrainTextureRes, 128);
    EXPECT_EQ(fm.cockpitTextureRes, 64);
}

TEST_F(StartupSettings, TheStartViewFallsBackToViewZero) {
    write("both.ini", "[StartView]\nStartView000=Front\nStartView002=Left\n");
    write("zero.ini", "[StartView]\nStartView000=Front\n");
    write("none.ini", "[StartView]\nStartView001=Right\n");

    fm.cockpitView = 2;
    ASSERT_EQ(fm.loadStartupFile("both"), 1);
    EXPECT_STREQ(fm.startView, "Left");
    fm.cockpitView = 3;
    ASSERT_EQ(fm.loadStartupFile("zero"), 1);
    EXPECT_STREQ(fm.startView, "Front");
    fm.cockpitView = 0;
    ASSERT_EQ(fm.loadStartupFile("none"), 1);
    EXPECT_EQ(fm.startView, nullptr) << "the previous flight's view does not survive";
    fm.cockpitView = 1;
    ASSERT_EQ(fm.loadStartupFile("none"), 1);
    EXPECT_STREQ(fm.startView, "Right");
}

TEST_F(StartupSettings, TheExistenceTestLooksAtTheFileThatWillBeOpened) {
    write("Mission.INI", "[Korvane]\nSoundList=Mission.lst\n");
    write("bare", "[Korvane]\nSoundList=Bare.lst\n");
    kvtest::TraceLines trace;

    // A name without an extension opens with "INI" added: that file is the
    // one tested, found without regard to case.
    ASSERT_EQ(fm.loadStartupFile("mission"), 1);
    EXPECT_STREQ(fm.soundList, "Mission.lst");
    EXPECT_TRUE(callsInOrder(host.log(), {"fmgFileExists .\\mission.INI"}));

    // "bare" exists, but the document would open "bare.INI": no flight,
    // and nothing read.
    host.log().clear();
    fm.deltaT = 7.0f;
    EXPECT_EQ(fm.loadStartupFile("bare"), 0);
    EXPECT_STREQ(fm.soundList, "Mission.lst");
    EXPECT_EQ(fm.deltaT, 7.0f);
    EXPECT_EQ(host.log().ops(), std::vector<std::string>{"fmgFileExists"});
    EXPECT_TRUE(hasLine(trace.lines, "...korvane start-up file bare not found!."));
}

TEST_F(StartupSettings, TimingValuesTheFrameLoopCannotRunWithGiveWayToDefaults) {
    write("bad.ini",
          "[Korvane]\nDeltaT=0.00009\nMaxDeltaT=0\nStartTimeCompression=-1\nMaxTimeCompression=1e39\n"
          "ChangeTimeAmount=40000000\n[SkipToNext]\nTimer=-1e39\n");
    write("nan.ini", "[Korvane]\nDeltaT=nan\nMaxDeltaT=inf\nStartTimeCompression=nan\nChangeTimeAmount=-40000000\n"
                     "[SkipToNext]\nTimer=nan\n");
    write("edge.ini",
          "[Korvane]\nDeltaT=0.0001\nMaxDeltaT=0.000001\nStartTimeCompression=0\nMaxTimeCompression=0\n"
          "[SkipToNext]\nTimer=-3\n");

    {
        kvtest::TraceLines trace;
        ASSERT_EQ(fm.loadStartupFile("bad"), 1);
        EXPECT_EQ(fm.deltaT, 0.1f);
        EXPECT_EQ(fm.maxDeltaT, 0.2f);
        EXPECT_EQ(fm.timeCompression, 1.0f);
        EXPECT_EQ(fm.maxTimeCompression, 0.0f);
        EXPECT_EQ(fm.skipToNextTimer, 0.0f);
        EXPECT_EQ(fm.changeTimeAmount, INT32_MAX) << "saturated, not wrapped";
        EXPECT_TRUE(hasLine(trace.lines, "...start-up setting Korvane DeltaT=9e-05 cannot be used, 0.1 taken instead."));
        EXPECT_TRUE(hasLine(trace.lines, "...start-up setting Korvane MaxDeltaT=0 cannot be used, 0.2 taken instead."));
        EXPECT_TRUE(
            hasLine(trace.lines, "...start-up setting Korvane StartTimeCompression=-1 cannot be used, 1 taken instead."));
        EXPECT_TRUE(
            hasLine(trace.lines, "...start-up setting Korvane MaxTimeCompression=inf cannot be used, 0 taken instead."));
        EXPECT_TRUE(hasLine(trace.lines, "...start-up setting SkipToNext Timer=-inf cannot be used, 0 taken instead."));
    }
    {
        kvtest::TraceLines trace;
        ASSERT_EQ(fm.loadStartupFile("nan"), 1);
        EXPECT_EQ(fm.deltaT, 0.1f);
        EXPECT_EQ(fm.maxDeltaT, 0.2f);
        EXPECT_EQ(fm.timeCompression, 1.0f);
        EXPECT_EQ(fm.skipToNextTimer, 0.0f);
        EXPECT_EQ(fm.changeTimeAmount, INT32_MIN);
        EXPECT_EQ(trace.lines.size(), 4u + 2u) << "four replacements and the two missing text files";
    }
    {
        // The limits themselves are usable.
        kvtest::TraceLines trace;
        ASSERT_EQ(fm.loadStartupFile("edge"), 1);
        EXPECT_EQ(fm.deltaT, 0.0001f);
        EXPECT_EQ(fm.maxDeltaT, 0.000001f);
        EXPECT_EQ(fm.timeCompression, 0.0f);
        EXPECT_EQ(fm.maxTimeCompression, 0.0f);
        EXPECT_EQ(fm.skipToNextTimer, -3.0f);
        EXPECT_EQ(trace.lines.size(), 2u);
    }
}

TEST_F(StartupSettings, ReadingAgainFreesTheTextsOfTheLastRead) {
    write("full.ini", kFullFile);
    write("small.ini", "[Korvane]\nSoundList=Sounds.lst\n");
    const int before = host.memory.liveBlocks("FLT");

    ASSERT_EQ(fm.loadStartupFile("full"), 1);
    const int afterFull = host.memory.liveBlocks("FLT");
    EXPECT_GT(afterFull, before + 15);
    ASSERT_EQ(fm.loadStartupFile("full"), 1);
    EXPECT_EQ(host.memory.liveBlocks("FLT"), afterFull) << "a second flight leaks the first one's texts";

    // A smaller file leaves the two module paths and its one list name.
    ASSERT_EQ(fm.loadStartupFile("small"), 1);
    EXPECT_EQ(host.memory.liveBlocks("FLT"), before + 3);
    EXPECT_EQ(fm.textFilename, nullptr);
    EXPECT_EQ(fm.cursorString, nullptr);
}

TEST_F(StartupSettings, TheLoadingScreenReadsItsSectionBetweenScreenshotsAndTexts) {
    write("flight.ini", std::string(kFullFile) + "[LoadingScreen]\nTextFile=Loading.txt\nProgressBarRange=300\n");
    auto* screen = static_cast<kv::LoadingScreen*>(kv::ModuleAlloc(sizeof(kv::LoadingScreen)));
    ASSERT_NE(screen, nullptr);
    std::memset(static_cast<void*>(screen), 0, sizeof(kv::LoadingScreen));
    fm.loadingScreen = screen;

    ASSERT_EQ(fm.loadStartupFile("flight"), 1);
    EXPECT_TRUE(callsInOrder(host.log(), {"sndLoadSound", "txtLoadTextFile Loading.txt", "txtLoadTextFile Flight.txt",
                                          "txtGetStringId Flight.txt"}));
    EXPECT_STREQ(screen->textFile, "Loading.txt");

    fm.loadingScreen = nullptr;
    kv::strFree(&screen->textFile);
    kv::strFree(&screen->backgroundImage);
    kv::strFree(&screen->streamAudio);
    kv::MemFree(screen);
}

}  // namespace
