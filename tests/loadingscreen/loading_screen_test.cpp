#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/config_document.h"
#include "loadingscreen/loading_screen.h"
#include "platform/workdir.h"
#include "tests/support/bound_module.h"
#include "tests/support/call_sequence.h"
#include "tests/support/picture_file.h"

namespace {

namespace fs = std::filesystem;
using kvsim::CallRecord;
using kvsim::Json;

const float kThird = 0.333333f;

// A flight folder of its own for each test, made the working directory, so
// that the start-up file, the string table and the pictures are found as
// in a flight.
class LoadingScreenTest : public kvtest::BoundModule {
protected:
    void SetUp() override {
        BoundModule::SetUp();
        char buffer[1024] = {};
        kv::getWorkingDir(buffer, sizeof buffer);
        previousDir = buffer;
        folder = fs::temp_directory_path() /
                 ("korvane-screen-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        kv::setWorkingDir(folder.string().c_str());
        writeFile("strings.ini", "[Strings]\nLoading=Loading flight\nPercent=%.0f%%\n");
        writePicture("screen.tga");
        blocksBefore = host.memory.liveBlocks("FLT");
    }
    void TearDown() override {
        kv::releaseLoadingScreen(&screen);
        EXPECT_EQ(host.memory.liveBlocks("FLT"), blocksBefore) << "the screen gives back every block";
        kv::setWorkingDir(previousDir.c_str());
        std::error_code error;
        fs::remove_all(folder, error);
        BoundModule::TearDown();
    }

    void writeFile(const std::string& name, const std::string& text) {
        std::ofstream(folder / name, std::ios::binary) << text;
    }
    void writePicture(const std::string& name) { writeFile(name, kvtest::tinyTgaPicture()); }
    // The 800x600 picture with its bar, a caption and a percentage; each
    // line of changes replaces the line of the same key or is added.
    static std::string standardSettings(const std::string& changes = "") {
        std::vector<std::string> lines = {"BackgroundImage=screen.tga", "BackgroundImageSize=800,600",
                                          "TextFontName=Arial",         "TextSize=12",
                                          "TextBold=TRUE",              "TextFontColor=0.5,0.25,1",
                                          "TextFile=strings.ini",       "LoadingTextStringID=Loading",
                                          "PercentTextStringID=Percent", "ProgressBarRange=100",
                                          "ProgressBarRect=100,500,700,530", "FadeTime=0.1"};
        std::istringstream in(changes);
        for (std::string change; std::getline(in, change);) {
            const std::string key = change.substr(0, change.find('=') + 1);
            bool replaced = false;
            for (auto& line : lines)
                if (line.compare(0, key.size(), key) == 0) line = change, replaced = true;
            if (!replaced) lines.push_back(change);
        }
        std::string text;
        for (const auto& line : lines) text += line + "\n";
        return text;
    }
    // A new screen configured from a start-up file with this section.
    void configure(const std::string& section) {
        writeFile("flight.ini", "[LoadingScreen]\n" + section);
        kv::ConfigDocument document("flight.ini", 0, 0, 0);
        screen = kv::createLoadingScreen();
        ASSERT_NE(screen, nullptr);
        screen->readSettings(&document);
    }

    std::vector<CallRecord> calls(const std::string& op) {
        std::vector<CallRecord> out;
        for (const auto& record : host.log().records())
            if (!record.fromHost && record.op == op) out.push_back(record);
        return out;
    }
    std::size_t count(const std::string& op) { return calls(op).size(); }

    fs::path folder;
    std::string previousDir;
    int blocksBefore = 0;
    kv::LoadingScreen* screen = nullptr;
};

TEST_F(LoadingScreenTest, ShowOpensTheScreenAndWaitsForTheFadeIn) {
    configure(standardSettings("StreamAudio=music.ogg\nLoopAudio=TRUE\n"));
    EXPECT_TRUE(kvtest::callsInOrder(host.log(), {"txtLoadTextFile strings.ini", "txtGetStringId strings.ini",
                                                  "txtGetStringId strings.ini"}));
    host.log().clear();

    screen->show(-1);
    EXPECT_TRUE(kvtest::callsInOrder(
        host.log(), {"gfxGetDisplay", "displayGetInfo", "sndPlayStream music.ogg", "gfxCreateFont",
                     "gfxLoadImage screen.tga", "fadSetFadeTime", "fadStartFadeIn",
                     // the first picture is on screen before the fade runs
                     "gfxBeginFrame", "gfxPresent", "gfxBeginFrame", "gfxPresent",
                     "clkReset", "clkUpdate", "clkGetTime", "fadStep", "sndUpdate"}));
    EXPECT_EQ(calls("sndPlayStream")[0].args[1], 1) << "loop flag";
    EXPECT_EQ(calls("fadStartFadeIn")[0].args[0], 0);
    const auto font = calls("gfxCreateFont")[0].args[0];
    EXPECT_EQ(font["faceName"], "Arial");
    EXPECT_EQ(font["size"], 12);
    EXPECT_FLOAT_EQ(calls("fadSetFadeTime")[0].args[0].get<float>(), 0.1f);

    // The wait turns the clock and the music once per fade step, and ends
    // at the first step that reports the fade finished.
    const auto steps = calls("fadStep");
    ASSERT_GE(steps.size(), 2u) << "a 0.1 s fade takes several 1/60 s clock steps";
    for (std::size_t i = 0; i + 1 < steps.size(); ++i) EXPECT_EQ(steps[i].result, 0);
    EXPECT_NE(steps.back().result, 0);
    EXPECT_EQ(count("clkUpdate"), steps.size());
    EXPECT_EQ(count("sndUpdate"), steps.size());
    EXPECT_EQ(host.log().records().back().op, "sndUpdate") << "show returns once the fade is done";
}

// Each value within four units in the last place.
::testing::AssertionResult nearly(const float* actual, std::vector<float> expected) {
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (!::testing::internal::FloatingPoint<float>(actual[i]).AlmostEquals(
                ::testing::internal::FloatingPoint<float>(expected[i])))
            return ::testing::AssertionFailure() << "value " << i << " is " << actual[i] << ", not " << expected[i];
    return ::testing::AssertionSuccess();
}

TEST_F(LoadingScreenTest, BarAndCaptionsSitOnThePicturesPixels) {
    configure(standardSettings());
    screen->show(-1);
    const kvsim::ScreenFrame& shown = host.graphics.lastScreen;
    const float top = 500.0f / 600.0f, bottom = 530.0f / 600.0f, middle = (bottom + top) * 0.5f;

    EXPECT_EQ(shown.picture, "screen.tga");
    EXPECT_TRUE(nearly(shown.pictureRect, {0.0f, 0.0f, 1.0f, 1.0f}));
    EXPECT_TRUE(nearly(shown.barOutline, {0.125f, top, 0.875f, bottom}));
    EXPECT_TRUE(nearly(shown.barFill, {0.125f, top, 0.125f, bottom})) << "nothing filled at 0";
    EXPECT_TRUE(nearly(shown.barColor, {0.5f, 0.25f, 1.0f, 1.0f})) << "a colour without alpha is opaque";
    ASSERT_EQ(shown.texts.size(), 2u);
    EXPECT_EQ(shown.texts[0].text, "Loading flight");
    EXPECT_TRUE(nearly(&shown.texts[0].x, {0.125f - 0.008f, middle}));
    EXPECT_EQ(shown.texts[0].alignment, 0x14);
    EXPECT_EQ(shown.texts[1].text, "0%");
    EXPECT_TRUE(nearly(&shown.texts[1].x, {0.875f + 0.008f, middle}));
    EXPECT_EQ(shown.texts[1].alignment, 0x12);
    EXPECT_TRUE(nearly(shown.texts[1].color, {0.5f, 0.25f, 1.0f, 1.0f}));
    EXPECT_EQ(calls("gfxDrawText")[0].args[3], 0);
}

TEST_F(LoadingScreenTest, ThreeScreensShowItOnTheMiddleMonitor) {
    host.state.scenario.threeScreens = 1;
    configure(standardSettings());
    screen->show(-1);
    const kvsim::ScreenFrame& shown = host.graphics.lastScreen;

    // The 32-bit 0.333333, not an exact third: the two differ by more than
    // four units in the last place at these values. Vertical values stay.
    const float left = (0.125f + 1.0f) * kThird, right = (0.875f + 1.0f) * kThird, gap = 0.008f * kThird;
    EXPECT_TRUE(nearly(shown.pictureRect, {kThird, 0.0f, kThird, 1.0f}));
    EXPECT_TRUE(nearly(shown.barOutline, {left, 500.0f / 600.0f, right, 530.0f / 600.0f}));
    EXPECT_TRUE(nearly(&shown.texts[0].x, {left - gap}));
    EXPECT_TRUE(nearly(&shown.texts[1].x, {right + gap}));
}

TEST_F(LoadingScreenTest, TenAdvancesFillTheBarATenthAtATime) {
    configure(standardSettings());
    screen->show(-1);
    for (int milestone = 1; milestone <= 10; ++milestone) {
        host.log().clear();
        screen->advance(10);
        // Two identical passes, so both buffers of the display hold the screen.
        const auto records = host.log().records();
        ASSERT_EQ(records.size() % 2, 0u);
        const std::size_t half = records.size() / 2;
        EXPECT_EQ(records.front().op, "gfxBeginFrame");
        EXPECT_EQ(records[half - 1].op, "gfxPresent");
        for (std::size_t i = 0; i < half; ++i) {
            EXPECT_EQ(records[i].op, records[half + i].op);
            EXPECT_EQ(records[i].args, records[half + i].args);
        }
        const kvsim::ScreenFrame& shown = host.graphics.lastScreen;
        EXPECT_NEAR(shown.barFill[2], 0.125f + 0.075f * static_cast<float>(milestone), 1e-6) << milestone;
        EXPECT_EQ(shown.texts[1].text, std::to_string(milestone * 10) + "%");
    }
    EXPECT_TRUE(nearly(host.graphics.lastScreen.barFill, {0.125f, 500.0f / 600.0f, 0.875f}))
        << "a full bar at the end";
}

TEST_F(LoadingScreenTest, TheMissionsPictureReplacesTheStartUpOne) {
    writePicture("mission.tga");
    configure(standardSettings("BackgroundImage=screen%d.tga\n"));
    host.log().clear();

    screen->setBackgroundImage("SCREEN%D.TGA");
    EXPECT_TRUE(host.log().records().empty()) << "the current name in another case changes nothing";
    screen->setBackgroundImage("");
    screen->setBackgroundImage(nullptr);
    EXPECT_TRUE(host.log().records().empty());

    screen->setBackgroundImage("mission.tga");
    screen->setBackgroundImage("other.tga");
    EXPECT_EQ(kvtest::callsMatching(host.log(), {"gfxLoadImage", "gfxReleaseImage"}),
              (std::vector<std::string>{"gfxLoadImage mission.tga", "gfxReleaseImage image:1", "gfxLoadImage other.tga"}));
    EXPECT_EQ(calls("gfxLoadImage")[0].result, "image:1");
    EXPECT_EQ(calls("gfxLoadImage")[1].result, nullptr) << "a missing picture";
}

TEST_F(LoadingScreenTest, AnIndexNumbersOnlyAPictureNameWithOneIntegerConversion) {
    writePicture("screen3.tga");
    writePicture("mission.tga");
    struct Case {
        const char* name;
        int32_t index;
        const char* loaded;  // null: nothing is loaded
    };
    const Case cases[] = {
        {"screen%d.tga", 3, "screen3.tga"},
        {"scr%%een%02d.tga", 7, "scr%een07.tga"},
        {"screen%d.tga", -1, "screen%d.tga"},  // no index: the name as it is
        // refused formats are plain names
        {"screen%n%d.tga", 3, "screen%n%d.tga"},
        {"screen%s.tga", 3, "screen%s.tga"},
        {"screen%*d.tga", 3, "screen%*d.tga"},
        {"screen%ld.tga", 3, "screen%ld.tga"},
        {"screen%1$d.tga", 3, "screen%1$d.tga"},
        {"screen%d%d.tga", 3, "screen%d%d.tga"},
        {"screen.tga", 3, "screen.tga"},
        // a field wider than 259 is refused too: the name is used as it stands
        {"%0400d.tga", 3, "%0400d.tga"},
        {"screen%999999999d.tga", 3, "screen%999999999d.tga"},
        {"screen%.260d.tga", 3, "screen%.260d.tga"},
        // 260 bytes and more do not fit the 260-byte buffer with its terminator
        {"%0256d.tga", 3, nullptr},
        {"%0259d.tga", 3, nullptr},
    };
    for (const Case& c : cases) {
        configure("BackgroundImage=" + std::string(c.name) + "\n");
        host.log().clear();
        screen->show(c.index);
        const auto loads = calls("gfxLoadImage");
        if (c.loaded) {
            ASSERT_EQ(loads.size(), 1u) << c.name;
            EXPECT_EQ(loads[0].args[0], c.loaded) << c.name;
        } else {
            EXPECT_TRUE(loads.empty()) << c.name << " does not fit 259 bytes";
        }
        kv::releaseLoadingScreen(&screen);
    }

    // 259 bytes fit exactly and are loaded whole.
    configure("BackgroundImage=%0255d.tga\n");
    host.log().clear();
    screen->show(3);
    ASSERT_EQ(count("gfxLoadImage"), 1u);
    EXPECT_EQ(calls("gfxLoadImage")[0].args[0].get<std::string>().size(), 259u);
    kv::releaseLoadingScreen(&screen);

    // A picture set from the mission stays; the index is not applied to it.
    configure(standardSettings("BackgroundImage=screen%d.tga\n"));
    screen->setBackgroundImage("mission.tga");
    host.log().clear();
    screen->show(5);
    EXPECT_EQ(count("gfxLoadImage"), 0u);
    EXPECT_EQ(count("imageDraw"), 2u);
}

TEST_F(LoadingScreenTest, APercentageFormatReadsOneRealOrIsShownAsItIs) {
    struct Case {
        const char* format;
        const char* shown;
    };
    const Case cases[] = {
        {"%.0f%%", "33%"},
        {"%5.1f %%", " 33.3 %"},  // a real percentage, not a whole one
        {"done", "done"},
        {"%d%%", "%d%%"},        // an integer where a real is passed
        {"%s", "%s"},
        {"%n%.0f", "%n%.0f"},
        {"%.0f%.0f", "%.0f%.0f"},  // one conversion too many
        {"%*f", "%*f"},
        {"%Lf", "%Lf"},
        {"%2$f", "%2$f"},
        // a field wider than a text line would print a billion characters
        {"%999999999.0f%%", "%999999999.0f%%"},
        {"%.260f", "%.260f"},
    };
    for (const Case& c : cases) {
        writeFile("strings.ini", "[Strings]\nLoading=Loading\nPercent=" + std::string(c.format) + "\n");
        configure(standardSettings("ProgressBarRange=30\n"));
        screen->show(-1);
        host.log().clear();
        screen->advance(10);
        const auto texts = calls("gfxDrawText");
        ASSERT_EQ(texts.size(), 4u);
        EXPECT_EQ(texts[1].args[0], c.shown) << c.format;
        kv::releaseLoadingScreen(&screen);
    }
    // A field of 259, a whole text line, is a field like any other.
    writeFile("strings.ini", "[Strings]\nLoading=Loading\nPercent=%259.0f\n");
    configure(standardSettings("ProgressBarRange=30\n"));
    screen->show(-1);
    host.log().clear();
    screen->advance(10);
    ASSERT_EQ(calls("gfxDrawText").size(), 4u);
    EXPECT_EQ(calls("gfxDrawText")[1].args[0], std::string(257, ' ') + "33");
}

// A text service that writes nothing for an unknown id must not leave
// whatever the buffers held before on screen.
TEST_F(LoadingScreenTest, UnknownStringIdsDrawEmptyTexts) {
    configure(standardSettings("LoadingTextStringID=NoSuchCaption\nPercentTextStringID=NoSuchFormat\n"));
    screen->show(-1);
    screen->advance(40);
    const auto ids = calls("txtGetStringId");
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids[0].result, -1);
    for (const auto& text : calls("gfxDrawText")) EXPECT_EQ(text.args[0], "");
    EXPECT_EQ(calls("txtGetIndexedString").size(), 8u) << "both strings read again in every pass";
}

TEST_F(LoadingScreenTest, WithoutARangeOrAPictureSizeOnlyTheCaptionsAreDrawn) {
    const std::string settings[] = {
        standardSettings("ProgressBarRange=0\n"),
        standardSettings("BackgroundImageSize=\n"),
        standardSettings("BackgroundImageSize=0,0\n"),
        standardSettings("BackgroundImageSize=800,0\n"),
    };
    for (const auto& section : settings) {
        configure(section);
        screen->show(-1);
        screen->advance(10);
        const kvsim::ScreenFrame& shown = host.graphics.lastScreen;
        EXPECT_FALSE(shown.hasBarOutline || shown.hasBarFill) << section;
        ASSERT_EQ(shown.texts.size(), 2u) << section;
        EXPECT_EQ(shown.texts[0].text, "Loading flight");
        for (const auto& text : shown.texts) EXPECT_TRUE(std::isfinite(text.x) && std::isfinite(text.y)) << section;
        kv::releaseLoadingScreen(&screen);
    }
    EXPECT_EQ(count("gfxDrawRectFrame") + count("gfxFillRect"), 0u);
    // No range, no percentage: 0 rather than a division by zero.
    configure(standardSettings("ProgressBarRange=0\n"));
    screen->show(-1);
    EXPECT_EQ(host.graphics.lastScreen.texts[1].text, "0%");
}

TEST_F(LoadingScreenTest, AnEmptySectionGivesAWhiteScreenWithoutPictureOrMusic) {
    configure("");
    EXPECT_EQ(calls("txtLoadTextFile")[0].args[0], nullptr) << "loaded even without a name";
    host.log().clear();
    screen->show(-1);
    EXPECT_EQ(count("sndPlayStream"), 0u);
    EXPECT_EQ(count("gfxLoadImage"), 0u);
    EXPECT_EQ(count("imageDraw"), 0u);
    EXPECT_EQ(calls("gfxSetTextColor")[0].args[0], Json({1.0f, 1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(calls("fadSetFadeTime")[0].args[0], 0.0f);
    // A fade of no time ends at the first step that reports it finished.
    EXPECT_EQ(count("fadStep"), 1u);
    EXPECT_NE(calls("fadStep")[0].result, 0);

    host.log().clear();
    screen->hide();
    EXPECT_TRUE(kvtest::callsInOrder(host.log(), {"fadStartFadeOut", "clkReset", "clkUpdate", "fadStep",
                                                  "sndIsStreamPlaying", "gfxReleaseImage", "txtUnloadTextFile"}));
    EXPECT_EQ(calls("gfxReleaseImage")[0].args[0], nullptr) << "released also when there is none";
}

TEST_F(LoadingScreenTest, HideStopsTheMusicAndGivesEverythingBack) {
    configure(standardSettings("StreamAudio=music.ogg\n"));
    screen->show(-1);
    const Json picture = calls("gfxLoadImage")[0].result;
    ASSERT_NE(picture, nullptr);
    host.sound.streamPlaying = 1;
    host.log().clear();

    screen->hide();
    EXPECT_TRUE(kvtest::callsInOrder(host.log(), {"fadStartFadeOut", "clkReset", "clkUpdate", "clkGetTime", "fadStep",
                                                  "sndUpdate", "sndIsStreamPlaying", "sndStopStream",
                                                  "gfxReleaseImage", "txtUnloadTextFile strings.ini"}));
    EXPECT_EQ(calls("gfxReleaseImage")[0].args[0], picture);
    EXPECT_NE(calls("fadStep").back().result, 0);
    EXPECT_EQ(screen->backgroundTexture, nullptr);
    EXPECT_EQ(screen->textFile, nullptr);
    EXPECT_EQ(screen->streamAudio, nullptr);
    EXPECT_EQ(screen->backgroundImage, nullptr);

    // Freeing a hidden screen calls nothing more; the blocks are checked
    // when the test ends.
    host.log().clear();
    kv::releaseLoadingScreen(&screen);
    EXPECT_EQ(screen, nullptr);
    EXPECT_EQ(count("fadStartFadeOut") + count("gfxReleaseImage") + count("txtUnloadTextFile"), 0u);
}

// A load can fail anywhere between creating the screen and hiding it.
TEST_F(LoadingScreenTest, ReleaseIsSafeAtEveryStage) {
    // Created only: nothing to give back but the object.
    screen = kv::createLoadingScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->backgroundImage, nullptr);
    EXPECT_EQ(screen->backgroundTexture, nullptr);
    host.log().clear();
    kv::releaseLoadingScreen(&screen);
    EXPECT_EQ(count("gfxReleaseImage") + count("txtUnloadTextFile") + count("fadStartFadeOut"), 0u);
    EXPECT_EQ(host.memory.liveBlocks("FLT"), blocksBefore);

    // Configured, with the mission's picture: what it holds goes back
    // without a fade.
    writePicture("mission.tga");
    configure(standardSettings("StreamAudio=music.ogg\n"));
    screen->setBackgroundImage("screen.tga");
    screen->setBackgroundImage("mission.tga");
    host.log().clear();
    kv::releaseLoadingScreen(&screen);
    EXPECT_EQ(count("fadStartFadeOut") + count("sndIsStreamPlaying"), 0u);
    EXPECT_EQ(count("gfxReleaseImage"), 1u);
    EXPECT_EQ(count("txtUnloadTextFile"), 1u);
    EXPECT_EQ(host.memory.liveBlocks("FLT"), blocksBefore);

    // Shown: released through a full hide.
    configure(standardSettings());
    screen->show(-1);
    screen->advance(30);
    host.log().clear();
    kv::releaseLoadingScreen(&screen);
    EXPECT_TRUE(kvtest::callsInOrder(host.log(), {"fadStartFadeOut", "fadStep", "gfxReleaseImage", "txtUnloadTextFile"}));
    EXPECT_EQ(host.memory.liveBlocks("FLT"), blocksBefore);

    kv::releaseLoadingScreen(&screen);  // null: nothing
    kv::releaseLoadingScreen(nullptr);
}

}  // namespace
