#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/config_document.h"
#include "sim/pictures/picture.h"
#include "sim/host/sim_host.h"
#include "tests/sim/scratch_folder.h"

namespace {

// A small real picture in the scratch folder.
void writePng(const std::string& name, int width, int height) {
    kvsim::Picture picture(width, height);
    picture.fillRect(0, 0, width, height, {0.5f, 0.5f, 0.5f, 1.0f});
    ASSERT_TRUE(picture.writePng(name));
}

TEST(SimGraphics, LoadsRealPicturesAndRefusesWhatItCannotRead) {
    kvtest::ScratchFolder folder("sim-graphics");
    std::filesystem::create_directories("Screens");
    writePng("Screens/Loading.png", 8, 6);
    folder.write("Screens/broken.png", std::string("\x89PNG\r\n\x1a\n", 8) + "not a picture");
    kvsim::SimHost host;

    kv::Image* image = host.front<kv::GraphicsInterface>().gfxLoadImage("screens\\LOADING.PNG");
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(host.graphics.images.size(), 1u);
    EXPECT_EQ(host.graphics.images[0]->width, 8);
    EXPECT_EQ(host.graphics.images[0]->height, 6);
    EXPECT_EQ(host.front<kv::GraphicsInterface>().gfxLoadImage("screens\\broken.png"), nullptr);
    EXPECT_EQ(host.front<kv::GraphicsInterface>().gfxLoadImage("screens\\missing.png"), nullptr);
    EXPECT_EQ(host.front<kv::GraphicsInterface>().gfxLoadImage(nullptr), nullptr);
    EXPECT_EQ(host.graphics.images.size(), 1u);
    const auto& records = host.log().records();
    EXPECT_EQ(records[0].result, "image:1");
    EXPECT_TRUE(records[1].hasResult && records[1].result.is_null());

    host.front<kv::GraphicsInterface>().gfxReleaseImage(&image);
    EXPECT_EQ(image, nullptr);
    EXPECT_TRUE(host.graphics.images.empty());
}

TEST(SimGraphics, KeepsTheLastLoadingScreenFrameAndReportsThreeScreens) {
    kvtest::ScratchFolder folder("sim-graphics-frame");
    writePng("back.png", 4, 3);
    kvsim::SimHost host;
    kv::GraphicsInterface& gfx = host.front<kv::GraphicsInterface>();

    kv::DisplayInfo* info = nullptr;
    gfx.gfxGetDisplay()->displayGetInfo(&info);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->threeScreens, 0);
    host.scenario.threeScreens = 1;
    info = nullptr;
    gfx.gfxGetDisplay()->displayGetInfo(&info);
    EXPECT_EQ(reinterpret_cast<const int32_t*>(info)[13], 1) << "the 14th word";

    // One loading-screen frame, as the module draws it.
    kv::Image* picture = gfx.gfxLoadImage("back.png");
    ASSERT_NE(picture, nullptr);
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float left[2] = {0.125f, 0.8f}, right[2] = {0.875f, 0.9f}, fill[2] = {0.5f, 0.9f};
    gfx.gfxBeginFrame();
    picture->imageDraw(0.333333f, 0.0f, 0.333333f, 1.0f);
    gfx.gfxDrawRectFrame(left, right, white);
    gfx.gfxFillRect(left, fill, white);
    gfx.gfxSetTextColor(white);
    gfx.gfxDrawText("Loading", 0.117f, 0.85f, 0, 0x14);
    gfx.gfxDrawText("50", 0.883f, 0.85f, 0, 0x12);
    gfx.gfxEndFrame();
    gfx.gfxPresent();
    // A frame of the flight draws nothing in 2D: the loading screen stays.
    gfx.gfxBeginFrame();
    gfx.gfxPresent();

    const kvsim::ScreenFrame& shown = host.graphics.lastScreen;
    EXPECT_EQ(host.graphics.framesPresented, 2);
    ASSERT_TRUE(shown.hasPicture);
    EXPECT_EQ(shown.picture, "back.png");
    EXPECT_EQ(shown.pictureWidth, 4);
    EXPECT_EQ(shown.pictureRect[0], 0.333333f);
    ASSERT_TRUE(shown.hasBarOutline && shown.hasBarFill);
    EXPECT_EQ(std::vector<float>(shown.barOutline, shown.barOutline + 4),
              (std::vector<float>{0.125f, 0.8f, 0.875f, 0.9f}));
    EXPECT_EQ(shown.barFill[2], 0.5f);
    ASSERT_EQ(shown.texts.size(), 2u);
    EXPECT_EQ(shown.texts[0].text, "Loading");
    EXPECT_EQ(shown.texts[0].alignment, 0x14);
    EXPECT_EQ(shown.texts[1].x, 0.883f);
    EXPECT_EQ(shown.texts[1].color[3], 1.0f);

    // Records passed by pointer go into the trace as objects, colours and
    // corners as arrays.
    kv::FontSettings font = {"Arial", 12, kv::kFontBold};
    gfx.gfxCreateFont(&font);
    // The layer knows a camera's block once it has been handed out, as the
    // module asks for it before it selects the camera.
    kv::Camera* camera = gfx.gfxCreateCamera(0);
    kv::CameraParams* params = nullptr;
    camera->cameraGetParams(&params);
    gfx.gfxSetCamera(camera);
    std::vector<std::string> lines;
    for (const auto& r : host.log().records())
        if (r.op == "gfxCreateFont" || r.op == "gfxSetCamera" || r.op == "gfxFillRect") lines.push_back(r.args.dump());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "[[0.125,0.800000011920929],[0.5,0.8999999761581421],[1.0,1.0,1.0,1.0]]");
    EXPECT_EQ(lines[1], R"([{"faceName":"Arial","size":12,"styleFlags":2}])");
    EXPECT_NE(lines[2].find(R"("fieldOfView":60.0)"), std::string::npos) << lines[2];
}

}  // namespace
