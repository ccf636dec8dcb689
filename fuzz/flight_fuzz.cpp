// libFuzzer target for whole flights.
//
// The input is cut apart at each "\n@@\n" into four parts:
//   1. a scenario file (what the stand-in host does: frame times, mission,
//      network players, commands at given frames, failures, refused
//      allocations), read with the stand-in's own strict reader; whatever
//      it read before a line it refused is flown;
//   2. the start-up file flight.ini;
//   3. the string table text.ini (in-flight, loading-screen and chat texts);
//   4. host calls: pairs of bytes (operation, frames to wait), made between
//      frames as a host thread would: SetRunState, SetPaused, TakeScreenshot,
//      SetScreenshotDirectory, GetFlightDirectory and the accessors.
// The module is bound through InitDLL to a fresh stand-in host with its
// call log off, flies the scenario's flights in a scratch folder, and is
// unbound. Checked between frames: the engine lock and the shared lock are
// free; a shown map has its command filter installed; a running
// skip-to-next has the view controls disabled; a network flight still
// waiting for players is paused (from the first frame that runs the join
// wait); no block went back that the memory service did not hand out (a
// text freed twice). Checked after every flight: the live "FLT" blocks are
// back at their count.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "commands/flight_commands.h"
#include "engine/flight_module.h"
#include "entry/module_entry.h"
#include "fuzz/fuzz_check.h"
#include "sim/host/module_driver.h"
#include "sim/scenario/scenario_file.h"
#include "sim/host/sim_host.h"

namespace {

namespace fs = std::filesystem;

// Frames the fuzzer lets one flight run before the host ends it, and other
// bounds that keep one input to a few milliseconds.
const int32_t kMaxFrames = 200;
const int32_t kMaxFlights = 2;
const std::size_t kMaxPlayers = 8;
const std::size_t kMaxEvents = 48;
const std::size_t kMaxFrameTimes = 32;
const std::size_t kMaxChatText = 300;

const char* kOptions =
    "[GameplayOptions]\nCockpitView=0\n[GraphicsOptions]\nDisplayWidth=640\nDisplayHeight=480\nDisplayDepth=32\n"
    "ObjectDetail=1\nEffectsDetail=1\nCockpitMirrors=1\n[SoundOptions]\nSpeechSubtitles=1\n"
    "[ControlOptions]\nControlMap=keys.map\n";

std::vector<std::string> splitParts(const uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    std::size_t at = 0;
    while (parts.size() < 3) {
        const std::size_t cut = input.find("\n@@\n", at);
        if (cut == std::string::npos) break;
        parts.push_back(input.substr(at, cut - at));
        at = cut + 4;
    }
    parts.push_back(input.substr(at));
    while (parts.size() < 4) parts.emplace_back();
    return parts;
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A scratch flight folder, made once per process: the module files the
// start-up file may name, the options the options module lends.
struct Scratch {
    Scratch() {
        folder = fs::temp_directory_path() / ("korvane-flight-fuzz-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "shots");
        writeFile(folder / "Hud.dll", "");
        writeFile(folder / "Comm.dll", "");
        writeFile(folder / "options.ini", kOptions);
        writeFile(folder / "keys.map", "[Keys]\n");
    }
    ~Scratch() {
        std::error_code error;
        fs::remove_all(folder, error);
    }
    fs::path folder;
};

Scratch& scratch() {
    static Scratch folder;
    return folder;
}

// Keeps a fuzzed scenario to what one input should cost, and to the
// scratch folder.
void bound(kvsim::Scenario& s) {
    s.flights = s.flights < 1 ? 1 : (s.flights > kMaxFlights ? kMaxFlights : s.flights);
    s.optionsFile = "options.ini";
    s.screenshotDirectory.clear();
    if (s.frameTimes.empty()) s.frameTimes = {0.05f};
    if (s.frameTimes.size() > kMaxFrameTimes) s.frameTimes.resize(kMaxFrameTimes);
    if (s.netFrameTimes.size() > kMaxFrameTimes) s.netFrameTimes.resize(kMaxFrameTimes);
    if (s.players.size() > kMaxPlayers) s.players.resize(kMaxPlayers);
    while (s.events.size() > kMaxEvents) s.events.erase(std::prev(s.events.end()));
    if (s.chatText.size() > kMaxChatText) s.chatText.resize(kMaxChatText);
    if (s.loadingImage.find_first_of("/\\:") != std::string::npos) s.loadingImage.clear();
}

// The host calls of part 4, each after a number of frames.
struct HostCall {
    int32_t frame;
    uint8_t op;
};

std::vector<HostCall> hostCalls(const std::string& bytes) {
    std::vector<HostCall> calls;
    int32_t frame = 0;
    for (std::size_t i = 0; i + 1 < bytes.size() && calls.size() < 256; i += 2) {
        frame += static_cast<uint8_t>(bytes[i + 1]) % 16;
        calls.push_back({frame, static_cast<uint8_t>(bytes[i])});
    }
    return calls;
}

class FlightHarness : private kv::AppInterface {
public:
    FlightHarness(const kvsim::Scenario& scenario, std::vector<HostCall> calls)
        : host_(scenario), calls_(std::move(calls)) {
        host_.log().setMode(kvsim::CallLog::Mode::Off);
        host_.replace("APP", static_cast<kv::AppInterface&>(*this));
        driver_.initDll(0);
        engine_ = static_cast<kv::FlightModuleInterface*>(host_.shell.registered("FLT"));
        CHECK(engine_);
    }
    ~FlightHarness() { driver_.exitDll(); }

    void flyAll() {
        const std::string folder = scratch().folder.string();
        for (int32_t flight = 0; flight < host_.scenario.flights; ++flight) {
            const int before = host_.memory.liveBlocks("FLT");
            frames_ = 0;
            const int32_t result = driver_.fly(folder.c_str(), "flight.ini");
            CHECK(result == 0 || result == 1);
            CHECK(host_.memory.liveBlocks("FLT") == before);
            checkLocksFree();
            CHECK(host_.state.refusedFrees == 0);
        }
        // Calls left over land between flights.
        while (next_ < calls_.size()) call(calls_[next_++].op);
    }

private:
    kv::FlightModule& flight() { return kv::flightModule(); }

    void checkLocksFree() {
        const auto isFree = [](const kv::RecursiveSpinLock& lock) {
            return lock.count == 0 && lock.owner == 0 && lock.lockWord.load() == 0;
        };
        CHECK(isFree(flight().lock));
        CHECK(isFree(flight().sharedLock));
    }

    void checkBetweenFrames() {
        kv::FlightModule& f = flight();
        checkLocksFree();
        if (f.mapShown) CHECK(host_.controls.filter == kv::mapCommandFilter);
        if (f.skipToNextActive) CHECK(host_.views.viewControlsEnabled == 0);
        // The join wait holds the pause from the first frame that runs it;
        // a frame cut short by the application stopping runs nothing.
        if (f.networkFlight && f.waitingForPlayers && f.frameCount > 2 && !f.frameState.stoppedByApp)
            CHECK(f.paused);
        CHECK(host_.state.refusedFrees == 0);
    }

    void call(uint8_t op) {
        char buffer[300];
        switch (op % 10) {
            case 0: engine_->SetRunState(static_cast<int32_t>(op / 10 % 4) - 1); break;
            case 1: engine_->SetPaused(op / 10 % 2); break;
            case 2: engine_->TakeScreenshot(); break;
            case 3: {
                const std::string shots = (scratch().folder / "shots").string();
                engine_->SetScreenshotDirectory(op / 10 % 3 == 0 ? shots.c_str() : op / 10 % 3 == 1 ? "" : nullptr);
                break;
            }
            case 4: {
                const int32_t size = static_cast<int32_t>(op / 10) * 12 - 20;
                std::memset(buffer, 'x', sizeof buffer);
                engine_->GetFlightDirectory(buffer, size);
                if (size >= 1) CHECK(std::memchr(buffer, '\0', static_cast<std::size_t>(size)) != nullptr);
                if (size < 1) CHECK(buffer[0] == 'x');
                break;
            }
            case 5: (void)engine_->GetTimeCompression(); break;
            case 6: (void)engine_->GetStepRate(); break;
            default: {
                const int32_t paused = engine_->IsPaused();
                CHECK(paused == 0 || paused == 1);
                break;
            }
        }
    }

    int32_t appUpdate() override {
        checkBetweenFrames();
        while (next_ < calls_.size() && calls_[next_].frame <= frames_) call(calls_[next_++].op);
        ++frames_;
        if (frames_ >= kMaxFrames) engine_->SetRunState(1);
        return host_.app.appUpdate();
    }
    int32_t appIsRunning() override { return host_.app.appIsRunning(); }
    int32_t appQueryFlag() override { return host_.app.appQueryFlag(); }

    kvsim::SimHost host_;
    kvsim::ModuleDriver driver_{host_, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
    kv::FlightModuleInterface* engine_ = nullptr;
    std::vector<HostCall> calls_;
    std::size_t next_ = 0;
    int32_t frames_ = 0;
};

void clearScreenshots() {
    std::error_code error;
    for (const fs::path& folder : {scratch().folder / "shots", scratch().folder}) {
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            const std::string name = it->path().filename().string();
            if (it->is_regular_file(error) && name != "Hud.dll" && name != "Comm.dll" && name != "options.ini" &&
                name != "keys.map" && name != "flight.ini" && name != "text.ini" && name != "scenario.ini")
                fs::remove(it->path(), error);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const fs::path folder = scratch().folder;
    const std::vector<std::string> parts = splitParts(data, size);
    writeFile(folder / "scenario.ini", parts[0]);
    writeFile(folder / "flight.ini", parts[1]);
    writeFile(folder / "text.ini", parts[2]);

    kvsim::Scenario scenario;
    kvsim::ScenarioError ignored;
    (void)kvsim::readScenarioFile((folder / "scenario.ini").string(), scenario, ignored);
    bound(scenario);
    {
        FlightHarness harness(scenario, hostCalls(parts[3]));
        harness.flyAll();
    }
    clearScreenshots();
    return 0;
}
