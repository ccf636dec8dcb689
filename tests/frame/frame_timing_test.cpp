// How a frame's real time becomes simulated time and sub-steps.
#include <cmath>
#include <limits>
#include <numeric>

#include "tests/frame/frame_fixture.h"

namespace kvtest {
namespace {

class FrameTimingTest : public FlightFrames {};

TEST_F(FrameTimingTest, SubStepsLastDeltaTAndTheLastTakesTheRest) {
    struct Case {
        float simTime;
        std::vector<double> lengths;
    };
    const Case cases[] = {
        {0.1f, {0.1}},          // exactly deltaT: one sub-step
        {0.25f, {0.1, 0.15}},   // 2.5 x deltaT: deltaT, then the rest
        {0.05f, {0.05}},        // half of deltaT: one short sub-step
        {0.35f, {0.1, 0.1, 0.15}},
    };
    flight->maxDeltaT = 1.0f;
    pastFirstFrames();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.simTime);
        host.scenario.frameTimes = {c.simTime};
        const std::size_t from = frames();
        const std::vector<double> lengths = argsOf("objUpdate", from);
        ASSERT_EQ(lengths.size(), c.lengths.size());
        for (std::size_t i = 0; i < lengths.size(); ++i) EXPECT_NEAR(lengths[i], c.lengths[i], 1e-6);
        EXPECT_EQ(argsOf("wldUpdate", from), lengths);
        EXPECT_EQ(argsOf("ptsUpdate", from), lengths);
        EXPECT_FLOAT_EQ(flight->GetStepRate(), static_cast<float>(lengths.size()) / c.simTime);
    }
    // Each sub-step advances objects, then the world, then particles.
    host.scenario.frameTimes = {0.25f};
    const std::size_t from = frames();
    EXPECT_TRUE(inOrder(from, SIZE_MAX, {"objUpdate", "wldUpdate", "ptsUpdate", "objUpdate", "wldUpdate",
                                         "ptsUpdate", "msnUpdate"}));
}

TEST_F(FrameTimingTest, NoSimulatedTimeStillRunsOneEmptySubStep) {
    flight->timeCompression = 0.0f;
    host.scenario.frameTimes = {0.05f};
    pastFirstFrames();
    const std::size_t from = frames();
    EXPECT_EQ(argsOf("objUpdate", from), std::vector<double>{0.0});
    EXPECT_EQ(argsOf("wldUpdate", from), std::vector<double>{0.0});
    EXPECT_FLOAT_EQ(flight->GetStepRate(), 1.0f / 0.05f);
    EXPECT_EQ(argsOf("msnUpdate", from), std::vector<double>{0.0});
}

TEST_F(FrameTimingTest, FrameTimeIsClampedAboveMaxDeltaTOnly) {
    pastFirstFrames();
    host.scenario.frameTimes = {0.2f};  // equal to maxDeltaT: kept
    std::size_t from = frames();
    EXPECT_EQ(argsOf("fadUpdate", from), std::vector<double>{0.2f});
    EXPECT_EQ(argsOf("objUpdate", from).size(), 2u);
    EXPECT_EQ(argsOf("msnUpdate", from), std::vector<double>{0.2f});

    host.scenario.frameTimes = {0.5f};  // a stall: simulated as maxDeltaT
    from = frames();
    EXPECT_EQ(argsOf("fadUpdate", from), std::vector<double>{0.2f});
    EXPECT_EQ(argsOf("msgUpdate", from), std::vector<double>{0.2f});
    EXPECT_EQ(argsOf("msnUpdate", from), std::vector<double>{0.2f});
    // The controls and the views run on the raw frame time.
    EXPECT_EQ(argsOf("ctlUpdate", from), std::vector<double>{0.5f});
    EXPECT_EQ(argsOf("vmgUpdate", from), std::vector<double>{0.5f});
    // The rate is measured against real time, not the clamped time.
    EXPECT_FLOAT_EQ(flight->GetStepRate(), 2.0f / 0.5f);
}

TEST_F(FrameTimingTest, CompressionSixteenWithTheDefaultClamp) {
    flight->timeCompression = 16.0f;
    host.scenario.frameTimes = {0.5f};
    pastFirstFrames();
    const std::size_t from = frames();
    const std::vector<double> lengths = argsOf("objUpdate", from);
    // 0.2 s x 16 in sub-steps of 0.1 s: at most 32, and all of it simulated.
    ASSERT_GE(lengths.size(), 31u);
    ASSERT_LE(lengths.size(), 32u);
    for (double length : lengths) {
        EXPECT_GE(length, 0.1 - 1e-6);
        EXPECT_LT(length, 0.2);
    }
    EXPECT_NEAR(std::accumulate(lengths.begin(), lengths.end(), 0.0), 3.2, 1e-4);
    EXPECT_EQ(argsOf("msnUpdate", from), std::vector<double>{3.2f});
    EXPECT_FLOAT_EQ(flight->GetStepRate(), static_cast<float>(lengths.size()) / 0.5f);
}

TEST_F(FrameTimingTest, FirstTwoFramesRenderWithoutSimulating) {
    flight->timeCompression = 2.0f;
    host.scenario.frameTimes = {0.05f};
    const std::size_t from = frames(2);
    for (const char* op : {"objUpdate", "wldUpdate", "ptsUpdate", "fadUpdate", "ctlUpdate"})
        EXPECT_EQ(count(op, from), 0u) << op;
    // The mission and the environment still see the single-player time.
    EXPECT_EQ(argsOf("msnUpdate", from), (std::vector<double>{0.1f, 0.1f}));
    EXPECT_EQ(argsOf("envAdvanceTime", from), (std::vector<double>{0.1f, 0.1f}));
    EXPECT_EQ(count("gfxPresent", from), 2u);
    EXPECT_EQ(count("msnFirstFrameDone", from), 1u);

    const std::size_t third = frames();
    EXPECT_EQ(count("objUpdate", third), 1u);
    EXPECT_EQ(count("msnFirstFrameDone", third), 0u);
    EXPECT_EQ(flight->frameCount, 3);
}

TEST_F(FrameTimingTest, PauseHoldsObjectsAndStopsSimulatedTime) {
    flight->paused = 1;
    flight->stepRate = 7.0f;
    pastFirstFrames();
    const std::size_t from = frames();
    EXPECT_EQ(argsOf("objUpdate", from), std::vector<double>{0.0});
    EXPECT_EQ(count("wldUpdate", from), 0u);
    EXPECT_EQ(count("ptsUpdate", from), 0u);
    // No player tracking while paused.
    EXPECT_EQ(count("msnGetPlayerObject", from), 0u);
    EXPECT_EQ(argsOf("msnUpdate", from), std::vector<double>{0.0});
    EXPECT_EQ(argsOf("envAdvanceTime", from), std::vector<double>{0.0});
    EXPECT_EQ(flight->GetStepRate(), 0.0f);
    EXPECT_EQ(count("gfxPresent", from), 1u);
}

TEST_F(FrameTimingTest, UnusableTimesCountAsNoTime) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    pastFirstFrames();
    for (float bad : {-0.5f, nan, inf, -inf}) {
        SCOPED_TRACE(bad);
        host.scenario.frameTimes = {bad};
        const std::size_t from = frames();
        EXPECT_EQ(argsOf("fadUpdate", from), std::vector<double>{0.0});
        EXPECT_EQ(argsOf("ctlUpdate", from), std::vector<double>{0.0});
        EXPECT_EQ(argsOf("objUpdate", from), std::vector<double>{0.0});
        EXPECT_EQ(argsOf("msnUpdate", from), std::vector<double>{0.0});
        EXPECT_EQ(flight->GetStepRate(), 0.0f);
    }
    // A compression that makes no time of a good frame time.
    host.scenario.frameTimes = {0.05f};
    for (float bad : {-2.0f, nan, inf}) {
        SCOPED_TRACE(bad);
        flight->timeCompression = bad;
        const std::size_t from = frames();
        EXPECT_EQ(argsOf("msnUpdate", from), std::vector<double>{0.0});
        EXPECT_EQ(argsOf("envAdvanceTime", from), std::vector<double>{0.0});
    }
    // The network's time of a network flight.
    flight->timeCompression = 1.0f;
    flight->networkFlight = 1;
    for (float bad : {-0.1f, nan, inf}) {
        SCOPED_TRACE(bad);
        host.scenario.netFrameTimes = {bad};
        const std::size_t from = frames();
        EXPECT_EQ(argsOf("msnUpdate", from), std::vector<double>{0.0});
    }
}

TEST_F(FrameTimingTest, SubStepsAreCappedAndTheCapReportedOncePerFlight) {
    // A deltaT the settings accept, under a high compression: 32000 steps.
    flight->deltaT = 0.0001f;
    flight->timeCompression = 16.0f;
    host.scenario.frameTimes = {0.2f};
    pastFirstFrames();
    std::size_t from = frames(2);
    EXPECT_EQ(count("objUpdate", from), 2u * 4096u);
    std::size_t reports = 0;
    for (const std::string& text : host.log().traces()) reports += text.find("sub-steps") != std::string::npos;
    EXPECT_EQ(reports, 1u);

    // A deltaT that cannot shorten what is left ends the frame at once.
    for (float stuck : {0.0f, -0.1f, std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(stuck);
        flight->deltaT = stuck;
        from = frames();
        EXPECT_LE(count("objUpdate", from), 1u);
        EXPECT_EQ(count("gfxPresent", from), 1u);
    }
}

TEST_F(FrameTimingTest, NetworkFlightRunsOnTheNetworksTime) {
    flight->networkFlight = 1;
    flight->screenshotTimer = 1.0f;
    host.scenario.frameTimes = {0.3f};
    host.scenario.netFrameTimes = {0.04f};
    std::size_t from = frames(2);
    // Asked in every frame, used from the third on.
    EXPECT_EQ(count("netGetFrameTime", from), 2u);
    EXPECT_EQ(count("netUpdate", from), 2u);
    EXPECT_EQ(argsOf("msnUpdate", from), (std::vector<double>{0.0, 0.0}));
    // Counted down by the raw frame time once per frame, not run out.
    EXPECT_FLOAT_EQ(flight->screenshotTimer, 0.4f);

    from = frames();
    EXPECT_EQ(argsOf("msnUpdate", from), std::vector<double>{0.04f});
    EXPECT_EQ(argsOf("objUpdate", from), std::vector<double>{0.04f});
    EXPECT_NEAR(flight->screenshotTimer, 0.1f, 1e-6);

    // A single-player flight leaves the screenshot timer alone.
    flight->networkFlight = 0;
    const float timer = flight->screenshotTimer;
    frames();
    EXPECT_EQ(flight->screenshotTimer, timer);
}

}  // namespace
}  // namespace kvtest
