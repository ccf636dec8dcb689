// The host may call SetRunState, SetPaused, TakeScreenshot,
// SetScreenshotDirectory and the accessors from a thread of its own,
// without the engine lock, at any moment of a flight. Here a second thread
// calls them at random while flights load, fly and unload on the test's
// thread: single-player and network flights, with the join wait and the
// commands that change the same fields. Built with ThreadSanitizer (stage
// tsan) a data race between the two fails the run; every build checks that
// nothing is lost or left held.
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <random>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include <korvane/flight_module_interface.h>
#include "tests/support/example_flight.h"
#include "tests/support/flight_rig.h"

namespace {

using kvtest::ExampleFlight;
using kvtest::FlightOutcome;
using kvtest::FlightRig;

// What the host's thread did, per operation.
struct HostCalls {
    std::atomic<int> total{0};
    std::atomic<int> screenshots{0};
    std::atomic<int> endedFlights{0};
};

// The host's own thread: one random operation at a time, until told to
// stop. The screenshot directory is always the flight's own folder (or
// ".\", the same folder): a capture changes the process's working
// directory for its length, and the flight's loading reads its files
// relative to it.
class HostThread {
public:
    HostThread(kvsim::SimHost& host, kv::FlightModuleInterface* engine, std::string flightDirectory)
        : host_(host), engine_(engine), directory_(std::move(flightDirectory)), thread_([this] { run(); }) {}
    ~HostThread() { stop(); }

    void stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    // Held while the test changes the stand-in's scenario between flights;
    // the operations read it.
    std::mutex gate;
    HostCalls calls;

private:
    void run() {
        std::mt19937 random(18);
        char buffer[300];
        while (!stop_) {
            std::unique_lock<std::mutex> open(gate);
            switch (random() % 20) {
                case 0: engine_->SetPaused(1); break;
                case 1: engine_->SetPaused(0); break;
                case 2: {
                    // The stand-in reads its own files through the module's FMG
                    // pointer; a capture must not see that loan.
                    std::lock_guard<std::recursive_mutex> held(host_.state.moduleGlobals);
                    engine_->TakeScreenshot();
                    ++calls.screenshots;
                    break;
                }
                case 3: engine_->SetScreenshotDirectory(random() % 2 ? directory_.c_str() : ""); break;
                case 4:
                    // Now and then the host ends the flight it watches.
                    if (random() % 8 == 0) {
                        engine_->SetRunState(1);
                        ++calls.endedFlights;
                    } else {
                        engine_->SetRunState(0);
                    }
                    break;
                case 5: engine_->GetFlightDirectory(buffer, static_cast<int32_t>(random() % sizeof buffer)); break;
                case 6:
                case 7: EXPECT_TRUE(std::isfinite(engine_->GetTimeCompression())); break;
                case 8:
                case 9: EXPECT_TRUE(std::isfinite(engine_->GetStepRate())); break;
                default: {
                    const int32_t paused = engine_->IsPaused();
                    EXPECT_TRUE(paused == 0 || paused == 1);
                    break;
                }
            }
            ++calls.total;
            open.unlock();
            // A short pause of the same length everywhere: a sleep that short
            // is no sleep at all on some systems, and a yield on a busy
            // machine can last a whole time slice.
            const auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(10 + random() % 50);
            while (std::chrono::steady_clock::now() < until) {
            }
        }
    }

    kvsim::SimHost& host_;
    kv::FlightModuleInterface* engine_;
    std::string directory_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Flights of both kinds from one folder, which is also the working
// directory, so that a capture's directory change never moves a loading.
TEST(HostThreads, OperationsFromAnotherThreadWhileFlightsRun) {
    ExampleFlight example("training", "threads");
    ASSERT_TRUE(example.readOk);
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(example.directory());

    kvsim::Scenario single = example.scenario;
    single.frameTimes = {0.05f, 0.3f, 0.05f};
    kvsim::Scenario network = example.scenario;
    network.network = 1;
    network.gameMode = 4;
    network.players = {{"Red 1", 3}, {"Blue 1", 1}};
    network.readyAtFrame = {{"Blue 1", 30}};
    network.target = 2;
    network.chatText = "hold";
    network.events = {{40, {"CHAT_ALL"}}, {50, {"PAUSE_FLIGHT"}}, {60, {"PAUSE_FLIGHT"}},
                      {70, {"SCREEN_SHOT"}}, {80, {"SKIP_TO_NEXT"}}, {200, {"EXIT_FLIGHT"}}};

    FlightRig rig(single);
    rig.otherThreadsCallTheEngine = true;
    auto* engine = static_cast<kv::FlightModuleInterface*>(rig.host.shell.registered("FLT"));
    ASSERT_NE(engine, nullptr);
    const int baseline = rig.host.memory.liveBlocks("FLT");
    // Between two frames the engine lock is free: the host's thread never
    // takes it, and no frame step keeps it.
    int framesWithLockHeld = 0;
    rig.afterFrame = [&] {
        const kv::RecursiveSpinLock& lock = rig.flight().lock;
        if (lock.count != 0 || lock.owner != 0) ++framesWithLockHeld;
    };
    HostCalls calls;
    int flights = 0;
    {
        HostThread host(rig.host, engine, example.directory());
        for (int i = 0; i < 24; ++i) {
            {
                std::lock_guard<std::mutex> closed(host.gate);
                rig.host.scenario = i % 2 ? network : single;
            }
            const FlightOutcome out = rig.fly(example.directory(), "flight.ini");
            SCOPED_TRACE("flight " + std::to_string(i));
            EXPECT_EQ(out.fly, 0);
            EXPECT_TRUE(out.locksFree);
            EXPECT_EQ(out.liveAfter, baseline);
            EXPECT_EQ(out.refusedFrees, 0);
            ++flights;
        }
        host.stop();
        calls.total = host.calls.total.load();
        calls.screenshots = host.calls.screenshots.load();
        calls.endedFlights = host.calls.endedFlights.load();
    }
    EXPECT_TRUE(kvtest::locksFree(rig.flight()));
    EXPECT_EQ(framesWithLockHeld, 0);
    std::filesystem::current_path(before);
    std::printf("host thread: %d calls (%d screenshots, %d run-state ends) beside %d flights\n", calls.total.load(),
                calls.screenshots.load(), calls.endedFlights.load(), flights);
    EXPECT_GT(calls.total.load(), 100);
}

}  // namespace
