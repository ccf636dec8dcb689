// A thousand flights in a row in one bound process, as a host that runs a
// whole campaign does: normal flights, each fatal failure of the loading,
// a skipped flight, network flights with a join wait, an eject, a
// skip-to-next, and flights with allocations refused, in turn. After every
// flight the "FLT" blocks are back at the count the module holds between
// flights, both locks are free, no block came back that was never handed
// out, and resident memory has not grown.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/example_flight.h"
#include "tests/support/flight_rig.h"
#include "tests/support/resident_memory.h"

namespace {

using kvtest::ExampleFlight;
using kvtest::FlightOutcome;
using kvtest::FlightRig;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

struct Kind {
    const char* name;
    // The flight directory: the training or the network example.
    bool network;
    const char* startupFile;
    std::function<void(kvsim::Scenario&, int flight)> change;
    // What Fly must return; -1: 0 or 1 (a refused allocation may fail the load).
    int32_t result;
};

TEST(Soak, AThousandFlightsInARow) {
    ExampleFlight training("training", "soak");
    ExampleFlight network("network", "soak");
    ASSERT_TRUE(training.readOk && network.readOk);
    training.write("skip.ini", "[Debug]\nSkipFlight=TRUE\n#include flight.ini\n");
    // Refusals fall anywhere in a flight's allocations (a training flight
    // asks for 281).
    const int32_t kAllocations = 281;
    const std::vector<Kind> kinds = {
        {"normal", false, "flight.ini", [](kvsim::Scenario&, int) {}, 0},
        {"display fails", false, "flight.ini", [](kvsim::Scenario& s, int) { s.failDisplay = 1; }, 1},
        {"terrain fails", false, "flight.ini", [](kvsim::Scenario& s, int) { s.failTerrain = 1; }, 1},
        {"mission objects fail", false, "flight.ini", [](kvsim::Scenario& s, int) { s.failMissionObjects = 1; }, 1},
        {"no memory for the loading screen", false, "flight.ini",
         [](kvsim::Scenario& s, int) { s.failAllocationsFrom = 1; }, 1},
        {"skipped", false, "skip.ini", [](kvsim::Scenario&, int) {}, 0},
        {"network with join wait", true, "flight.ini", [](kvsim::Scenario&, int) {}, 0},
        {"eject", false, "flight.ini", [](kvsim::Scenario& s, int) { s.events = {{10, {"EJECT"}}}; }, 0},
        {"skip-to-next", false, "flight.ini",
         [](kvsim::Scenario& s, int) { s.events = {{10, {"SKIP_TO_NEXT"}}, {140, {"EXIT_FLIGHT"}}}; }, 0},
        {"one allocation refused", false, "flight.ini",
         [&](kvsim::Scenario& s, int flight) { s.failAllocation = flight * 37 % kAllocations + 1; }, -1},
        {"allocations refused from one on", true, "flight.ini",
         [&](kvsim::Scenario& s, int flight) { s.failAllocationsFrom = flight * 53 % 195 + 1; }, -1},
    };

    FlightRig rig;
    rig.driver.setScreenshotDirectory(training.screenshots().c_str());
    const int baseline = rig.host.memory.liveBlocks("FLT");
    // Under the address sanitizer a flight costs many times what it costs
    // otherwise: ten flights of each kind there, a thousand here.
    const int kFlights = kAddressSanitizer ? 10 * static_cast<int>(kinds.size()) : 1000;
    const int kWarmUp = 2 * static_cast<int>(kinds.size());
    std::size_t residentFirst = 0;
    std::size_t residentWarm = 0;
    std::size_t residentLast = 0;
    int liveFirst = -1;
    int liveLast = -1;
    int failures = 0;
    for (int flight = 0; flight < kFlights && failures < 5; ++flight) {
        const Kind& kind = kinds[static_cast<std::size_t>(flight) % kinds.size()];
        const ExampleFlight& folder = kind.network ? network : training;
        kvsim::Scenario scenario = folder.scenario;
        kind.change(scenario, flight);
        rig.host.scenario = scenario;
        // A skipped flight returns what runState held before it.
        rig.driver.setRunState(0);
        const FlightOutcome out = rig.fly(folder.directory(), kind.startupFile);
        // What the stand-in keeps of every flight is not the module's.
        rig.host.messages.shown.clear();
        rig.host.state.screenshots.clear();

        const bool resultOk = kind.result == -1 ? (out.fly == 0 || out.fly == 1) : out.fly == kind.result;
        const bool ok = resultOk && out.liveAfter == baseline && out.locksFree && out.refusedFrees == 0;
        if (!ok) {
            ++failures;
            ADD_FAILURE() << "flight " << flight << " (" << kind.name << "): Fly " << out.fly << ", live FLT blocks "
                          << out.liveAfter << " of " << baseline << ", locks " << (out.locksFree ? "free" : "held")
                          << ", " << out.refusedFrees << " foreign frees";
        }
        const std::size_t resident = kvtest::residentBytes();
        if (flight == 0) {
            residentFirst = resident;
            liveFirst = out.liveAfter;
        }
        // The most the warm-up flights needed: a heap may hand memory back
        // between flights (the Windows one does, after a screenshot's large
        // picture), so one flight's figure is no baseline.
        if (flight < kWarmUp) residentWarm = std::max(residentWarm, resident);
        residentLast = resident;
        liveLast = out.liveAfter;
    }
    std::printf("soak: %d flights of %zu kinds; live FLT blocks first %d, last %d (baseline %d); resident memory "
                "first %.1f MiB, at most %.1f MiB in the first %d flights, last %.1f MiB\n",
                kFlights, kinds.size(), liveFirst, liveLast, baseline, residentFirst / 1048576.0,
                residentWarm / 1048576.0, kWarmUp, residentLast / 1048576.0);
    // The first flights of each kind bring the stand-in's and the C
    // runtime's own memory up to their working size; from then on nothing
    // may grow beyond the heap's rounding. The address sanitizer holds
    // freed blocks back for a while, so there memory grows by design.
    if (!kAddressSanitizer && residentWarm > 0) {
        EXPECT_LE(residentLast, residentWarm + 512 * 1024);
    }
}

}  // namespace
