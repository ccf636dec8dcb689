#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "sim/host/sim_host.h"

namespace {

// The fade wait of the loading screen: clock reset, then update, time and
// step until the fade reports done. Gives the number of steps it took.
int fadeWait(kvsim::SimHost& host, float fadeTime) {
    host.fade.fadSetFadeTime(fadeTime);
    host.fade.fadStartFadeIn(0);
    host.clock.clkReset();
    int steps = 0;
    for (int done = 0; !done && steps < 100000; ++steps) {
        host.clock.clkUpdate();
        done = host.fade.fadStep(host.clock.clkGetTime());
    }
    return steps;
}

// What clkGetFrameTime gives in each of the first n frames after the load.
std::vector<float> flightFrames(kvsim::SimHost& host, int n) {
    std::vector<float> times;
    host.memory.memCheckpoint("End of _LoadKorvane");
    host.clock.clkReset();  // the run driver's
    for (int i = 0; i < n; ++i) {
        host.clock.clkUpdate();
        EXPECT_EQ(host.state.frame, i);
        times.push_back(host.clock.clkGetFrameTime());
    }
    return times;
}

TEST(SimClock, LoadingRunsAtASixtiethAndFramesFollowTheScenarioList) {
    kvsim::Scenario scenario;
    scenario.frameTimes = {0.1f, 0.25f, 0.05f};
    kvsim::SimHost host{scenario};
    host.beginFlight();

    // A one-second fade while loading: 60 updates of 1/60 s, and none of
    // them takes a value of the frame list.
    EXPECT_EQ(fadeWait(host, 1.0f), 60);
    EXPECT_EQ(host.clock.clkGetTime(), 1000);
    EXPECT_FLOAT_EQ(host.clock.clkGetFrameTime(), 1.0f / 60.0f);
    EXPECT_EQ(host.state.frame, -1);
    // A clkReset before the load has ended (the fade-out's) starts nothing.
    host.clock.clkReset();
    host.clock.clkUpdate();
    EXPECT_EQ(host.state.frame, -1);

    const int32_t loadEnd = host.clock.clkGetTime();
    EXPECT_EQ(flightFrames(host, 5), (std::vector<float>{0.1f, 0.25f, 0.05f, 0.05f, 0.05f}))
        << "value n is frame n's time; the last repeats";
    EXPECT_EQ(host.clock.clkGetTime() - loadEnd, 500);

    // A second flight starts from the same state: loading again, time 0,
    // and the list from its first value.
    host.beginFlight();
    EXPECT_EQ(host.clock.clkGetTime(), 0);
    host.clock.clkUpdate();
    EXPECT_FLOAT_EQ(host.clock.clkGetFrameTime(), 1.0f / 60.0f);
    EXPECT_EQ(flightFrames(host, 2), (std::vector<float>{0.1f, 0.25f}));
}

TEST(SimClock, FrameTimesTheModuleMustSurviveAreGivenButNeverMoveTheClock) {
    kvsim::Scenario scenario;
    scenario.frameTimes = {-0.5f, std::numeric_limits<float>::quiet_NaN(),
                           std::numeric_limits<float>::infinity(), 0.2f};
    kvsim::SimHost host{scenario};
    host.clock.startFrames();
    const auto times = flightFrames(host, 4);
    EXPECT_EQ(times[0], -0.5f);
    EXPECT_TRUE(std::isnan(times[1]));
    EXPECT_TRUE(std::isinf(times[2]));
    EXPECT_EQ(host.clock.clkGetTime(), 200) << "only the finite positive frame moved the clock";
}

TEST(SimFade, EndsWhenItsTimeHasPassedAndAlwaysWithinItsBound) {
    kvsim::SimHost host;
    host.beginFlight();
    EXPECT_EQ(fadeWait(host, 0.5f), 30);
    EXPECT_EQ(fadeWait(host, 0.0f), 1);
    EXPECT_EQ(fadeWait(host, -2.0f), 1);
    EXPECT_EQ(fadeWait(host, std::numeric_limits<float>::quiet_NaN()), 1);
    EXPECT_EQ(fadeWait(host, std::numeric_limits<float>::infinity()), kvsim::SimFade::kMaxFadeSteps);
    EXPECT_EQ(host.fade.fadesStarted, 5);

    // A clock that never moves: the bound alone ends the fade.
    host.fade.fadSetFadeTime(1.0f);
    host.fade.fadStartFadeOut(0);
    int steps = 1;
    while (!host.fade.fadStep(0)) ++steps;
    EXPECT_EQ(steps, kvsim::SimFade::kMaxFadeSteps);
    EXPECT_EQ(host.fade.fadStep(0), 1) << "no fade running";
}

}  // namespace
