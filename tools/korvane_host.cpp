// korvane-host: flies a flight directory with the Korvane module in the
// stand-in host. It loads the module's shared library, binds it to the
// stand-in shell with InitDLL, sets the screenshot folder, calls Fly once
// per flight, prints one summary line per flight and unbinds with ExitDLL.
//
// Exit status: the last Fly result (0, or 1 when the flight failed to load
// or the application is ending); 2 for bad arguments, a scenario that
// cannot be read, a module that cannot be loaded or bound, or a picture of
// --pictures that cannot be written.
//
// korvane-host diff A B compares two of its traces (korvane_host_diff_command).

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "sim/host/module_driver.h"
#include "tools/korvane_host_diff_command.h"
#include "tools/korvane_host_trace.h"
#include "sim/host/module_library.h"
#include "sim/scenario/scenario_file.h"
#include "sim/pictures/picture_text.h"
#include "sim/host/sim_host.h"
#include "tools/korvane_host_flights.h"
#include "tools/korvane_host_pictures.h"
#include "tools/korvane_host_progress.h"
#include "tools/korvane_host_summary.h"
#include "tools/korvane_host_timeline.h"

namespace fs = std::filesystem;

namespace {

const int kExitUsage = 2;

struct UsageError {
    std::string message;
};

fs::path programFolder(const char* argv0) {
#ifdef _WIN32
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) return fs::path(path).parent_path();
#else
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error) return self.parent_path();
#endif
    return fs::absolute(fs::path(argv0)).parent_path();
}

std::string defaultModule(const char* argv0) {
#ifdef _WIN32
    const char* name = "Korvane.dll";
#else
    const char* name = "libKorvane.so";
#endif
    const fs::path folder = programFolder(argv0);
    std::error_code error;
    if (fs::exists(folder / name, error)) return (folder / name).string();
    const fs::path installed = (folder / KORVANE_INSTALLED_MODULE_FOLDER / name).lexically_normal();
    // Neither there: the error names the first place looked.
    return fs::exists(installed, error) ? installed.string() : (folder / name).string();
}

bool isTerminal(std::FILE* file) {
#ifdef _WIN32
    return _isatty(_fileno(file)) != 0;
#else
    return isatty(fileno(file)) != 0;
#endif
}

// The scenario: --scenario, else FLIGHT_DIR/scenario.ini when there is one,
// else the defaults.
kvsim::Scenario loadScenario(const std::string& given, const fs::path& flightDir) {
    kvsim::Scenario scenario;
    std::string path = given;
    std::error_code error;
    if (path.empty() && fs::is_regular_file(flightDir / "scenario.ini", error))
        path = (flightDir / "scenario.ini").string();
    if (path.empty()) return scenario;
    kvsim::ScenarioError problem;
    if (!kvsim::readScenarioFile(path, scenario, problem)) throw UsageError{problem.text()};
    // A [Modules] name that is no file of the flight would be read and
    // never matched: say so rather than fly as if it were not there.
    for (const auto& module : scenario.moduleInterfaces) {
        const std::string file = flightDir.string() + "\\" + module.first;
        if (kvsim::SimFileManager::findFile(file.c_str()).empty())
            throw UsageError{path + ": [Modules] " + module.first + ": no such file in " + flightDir.string()};
    }
    return scenario;
}

std::unique_ptr<std::ofstream> openOutput(const std::string& path, const char* what) {
    if (path.empty()) return nullptr;
    auto out = std::make_unique<std::ofstream>(path, std::ios::binary | std::ios::trunc);
    if (!*out) throw UsageError{std::string("cannot write the ") + what + " file " + path};
    return out;
}

std::string helpFooter() {
    return "\nAfter each flight one line:\n"
           "  flight=K fly=R frames=N simulated=S substeps=N commands=N messages=N screenshots=N chat=N "
           "live_flt_blocks=N\n"
           "  K the flight's number from 1; R what Fly returned; frames completed (objEndFrame); S the\n"
           "  simulated seconds (the sum of msnUpdate's times); substeps (wldUpdate); flight commands\n"
           "  dispatched; msgShowText calls; screenshot files written; chat lines sent (netSendChat);\n"
           "  the memory service's count of live \"FLT\" blocks right after Fly returned (0 after a\n"
           "  clean flight).\n"
           "\nTrace file (--trace): JSON Lines, one record per call in call order:\n"
           "  {\"op\":...,\"args\":[...],\"ret\":...}  a call of the module into the host\n"
           "  {\"host\":...,\"args\":[...]}          a call of the host into the module (Fly, commands);\n"
           "                                       its {\"host\":...,\"ret\":...} follows when calls came between\n"
           "  {\"trace\":\"...\"}                      a diagnostic text of the module\n"
           "\nTimeline file (--timeline): Chrome trace-event JSON (Perfetto, chrome://tracing): spans for\n"
           "each Fly, its load (checkpoints as instants), every frame and sub-step, and the unload, on\n"
           "two tracks: the stand-in's virtual clock and the wall clock.\n"
           "\nPictures (--pictures DIR): each distinct loading-screen frame as flightK-loading-NN.png, the\n"
           "size of the display: the loading picture, the bar and the texts as the module drew them.\n"
           "Screenshots the module takes are PNG pictures of the frame it composed: the view, the horizon,\n"
           "the map with the objects around the player, the messages and the chat entry line.\n"
           "\nExit status: the last Fly result (0, or 1 when a flight failed to load or the application\n"
           "is ending); 2 for bad arguments, a scenario that cannot be read, a module that cannot be\n"
           "loaded or bound, or a picture that cannot be written.\n"
           "\nComparing two traces:\n" +
           std::string(kvhost::diffUsage()) +
           "\nScenario keys (FLIGHT_DIR/scenario.ini or --scenario; INI, \";\" comments; an unknown\n"
           "section or key, or a value that does not parse, is an error; frames count from 0):\n" +
           kvsim::scenarioKeysText();
}

// The call log as a run uses it: written to the trace file when there is
// one (and otherwise not recorded at all), watched by the observers that
// count, draw the loading bar and build the timeline. Until the end of the
// run, also when it ends early: the observers and the file go before the
// host does.
class RunLog {
public:
    RunLog(kvsim::CallLog& log, std::ostream* trace, const std::vector<kvsim::CallObserver*>& observers)
        : log_(log), observers_(observers) {
        for (kvsim::CallObserver* observer : observers_) log_.addObserver(observer);
        log_.setMode(trace ? kvsim::CallLog::Mode::Streaming : kvsim::CallLog::Mode::Off, trace);
    }
    ~RunLog() {
        log_.setMode(kvsim::CallLog::Mode::Off);
        for (kvsim::CallObserver* observer : observers_) log_.removeObserver(observer);
    }
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

private:
    kvsim::CallLog& log_;
    std::vector<kvsim::CallObserver*> observers_;
};

// An output folder of an option, made when missing, as an absolute path: a
// relative one is meant from where the program started, and the module
// enters the flight's folder while it flies.
fs::path madeFolder(const std::string& folder, const char* what) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error)) throw UsageError{std::string("cannot make the ") + what + " folder " + folder};
    return fs::absolute(folder, error).lexically_normal();
}

// The folder of --pictures; null without the option. Where texts cannot be
// drawn the pictures still come, and the run says so.
std::unique_ptr<kvhost::LoadingPictures> openPictures(const std::string& folder, kvsim::SimGraphics& graphics) {
    if (folder.empty()) return nullptr;
    const fs::path pictures = madeFolder(folder, "pictures");
    const std::string missing = kvsim::textsMissing();
    if (!missing.empty()) std::fprintf(stderr, "korvane-host: %s\n", missing.c_str());
    return std::make_unique<kvhost::LoadingPictures>(pictures, graphics);
}

// Names each picture that could not be written; true when there is none.
bool reportPictures(const kvhost::LoadingPictures& pictures) {
    for (const fs::path& path : pictures.failed())
        std::fprintf(stderr, "korvane-host: cannot write the picture %s\n", path.string().c_str());
    return pictures.failed().empty();
}

struct Options {
    std::string scenario;
    std::optional<int32_t> frames;
    std::string trace;
    std::string timeline;
    std::string module;
    std::string pictures;
    std::string screenshots;
    bool quiet = false;
    bool throughReplace = false;
    std::string flightDir;
};

int run(const Options& options, const char* argv0) {
    std::error_code error;
    if (!fs::is_directory(options.flightDir, error)) throw UsageError{"no such flight directory: " + options.flightDir};
    const fs::path flightDir = fs::absolute(options.flightDir);
    kvsim::Scenario scenario = loadScenario(options.scenario, flightDir);
    if (options.frames) scenario.frames = *options.frames;
    if (!options.screenshots.empty())
        scenario.screenshotDirectory = madeFolder(options.screenshots, "screenshots").string();

    const std::unique_ptr<std::ofstream> traceFile = openOutput(options.trace, "trace");
    const std::unique_ptr<std::ofstream> timelineFile = openOutput(options.timeline, "timeline");

    const std::string libraryPath = options.module.empty() ? defaultModule(argv0) : options.module;
    kvsim::ModuleLibrary library;
    if (!library.open(libraryPath)) throw UsageError{"cannot load the module: " + library.error()};

    kvsim::SimHost host(scenario);
    if (options.throughReplace) host.replaceWithOwnSimulations();
    kvsim::ModuleDriver driver(host, library.entryPoints());
    std::unique_ptr<kvhost::LoadingPictures> pictures = openPictures(options.pictures, host.graphics);

    kvhost::FlightCounts counts;
    std::vector<kvsim::CallObserver*> observers{&counts};
    std::unique_ptr<kvhost::Timeline> timeline;
    if (timelineFile) {
        timeline = std::make_unique<kvhost::Timeline>(*timelineFile, [&host] { return host.state.time; });
        observers.push_back(timeline.get());
    }
    std::unique_ptr<kvhost::LoadingBar> bar;
    if (!options.quiet && isTerminal(stdout)) {
        bar = std::make_unique<kvhost::LoadingBar>(stdout, [&host]() -> const kvsim::ScreenFrame& {
            return host.graphics.lastScreen;
        });
        observers.push_back(bar.get());
    }
    RunLog runLog(host.log(), traceFile.get(), observers);

    // Before binding: the module looks for the trace hook as it is bound.
    kvhost::setTraceLog(&host.log());
    kvhost::FlightHooks hooks;
    const std::string directory = flightDir.string();
    hooks.before = [&](int32_t flight) {
        counts.reset();
        if (timeline) timeline->flyBegin(flight, directory);
        if (bar) bar->flyBegin();
        if (pictures) pictures->flyBegin(flight);
    };
    hooks.after = [&](int32_t flight, int32_t result) {
        host.log().flush();  // the flight's last records reach the observers
        if (bar) bar->flyEnd();
        if (timeline) timeline->flyEnd(result);
        // ExitDLL releases whatever "FLT" still holds: count before it.
        const int live = host.memory.liveBlocks("FLT");
        std::printf("%s\n", kvhost::summaryLine(flight, result, counts, live).c_str());
        std::fflush(stdout);
    };
    const std::optional<int32_t> result = kvhost::flyScenario(host, driver, flightDir, hooks);
    kvhost::setTraceLog(nullptr);
    if (!result) throw UsageError{libraryPath + " did not register its engine object \"FLT\""};
    host.log().flush();
    if (timeline) timeline->finish();
    // A picture that could not be written fails the run as a bad folder would.
    if (pictures && !reportPictures(*pictures)) return kExitUsage;
    return *result;
}

}  // namespace

int main(int argc, char** argv) {
    // A flight directory called "diff" is flown as ./diff.
    if (argc > 1 && std::string(argv[1]) == "diff") return kvhost::runDiffCommand(argc - 1, argv + 1);
    CLI::App app{
        "Flies FLIGHT_DIR with the Korvane flight module in the stand-in host: loads the module's\n"
        "shared library, binds it with InitDLL, sets the screenshot folder, calls Fly(FLIGHT_DIR,\n"
        "start-up file) once per flight, and unbinds with ExitDLL. What the stand-in host does comes\n"
        "from a scenario file. While a flight loads, its loading screen is shown as a progress bar\n"
        "when standard output is a terminal.",
        "korvane-host"};
    app.footer(helpFooter());
    // A path such as /flights/training is an argument on every system, never
    // a Windows-style option.
    app.allow_windows_style_options(false);
    Options options;
    int32_t frames = 0;
    app.add_option("--scenario", options.scenario, "Scenario file (default: FLIGHT_DIR/scenario.ini when present)")
        ->type_name("FILE");
    CLI::Option* framesOption =
        app.add_option("--frames", frames, "End each flight after N frames with SetRunState(1); 0 = no limit\n"
                                           "(overrides the scenario's [Host] Frames)")
            ->check(CLI::NonNegativeNumber)
            ->type_name("N");
    app.add_option("--trace", options.trace, "Write the call log to FILE as JSON Lines, as it happens")
        ->type_name("FILE");
    app.add_option("--timeline", options.timeline, "Write a Chrome trace-event timeline to FILE")->type_name("FILE");
    app.add_option("--module", options.module,
                   "The module's shared library (default: the Korvane library next to\nthis program, else in ../lib as installed)")
        ->type_name("PATH");
    app.add_option("--pictures", options.pictures,
                   "Write each distinct loading-screen frame as a PNG the size of the\n"
                   "display into DIR (made when missing): flightK-loading-NN.png")
        ->type_name("DIR");
    app.add_option("--screenshots", options.screenshots,
                   "Write the module's screenshots into DIR (made when missing) instead of\n"
                   "the scenario's [Host] ScreenshotDirectory")
        ->type_name("DIR");
    app.add_flag("--quiet", options.quiet, "No loading bar");
    app.add_flag("--through-replace", options.throughReplace,
                 "Hand the module every interface as a caller's own module, each being the\n"
                 "stand-in's own simulation: a check that the trace is the same");
    app.add_option("FLIGHT_DIR", options.flightDir, "The flight's directory")->required()->type_name("");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help exits 0; every other parse failure is a usage error.
        return app.exit(error) == 0 ? 0 : kExitUsage;
    }
    if (framesOption->count() > 0) options.frames = frames;

    try {
        return run(options, argv[0]);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "korvane-host: %s\n", error.message.c_str());
        return kExitUsage;
    }
}
