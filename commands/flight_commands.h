// The flight commands the player gives through the controls module: their
// registration, their handlers and the map's command filter. The handlers
// only forward to the engine object; what each command does is an
// operation of FlightModule (commands/flight_commands_*.cpp).
#pragma once

#include <cstdint>

#include <korvane/engine_interfaces.h>

namespace kv {

// Registers the sixteen flight commands with CTL, in their fixed order.
// Called once per flight by the loading sequence, after the control map is
// loaded.
void registerFlightCommands();

// Installed by the map while it is shown: a view command closes the map
// and is carried out; every other command leaves the map as it is. The
// result means nothing to the controls module.
int32_t KV_STDCALL mapCommandFilter(int32_t commandId, int32_t arg1, int32_t arg2);

}  // namespace kv
