// Frames take no memory: the module alone, in a host whose memory service
// counts every block, flies each kind of frame that opens neither the chat
// line nor the join wait without one allocation, and a flight loaded and
// unloaded gives back every block.
#include <gtest/gtest.h>

#include "engine/flight_module.h"
#include "engine/subsystem_pointers.h"
#include "noop/noop_flight.h"

namespace {

TEST(FrameMemory, FramesAllocateNothingAndAFlightGivesEverythingBack) {
    kvsim::NoopFlight flight(KORVANE_TRAINING);
    const struct {
        kvsim::FrameKind kind;
        float subSteps;
        int32_t map;
        int32_t network;
    } kinds[] = {{kvsim::FrameKind::OneSubStep, 1.0f, 0, 0},
                 {kvsim::FrameKind::ThirtyTwoSubSteps, 32.0f, 0, 0},
                 {kvsim::FrameKind::MapView, 1.0f, 1, 0},
                 {kvsim::FrameKind::NetworkFlight, 1.0f, 0, 1}};
    for (const auto& k : kinds) {
        const int64_t live = flight.host.liveBlocks();
        ASSERT_TRUE(flight.load(k.kind)) << kvsim::nameOf(k.kind);
        EXPECT_GT(flight.host.liveBlocks(), live) << "a loaded flight holds blocks";
        const int64_t before = flight.host.allocations();
        for (int i = 0; i < 200; ++i) flight.frame();
        EXPECT_EQ(flight.host.allocations(), before) << kvsim::nameOf(k.kind);
        EXPECT_FLOAT_EQ(flight.subStepsOfLastFrame(), k.subSteps) << kvsim::nameOf(k.kind);
        // The frames are of the kind their name says.
        EXPECT_EQ(kv::engine->mapShown, k.map) << kvsim::nameOf(k.kind);
        EXPECT_EQ(kv::engine->networkFlight, k.network) << kvsim::nameOf(k.kind);
        flight.unload();
        EXPECT_EQ(flight.host.liveBlocks(), live) << kvsim::nameOf(k.kind);
    }
}

}  // namespace
