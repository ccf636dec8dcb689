// The order of the calls of one frame, checked over that frame's own slice
// of the log.
#include "tests/frame/frame_fixture.h"

namespace kvtest {
namespace {

class FrameOrderTest : public FlightFrames {
protected:
    void SetUp() override {
        FlightFrames::SetUp();
        flyPlayerAircraft(1);
        flight->hudInterface = &host.front<kv::HudInterface>();
        flight->avionicsInterface = &host.front<kv::AvionicsInterface>();
        flight->commInterface = &host.front<kv::CommInterface>();
    }
};

TEST_F(FrameOrderTest, AFullFrameInTheCockpit) {
    flight->cockpitMirrors = 1;
    flight->mirrorTextureId = 5;
    kv::mirrorCamera = host.front<kv::GraphicsInterface>().gfxCreateCamera(0);
    host.views.cockpitView = 1;
    pastFirstFrames();
    const std::size_t from = frames();
    EXPECT_TRUE(inOrder(from, SIZE_MAX, {
        "clkUpdate", "appIsRunning", "clkGetFrameTime",
        "fadUpdate", "ctlUpdate",
        "objUpdate", "wldUpdate", "ptsUpdate",
        "msnGetPlayerObject", "objGetObject",             // the player aircraft followed
        "msnUpdate", "spcUpdate", "vmgUpdate",
        "vmgGetViewPosition", "vmgGetViewOrientation", "vmgGetViewVelocity",
        "gfxSetCamera", "cameraSetPosition", "cameraSetOrientation",
        "sndSetListenerPosition", "sndSetListenerVelocity", "sndSetListenerOrientation",
        "ptsSetViewPosition", "ptsSetViewVelocity", "ptsSetViewOrientation",
        "envAdvanceTime", "msgUpdate", "comUpdate",
        "envGetStateAt", "ptsSetEnvironmentState", "envGetLevel", "ptsSetLevel",
        "gfxBeginFrame",
        // the main view
        "cameraGetParams", "vmgGetFieldOfView", "vmgIsCockpitView", "avnUpdate",
        "gfxSetSceneMode", "gfxSetWorldMode",
        // the mirror, before the main scene
        "gfxSetRenderTarget", "gfxSetCamera", "objGetPlayerObject", "objGetObjectInterface",
        "cameraGetPosition", "bodyGetOrientation",
        "gfxGetPassOption", "gfxSetMirrorPass", "gfxSetPassOption", "gfxSetLightingEnable",
        "cameraSetOrientation", "cameraSetPosition", "cameraGetParams", "gfxClearBuffers", "cameraApply",
        "gfxBeginScene", "envRenderBackground", "envCameraCondition", "ptsRender", "objRender",
        "gfxBeginPass", "gfxDrawFarObjects", "envRenderMiddle", "envCameraCondition", "msnRenderUpper", "gfxEndPass",
        "gfxApplyCamera", "gfxDrawObjects",
        "gfxEndScene", "gfxSetRenderTarget", "gfxSetCamera", "gfxSetPassOption", "gfxSetMirrorPass",
        // the main scene
        "objGetObject", "objectGetRenderFlags", "objectSetRenderFlags",
        "gfxClearBuffers", "gfxSetLightingEnable", "cameraApply",
        "gfxBeginScene", "envRenderBackground", "envCameraCondition", "ptsRender", "objRender", "objRenderShadows",
        "gfxBeginPass", "gfxDrawFarObjects", "envRenderMiddle", "envCameraCondition", "msnRenderUpper", "gfxEndPass",
        "gfxApplyCamera", "gfxDrawObjects",                       // normal partition
        "gfxApplyCamera", "gfxDrawObjects", "gfxFlushObjects",    // near partition
        "gfxSetWorldMode", "gfxBeginPass", "gfxApplyCamera", "gfxClearDepth", "vmgRenderCockpit", "gfxEndPass",
        "gfxDrawTransparent", "gfxEndScene", "gfxSetLightingEnable",
        "gfxBeginPass", "gfxApplyCamera", "hudSetViewPosition", "hudSetViewOrientation", "hudRender", "gfxEndPass",
        // the frame end
        "msgRender", "comRender", "sndUpdate", "gfxEndFrame", "gfxPresent", "objEndFrame"}));
    EXPECT_EQ(count("msnFirstFrameDone", from), 0u);
    EXPECT_EQ(count("terRenderMap", from), 0u);
    EXPECT_EQ(flight->lock.count, 0) << "the lock is released at the end of the frame";
}

TEST_F(FrameOrderTest, AMapFrame) {
    flight->mapShown = 1;
    pastFirstFrames();
    const std::size_t from = frames();
    EXPECT_TRUE(inOrder(from, SIZE_MAX, {
        "clkUpdate", "appIsRunning", "clkGetFrameTime", "fadUpdate", "ctlUpdate", "objUpdate",
        "msnUpdate", "spcUpdate", "vmgUpdate",
        "msnGetPlayerObject", "objGetObjectInterface", "bodyGetPosition", "bodyGetOrientation", "bodyGetVelocity",
        "gfxSetCamera", "cameraSetPosition",
        "sndSetListenerPosition", "ptsSetViewOrientation", "envAdvanceTime", "msgUpdate", "comUpdate",
        "ptsSetLevel", "gfxBeginFrame",
        "cameraGetParams", "gfxBeginScene", "gfxBeginPass", "gfxClearBuffers", "gfxApplyCamera",
        "terRenderMap", "msnRenderMap", "hudRenderMap", "gfxEndPass", "gfxEndScene",
        "msgRender", "comRender", "sndUpdate", "gfxEndFrame", "gfxPresent", "objEndFrame"}));
    // The map camera keeps the orientation the loading gave it.
    EXPECT_EQ(count("cameraSetOrientation", from), 0u);
    for (const char* op : {"vmgGetViewPosition", "vmgIsCockpitView", "objRender", "hudRender", "avnUpdate"})
        EXPECT_EQ(count(op, from), 0u) << op;
}

TEST_F(FrameOrderTest, TheFirstFrameOfARun) {
    flight->networkFlight = 1;
    flight->chatActive = 1;
    const std::size_t from = frames();
    EXPECT_TRUE(inOrder(from, SIZE_MAX, {
        "clkUpdate", "netUpdate", "appIsRunning", "clkGetFrameTime", "netGetFrameTime",
        "msnUpdate", "spcUpdate", "vmgUpdate", "vmgGetViewPosition", "envAdvanceTime", "gfxBeginFrame",
        "gfxBeginScene", "gfxEndScene", "msgRender", "sndUpdate", "gfxEndFrame", "gfxPresent",
        "msnFirstFrameDone", "objEndFrame"}));
    for (const char* op : {"fadUpdate", "ctlUpdate", "ctlBeginTextEntry", "ctlIsTextEntryOpen", "objUpdate",
                           "msnGetPlayerObject"})
        EXPECT_EQ(count(op, from), 0u) << op;
    EXPECT_EQ(flight->frameCount, 1);
}

TEST_F(FrameOrderTest, AFrameThatFindsTheApplicationStoppingDoesNothingElse) {
    flight->networkFlight = 1;
    flight->frameCount = 5;
    host.scenario.appStopsAfter = 1;
    const std::size_t from = frames();
    EXPECT_EQ(host.log().records().size() - from, 4u);
    EXPECT_TRUE(inOrder(from, SIZE_MAX, {"clkUpdate", "netUpdate", "appIsRunning", "netLeave"}));
    EXPECT_EQ(flight->networkFlight, 0) << "the flight goes on as a local one";
    EXPECT_EQ(flight->frameCount, 5);
    EXPECT_EQ(flight->lock.count, 0);
}

}  // namespace
}  // namespace kvtest
