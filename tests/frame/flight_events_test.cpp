// What a frame does about the flight's timed events: eject, skip-to-next,
// a player aircraft found, changed or lost, and the map left without one.
#include "tests/frame/frame_fixture.h"

namespace kvtest {
namespace {

class FlightEventsTest : public FlightFrames {
protected:
    // The player's aircraft as a loaded flight has it.
    kvsim::SimGameObject& aircraft(int32_t id = 1) {
        host.scenario.playerObject = id;
        return host.objects.object(id);
    }
};

TEST_F(FlightEventsTest, EjectEndsASinglePlayerFlightOnceItsTimePassesTheDelay) {
    // 1 s frames clamped to 0.25 s, a value every sum of which is exact.
    flight->maxDeltaT = 0.25f;
    host.scenario.frameTimes = {1.0f};
    flight->ejected = 1;
    // The first two frames do not count: 2 + 20 frames make exactly 5 s.
    frames(22);
    EXPECT_FLOAT_EQ(flight->ejectTimer, 5.0f);
    EXPECT_EQ(flight->runState, 0) << "ends only once the time is greater than the delay";
    frames();
    EXPECT_EQ(flight->runState, 1);
}

TEST_F(FlightEventsTest, EjectNeverEndsANetworkFlight) {
    flight->networkFlight = 1;
    flight->ejected = 1;
    host.scenario.frameTimes = {0.2f};
    host.scenario.netFrameTimes = {0.2f};
    frames(40);
    EXPECT_GT(flight->ejectTimer, 7.0f);
    EXPECT_EQ(flight->runState, 0);
}

TEST_F(FlightEventsTest, SkipToNextHoldsTheAutopilotAndReleasesItAtTheEnd) {
    kvsim::SimGameObject& player = aircraft();
    const int32_t autopilot = kvsim::SimGameObject::kAutoPilot;
    flight->playerObjectId = 1;
    flight->autoPilotAvailable = 1;
    flight->autoPilotEvent = kv::ControlEvent{{7, 0, 0, 0}};
    flight->skipToNextActive = 1;
    flight->skipToNextRemaining = 0.5f;
    flight->timeCompression = 8.0f;
    flight->paused = 1;
    // Real time, clamped: 1 s frames count as 0.25 s.
    flight->maxDeltaT = 0.25f;
    host.scenario.frameTimes = {1.0f};
    pastFirstFrames();

    player.controlStates[autopilot] = 0;  // the autopilot is off: engage it
    std::size_t from = frames();
    EXPECT_TRUE(inOrder(from, SIZE_MAX, {"controlsGetState", "ctlInjectEvent", "objSetPlayerControl", "ctlUpdate"}));
    EXPECT_EQ(argsOf("objSetPlayerControl", from), std::vector<double>{0});

    player.controlStates[autopilot] = 1;  // held engaged: nothing to do
    from = frames();
    EXPECT_EQ(count("ctlInjectEvent", from), 0u);
    EXPECT_EQ(flight->skipToNextActive, 1) << "0.5 s - 2 x 0.25 s is not below 0 yet";

    from = frames();
    EXPECT_TRUE(inOrder(from, SIZE_MAX,
                        {"msnSkipToNext", "msnGetEnvironmentRecord", "envApplyMissionRecord", "vmgCreateView COCKPIT",
                         "vmgSelectView", "vmgEnableViewControls", "objSetPlayerControl", "controlsGetState",
                         "ctlInjectEvent", "ctlUpdate"}));
    EXPECT_EQ(count("ctlInjectEvent", from), 1u) << "injected only to disengage";
    // The start view of no particular object.
    const auto& records = host.log().records();
    for (std::size_t i = from; i < records.size(); ++i)
        if (records[i].op == "vmgCreateView") {
            EXPECT_EQ(records[i].args[1], -1);
        }
    EXPECT_EQ(flight->skipToNextActive, 0);
    EXPECT_EQ(flight->timeCompression, 1.0f);
    EXPECT_EQ(flight->paused, 0);
    // The skip has ended: objects run again in the same frame, on the time
    // the frame began with.
    EXPECT_GT(argsOf("objUpdate", from).at(0), 0.0);
}

TEST_F(FlightEventsTest, SkipToNextEndsWithoutTouchingAnAutopilotTheAircraftAlreadyLeft) {
    aircraft().controlStates[kvsim::SimGameObject::kAutoPilot] = 0;
    flight->autoPilotAvailable = 1;
    flight->skipToNextActive = 1;
    flight->skipToNextRemaining = 0.01f;
    pastFirstFrames();
    const std::size_t from = frames();
    // Once to hold it (it was off), never to release it (it is still off).
    EXPECT_EQ(count("ctlInjectEvent", from), 1u);
    EXPECT_EQ(flight->skipToNextActive, 0);
}

TEST_F(FlightEventsTest, ThePlayerAircraftIsFollowedWhenFoundChangedAndLost) {
    aircraft(1);
    host.objects.object(2);
    flight->ejected = 1;
    flight->ejectTimer = 0.0f;
    pastFirstFrames();

    std::size_t from = frames();
    EXPECT_TRUE(inOrder(from, SIZE_MAX,
                        {"msnGetPlayerObject", "objGetObject", "objectIsActive", "objSetPlayerObject",
                         "vmgCreateView COCKPIT", "vmgSelectPlayerView", "objSetPlayerControl", "msnUpdate"}));
    EXPECT_EQ(flight->playerObjectId, 1);
    EXPECT_EQ(flight->ejected, 0) << "a new aircraft ends the eject";

    from = frames();
    EXPECT_EQ(count("objSetPlayerObject", from), 0u) << "the same aircraft again changes nothing";

    host.scenario.playerObject = 2;
    from = frames();
    EXPECT_EQ(argsOf("objSetPlayerObject", from), std::vector<double>{2});
    EXPECT_EQ(count("ffbStopEffects", from), 0u);

    host.objects.object(2).active = 0;
    from = frames();
    EXPECT_EQ(flight->playerObjectId, -1);
    EXPECT_EQ(count("ffbStopEffects", from), 1u);
    from = frames();
    EXPECT_EQ(count("ffbStopEffects", from), 0u) << "stopped once, when the aircraft went";
}

TEST_F(FlightEventsTest, TheMapIsLeftInTheFrameTheAircraftIsLostOrThePlayerEjects) {
    for (int ejected : {0, 1}) {
        SCOPED_TRACE(ejected);
        aircraft().active = ejected ? 1 : 0;
        flight->playerObjectId = 1;
        flight->ejected = ejected;
        flight->mapShown = 1;
        // While paused the aircraft is not looked up again: test the eject
        // alone there.
        flight->paused = ejected;
        pastFirstFrames();
        const std::size_t from = frames();
        EXPECT_EQ(flight->mapShown, 0);
        EXPECT_TRUE(inOrder(from, SIZE_MAX,
                            {"msnUpdate", "spcUpdate", "vmgEnableViewControls", "ctlSetCommandFilter", "vmgUpdate",
                             "vmgGetViewPosition", "gfxBeginFrame", "gfxBeginScene", "gfxPresent"}));
        EXPECT_EQ(count("terRenderMap", from), 0u) << "no map drawn in that frame";
        ASSERT_EQ(count("ctlSetCommandFilter", from), 1u);
    }
}

}  // namespace
}  // namespace kvtest
