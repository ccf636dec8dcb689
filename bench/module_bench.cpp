// The module alone, in the no-op host: what one frame costs (one sub-step,
// 32 sub-steps, the map view, a network flight), what each sub-step beyond
// the first adds, and what loading and unloading the training flight cost
// with a fade time of 0.
//
//   korvane_module_bench [benchmark flags]
//
// Every frame benchmark counts the memory service's allocations: a frame
// that allocates (outside chat and the join line, which these frames do
// not open) is an error, and the run exits 1.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/training_folder.h"
#include "noop/noop_flight.h"

namespace {

bool allocatedInAFrame = false;

void frames(benchmark::State& state, kvsim::FrameKind kind) {
    kvsim::NoopFlight flight(kvbench::trainingFolder());
    if (!flight.load(kind)) {
        state.SkipWithError("the training flight did not load");
        return;
    }
    const int64_t before = flight.host.allocations();
    for (auto _ : state) flight.frame();
    const int64_t allocations = flight.host.allocations() - before;
    state.counters["sub_steps"] = flight.subStepsOfLastFrame();
    state.counters["allocations"] = static_cast<double>(allocations);
    if (allocations == 0) return;
    allocatedInAFrame = true;
    state.SkipWithError("a frame allocated memory");
}

void loadAndUnload(benchmark::State& state) {
    kvsim::NoopFlight flight(kvbench::trainingFolder());
    for (auto _ : state) {
        if (!flight.load(kvsim::FrameKind::OneSubStep)) {
            state.SkipWithError("the training flight did not load");
            return;
        }
        flight.unload();
    }
    state.counters["live_blocks"] = static_cast<double>(flight.host.liveBlocks());
}

}  // namespace

BENCHMARK_CAPTURE(frames, one_sub_step, kvsim::FrameKind::OneSubStep);
BENCHMARK_CAPTURE(frames, 32_sub_steps, kvsim::FrameKind::ThirtyTwoSubSteps);
BENCHMARK_CAPTURE(frames, map_view, kvsim::FrameKind::MapView);
BENCHMARK_CAPTURE(frames, network_flight, kvsim::FrameKind::NetworkFlight);
BENCHMARK(loadAndUnload)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (!allocatedInAFrame) return 0;
    std::fprintf(stderr, "korvane_module_bench: a frame allocated memory\n");
    return 1;
}
