// The module alone, in the no-op host, for an instruction counter such as
// callgrind: flies N frames of one kind, or loads and unloads the training
// flight N times. The work counted lies inside the two functions below,
// which bench/report names to callgrind (--toggle-collect), so that setting
// up, binding and leaving are left out.
//
//   korvane_module_run frames KIND N    KIND: one_sub_step, 32_sub_steps,
//                                             map_view, network_flight
//   korvane_module_run load N
//
// Prints the sub-steps of the last frame, or the blocks left after the
// loads; exits 2 for bad arguments, 1 when the flight does not load.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/training_folder.h"
#include "noop/noop_flight.h"

#if defined(__GNUC__)
#define KORVANE_MEASURED extern "C" __attribute__((noinline))
#else
#define KORVANE_MEASURED extern "C"
#endif

KORVANE_MEASURED void korvane_measured_frames(kvsim::NoopFlight* flight, long frames) {
    for (long i = 0; i < frames; ++i) flight->frame();
}

KORVANE_MEASURED bool korvane_measured_load_unload(kvsim::NoopFlight* flight) {
    if (!flight->load(kvsim::FrameKind::OneSubStep)) return false;
    flight->unload();
    return true;
}

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: korvane_module_run frames KIND N | load N\n"
                 "  KIND: one_sub_step, 32_sub_steps, map_view, network_flight\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 1 ? argv[1] : "";
    const int countArg = what == "frames" ? 3 : 2;
    if ((what != "frames" && what != "load") || argc != countArg + 1) return usage();
    char* end = nullptr;
    const long count = std::strtol(argv[countArg], &end, 10);
    if (!end || *end || count < 0) return usage();

    kvsim::NoopFlight flight(kvbench::trainingFolder());
    if (what == "load") {
        for (long i = 0; i < count; ++i)
            if (!korvane_measured_load_unload(&flight)) return 1;
        std::printf("live_blocks=%lld\n", static_cast<long long>(flight.host.liveBlocks()));
        return 0;
    }
    kvsim::FrameKind kind;
    if (!kvsim::frameKindNamed(argv[2], &kind)) return usage();
    if (!flight.load(kind)) return 1;
    const int64_t before = flight.host.allocations();
    korvane_measured_frames(&flight, count);
    std::printf("sub_steps=%g allocations=%lld\n", static_cast<double>(flight.subStepsOfLastFrame()),
                static_cast<long long>(flight.host.allocations() - before));
    return 0;
}
