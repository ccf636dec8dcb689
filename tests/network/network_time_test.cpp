// Time in a network flight: the network's frame time from the third frame
// on, the screenshot rate limit counted down by the frame time, the
// network serviced through the load and the run, and the application
// ending the flight.
#include <string>
#include <vector>

#include "tests/network/network_flight.h"

namespace kvtest {
namespace {

using NetworkTime = NetworkFlight;

// The network's time is asked every frame but used only from the third
// frame on; the clamp and the compression do not apply to it.
TEST_F(NetworkTime, TheFirstTwoFramesRunAtZeroThenTheNetworksTime) {
    host.scenario.netFrameTimes = {0.5f, 0.5f, 0.4f, 1.5f};
    host.scenario.appEndsAfter = 4;
    EXPECT_EQ(fly(), 1);
    EXPECT_EQ(firstArgs("msnUpdate"), (std::vector<double>{0.0, 0.0, 0.4f, 1.5f}));
    EXPECT_EQ(firstArgs("envAdvanceTime"), (std::vector<double>{0.0, 0.0, 0.4f, 1.5f}));
    EXPECT_EQ(calls("netGetFrameTime"), 4u);
}

// Game mode 3 allows a screenshot a second. Frames of 0.25 s: the one at
// frame 2 sets the timer to 1.0, frames 3 to 6 count it to 0 before their
// commands, so frame 5's is refused and frame 6's taken. A single-player
// flight never counts it down.
TEST_F(NetworkTime, TheScreenshotTimerRunsDownOnlyInANetworkFlight) {
    host.scenario.gameMode = 3;
    host.scenario.modeSeconds = 1;
    host.scenario.events = {{2, {"SCREEN_SHOT"}}, {5, {"SCREEN_SHOT"}}, {6, {"SCREEN_SHOT"}}};
    host.scenario.appEndsAfter = 8;
    EXPECT_EQ(fly(), 1);
    EXPECT_EQ(calls("gfxSaveScreenshot"), 2u);

    host.log().clear();
    host.scenario.network = 0;
    EXPECT_EQ(fly(), 1);
    EXPECT_EQ(calls("gfxSaveScreenshot"), 1u);
    EXPECT_EQ(flight->screenshotTimer, 1.0f);
}

// One whole network flight, in the order the network sees it: the host's
// gameplay settings at the start of the load, the network pumped while the
// flight loads, the first frame prepared, one frame's service, and at the
// end the application stopping the frame, which leaves the network.
TEST_F(NetworkTime, ANetworkFlightFromLoadToTheApplicationsEnd) {
    host.scenario.hostGameplay = {3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    host.scenario.appEndsAfter = 0;
    // Two questions a frame (the frame's, then the loop's): the frame
    // step of the fourth frame hears no.
    host.scenario.appStopsAfter = 7;
    EXPECT_EQ(fly(), 1);
    EXPECT_TRUE(callsInOrder(host.log(),
                             {"host:Fly", "msnIsNetworkMission", "netUpdate", "netFlush", "netGetGameSettings",
                              "ctlRegisterCommand", "netUpdate", "netFlush", "msnGetMissionSetup", "netBeginFlight",
                              "inpClearInput", "ctlSetActive", "fadStartFadeIn", "clkReset", "netUpdate",
                              "netFlush", "clkUpdate", "netUpdate", "appIsRunning", "netGetFrameTime", "objEndFrame",
                              "appUpdate", "appIsRunning", "clkUpdate", "netUpdate", "appIsRunning", "netLeave",
                              "appUpdate", "optReloadOptions", "msnEndFlight"}));
    // The stopped frame cleared networkFlight, yet the host's settings still
    // leave the player's options document at the unloading.
    EXPECT_EQ(calls("optReloadOptions"), 1u);
    EXPECT_EQ(calls("objEndFrame"), 3u) << "the stopped frame draws nothing";
    EXPECT_EQ(calls("netLeave"), 1u);
    EXPECT_EQ(flight->networkFlight, 0);
}

}  // namespace
}  // namespace kvtest
