// Every allocation a flight asks the memory service for is refused in
// turn: a clean run counts them (N), then the flight runs again for every k
// from 1 to N with the k-th refused, and again with every allocation from
// the k-th on refused, as a host that has run out of memory does. Whatever
// k is, the flight must leave the engine lock free, give back every "FLT"
// block and end as the failure rules allow: a load that cannot go on
// returns 1 from Fly without a frame, and every other refusal costs at most
// the setting, line or text it was for; the flight flies to its end.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "services/services.h"
#include "tests/support/example_flight.h"
#include "tests/support/flight_rig.h"

namespace {

using kvtest::ExampleFlight;
using kvtest::FlightOutcome;
using kvtest::FlightRig;

enum class Refusal { OnlyTheKth, FromTheKthOn };

const char* kNoLoadingScreen = "...not enough memory for the loading screen!";
const char* kStartupFileUnread = "Error Reading ";

struct SweepRules {
    // What Fly returns for the clean flight: 1 for one that quits the game.
    int32_t cleanResult = 0;
    // Frames the clean flight flies at least.
    int32_t cleanFrames = 30;
    // A network flight with a join wait: with a single refusal the wait
    // still ends (a join line that cannot be rebuilt is rebuilt next frame).
    bool joinWait = false;
};

// What every refused k must give, against the clean run.
::testing::AssertionResult allowed(const FlightOutcome& clean, const FlightOutcome& got, Refusal refusal,
                                   const SweepRules& rules) {
    if (!got.locksFree) return ::testing::AssertionFailure() << "a lock is still held";
    if (got.liveAfter != got.liveBefore)
        return ::testing::AssertionFailure() << got.liveAfter << " live FLT blocks, " << got.liveBefore << " before";
    if (got.refusedFrees != 0)
        return ::testing::AssertionFailure() << got.refusedFrees << " frees of blocks never handed out";
    // Only the loading screen's block and the block the start-up file is
    // read into end a load: 1 at once, no frame.
    if (got.fly == 1 && got.frames == 0 && (got.traced(kNoLoadingScreen) || got.tracedStartingWith(kStartupFileUnread)))
        return ::testing::AssertionSuccess();
    // Otherwise the flight flies to the end the clean run had.
    if (got.fly != clean.fly) return ::testing::AssertionFailure() << "Fly returned " << got.fly;
    if (got.frames != clean.frames)
        return ::testing::AssertionFailure() << "flew " << got.frames << " frames, the clean run " << clean.frames;
    if (rules.joinWait && refusal == Refusal::OnlyTheKth && got.waitingForPlayers)
        return ::testing::AssertionFailure() << "the join wait never ended";
    return ::testing::AssertionSuccess();
}

// The scenario with its frames four times closer together: the same
// commands, players and changes, a quarter of the frames to fly for each of
// the sweep's flights. Frames 0 and 1 only draw, so nothing moves before 2.
kvsim::Scenario quicker(kvsim::Scenario scenario) {
    const auto closer = [](int32_t frame) { return 2 + frame / 4; };
    std::map<int32_t, std::vector<std::string>> events;
    for (const auto& event : scenario.events) {
        auto& names = events[closer(event.first)];
        names.insert(names.end(), event.second.begin(), event.second.end());
    }
    scenario.events = events;
    for (auto* frames : {&scenario.joinAtFrame, &scenario.readyAtFrame})
        for (auto& player : *frames) player.second = closer(player.second);
    return scenario;
}

// The clean run, then both sweeps over its N allocations. Returns N.
int32_t sweep(const char* name, const ExampleFlight& example, const kvsim::Scenario& scenario,
              const char* startupFile, const SweepRules& rules) {
    FlightRig rig(quicker(scenario));
    rig.driver.setScreenshotDirectory(example.screenshots().c_str());
    const FlightOutcome clean = rig.fly(example.directory(), startupFile);
    EXPECT_EQ(clean.fly, rules.cleanResult);
    EXPECT_GE(clean.frames, rules.cleanFrames);
    EXPECT_TRUE(allowed(clean, clean, Refusal::OnlyTheKth, rules));
    const int32_t n = clean.allocations;
    int failures = 0;
    for (Refusal refusal : {Refusal::OnlyTheKth, Refusal::FromTheKthOn}) {
        for (int32_t k = 1; k <= n && failures == 0; ++k) {
            rig.host.scenario.failAllocation = refusal == Refusal::OnlyTheKth ? k : 0;
            rig.host.scenario.failAllocationsFrom = refusal == Refusal::FromTheKthOn ? k : 0;
            const FlightOutcome got = rig.fly(example.directory(), startupFile);
            // With nothing granted at all, not even the loading screen exists.
            if (refusal == Refusal::FromTheKthOn && k == 1) {
                EXPECT_EQ(got.fly, 1) << name;
            }
            const auto verdict = allowed(clean, got, refusal, rules);
            if (!verdict) {
                ++failures;
                ADD_FAILURE() << name << ": allocation " << k
                              << (refusal == Refusal::OnlyTheKth ? " refused" : " and every later one refused")
                              << ": " << verdict.message();
            }
        }
    }
    std::printf("allocation sweep %s: N=%d, %d flights with a refusal, %d failures\n", name, n, 2 * n, failures);
    return n;
}

TEST(AllocationSweep, TrainingFlight) {
    ExampleFlight example("training", "sweep");
    ASSERT_TRUE(example.readOk);
    const int32_t n = sweep("training", example, example.scenario, "flight.ini", SweepRules{});
    // The loading screen, the start-up document, the texts, the map block.
    EXPECT_GT(n, 100);
}

TEST(AllocationSweep, NetworkFlightWithJoinWaitAndChat) {
    ExampleFlight example("network", "sweep");
    ASSERT_TRUE(example.readOk);
    SweepRules rules;
    rules.joinWait = true;
    const int32_t n = sweep("network", example, example.scenario, "flight.ini", rules);
    EXPECT_GT(n, 100);
}

// Sixteen commands in one network flight (chat needs one), so every one of
// them takes effect: pause and resume, time, screenshot, cockpit, radio,
// the map, the four chats, skip-to-next with its autopilot, the eject that
// a network flight survives, and the two that end a flight.
TEST(AllocationSweep, FlightGivingEveryCommand) {
    ExampleFlight example("training", "commands");
    ASSERT_TRUE(example.readOk);
    kvsim::Scenario scenario = example.scenario;
    scenario.network = 1;
    scenario.gameMode = 0;
    scenario.target = 2;
    scenario.players = {{"Red 1", 3}, {"Blue 1", 3}};
    scenario.chatText = "on my way";
    scenario.events = {{4, {"PAUSE_FLIGHT"}},
                       {6, {"PAUSE_FLIGHT"}},
                       {8, {"TIME_COMPRESSION"}},
                       {10, {"NORMAL_TIME"}},
                       {12, {"CHANGE_TIME"}},
                       {14, {"SCREEN_SHOT"}},
                       {16, {"TOGGLE_COCKPIT"}},
                       {18, {"RADIO_COMM"}},
                       {20, {"MAP"}},
                       {22, {"MAP"}},
                       {24, {"CHAT_ALL"}},
                       {28, {"CHAT_ENEMY"}},
                       {32, {"CHAT_FRIENDLY"}},
                       {36, {"CHAT_TARGET"}},
                       {40, {"SKIP_TO_NEXT"}},
                       {140, {"EJECT"}},
                       {150, {"EXIT_FLIGHT", "QUIT_GAME"}}};
    SweepRules rules;
    rules.cleanResult = 1;  // QUIT_GAME: the application is ending
    const int32_t n = sweep("commands", example, scenario, "flight.ini", rules);
    EXPECT_GT(n, 100);
}

// Binding, a short flight that the host ends after three frames, and
// unbinding: after ExitDLL nothing of the module is left with the host,
// whatever the flight could not have.
TEST(AllocationSweep, BindingAndUnbinding) {
    ExampleFlight example("training", "binding");
    ASSERT_TRUE(example.readOk);
    const int32_t kFrames = 3;
    const auto bindFlyUnbind = [&](int32_t refuse, int32_t refuseFrom, FlightOutcome& out) {
        kvsim::Scenario scenario = example.scenario;
        scenario.failAllocation = refuse;
        scenario.failAllocationsFrom = refuseFrom;
        FlightRig rig(scenario);
        rig.afterFrame = [&rig, kFrames] {
            if (rig.host.app.updates + 1 == kFrames) rig.driver.setRunState(1);
        };
        out = rig.fly(example.directory(), "flight.ini");
        rig.unbind();
        EXPECT_EQ(rig.host.shell.registered("FLT"), nullptr);
        EXPECT_EQ(rig.host.memory.liveBlocks("FLT"), 0);
        for (const char* tag : {"GFX", "TER", "OBJ", "MSN", "NET", "FFB", "MEM", "FMG", "APP", "HUD", "COM"})
            EXPECT_EQ(rig.host.shell.held(tag), 0) << tag;
        EXPECT_EQ(kv::heapBlocksOutstanding(), 0u);
    };
    FlightOutcome clean;
    bindFlyUnbind(0, 0, clean);
    ASSERT_EQ(clean.fly, 0);
    ASSERT_EQ(clean.frames, kFrames);
    const int32_t n = clean.allocations;
    int failures = 0;
    for (int32_t k = 1; k <= n && !::testing::Test::HasFailure(); ++k) {
        for (Refusal refusal : {Refusal::OnlyTheKth, Refusal::FromTheKthOn}) {
            SCOPED_TRACE("allocation " + std::to_string(k) + (refusal == Refusal::OnlyTheKth ? "" : " on"));
            FlightOutcome got;
            bindFlyUnbind(refusal == Refusal::OnlyTheKth ? k : 0, refusal == Refusal::FromTheKthOn ? k : 0, got);
            const auto verdict = allowed(clean, got, refusal, SweepRules{});
            if (!verdict) ADD_FAILURE() << verdict.message();
            failures += verdict ? 0 : 1;
        }
    }
    std::printf("allocation sweep binding: N=%d, %d bindings with a refusal, %d failures\n", n, 2 * n, failures);
    EXPECT_GT(n, 50);
}

}  // namespace

namespace {

// A start-up file that exists but whose pool the memory service refuses
// would lose every line at once: the flight would fly on defaults alone
// (here a flight the file says to skip). It fails the load instead.
TEST(AllocationSweep, AStartupFileWithoutRoomToBeReadFailsTheLoad) {
    ExampleFlight example("training", "pool");
    ASSERT_TRUE(example.readOk);
    example.write("skip.ini", "[Debug]\nSkipFlight=TRUE\n#include flight.ini\n");
    FlightRig rig(example.scenario);
    rig.driver.setRunState(0);
    rig.host.log().setMode(kvsim::CallLog::Mode::InMemory);
    ASSERT_EQ(rig.fly(example.directory(), "skip.ini").frames, 0);
    // The pool: the start-up file's bytes and the room kept beyond them.
    int32_t poolAllocation = 0;
    int32_t allocation = 0;
    for (const auto& record : rig.host.log().records()) {
        if (record.op != "memAlloc") continue;
        ++allocation;
        if (record.args[0].get<int32_t>() > 61440) {
            poolAllocation = allocation;
            break;
        }
    }
    ASSERT_GT(poolAllocation, 0);
    rig.host.log().setMode(kvsim::CallLog::Mode::Off);
    rig.host.scenario.failAllocation = poolAllocation;
    const FlightOutcome refused = rig.fly(example.directory(), "skip.ini");
    EXPECT_EQ(refused.fly, 1);
    EXPECT_EQ(refused.frames, 0);
    EXPECT_TRUE(refused.traced("...not enough memory to read the korvane start-up file skip.ini!"));
    EXPECT_TRUE(refused.traced("Error Reading skip.ini!"));
    EXPECT_EQ(refused.liveAfter, refused.liveBefore);
    EXPECT_TRUE(refused.locksFree);
}

}  // namespace
