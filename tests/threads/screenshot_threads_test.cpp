// Screenshots asked for by the host's own thread while the flight's thread
// loads, flies and unloads. Two faults a host meets this way: a capture and
// a frame that wait for each other (a graphics module that reads the next
// presented frame back, while a frame's SCREEN_SHOT or PAUSE_FLIGHT waits
// for the capture), and a capture that moves the flight into the
// screenshot folder, so that the load reads its files from there and the
// file manager's pushes and pops pair the wrong entries.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include <korvane/flight_module_interface.h>
#include "platform/workdir.h"
#include "tests/support/example_flight.h"
#include "tests/support/flight_rig.h"
#include "tests/threads/host_modules.h"

namespace {

namespace fs = std::filesystem;
using kvtest::ExampleFlight;
using kvtest::FlightOutcome;
using kvtest::FlightRig;

// A screenshot folder outside the flight's own, removed afterwards.
class OtherFolder {
public:
    explicit OtherFolder(const std::string& tag)
        : path_(fs::temp_directory_path() / ("korvane-shots-" + tag + "-" + std::to_string(::getpid()))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~OtherFolder() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// The numbers of the training flight's screenshot files in folder.
std::set<int> shotNumbers(const fs::path& folder) {
    std::set<int> numbers;
    for (const auto& entry : fs::directory_iterator(folder)) {
        int number = 0;
        if (std::sscanf(entry.path().filename().string().c_str(), "training%03d.png", &number) == 1)
            numbers.insert(number);
    }
    return numbers;
}

// 1, 2, ... count: no number taken twice, none skipped.
bool numberedFromOne(const std::set<int>& numbers) {
    int expected = 1;
    for (int number : numbers)
        if (number != expected++) return false;
    return true;
}

// Replaces text in a file of the flight's copy.
void edit(const ExampleFlight& example, const std::string& name, const std::string& from, const std::string& to) {
    std::ifstream in(fs::path(example.directory()) / name, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from << " in " << name;
    text.replace(at, from.size(), to);
    example.write(name, text);
}

// Room for every capture of a long flight (the training flight stops at
// 50), and pictures small enough to write many of them quickly.
void allowManyScreenshots(const ExampleFlight& example) {
    edit(example, "flight.ini", "MaxScreenShot=50", "MaxScreenShot=999");
    edit(example, "options.ini", "DisplayWidth=1024", "DisplayWidth=160");
    edit(example, "options.ini", "DisplayHeight=768", "DisplayHeight=120");
}

// Binds the module again with the host's own module under tag, for a test
// whose second thread calls the engine, screenshots going into shots and
// numbered from 1.
template <typename Interface>
kv::FlightModuleInterface* bindWith(FlightRig& rig, const char* tag, Interface& own, const OtherFolder& shots) {
    rig.unbind();
    rig.host.replace<Interface>(tag, own);
    rig.bind();
    rig.otherThreadsCallTheEngine = true;
    auto* engine = static_cast<kv::FlightModuleInterface*>(rig.host.shell.registered("FLT"));
    if (!engine) return nullptr;
    engine->SetScreenshotDirectory(shots.path().string().c_str());
    kv::flightModule().screenshot.lastNumber = 0;
    return engine;
}

// The host's thread: calls TakeScreenshot over and over while `open` says
// so, until stopped. The stand-in's own file reads borrow the module's FMG
// pointer for their length; a capture holds the stand-in's lock for that
// loan (a real host lends nothing).
class CapturingThread {
public:
    // With asked, one capture per request counted there, taken as soon as
    // it is asked for.
    // With gate, each capture holds it: the test's thread takes it to look
    // at the process between flights, when a capture may enter its folder.
    CapturingThread(kvsim::SimHost& host, kv::FlightModuleInterface* engine, std::function<bool()> open,
                    std::atomic<int>* asked = nullptr, std::mutex* gate = nullptr)
        : host_(host), engine_(engine), open_(std::move(open)), asked_(asked), gate_(gate),
          thread_([this] { run(); }) {}
    ~CapturingThread() { stop(); }
    void stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    std::atomic<int> captures{0};

private:
    void run() {
        while (!stop_) {
            if (!open_() || (asked_ && captures.load() >= asked_->load())) {
                std::this_thread::yield();
                continue;
            }
            {
                std::unique_lock<std::mutex> between;
                if (gate_) between = std::unique_lock<std::mutex>(*gate_);
                std::lock_guard<std::recursive_mutex> held(host_.state.moduleGlobals);
                engine_->TakeScreenshot();
            }
            ++captures;
            // Free-running, a short pause lets the test's thread have the
            // gate and the stand-in's lock between two captures.
            if (!asked_) std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }

    kvsim::SimHost& host_;
    kv::FlightModuleInterface* engine_;
    std::function<bool()> open_;
    std::atomic<int>* asked_;
    std::mutex* gate_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The host's thread captures on request, once the frame before has ended,
// with a graphics module that waits for the next presented frame; the
// next frame runs PAUSE_FLIGHT and SCREEN_SHOT while that capture waits.
// Neither side may wait for the other: the flight ends on time and no
// capture waits in vain. Every file asked for is written, but for the
// frame's SCREEN_SHOT during the host's capture, which is refused; other
// frames' SCREEN_SHOT write theirs, numbered without a gap or a number
// taken twice.
TEST(HostThreadScreenshots, ACaptureWaitingForTheNextFrameNeverStallsTheFlight) {
    ExampleFlight example("training", "waiting");
    ASSERT_TRUE(example.readOk);
    allowManyScreenshots(example);
    OtherFolder shots("waiting");
    kvsim::Scenario scenario = example.scenario;
    scenario.frameTimes = {0.05f};
    scenario.events.clear();
    const int lastFrame = 200;
    int frameShots = 0;
    for (int frame = 3; frame < lastFrame; ++frame) {
        // Frame 10k + 1 runs while the host's capture of frame 10k waits.
        if (frame % 10 == 1) {
            scenario.events[frame] = {"PAUSE_FLIGHT", "SCREEN_SHOT"};
            // Refused while the capture asked for after the frame before
            // waits; the last ones find none.
            if (frame - 1 >= lastFrame - 10) ++frameShots;
        } else if (frame % 10 == 5) {
            scenario.events[frame] = {"SCREEN_SHOT", "PAUSE_FLIGHT"};
            ++frameShots;
        } else {
            scenario.events[frame] = {"PAUSE_FLIGHT"};
        }
    }
    scenario.events[lastFrame] = {"EXIT_FLIGHT"};

    FlightRig rig(scenario);
    kvtest::WaitingGraphics graphics(rig.host.graphics);
    kv::FlightModuleInterface* engine = bindWith<kv::GraphicsInterface>(rig, "GFX", graphics, shots);
    ASSERT_NE(engine, nullptr);

    // After every tenth frame the flight's thread asks the host's thread
    // for a capture and lets the next frame begin only once that capture
    // waits for it (or the bound has passed).
    // The frame after it presented, the flight's thread lets that capture
    // end before it goes on, so the frames' other SCREEN_SHOT find none.
    std::atomic<int> asked{0};
    int frame = 0;
    int unanswered = 0;
    CapturingThread* hostThread = nullptr;
    rig.afterFrame = [&] {
        const int ended = frame++;
        if (graphics.stalls() != 0) return;
        if (ended % 10 == 0 && ended < lastFrame - 10) {
            const int waitsBefore = graphics.waits();
            ++asked;
            if (!graphics.awaitWaiting(waitsBefore + 1)) ++unanswered;
        } else if (ended % 10 == 1) {
            const auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            while (hostThread->captures.load() < asked.load() && std::chrono::steady_clock::now() < bound)
                std::this_thread::yield();
        }
    };
    FlightOutcome out;
    int captures = 0;
    {
        CapturingThread host(rig.host, engine, [&] { return asked.load() > 0; }, &asked);
        hostThread = &host;
        out = rig.fly(example.directory(), "flight.ini");
        host.stop();
        captures = host.captures.load();
    }
    EXPECT_EQ(graphics.stalls(), 0) << "a capture and a frame waited for each other";
    EXPECT_EQ(unanswered, 0) << "a capture asked for between frames never reached the graphics module";
    EXPECT_EQ(out.fly, 0);
    EXPECT_EQ(out.frames, lastFrame + 1) << "the flight ran every frame and ended on EXIT_FLIGHT";
    EXPECT_TRUE(out.locksFree);
    EXPECT_EQ(captures, asked.load());
    EXPECT_EQ(graphics.saves(), captures + frameShots) << "one file per capture, none for a capture refused";
    const std::set<int> numbers = shotNumbers(shots.path());
    EXPECT_EQ(static_cast<int>(numbers.size()), graphics.saves());
    EXPECT_TRUE(numberedFromOne(numbers));
    EXPECT_TRUE(shotNumbers(example.directory()).empty());
    std::printf("host thread: %d captures, %d waited for a frame, %d files beside %d frames\n", captures,
                graphics.waits(), graphics.saves(), out.frames);
    rig.unbind();
    engine = nullptr;
    kv::flightModule().screenshot.setDirectory(nullptr);
}

// Flights start, load, fly and unload again and again, single-player and
// networked, while the host's thread takes screenshots into a folder of
// its own. No flight is moved: its directory is its own, every file its
// thread looks at between Fly's push and pop is looked at from its folder,
// and every pop takes back what the same thread pushed.
TEST(HostThreadScreenshots, CapturesIntoAnotherFolderNeverMoveAFlight) {
    ExampleFlight example("training", "moves");
    ASSERT_TRUE(example.readOk);
    allowManyScreenshots(example);
    OtherFolder shots("moves");
    const fs::path before = fs::current_path();

    kvsim::Scenario single = example.scenario;
    single.frameTimes = {0.05f, 0.3f, 0.05f};
    single.events = {{4, {"SCREEN_SHOT"}}, {20, {"EXIT_FLIGHT"}}};
    kvsim::Scenario network = example.scenario;
    network.network = 1;
    network.gameMode = 4;
    network.players = {{"Red 1", 3}, {"Blue 1", 1}};
    network.readyAtFrame = {{"Blue 1", 10}};
    network.events = {{20, {"SCREEN_SHOT"}}, {30, {"PAUSE_FLIGHT"}}, {40, {"EXIT_FLIGHT"}}};

    FlightRig rig(single);
    kvtest::WatchingFiles files(rig.host.fileManager, std::this_thread::get_id(), std::chrono::microseconds(500));
    kv::FlightModuleInterface* engine = bindWith<kv::FileManagerInterface>(rig, "FMG", files, shots);
    ASSERT_NE(engine, nullptr);
    const int baseline = rig.host.memory.liveBlocks("FLT");

    std::mutex gate;  // held by each capture, and by the test between flights
    int flights = 0;
    int captures = 0;
    {
        CapturingThread host(rig.host, engine, [] { return true; }, nullptr, &gate);
        for (int i = 0; i < 12; ++i) {
            {
                std::lock_guard<std::mutex> closed(gate);
                rig.host.scenario = i % 2 ? network : single;
            }
            files.expectFlightFolder(example.directory());
            const FlightOutcome out = rig.fly(example.directory(), "flight.ini");
            SCOPED_TRACE("flight " + std::to_string(i));
            EXPECT_EQ(out.fly, 0);
            EXPECT_EQ(out.liveAfter, baseline);
            EXPECT_TRUE(out.locksFree);
            char directory[300] = {};
            engine->GetFlightDirectory(directory, sizeof directory);
            char expected[300] = {};
            kv::toNativePath(directory, expected, sizeof expected);
            EXPECT_EQ(fs::weakly_canonical(expected), fs::weakly_canonical(example.directory()))
                << "the flight's directory is its own";
            {
                std::lock_guard<std::mutex> closed(gate);
                EXPECT_EQ(fs::current_path(), before) << "Fly gives the host back its working directory";
            }
            ++flights;
            // A moved flight may not load at all; the flights after it show nothing new.
            if (HasFailure()) break;
        }
        host.stop();
        captures = host.captures.load();
    }
    const std::vector<std::string> elsewhere = files.readsElsewhere();
    EXPECT_TRUE(elsewhere.empty()) << elsewhere.size() << " files read from another folder, the first "
                                   << elsewhere.front();
    EXPECT_EQ(files.unpairedPops(), 0) << "a pop took back another thread's push";
    EXPECT_EQ(files.leftOnStack(), 0);
    EXPECT_GT(files.flightReads(), flights) << "the loads read their files through the file manager";
    // A capture the graphics module could not write (while a display comes
    // or goes) uses its number up, so numbers may be missing; but no number
    // was written twice: a file for every picture written.
    const std::set<int> numbers = shotNumbers(shots.path());
    EXPECT_FALSE(numbers.empty());
    const std::vector<std::string>& written = rig.host.state.screenshots;
    EXPECT_EQ(numbers.size(), written.size());
    EXPECT_EQ(std::set<std::string>(written.begin(), written.end()).size(), written.size());
    EXPECT_TRUE(shotNumbers(example.directory()).empty()) << "no screenshot lands in the flight's folder";
    EXPECT_TRUE(shotNumbers(before).empty());
    std::printf("host thread: %d captures beside %d flights, %zu files, %d file manager pushes\n", captures,
                flights, numbers.size(), files.pushes());
    rig.unbind();
    kv::flightModule().screenshot.setDirectory(nullptr);
}

}  // namespace
