#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "loadingscreen/loading_screen.h"
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

// A field the start-up file fills: a plain one, or an atomic that the
// host's other threads read.
template <typename T>
struct Field {
    Field(T* field) : plain(field) {}
    Field(std::atomic<T>* field) : shared(field) {}
    T get() const { return plain ? *plain : shared->load(); }
    void set(T value) const {
        if (plain)
            *plain = value;
        else
            shared->store(value);
    }
    T* plain = nullptr;
    std::atomic<T>* shared = nullptr;
};

// Every whole number the start-up file fills, in reading order.
std::vector<Field<int32_t>> intFields(kv::FlightModule& fm) {
    kv::GraphicsSetup& g = fm.graphicsSetup;
    kv::TerrainSetup& t = fm.terrainSetup;
    return {&fm.skipFlight,         &fm.changeTimeAmount,         &fm.paused,            &fm.showCockpit,
            &fm.sampleFrequency,    &fm.bitsPerSample,            &g.appFlag,            &g.fixedFlag,
            &g.zBufferDepth,        &g.maxVertexCount,            &g.maxIndexCount,      &g.maxTextureCount,
            &g.maxModelType,        &g.maxMeshPerScene,           &g.maxModelPerScene,   &g.maxLightPerScene,
            &t.detailMeshSize,      &t.detailLevel,               &t.waterEffect,        &t.noiseTexture,
            &t.terrainDetailLoaded, &fm.objectTextureRes,         &fm.terrainTextureRes, &fm.cockpitTextureRes,
            &fm.sectorWidth,        &fm.sectorHeight,             &fm.sectorMaxObject,   &fm.zoomControlId,
            &fm.screenshot.maxScreenShot, &fm.pausedTextId,       &fm.unpausedTextId,    &fm.timeCompressTextId,
            &fm.normalTimeTextId,   &fm.timeSetTextId,            &fm.waitJoinTextId};
}

// Every real the start-up file fills, in reading order.
std::vector<Field<float>> realFields(kv::FlightModule& fm) {
    return {&fm.deltaT,          &fm.maxDeltaT,       &fm.timeCompression,         &fm.maxTimeCompression,
            &fm.aspectRatio,     &fm.minPixelSize,    &fm.farSceneClip.farClip,    &fm.farSceneClip.nearClip,
            &fm.normalSceneClip.farClip, &fm.normalSceneClip.nearClip, &fm.nearSceneClip.farClip,
            &fm.nearSceneClip.nearClip,  &fm.terrainSetup.horizonDistance, &fm.worldBorder, &fm.minHeight,
            &fm.maxHeight,       &fm.mapMaxSize,      &fm.mapMinSize,              &fm.mapSize,
            &fm.mapScaleRate,    &fm.skipToNextTimer, &fm.cursorFlashTime,         &fm.repeatDelay,
            &fm.repeatRate};
}

// Every kept text, "(null)" for none, in reading order.
std::vector<std::string> textFields(const kv::FlightModule& fm) {
    std::vector<std::string> out;
    for (const char* text : {fm.hudDataFilename, fm.commDataFilename, fm.soundList, fm.viewList, fm.particleSystem,
                             fm.environmentSystem, fm.messageSystem, fm.speechSystem, fm.forceFeedback,
                             fm.forceFeedbackControl, fm.textFilename, fm.ejectView, fm.zoomControl,
                             fm.skipToNextView, fm.autoPilotCommand, fm.startView, fm.chatTextFile, fm.cursorString})
        out.push_back(text ? text : "(null)");
    return out;
}

template <typename T>
std::vector<T> values(const std::vector<Field<T>>& fields) {
    std::vector<T> out;
    for (const Field<T>& field : fields) out.push_back(field.get());
    return out;
}

// Every key of the vocabulary with a value of its own, so that a key read
// under the wrong name or into the wrong field shows.
const char* const kFullFile =
    "[Debug]\nSkipFlight=TRUE\n"
    "[Korvane]\n"
    "HUDDLL=Hud\nHUDDataFilename=Hud.dat\nCommDLL=..\\Mods\\Comm.dll\nCommDataFilename=Comm.dat\n"
    "SoundList=Sounds.lst\nViewList=Views.lst\nParticleSystem=Particles.psd\n"
    "EnvironmentSystem=Env.dat\nMessageSystem=Msg.dat\nSpeechSystem=Speech.dat\n"
    "ForceFeedback=Ffb.dat\nForceFeedbackControl=Stick\nTextFilename=Flight.txt\n"
    "DeltaT=0.02\nMaxDeltaT=0.5\nStartTimeCompression=2\nMaxTimeCompression=8\nChangeTimeAmount=5\n"
    "StartPaused=1\nShowCockpit=0\nEjectView=EjectCam\n"
    "[SoundSettings]\nSampleFrequency=22050\nBitsPerSample=8\n"
    "[GraphicsSettings]\nZBufferDepth=32\nMaxVertexCount=4096\nMaxIndexCount=4097\nMaxTextureCount=301\n"
    "MaxModelType=302\nMaxMeshPerScene=303\nMaxModelPerScene=304\nMaxLightPerScene=9\nAspectRatio=1.6\n"
    "MinPixelSize=3\n"
    "[FarSceneClip]\nFarClipDistance=90000\nNearClipDistance=500\n"
    "[NormalSceneClip]\nFarClipDistance=20000\nNearClipDistance=5\n"
    "[NearSceneClip]\nFarClipDistance=3000\nNearClipDistance=0.25\n"
    "[LowDetailOption]\nHorizonDistance=45000\nDetailMeshSize=11\nDetailLevel=12\nWaterEffect=13\nNoiseTexture=14\n"
    "MaxTextureRes=128\n"
    "[MedDetailOption]\nMaxTextureRes=512\n[HighDetailOption]\nMaxTextureRes=1024\n"
    "[WorldSettings]\nSectorWidth=64\nSectorHeight=65\nSectorMaxObject=66\nBorder=9000\nMinHeight=2\n"
    "MaxHeight=30000\n"
    "[MapSettings]\nMapMaxSize=200000\nMapMinSize=1000\nMapInitSize=50000\nMapScaleRate=1.5\nZoomControl=MapZoom\n"
    "[ScreenShot]\nFilenameFormat=shot%03d.bmp\nMaxScreenShot=5\nSoundEffect=click.wav\n"
    "[TextStrings]\nGamePaused=PausedName\nGameUnpaused=UnpausedName\nTimeCompress=Compress\n"
    "NormalTime=Normal\nTimeSet=Set\nWaitJoin=Wait\n"
    "[SkipToNext]\nTimer=30\nSkipToNextView=Chase\nAutoPilotCommand=AUTOPILOT\n"
    "[StartView]\nStartView000=Cockpit\n"
    "[InFlightChat]\nTargetText=Chat.txt\nCursorFlashTime=0.75\nCursorString=_\nRepeatDelay=0.4\nRepeatRate=0.05\n";

// A string's id is its place in the table: the six texts are 1 to 6.
const char* const kStringTable =
    "[Strings]\nUnused=x\nPausedName=PAUSED\nUnpausedName=GO\nCompress=FAST\nNormal=NORMAL\nSet=SET\nWait=WAIT\n";

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

    // A value no row gives, so that a field the read leaves alone shows.
    void scrambleFields() {
        for (const Field<int32_t>& field : intFields(fm)) field.set(77);
        for (const Field<float>& field : realFields(fm)) field.set(77.0f);
    }
};

TEST_F(StartupSettings, AFileWithOnlyItsMainSectionGivesEveryDefault) {
    write("flight.ini", "[Korvane]\nSoundList=Sounds.lst\n");
    fm.graphicsSetup.displayDepth = 24;
    host.state.appFlag = 0;
    scrambleFields();
    kvtest::TraceLines trace;

    ASSERT_EQ(fm.loadStartupFile("flight"), 1);

    // appFlag is the query's answer negated; the depth buffer's 16 fits the
    // display's 24; no MaxScreenShot replaces the start value 999 by 0;
    // without a text file every text id is -1.
    EXPECT_EQ(values(intFields(fm)),
              (std::vector<int32_t>{0, 0, 0, 0, 11025, 16, 1, 1, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                    0, 0, 1, 256, 256, 256, 0, 0, 0, -1, 0, -1, -1, -1, -1, -1, -1}));
    // AspectRatio is 1.333333 as written, not the real nearest to 4/3.
    EXPECT_EQ(values(realFields(fm)),
              (std::vector<float>{0.1f, 0.2f, 1.0f, 0.0f, 1.333333f, 2.0f, 10000.0f, 1.0f, 10000.0f, 1.0f,
                                  10000.0f, 1.0f, 60000.0f, 10000.0f, 1.0f, 24000.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                                  0.0f, 0.0f, 0.0f, 0.0f}));
    std::vector<std::string> texts(18, "(null)");
    texts[2] = "Sounds.lst";
    EXPECT_EQ(textFields(fm), texts) << "view 0 has no start view to fall back to";
    ASSERT_NE(fm.hudModulePath, nullptr) << "a missing module path is empty, never null";
    EXPECT_STREQ(fm.hudModulePath, "");
    ASSERT_NE(fm.commModulePath, nullptr);
    EXPECT_STREQ(fm.commModulePath, "");
    EXPECT_STREQ(fm.screenshot.filenameFormat, "");

    // The click sound is loaded also with an empty name; no text file is.
    EXPECT_EQ(kvtest::callsMatching(host.log(), {"fmgFileExists", "appQueryFlag", "sndLoadSound", "txtLoadTextFile",
                                                 "txtGetStringId"}),
              (std::vector<std::string>{"fmgFileExists .\\flight.INI", "appQueryFlag", "sndLoadSound "}));
    EXPECT_EQ(trace.lines,
              (std::vector<std::string>{"No in-flight text file specified!", "No in-flight chat text file specified!"}));

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
    host.state.appFlag = 1;
    setDetailLevels(0, 0, 0, 1, 2);
    scrambleFields();
    kvtest::TraceLines trace;

    ASSERT_EQ(fm.loadStartupFile("flight.ini"), 1);

    EXPECT_TRUE(callsInOrder(host.log(), {"fmgFileExists .\\flight.ini", "appQueryFlag", "sndLoadSound click.wav",
                                          "txtLoadTextFile Flight.txt", "txtGetStringId Flight.txt",
                                          "txtGetStringId Flight.txt", "txtGetStringId Flight.txt",
                                          "txtGetStringId Flight.txt", "txtGetStringId Flight.txt",
                                          "txtGetStringId Flight.txt", "txtLoadTextFile Chat.txt"}));
    EXPECT_EQ(trace.lines, std::vector<std::string>{"...Debug SkipFlight flag enabled..."});

    // ChangeTimeAmount is minutes in the file, seconds in the engine; the
    // depth buffer's 32 is lowered to the display's 16; the three texture
    // resolutions come from three sections.
    EXPECT_EQ(values(intFields(fm)),
              (std::vector<int32_t>{1, 300, 1, 0, 22050, 8, 0, 1, 16, 4096, 4097, 301, 302, 303, 304, 9, 11, 12,
                                    13, 14, 1, 128, 512, 1024, 64, 65, 66, -1, 5, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(values(realFields(fm)),
              (std::vector<float>{0.02f, 0.5f, 2.0f, 8.0f, 1.6f, 3.0f, 90000.0f, 500.0f, 20000.0f, 5.0f, 3000.0f,
                                  0.25f, 45000.0f, 9000.0f, 2.0f, 30000.0f, 200000.0f, 1000.0f, 50000.0f, 1.5f,
                                  30.0f, 0.75f, 0.4f, 0.05f}));
    EXPECT_EQ(textFields(fm),
              (std::vector<std::string>{"Hud.dat", "Comm.dat", "Sounds.lst", "Views.lst", "Particles.psd", "Env.dat",
                                        "Msg.dat", "Speech.dat", "Ffb.dat", "Stick", "Flight.txt", "EjectCam",
                                        "MapZoom", "Chase", "AUTOPILOT", "Cockpit", "Chat.txt", "_"}));
    EXPECT_STREQ(fm.screenshot.filenameFormat, "shot%03d.bmp");

    // Module paths resolve against the flight directory in the module's
    // backslash form, ".." included.
    const std::string base = fm.flightDirectory;
    const std::string parent = base.substr(0, base.rfind('\\'));
    EXPECT_EQ(std::string(fm.hudModulePath), base + "\\Hud.DLL");
    EXPECT_EQ(std::string(fm.commModulePath), parent + "\\Mods\\Comm.dll");
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
    kv::LoadingScreen* screen = kv::createLoadingScreen();
    ASSERT_NE(screen, nullptr);
    fm.loadingScreen = screen;

    ASSERT_EQ(fm.loadStartupFile("flight"), 1);
    EXPECT_TRUE(callsInOrder(host.log(), {"sndLoadSound", "txtLoadTextFile Loading.txt", "txtLoadTextFile Flight.txt",
                                          "txtGetStringId Flight.txt"}));
    EXPECT_STREQ(screen->textFile, "Loading.txt");

    fm.loadingScreen = nullptr;
    kv::releaseLoadingScreen(&screen);
}

}  // namespace
