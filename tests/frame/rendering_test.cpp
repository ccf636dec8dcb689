// What a frame draws: depth partitions, the player's render flag, lens
// flare, the cockpit mirror and the map.
#include <cmath>

#include "tests/frame/frame_fixture.h"

namespace kvtest {
namespace {

class RenderingTest : public FlightFrames {
protected:
    void SetUp() override {
        FlightFrames::SetUp();
        flyPlayerAircraft(1);
        pastFirstFrames();
    }

    // The (near, far) clip of the selected camera each time op took it
    // into effect, from log position from on.
    std::vector<std::pair<double, double>> clipsAt(const std::string& op, std::size_t from) {
        std::vector<std::pair<double, double>> out;
        const auto& records = host.log().records();
        for (std::size_t i = from; i < records.size(); ++i) {
            if (records[i].fromHost || records[i].op != op) continue;
            const kvsim::Json& params = records[i].args.at(0);
            out.emplace_back(params.at("nearClip").get<double>(), params.at("farClip").get<double>());
        }
        return out;
    }

    kvsim::SimCamera& simCamera(kv::Camera* camera) { return static_cast<kvsim::SimCamera&>(*host.behind(camera)); }
};

using Clips = std::vector<std::pair<double, double>>;

TEST_F(RenderingTest, DepthPartitionsFollowTheDepthBufferSize) {
    // far (500, 20000), normal (20, 600), near (0.5, 25); cockpit (0.01, 10).
    host.views.cockpitView = 1;
    flight->graphicsSetup.zBufferDepth = 16;
    std::size_t from = frames();
    EXPECT_EQ(clipsAt("cameraApply", from), (Clips{{0.5f, 20000.0f}}));  // the whole range
    EXPECT_EQ(clipsAt("gfxApplyCamera", from),
              (Clips{{20.0f, 600.0f}, {0.5f, 25.0f}, {0.01f, 10.0f}}));  // normal, near, cockpit
    EXPECT_EQ(count("gfxFlushObjects", from), 1u);

    for (int32_t depth : {24, 32}) {
        SCOPED_TRACE(depth);
        flight->graphicsSetup.zBufferDepth = depth;
        from = frames();
        EXPECT_EQ(clipsAt("gfxApplyCamera", from), (Clips{{0.5f, 600.0f}, {0.01f, 10.0f}}));
        EXPECT_EQ(count("gfxDrawObjects", from), 1u);
    }
    // An outside view: no cockpit pass, the HUD in the cockpit range.
    host.views.cockpitView = 0;
    flight->hudInterface = &host.front<kv::HudInterface>();
    from = frames();
    EXPECT_EQ(clipsAt("gfxApplyCamera", from), (Clips{{0.5f, 600.0f}, {0.01f, 10.0f}}));
    EXPECT_EQ(count("vmgRenderCockpit", from), 0u);
    EXPECT_EQ(count("hudRender", from), 1u);
}

// The environment says from the view's height whether the camera sees the
// layers below and above the far scene (the stand-in: below height 0); the
// terrain and the mission draw them only then, each in its place.
TEST_F(RenderingTest, TheLayersBelowAndAboveComeOnlyWhereTheEnvironmentSaysSo) {
    kvsim::SimGameObject& player = host.objects.object(1);
    player.position[2] = 100.0;
    std::size_t from = frames();
    EXPECT_EQ(count("terRenderLower", from), 0u);
    EXPECT_EQ(count("msnRenderLower", from), 0u);
    EXPECT_EQ(count("terRenderUpper", from), 0u);
    EXPECT_EQ(count("msnRenderUpper", from), 1u);

    player.position[2] = -5.0;
    from = frames();
    EXPECT_EQ(argsOf("envCameraCondition", from), (std::vector<double>{-5.0, -5.0}));
    EXPECT_TRUE(inOrder(from, SIZE_MAX,
                        {"gfxBeginScene", "envRenderBackground", "terRenderLower", "msnRenderLower", "ptsRender",
                         "objRender", "gfxDrawFarObjects", "envRenderMiddle", "terRenderUpper", "msnRenderUpper"}));
    EXPECT_EQ(count("terRenderLower", from), 1u);
    EXPECT_EQ(count("terRenderUpper", from), 1u);
}

TEST_F(RenderingTest, ThePlayersAircraftIsHiddenOnlyInACockpitWithoutTheModel) {
    const int32_t hidden = 0x100;  // the stand-in's NOT_RENDERED bit
    kvsim::SimGameObject& player = host.objects.object(1);
    player.renderFlags = 0x3;
    ASSERT_EQ(flight->notRenderedFlag, hidden);

    host.views.cockpitView = 1;
    flight->showCockpit = 0;
    std::size_t from = frames();
    EXPECT_EQ(player.renderFlags, 0x3 | hidden);
    EXPECT_EQ(argsOf("vmgRenderCockpit", from), std::vector<double>{0});

    flight->showCockpit = 1;
    from = frames();
    EXPECT_EQ(player.renderFlags, 0x3);
    EXPECT_EQ(argsOf("vmgRenderCockpit", from), std::vector<double>{1});

    // Outside, the aircraft is shown and the cockpit comes back for later.
    player.renderFlags = 0x3 | hidden;
    flight->showCockpit = 0;
    host.views.cockpitView = 0;
    from = frames();
    EXPECT_EQ(player.renderFlags, 0x3);
    EXPECT_EQ(flight->showCockpit, 1);
    EXPECT_EQ(count("vmgRenderCockpit", from), 0u);
    // Looking at the player's own aircraft from outside resets the view
    // attachment.
    EXPECT_TRUE(inOrder(from, SIZE_MAX, {"vmgGetViewObject", "objGetObjectInterface", "viewAttachReset"}));
}

TEST_F(RenderingTest, AvionicsRunOnlyWhileThePlayerFliesOrWatchesTheAircraft) {
    flight->avionicsInterface = &host.front<kv::AvionicsInterface>();
    host.objects.object(2);
    // Paused: the aircraft is not looked up again, so each case keeps the
    // player and eject state it sets.
    flight->paused = 1;
    struct Case {
        int32_t cockpit;
        int32_t viewed;
        int32_t player;
        int32_t ejected;
        std::size_t updates;
    };
    const Case cases[] = {
        {1, 2, 1, 0, 1},   // in the cockpit, whatever the view looks at
        {0, 1, 1, 0, 1},   // outside, looking at the player's aircraft
        {0, 2, 1, 0, 0},   // outside, looking at another object
        {1, 1, 1, 1, 0},   // ejected
        {1, 1, -1, 0, 0},  // no aircraft
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "cockpit " << c.cockpit << " viewed " << c.viewed << " player "
                                        << c.player << " ejected " << c.ejected);
        host.views.cockpitView = c.cockpit;
        host.views.vmgSelectView(host.views.vmgCreateView("Chase", c.viewed, 1));
        flight->playerObjectId = c.player;
        flight->ejected = c.ejected;
        const std::size_t from = frames();
        EXPECT_EQ(count("avnUpdate", from), c.updates);
    }
}

TEST_F(RenderingTest, LensFlareByOptionInTheMainViewAndTheMirror) {
    flight->cockpitMirrors = 1;
    flight->mirrorTextureId = 9;
    kv::mirrorCamera = host.front<kv::GraphicsInterface>().gfxCreateCamera(0);
    struct Case {
        int32_t option;
        int32_t cockpit;
        std::size_t flares;
    };
    // In the cockpit the mirror is drawn too; outside it is not.
    const Case cases[] = {
        {0, 1, 2}, {0, 0, 1},  // everywhere: main view and mirror
        {1, 1, 0}, {1, 0, 1},  // outside the cockpit only, never in the mirror
        {2, 1, 0}, {2, 0, 0},  // never
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "lensFlare " << c.option << " cockpit " << c.cockpit);
        flight->lensFlare = c.option;
        host.views.cockpitView = c.cockpit;
        const std::size_t from = frames();
        EXPECT_EQ(count("envRenderLensFlare", from), c.flares);
        EXPECT_EQ(count("gfxSetMirrorPass", from), c.cockpit ? 2u : 0u);
    }
}

TEST_F(RenderingTest, TheMirrorReflectsTheAircraftsSecondAxisFromAMovedEye) {
    flight->cockpitMirrors = 1;
    flight->mirrorTextureId = 9;
    kv::mirrorCamera = host.front<kv::GraphicsInterface>().gfxCreateCamera(0);
    host.views.cockpitView = 1;
    kvsim::SimGameObject& player = host.objects.object(1);
    const float axes[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    std::copy(axes, axes + 9, player.orientation);
    const std::size_t from = frames();

    kvsim::SimCamera& mirror = simCamera(kv::mirrorCamera);
    const float reflected[9] = {0, 1, 0, 1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(mirror.orientation[i], reflected[i]) << i;
    // The eye is the main camera's position, moved along the third axis.
    const kvsim::SimCamera& main = simCamera(kv::mainCamera);
    EXPECT_EQ(mirror.position[0], main.position[0] + 0.0);
    EXPECT_EQ(mirror.position[1], main.position[1] + 0.0);
    EXPECT_EQ(mirror.position[2], main.position[2] + 1.0);
    // The mirror's own range: one near partition, whatever the depth buffer.
    EXPECT_EQ(clipsAt("cameraApply", from).front(), (std::pair<double, double>{0.5f, 20000.0f}));
    EXPECT_TRUE(inOrder(from, SIZE_MAX, {"gfxSetRenderTarget", "gfxGetPassOption", "gfxSetMirrorPass",
                                         "gfxSetPassOption", "objRender", "gfxEndScene", "gfxSetRenderTarget",
                                         "gfxSetCamera", "gfxSetPassOption", "gfxSetMirrorPass"}));
    EXPECT_EQ(argsOf("gfxSetRenderTarget", from), (std::vector<double>{9, -1}));
    // The pass option the graphics module had is given back.
    EXPECT_EQ(argsOf("gfxSetPassOption", from), (std::vector<double>{0, 7}));
    EXPECT_EQ(argsOf("objRender", from).front(), 0.0) << "the mirror draws objects at no simulated time";
}

TEST_F(RenderingTest, AMirrorWithoutAPlayerBodyDrawsNothingAndGivesBackTheScreen) {
    flight->cockpitMirrors = 1;
    flight->mirrorTextureId = 9;
    kv::mirrorCamera = host.front<kv::GraphicsInterface>().gfxCreateCamera(0);
    host.views.cockpitView = 1;
    host.objects.playerObject = 42;  // the object module names no object with a body
    const std::size_t from = frames();
    // Target and camera first, then the body is looked for; without one
    // the screen and the main camera come straight back.
    EXPECT_TRUE(inOrder(from, SIZE_MAX, {"gfxSetRenderTarget", "gfxSetCamera", "objGetPlayerObject",
                                         "objGetObjectInterface", "gfxSetRenderTarget", "gfxSetCamera",
                                         "objGetObject", "vmgRenderCockpit"}));
    EXPECT_EQ(argsOf("gfxSetRenderTarget", from), (std::vector<double>{9, -1}));
    const auto& records = host.log().records();
    std::vector<std::string> cameras;
    for (std::size_t i = from; i < records.size(); ++i)
        if (records[i].op == "gfxSetCamera") cameras.push_back(records[i].args[0].get<std::string>());
    ASSERT_EQ(cameras.size(), 3u);  // the frame's main camera, the mirror's, the main one again
    EXPECT_EQ(cameras[1], host.log().handle(kv::mirrorCamera, "camera"));
    EXPECT_EQ(cameras[2], host.log().handle(kv::mainCamera, "camera"));
    for (const char* op : {"cameraGetPosition", "gfxSetMirrorPass", "gfxGetPassOption"})
        EXPECT_EQ(count(op, from), 0u) << op;
    EXPECT_EQ(count("gfxBeginScene", from), 1u) << "only the main scene is drawn";
    EXPECT_EQ(count("vmgRenderCockpit", from), 1u) << "the main view goes on";
}

TEST_F(RenderingTest, MapZoomStaysWithinItsBoundsAndSetsTheClips) {
    flight->mapShown = 1;
    flight->zoomControlId = 3;
    host.scenario.frameTimes = {0.1f};
    struct Case {
        float start;
        float axis;
        float size;
    };
    const Case cases[] = {
        {1500.0f, 1.0f, 1000.0f},     // 1500 - 1000 is below the minimum
        {1500.0f, 0.25f, 1250.0f},    // within the bounds
        {19500.0f, -1.0f, 20000.0f},  // zooming out stops at the maximum
        {1000.0f, 0.0f, 1000.0f},     // on the minimum
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        flight->mapSize = c.start;
        host.scenario.zoomAxis = c.axis;
        const std::size_t from = frames();
        EXPECT_FLOAT_EQ(flight->mapSize, c.size);
        const Clips clips = clipsAt("gfxApplyCamera", from);
        ASSERT_EQ(clips.size(), 1u);
        EXPECT_FLOAT_EQ(clips[0].second, c.size * 0.5f);
        EXPECT_FLOAT_EQ(clips[0].first, c.size * 0.05f);
    }
    // Without a zoom control the map keeps its size and asks no control.
    flight->zoomControlId = -1;
    flight->mapSize = 10000.0f;
    host.scenario.zoomAxis = 1.0f;
    const std::size_t from = frames();
    EXPECT_EQ(flight->mapSize, 10000.0f);
    EXPECT_EQ(count("ctlGetAxisValue", from), 0u);
    const Clips clips = clipsAt("gfxApplyCamera", from);
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_FLOAT_EQ(clips[0].second, 5000.0f);
    EXPECT_FLOAT_EQ(clips[0].first, 500.0f);
}

TEST_F(RenderingTest, TheMapFollowsThePlayersBodyAndKeepsItsPlaceWithoutOne) {
    flight->mapShown = 1;
    kvsim::SimGameObject& player = host.objects.object(1);
    // Far from the origin: a listener computed in 32-bit reals would lose
    // the quarter.
    player.position[0] = 1.0e9 + 0.25;
    player.position[1] = 2.0;
    player.position[2] = 3.0;
    const float axes[9] = {1, 0, 0, 0.5f, 1, 0, 0, 0, 1};
    std::copy(axes, axes + 9, player.orientation);
    frames();
    const kvsim::SimCamera& map = simCamera(kv::mapCamera);
    EXPECT_EQ(map.position[0], 1.0e9 + 0.25);
    EXPECT_EQ(map.position[2], 3.0);
    const auto& records = host.log().records();
    kvsim::Json listener;
    for (const auto& record : records)
        if (record.op == "sndSetListenerPosition") listener = record.args.at(0);
    EXPECT_EQ(listener.at(0).get<double>(), 1.0e9 + 0.25 - 0.5);
    EXPECT_EQ(listener.at(1).get<double>(), 1.0);
    EXPECT_EQ(listener.at(2).get<double>(), 3.0);

    // A paused frame (the aircraft is not looked up again) whose mission
    // object has no body: the map stays where it was.
    flight->paused = 1;
    host.scenario.playerObject = 42;
    const std::size_t from = frames();
    EXPECT_EQ(count("bodyGetPosition", from), 0u);
    EXPECT_EQ(map.position[0], 1.0e9 + 0.25);
    EXPECT_EQ(count("terRenderMap", from), 1u);
}

}  // namespace
}  // namespace kvtest
