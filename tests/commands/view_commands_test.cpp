#include <gtest/gtest.h>

#include "sim/modules/sim_views.h"
#include "tests/commands/command_flight.h"

namespace kvtest {
namespace {

using Strings = std::vector<std::string>;

class ViewCommands : public CommandFlight {};

TEST_F(ViewCommands, MapTwiceReturnsToTheViewWithControlsOnAndNoFilter) {
    press("MAP");
    EXPECT_EQ(flight->mapShown, 1);
    EXPECT_EQ(host.views.viewControlsEnabled, 0);
    EXPECT_NE(host.controls.filter, nullptr);
    // The second MAP passes the installed filter, which leaves it alone
    // (no view command), and then closes the map through its handler.
    press("MAP");
    EXPECT_EQ(flight->mapShown, 0);
    EXPECT_EQ(host.views.viewControlsEnabled, 1);
    EXPECT_EQ(host.controls.filter, nullptr);
    EXPECT_TRUE(callsInOrder(host.log(), {"host:command", "vmgEnableViewControls", "ctlSetCommandFilter",
                                          "host:command", "vmgIsViewCommand", "vmgEnableViewControls",
                                          "ctlSetCommandFilter"}));
    EXPECT_EQ(calls("vmgHandleCommand"), 0u);
}

TEST_F(ViewCommands, AViewKeyOnTheMapLeavesItIntoThatViewOtherKeysDoNot) {
    press("MAP");
    press("TOGGLE_COCKPIT");
    EXPECT_EQ(flight->mapShown, 1);
    EXPECT_NE(host.controls.filter, nullptr);
    EXPECT_EQ(flight->showCockpit, 0);  // the command itself still runs

    host.log().clear();
    press("VIEW_CHASE");
    EXPECT_EQ(flight->mapShown, 0);
    EXPECT_EQ(host.controls.filter, nullptr);
    EXPECT_EQ(host.views.viewControlsEnabled, 1);
    EXPECT_TRUE(callsInOrder(host.log(), {"vmgIsViewCommand", "vmgEnableViewControls", "ctlSetCommandFilter",
                                          "vmgHandleCommand"}));
    ASSERT_NE(firstCall("vmgHandleCommand"), nullptr);
    EXPECT_EQ(firstCall("vmgHandleCommand")->args[0], kvsim::SimViews::viewCommandId("VIEW_CHASE"));
    EXPECT_EQ(host.views.selections, Strings{"VIEW_CHASE"});
}

TEST_F(ViewCommands, SkipToNextClosesTheMapAndLocksTheSkipView) {
    flight->paused = 1;
    flight->timeCompression = 4.0f;
    press("MAP");
    host.log().clear();
    press("SKIP_TO_NEXT");
    EXPECT_TRUE(callsInOrder(host.log(), {"msnCanSkipToNext", "vmgEnableViewControls", "ctlSetCommandFilter",
                                          "vmgCreateView SkipView", "vmgSelectView", "vmgEnableViewControls"}));
    EXPECT_EQ(firstCall("vmgCreateView")->args[1], -1);
    EXPECT_EQ(host.views.selections, Strings{"SkipView"});
    EXPECT_EQ(host.views.viewControlsEnabled, 0);
    EXPECT_EQ(host.controls.filter, nullptr);
    EXPECT_EQ(flight->skipToNextActive, 1);
    EXPECT_EQ(flight->skipToNextRemaining, 30.0f);
    EXPECT_EQ(flight->timeCompression, 1.0f);
    EXPECT_EQ(flight->paused, 0);
    EXPECT_EQ(flight->mapShown, 0);
    EXPECT_EQ(calls("msgShowText"), 0u);
}

TEST_F(ViewCommands, EjectSinglePlayerEndsWithViewControlsOff) {
    press("MAP");
    flight->timeCompression = 2.0f;
    flight->ejectTimer = 3.0f;  // left from an earlier eject
    host.log().clear();
    press("EJECT");
    EXPECT_TRUE(callsInOrder(host.log(), {"objGetObjectInterface", "objectSendEvent", "vmgEnableViewControls",
                                          "ctlSetCommandFilter", "vmgCreateView EjectView", "vmgSelectView",
                                          "vmgEnableViewControls", "objSetPlayerControl"}));
    EXPECT_EQ(firstCall("objGetObjectInterface")->args, (kvsim::Json{kPlayer, 10}));
    EXPECT_EQ(firstCall("objectSendEvent")->args, (kvsim::Json{63, -1, 0}));
    EXPECT_EQ(firstCall("objSetPlayerControl")->args[0], 0);
    EXPECT_EQ(host.views.viewControlsEnabled, 0);
    EXPECT_EQ(host.controls.filter, nullptr);
    EXPECT_EQ(flight->ejected, 1);
    EXPECT_EQ(flight->ejectDelay, 5.0f);
    EXPECT_EQ(flight->ejectTimer, 0.0f);
    EXPECT_EQ(flight->mapShown, 0);
    EXPECT_EQ(flight->timeCompression, 1.0f);
}

TEST_F(ViewCommands, EjectInANetworkFlightKeepsTheViewControls) {
    flight->networkFlight = 1;
    press("EJECT");
    EXPECT_EQ(calls("vmgEnableViewControls"), 1u);
    EXPECT_EQ(host.views.viewControlsEnabled, 1);
    EXPECT_EQ(calls("objSetPlayerControl"), 1u);
    EXPECT_EQ(flight->ejectDelay, 5.0f);
    EXPECT_EQ(flight->ejected, 1);
}

// An aircraft that cannot take the eject event does not eject at all: the
// player keeps the aircraft, the view and the flight.
TEST_F(ViewCommands, EjectWithoutAnAircraftInterfaceIsRefused) {
    host.objects.object(kPlayer).interfaces.erase(kv::kAircraftKind);
    press("MAP");
    press("EJECT");
    EXPECT_EQ(calls("objGetObjectInterface"), 1u);
    EXPECT_EQ(calls("objSetPlayerControl"), 0u);
    EXPECT_EQ(calls("vmgCreateView"), 0u);
    EXPECT_EQ(flight->ejected, 0);
    EXPECT_EQ(flight->mapShown, 1);
    EXPECT_NE(host.controls.filter, nullptr);
}

TEST_F(ViewCommands, RadioMenuOpensOnlyWithACommModule) {
    press("RADIO_COMM");
    EXPECT_EQ(calls("comOpenRadioMenu"), 1u);
    flight->commInterface = nullptr;
    press("RADIO_COMM");
    EXPECT_EQ(calls("comOpenRadioMenu"), 1u);
}

// While skipping, without an aircraft and after an eject, the commands
// that act on the aircraft change nothing and show nothing; skip-to-next
// asks the mission only once the flight itself allows it.
TEST_F(ViewCommands, CommandsOnTheAircraftAreRefusedSilently) {
    struct Case {
        const char* why;
        int32_t skipping;
        int32_t player;
        int32_t ejected;
    };
    const Case cases[] = {{"skipping", 1, kPlayer, 0}, {"no aircraft", 0, -1, 0}, {"ejected", 0, kPlayer, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        flight->skipToNextActive = c.skipping;
        flight->playerObjectId = c.player;
        flight->ejected = c.ejected;
        flight->mapShown = 0;
        flight->timeCompression = 1.0f;
        host.log().clear();
        for (const char* command : {"SKIP_TO_NEXT", "RADIO_COMM", "MAP", "EJECT"}) press(command);
        EXPECT_EQ(flight->mapShown, 0);
        EXPECT_EQ(flight->skipToNextActive, c.skipping);
        EXPECT_EQ(flight->ejected, c.ejected);
        for (const char* op : {"msnCanSkipToNext", "comOpenRadioMenu", "vmgEnableViewControls",
                               "ctlSetCommandFilter", "objGetObjectInterface", "objSetPlayerControl",
                               "vmgCreateView", "msgShowText"})
            EXPECT_EQ(calls(op), 0u) << op;
    }

    // Skipping also stops the time commands, after the mission was asked.
    flight->skipToNextActive = 1;
    flight->playerObjectId = kPlayer;
    flight->ejected = 0;
    flight->timeCompression = 2.0f;
    host.log().clear();
    for (const char* command : {"PAUSE_FLIGHT", "TIME_COMPRESSION", "NORMAL_TIME", "CHANGE_TIME"}) press(command);
    EXPECT_EQ(flight->paused, 0);
    EXPECT_EQ(flight->timeCompression, 2.0f);
    EXPECT_EQ(calls("msnCanPause") + calls("msnCanCompressTime") + calls("msnCanChangeTime"), 4u);
    EXPECT_EQ(calls("envShiftTimeOfDay"), 0u);
    EXPECT_EQ(calls("msgShowText"), 0u);
}

TEST_F(ViewCommands, SkipToNextRefusedByTheMissionChangesNothing) {
    missionAllows(1, 1, 1, 0);
    press("SKIP_TO_NEXT");
    EXPECT_EQ(calls("msnCanSkipToNext"), 1u);
    EXPECT_EQ(flight->skipToNextActive, 0);
    EXPECT_EQ(calls("vmgCreateView"), 0u);
}

}  // namespace
}  // namespace kvtest
