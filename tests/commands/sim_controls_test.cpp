// The stand-in controls module dispatches commands as a control subsystem
// does; the flight command tests rely on that, so it is pinned here.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sim/host/sim_host.h"
#include "tests/support/call_sequence.h"

namespace kvtest {
namespace {

std::vector<std::string> heard;

int32_t KV_STDCALL recordMap(int32_t id, int32_t, int32_t) {
    heard.push_back("MAP " + std::to_string(id));
    return 0;
}
int32_t KV_STDCALL recordEject(int32_t id, int32_t, int32_t) {
    heard.push_back("EJECT " + std::to_string(id));
    return 0;
}

kvsim::SimHost* filterHost = nullptr;
// A filter that takes itself out on the first command it sees.
int32_t KV_STDCALL oneShotFilter(int32_t id, int32_t, int32_t) {
    heard.push_back("filter " + std::to_string(id));
    filterHost->controls.ctlSetCommandFilter(nullptr);
    return 0;
}

class SimControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        heard.clear();
        filterHost = &host;
        controls.ctlLoadControlMap("controls.map", 1);
        controls.ctlRegisterCommand("MAP", recordMap, 0);
        controls.ctlRegisterCommand("EJECT", recordEject, 0);
    }
    // One frame as the frame step makes it: the clock starts the frame,
    // then the controls are updated.
    void frame() {
        host.clock.clkUpdate();
        ctl.ctlUpdate(0.05f);
    }

    kvsim::SimHost host;
    kvsim::SimControls& controls = host.controls;
    // The module's calls go through the recording layer.
    kv::ControlsInterface& ctl = host.front<kv::ControlsInterface>();
};

TEST_F(SimControlsTest, ScenarioEventsGoOutAtTheFirstUpdateOfTheirFrameOrLater) {
    host.scenario.events = {{0, {"MAP"}}, {2, {"EJECT", "MAP"}}, {3, {"EJECT"}}};
    host.clock.startFrames();
    frame();  // 0
    frame();  // 1
    ctl.ctlUpdate(0.05f);  // a second update in frame 1 finds nothing new
    host.clock.clkUpdate();     // frame 2 passes without a controls update
    frame();                    // 3: the events of frames 2 and 3, in order
    const int32_t map = controls.idOf("MAP");
    const int32_t eject = controls.idOf("EJECT");
    EXPECT_EQ(heard, (std::vector<std::string>{"MAP " + std::to_string(map), "EJECT " + std::to_string(eject),
                                               "MAP " + std::to_string(map), "EJECT " + std::to_string(eject)}));
    EXPECT_TRUE(callsInOrder(host.log(), {"ctlUpdate", "host:command MAP", "ctlUpdate", "ctlUpdate", "ctlUpdate",
                                          "host:command EJECT", "host:command MAP", "host:command EJECT"}));
}

TEST_F(SimControlsTest, NothingIsDispatchedWhileTheFlightLoads) {
    host.scenario.events = {{0, {"MAP"}}};
    controls.ctlUpdate(0.05f);
    EXPECT_TRUE(heard.empty());
}

TEST_F(SimControlsTest, TheFilterSeesEachCommandFirstAndMayRemoveItself) {
    controls.ctlSetCommandFilter(oneShotFilter);
    controls.dispatch("EJECT");
    controls.dispatch("MAP");
    const std::string eject = std::to_string(controls.idOf("EJECT"));
    EXPECT_EQ(heard, (std::vector<std::string>{"filter " + eject, "EJECT " + eject,
                                               "MAP " + std::to_string(controls.idOf("MAP"))}));
}

TEST_F(SimControlsTest, UnloadingTheControlMapDropsTheRegistrationsAndTheFilter) {
    controls.ctlSetCommandFilter(oneShotFilter);
    controls.ctlUnloadControlMap();
    controls.dispatch("MAP");
    EXPECT_TRUE(heard.empty());
    for (const auto& record : host.log().records()) EXPECT_FALSE(record.fromHost) << record.op;
}

TEST_F(SimControlsTest, NamesResolveToIdsAndEvents) {
    const int32_t zoom = controls.ctlGetControlId("MAP_ZOOM");
    ASSERT_NE(zoom, -1);
    const kv::ControlEvent* event = controls.ctlGetControlEvent(controls.ctlGetControlId("AUTOPILOT"));
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->words[0], controls.idOf("AUTOPILOT"));
    EXPECT_EQ(controls.ctlGetControlId("NO_SUCH_CONTROL"), -1);
    EXPECT_EQ(controls.ctlGetControlId(nullptr), -1);
    EXPECT_EQ(controls.ctlGetControlEvent(-1), nullptr);
    // Registered commands and view commands have ids of their own.
    const int32_t map = controls.ctlGetControlId("MAP");
    const int32_t view = controls.ctlGetControlId("VIEW_COCKPIT");
    EXPECT_NE(map, -1);
    EXPECT_NE(view, -1);
    EXPECT_NE(map, zoom);
    EXPECT_EQ(host.views.vmgIsViewCommand(view), 1);
    EXPECT_EQ(host.views.vmgIsViewCommand(map), 0);
}

}  // namespace
}  // namespace kvtest
