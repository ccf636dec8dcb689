#include "tools/korvane_host_flights.h"

#include <string>

#include "tools/korvane_host_app.h"

namespace fs = std::filesystem;

namespace kvhost {

namespace {

// The module takes paths in its own form, with backslashes.
std::string modulePath(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

int32_t flyEachFlight(kvsim::SimHost& host, kvsim::ModuleDriver& driver, const fs::path& flightDir,
                      const FlightHooks& hooks) {
    const kvsim::Scenario& scenario = host.scenario;
    if (!scenario.screenshotDirectory.empty()) {
        // A host makes sure its screenshot folder exists; the module only
        // enters it, relative to the flight's folder.
        std::error_code ignored;
        fs::create_directories(flightDir / scenario.screenshotDirectory, ignored);
        driver.setScreenshotDirectory(modulePath(scenario.screenshotDirectory).c_str());
    }
    int32_t result = 1;
    const std::string directory = flightDir.string();
    for (int32_t flight = 1; flight <= scenario.flights; ++flight) {
        if (hooks.before) hooks.before(flight);
        result = driver.fly(directory.c_str(), scenario.startupFile.c_str());
        if (hooks.after) hooks.after(flight, result);
    }
    return result;
}

}  // namespace

std::optional<int32_t> flyScenario(kvsim::SimHost& host, kvsim::ModuleDriver& driver, const fs::path& flightDir,
                                   const FlightHooks& hooks) {
    FrameLimitApp app(host.app, host.scenario.frames, [&driver] { driver.setRunState(1); });
    host.replace("APP", static_cast<kv::AppInterface&>(app));
    std::optional<int32_t> result;
    driver.initDll(0);
    if (driver.engine()) result = flyEachFlight(host, driver, flightDir, hooks);
    driver.exitDll();
    // The frame limit lives only as long as this run.
    host.replace("APP", static_cast<kv::AppInterface&>(host.app));
    return result;
}

}  // namespace kvhost
