// What the player sees, checked by the pictures' pixels: the loading
// screens and screenshots of the training flight flown by the module, and
// the stand-in's flight pictures built up call by call.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entry/module_entry.h"
#include "sim/pictures/image_file.h"
#include "sim/host/module_driver.h"
#include "sim/pictures/picture_text.h"
#include "sim/scenario/scenario_file.h"
#include "sim/host/sim_host.h"
#include "tests/sim/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// The training flight's display (its options.ini) and text colour
// (TextFontColor 1.0,0.78,0.3 of its flight.ini).
constexpr int32_t kWidth = 1024;
constexpr int32_t kHeight = 768;
constexpr uint32_t kAmber = 0xFFC74D;

int px(float fraction, int32_t size) { return static_cast<int>(std::lround(fraction * static_cast<float>(size))); }

struct Rgb {
    int r, g, b;
    explicit Rgb(uint32_t p) : r(static_cast<int>(p >> 16)), g(static_cast<int>((p >> 8) & 0xFF)), b(static_cast<int>(p & 0xFF)) {}
    bool yellow() const { return r > 200 && g > 180 && b < 80; }
    bool red() const { return r > 200 && g < 100 && b < 100; }
    bool sky() const { return b > r + 40; }
    bool ground() const { return g > b && r < 150; }
};

// A PNG file read back, with its pixels as 0xRRGGBB.
struct PngFile {
    std::shared_ptr<const kvsim::DecodedImage> image;
    explicit PngFile(const fs::path& path) : image(kvsim::readImage(path.string())) {}
    uint32_t at(int x, int y) const {
        const uint8_t* p = &image->rgba[(static_cast<std::size_t>(y) * image->width + x) * 4];
        return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
};

// The pixels two pictures of one size differ in.
struct Changed {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
};
Changed changedBetween(const kvsim::Picture& a, const kvsim::Picture& b, int fromX, int toX) {
    Changed c;
    for (int y = 0; y < a.height(); ++y)
        for (int x = fromX; x < toX; ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                c.left = std::min(c.left, x);
                c.right = std::max(c.right, x);
                c.top = std::min(c.top, y);
                c.bottom = std::max(c.bottom, y);
                ++c.count;
            }
    return c;
}

// The training flight flown by the module linked into this program, in a
// scratch copy; the scenario's events, screenshot folder and all.
class TrainingFlight {
public:
    TrainingFlight() : scratch_("screen-pictures") {
        fs::copy(fs::path(KORVANE_EXAMPLES) / "training", scratch_.path() / "training", fs::copy_options::recursive);
        folder = scratch_.path() / "training";
        kvsim::ScenarioError problem;
        EXPECT_TRUE(kvsim::readScenarioFile((folder / "scenario.ini").string(), scenario, problem)) << problem.text();
    }
    void fly(kvsim::SimHost& host) {
        kvsim::ModuleDriver driver{host, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
        driver.initDll(0);
        fs::create_directories(folder / scenario.screenshotDirectory);
        driver.setScreenshotDirectory(scenario.screenshotDirectory.c_str());
        EXPECT_EQ(driver.fly(folder.string().c_str(), scenario.startupFile.c_str()), 0);
        driver.exitDll();
    }
    fs::path folder;
    kvsim::Scenario scenario;

private:
    kvtest::ScratchFolder scratch_;
};

TEST(LoadingPictures, TheBarFillsInTenthsAndTheCaptionsSitAtTheirAnchors) {
    if (!kvsim::textsMissing().empty()) GTEST_SKIP() << kvsim::textsMissing();
    TrainingFlight training;
    kvsim::SimHost host(training.scenario);
    std::set<int> tenths;
    int frames = 0;
    host.graphics.onLoadingScreen = [&](const kvsim::ScreenFrame& frame) {
        ++frames;
        kvsim::Picture picture(host.graphics.displayWidth, host.graphics.displayHeight);
        kvsim::drawLoadingScreen(frame, picture);
        ASSERT_EQ(picture.width(), kWidth);
        ASSERT_EQ(picture.height(), kHeight);
        ASSERT_TRUE(frame.hasBarFill && frame.hasBarOutline && frame.texts.size() == 2u);

        // The fill runs from the bar's left edge to the fill rectangle's
        // right edge, in the module's colour, and stops there.
        const int row = px((frame.barFill[1] + frame.barFill[3]) * 0.5f, kHeight);
        const int fillLeft = px(frame.barFill[0], kWidth);
        const int fillRight = px(frame.barFill[2], kWidth);
        const int barRight = px(frame.barOutline[2], kWidth);
        int end = fillLeft;
        while (end < barRight && picture.pixel(end, row) == kAmber) ++end;
        // (An empty fill leaves only the outline's left edge.)
        if (fillRight > fillLeft && fillRight < barRight - 1) {
            EXPECT_EQ(end, fillRight) << "fill " << frame.barFill[2];
        }
        const float share = (frame.barFill[2] - frame.barFill[0]) / (frame.barOutline[2] - frame.barOutline[0]);
        const float tenth = share * 10.0f;
        EXPECT_NEAR(tenth, std::round(tenth), 1e-3f);
        tenths.insert(static_cast<int>(std::lround(tenth)));
        EXPECT_EQ(picture.pixel((px(frame.barOutline[0], kWidth) + barRight) / 2, px(frame.barOutline[1], kHeight)), kAmber)
            << "the outline's top edge";

        // The texts: what they add to the picture lies in their anchored
        // boxes; the caption ends at its point, the percentage starts at it,
        // both centred on it.
        kvsim::ScreenFrame bare = frame;
        bare.texts.clear();
        kvsim::Picture without(kWidth, kHeight);
        kvsim::drawLoadingScreen(bare, without);
        const float height = kvsim::loadingTextHeight(frame);
        const int barLeft = px(frame.barOutline[0], kWidth);
        for (int which = 0; which < 2; ++which) {
            const kvsim::ScreenFrame::Text& text = frame.texts[static_cast<std::size_t>(which)];
            const int ax = px(text.x, kWidth), ay = px(text.y, kHeight);
            const Changed c = which == 0 ? changedBetween(picture, without, 0, barLeft)
                                         : changedBetween(picture, without, barRight, kWidth);
            ASSERT_GT(c.count, 20) << text.text;
            EXPECT_GE(c.top, ay - height * 0.6f) << text.text;
            EXPECT_LE(c.bottom, ay + height * 0.6f) << text.text;
            EXPECT_NEAR((c.top + c.bottom) * 0.5f, static_cast<float>(ay), height * 0.25f) << text.text;
            if (which == 0) {
                EXPECT_LE(c.right, ax + 1) << "the caption ends at its point";
                EXPECT_GE(c.right, ax - height * 0.6f) << "the caption ends at its point";
            } else {
                EXPECT_GE(c.left, ax - 1) << "the percentage starts at its point";
                EXPECT_LE(c.left, ax + height * 0.6f) << "the percentage starts at its point";
            }
        }
    };
    host.scenario.appEndsAfter = 3;
    kvsim::ModuleDriver driver{host, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
    driver.initDll(0);
    driver.fly(training.folder.string().c_str(), training.scenario.startupFile.c_str());
    driver.exitDll();
    EXPECT_GE(frames, 11);
    EXPECT_EQ(tenths, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST(LoadingPictures, OutlineAndFillKeepTheirOwnColoursOverThePicture) {
    kvtest::ScratchFolder folder("loading-colours");
    kvsim::Picture green(4, 4);
    green.fillRect(0, 0, 4, 4, {0.0f, 1.0f, 0.0f, 1.0f});
    ASSERT_TRUE(green.writePng("green.png"));
    kvsim::SimHost host;
    kv::GraphicsInterface& gfx = host.graphics;
    kv::GraphicsSetup setup = {};
    setup.displayWidth = 400;
    setup.displayHeight = 300;
    gfx.gfxInitDisplay(&setup, nullptr);
    kv::Image* image = gfx.gfxLoadImage("green.png");
    ASSERT_NE(image, nullptr);
    const float red[4] = {1, 0, 0, 1}, blue[4] = {0, 0, 1, 1};
    const float leftTop[2] = {0.1f, 0.5f}, rightBottom[2] = {0.9f, 0.6f}, fillEnd[2] = {0.3f, 0.6f};
    gfx.gfxBeginFrame();
    image->imageDraw(0.25f, 0.0f, 0.5f, 1.0f);
    gfx.gfxDrawRectFrame(leftTop, rightBottom, red);
    gfx.gfxFillRect(leftTop, fillEnd, blue);
    gfx.gfxPresent();
    kvsim::Picture picture(host.graphics.displayWidth, host.graphics.displayHeight);
    kvsim::drawLoadingScreen(host.graphics.lastScreen, picture);
    EXPECT_EQ(picture.width(), 400);
    EXPECT_EQ(picture.pixel(200, 20), 0x00FF00u) << "the picture in its rectangle";
    EXPECT_EQ(picture.pixel(50, 20), 0u) << "left of the picture";
    EXPECT_EQ(picture.pixel(200, 150), 0xFF0000u) << "the outline's top edge";
    EXPECT_EQ(picture.pixel(80, 165), 0x0000FFu) << "the fill";
    EXPECT_EQ(picture.pixel(200, 165), 0x00FF00u) << "past the fill, the picture";
}

TEST(Screenshots, TheTrainingFlightShowsItsMapAroundThePlayerAndThenTheCockpit) {
    TrainingFlight training;
    kvsim::SimHost host(training.scenario);
    training.fly(host);
    // Numbers go on from earlier flights of this program's module.
    ASSERT_EQ(host.state.screenshots.size(), 2u);
    const fs::path shots = training.folder / training.scenario.screenshotDirectory;

    const PngFile map(shots / host.state.screenshots[0]);
    ASSERT_TRUE(map.image) << "a PNG file";
    EXPECT_EQ(map.image->width, kWidth);
    EXPECT_EQ(map.image->height, kHeight);
    EXPECT_TRUE(Rgb(map.at(kWidth / 2, kHeight / 2)).yellow()) << "the player at the map's centre";
    EXPECT_FALSE(Rgb(map.at(kWidth / 2 + 40, kHeight / 2)).yellow());

    const PngFile cockpit(shots / host.state.screenshots[1]);
    ASSERT_TRUE(cockpit.image);
    EXPECT_EQ(cockpit.image->width, kWidth);
    // Level flight: the horizon across the middle, the panel below it.
    EXPECT_TRUE(Rgb(cockpit.at(kWidth / 2, kHeight / 2 - 8)).sky());
    EXPECT_TRUE(Rgb(cockpit.at(kWidth / 2, kHeight / 2 + 8)).ground());
    EXPECT_FALSE(Rgb(cockpit.at(kWidth / 2, kHeight - 8)).ground()) << "the instrument panel";
}

// A flight frame presented through a camera the way the module does it.
void presentThrough(kvsim::SimHost& host, kv::Camera* camera) {
    host.graphics.gfxSetCamera(camera);
    host.graphics.gfxBeginFrame();
    host.graphics.gfxPresent();
}

TEST(Screenshots, TheHorizonFollowsTheViewAndTheOutsideViewHasNoPanel) {
    kvsim::SimHost host;
    host.views.cockpitView = 0;
    kv::Camera* camera = host.graphics.gfxCreateCamera(0);
    // Nose 10 degrees up: rows right, forward, up.
    const float s = std::sin(10.0f * 3.14159265f / 180.0f), c = std::cos(10.0f * 3.14159265f / 180.0f);
    const float pitched[9] = {1, 0, 0, 0, c, s, 0, -s, c};
    camera->cameraSetOrientation(pitched);
    presentThrough(host, camera);
    kvsim::Picture picture(host.graphics.displayWidth, host.graphics.displayHeight);
    kvsim::drawFlightScreen(host.graphics.flightScreen(), picture);
    EXPECT_EQ(picture.width(), 640) << "no display set up yet";
    // The horizon lies tan(10)/tan(30) of half the width below the middle.
    const int horizon = 240 + static_cast<int>(std::lround(s / c / std::tan(30.0f * 3.14159265f / 180.0f) * 320.0f));
    EXPECT_TRUE(Rgb(picture.pixel(320, horizon - 3)).sky()) << horizon;
    EXPECT_TRUE(Rgb(picture.pixel(320, horizon + 3)).ground()) << horizon;
    EXPECT_TRUE(Rgb(picture.pixel(320, 470)).ground()) << "no cockpit panel outside";

    // Rolled 90 degrees right: the sky on the left half, the ground on the right.
    const float rolled[9] = {0, 0, -1, 0, 1, 0, 1, 0, 0};
    camera->cameraSetOrientation(rolled);
    presentThrough(host, camera);
    kvsim::drawFlightScreen(host.graphics.flightScreen(), picture);
    EXPECT_TRUE(Rgb(picture.pixel(100, 240)).sky());
    EXPECT_TRUE(Rgb(picture.pixel(540, 240)).ground());
}

TEST(Screenshots, TheMapShowsObjectsWithinItsSizeAndTheTextsOnScreen) {
    if (!kvsim::textsMissing().empty()) GTEST_SKIP() << kvsim::textsMissing();
    kvsim::SimHost host;
    kv::GraphicsSetup setup = {};
    setup.displayWidth = 800;
    setup.displayHeight = 600;
    host.graphics.gfxInitDisplay(&setup, nullptr);
    host.objects.playerObject = 1;
    const double player[3] = {1000.0, 2000.0, 1000.0};
    std::copy(player, player + 3, host.objects.object(1).position);
    host.objects.object(2).position[0] = player[0] + 10000.0;  // a quarter of the map east
    host.objects.object(2).position[1] = player[1];
    host.objects.object(3).position[1] = player[1] - 30000.0;  // off the map to the south
    kv::Camera* map = host.graphics.gfxCreateCamera(kvsim::SimCamera::kMapCameraKind);
    kv::CameraParams* params = nullptr;
    map->cameraGetParams(&params);
    params->farClip = 20000.0f;  // a map 40 km across
    map->cameraSetPosition(player);

    host.messages.msgShowText("Pause %s", "on");
    host.messages.msgUpdate(1.5f);
    host.messages.msgShowText("Joined");
    host.messages.msgShowEntryLine("All>%s_", "hello");
    host.messages.msgRender();
    presentThrough(host, map);

    const kvsim::FlightScreen screen = host.graphics.flightScreen();
    EXPECT_EQ(screen.view, kvsim::FlightScreen::View::Map);
    EXPECT_FLOAT_EQ(screen.mapSize, 40000.0f);
    ASSERT_EQ(screen.messages.size(), 2u);
    EXPECT_EQ(screen.messages[0].text, "Pause on");
    EXPECT_FLOAT_EQ(screen.messages[0].timeLeft, kvsim::SimMessages::kMessageSeconds - 1.5f);
    EXPECT_EQ(screen.entryLine, "All>hello_");

    kvsim::Picture picture(800, 600);
    kvsim::drawFlightScreen(screen, picture);
    // The map is the 600-pixel square in the middle.
    EXPECT_TRUE(Rgb(picture.pixel(400, 300)).yellow()) << "the player at the centre";
    EXPECT_TRUE(Rgb(picture.pixel(400 + 150, 300)).red()) << "10 km east";
    int red = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) red += Rgb(picture.pixel(x, y)).red() ? 1 : 0;
    EXPECT_LT(red, 300) << "one mark: the object 30 km south is off the map";

    // The messages stack from the top left, the entry line sits at the bottom.
    kvsim::FlightScreen silent = screen;
    silent.messages.clear();
    silent.entryLine.clear();
    kvsim::Picture quiet(800, 600);
    kvsim::drawFlightScreen(silent, quiet);
    const Changed top = changedBetween(picture, quiet, 0, 400);
    EXPECT_LT(top.top, 30);
    EXPECT_GT(top.count, 200);
    EXPECT_GT(top.bottom, 550) << "the entry line at the bottom";

    // The messages run out; the entry line lasts its frame.
    host.messages.msgUpdate(kvsim::SimMessages::kMessageSeconds - 1.0f);
    host.messages.msgRender();
    const kvsim::FlightScreen later = host.graphics.flightScreen();
    ASSERT_EQ(later.messages.size(), 1u);
    EXPECT_EQ(later.messages[0].text, "Joined");
    EXPECT_FLOAT_EQ(later.messages[0].timeLeft, 1.0f);
    EXPECT_EQ(later.entryLine, "");
}

TEST(Screenshots, AnUnwritableNameOrAnOddDisplayWritesNothingAndFailsNoFurther) {
    kvtest::ScratchFolder folder("screenshot-fail");
    kvsim::SimHost host;
    kv::GraphicsSetup setup = {};
    setup.displayWidth = -5;
    setup.displayHeight = 1 << 30;
    host.graphics.gfxInitDisplay(&setup, nullptr);
    EXPECT_EQ(host.graphics.displayWidth, kvsim::SimGraphics::kDefaultDisplayWidth);
    EXPECT_EQ(host.graphics.gfxSaveScreenshot("no-such-folder\\shot.png"), 0);
    EXPECT_EQ(host.graphics.gfxSaveScreenshot("shot.png"), 1);
    const PngFile shot(folder.path() / "shot.png");
    ASSERT_TRUE(shot.image);
    EXPECT_EQ(shot.image->width, 640);
    EXPECT_EQ(shot.image->height, 480);
    EXPECT_EQ(host.state.screenshots, std::vector<std::string>{"shot.png"});
}

}  // namespace
