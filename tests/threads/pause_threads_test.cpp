// SetPaused from the host's own thread while flights unload: the text it
// shows comes from the in-flight table, which the unloading takes down.
// Neither holds a lock across its calls into the text module, so the
// unloading must wait for a SetPaused that is still showing a text, and no
// SetPaused may begin to show one once the table is going.
#include <atomic>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include <korvane/flight_module_interface.h>
#include "tests/support/example_flight.h"
#include "tests/support/flight_rig.h"
#include "tests/threads/host_modules.h"

namespace {

TEST(HostThreadPause, TheInFlightTableNeverGoesWhileAPauseShowsItsText) {
    kvtest::ExampleFlight example("training", "pause");
    ASSERT_TRUE(example.readOk);
    kvsim::Scenario scenario = example.scenario;
    scenario.events = {{6, {"EXIT_FLIGHT"}}};

    kvtest::FlightRig rig(scenario);
    rig.unbind();
    kvtest::WatchingText text(rig.host.text, std::this_thread::get_id());
    kvtest::WatchingMessages messages(rig.host.messages, text);
    rig.host.replace<kv::TextInterface>("TXT", text);
    rig.host.replace<kv::MessagesInterface>("MSG", messages);
    rig.bind();
    rig.otherThreadsCallTheEngine = true;
    auto* engine = static_cast<kv::FlightModuleInterface*>(rig.host.shell.registered("FLT"));
    ASSERT_NE(engine, nullptr);

    std::atomic<bool> stop{false};
    std::atomic<int> calls{0};
    std::thread host([&] {
        for (int value = 0; !stop; value ^= 1) {
            engine->SetPaused(value);
            ++calls;
        }
    });
    for (int i = 0; i < 30; ++i) {
        const kvtest::FlightOutcome out = rig.fly(example.directory(), "flight.ini");
        EXPECT_EQ(out.fly, 0);
        EXPECT_TRUE(out.locksFree);
    }
    stop = true;
    host.join();
    EXPECT_EQ(text.unloadedWhileLent(), 0) << "the table went while a pause was showing its text";
    EXPECT_GE(text.unloads(), 30);
    EXPECT_GT(calls.load(), 30);
    rig.unbind();
}

}  // namespace
