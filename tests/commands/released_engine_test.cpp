// A controls module may keep the flight commands' handlers after the module
// let go of its engine (ExitDLL) and still call them when a key is pressed.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "commands/flight_commands.h"
#include "engine/flight_module.h"
#include "engine/subsystem_pointers.h"
#include "tests/support/bound_module.h"

namespace {

class ReleasedEngine : public kvtest::BoundModule {};

// Every one of the sixteen handlers finds no engine and does nothing: no
// call into any module, no field of the engine object changed.
TEST_F(ReleasedEngine, EveryCommandLeftRegisteredDoesNothing) {
    kv::registerFlightCommands();
    const auto handlers = host.controls.commands;
    ASSERT_EQ(handlers.size(), 16u);
    driver.exitDll();
    ASSERT_EQ(kv::engine, nullptr);
    kv::FlightModule& flight = kv::flightModule();
    const int32_t runState = flight.runState;
    const int32_t paused = flight.paused;
    const float compression = flight.timeCompression;
    const int32_t cockpit = flight.showCockpit;
    const int32_t map = flight.mapShown;
    const int32_t chat = flight.chatRequested;
    host.log().clear();
    for (const auto& command : handlers) {
        SCOPED_TRACE(command.first);
        EXPECT_EQ(command.second(host.controls.idOf(command.first), 0, 0), 0);
    }
    EXPECT_EQ(host.log().records().size(), 0u) << "a handler without an engine called a module";
    EXPECT_EQ(flight.runState, runState);
    EXPECT_EQ(flight.paused, paused);
    EXPECT_EQ(flight.timeCompression, compression);
    EXPECT_EQ(flight.showCockpit, cockpit);
    EXPECT_EQ(flight.mapShown, map);
    EXPECT_EQ(flight.chatRequested, chat);
    driver.initDll(0);  // TearDown unbinds again
}

}  // namespace
