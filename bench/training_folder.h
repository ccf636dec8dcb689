// Where the benchmarks find examples/training: KORVANE_TRAINING in the
// environment, or the source tree's.
#pragma once

#include <cstdlib>
#include <filesystem>

namespace kvbench {

inline std::filesystem::path trainingFolder() {
    if (const char* folder = std::getenv("KORVANE_TRAINING")) return folder;
    return std::filesystem::path(KORVANE_EXAMPLES) / "training";
}

}  // namespace kvbench
