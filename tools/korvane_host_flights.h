// The flights of one korvane-host run, as the program makes them: the
// module bound to the stand-in shell, the host's frame limit in place of
// its application service, the screenshot folder set, one Fly per flight
// of the scenario, and the unbinding. The program and its tests share it,
// so what a scenario key does is what the program does.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

#include "sim/host/module_driver.h"
#include "sim/host/sim_host.h"

namespace kvhost {

struct FlightHooks {
    // Before each Fly, with the flight's number from 1.
    std::function<void(int32_t flight)> before;
    // After each Fly, with the flight's number and what Fly returned.
    std::function<void(int32_t flight, int32_t result)> after;
};

// Flies flightDir (an absolute path) as host.scenario says with the module
// behind driver, and returns the last Fly's result. Empty when the module
// registered no engine object; it is unbound again then.
std::optional<int32_t> flyScenario(kvsim::SimHost& host, kvsim::ModuleDriver& driver,
                                   const std::filesystem::path& flightDir, const FlightHooks& hooks);

}  // namespace kvhost
