// own-module: flies a flight directory in the stand-in host with a messages
// module of its own in place of the stand-in's. The module's every message
// is printed with the frame the flight was in; the stand-in still records
// the module's calls to it.
//
//   own-module FLIGHT_DIR     e.g. the installed examples/training
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <string>

#include <korvane/engine_interfaces.h>

#include "sim/host/module_driver.h"
#include "sim/host/module_library.h"
#include "sim/scenario/scenario_file.h"
#include "sim/host/sim_host.h"

namespace {

class PrintingMessages : public kv::MessagesInterface {
public:
    explicit PrintingMessages(const kvsim::SimState& state) : state_(state) {}

    void msgLoadMessageSystem(const char*) override {}
    void msgUnloadMessageSystem() override {}
    void msgShowText(const char* format, ...) override {
        char text[1024];
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
        // The stand-in's frame in progress, counted from 0.
        std::printf("frame %d: %s\n", state_.frame, text);
    }
    void msgShowEntryLine(const char*, ...) override {}
    void msgUpdate(float) override {}
    void msgRender() override {}

private:
    const kvsim::SimState& state_;
};

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc != 2) {
        std::fprintf(stderr, "usage: own-module FLIGHT_DIR\n");
        return 2;
    }
    const fs::path flightDir = fs::absolute(argv[1]);
    kvsim::Scenario scenario;
    kvsim::ScenarioError problem;
    const fs::path scenarioFile = flightDir / "scenario.ini";
    if (fs::exists(scenarioFile) && !kvsim::readScenarioFile(scenarioFile.string(), scenario, problem)) {
        std::fprintf(stderr, "own-module: %s\n", problem.text().c_str());
        return 2;
    }

    kvsim::ModuleLibrary library;
    if (!library.open(KORVANE_MODULE_FILE)) {
        std::fprintf(stderr, "own-module: cannot load the module: %s\n", library.error().c_str());
        return 2;
    }
    kvsim::SimHost host(scenario);
    PrintingMessages messages(host.state);
    host.replace("MSG", static_cast<kv::MessagesInterface&>(messages));

    kvsim::ModuleDriver driver(host, library.entryPoints());
    driver.initDll(0);
    if (!scenario.screenshotDirectory.empty()) {
        fs::create_directories(flightDir / scenario.screenshotDirectory);
        driver.setScreenshotDirectory(scenario.screenshotDirectory.c_str());
    }
    const int32_t result = driver.fly(flightDir.string().c_str(), scenario.startupFile.c_str());
    driver.exitDll();

    std::printf("flight ended with %d; the stand-in recorded %zu calls, %zu of them msgShowText\n", result,
                host.log().records().size(), host.log().count("msgShowText"));
    return result == 0 ? 0 : 1;
}
