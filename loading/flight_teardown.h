// The unloading's steps, shared by the unloading of a flight and by a load
// that fails half-way.
#pragma once

#include "loading/flight_systems.h"

namespace kv {

class FlightModule;

// Takes down, in the unloading's order, the subsystems that up marks, then
// frees every per-flight text. The caller holds the engine lock.
void takeDownFlight(FlightModule& flight, const FlightSystems& up);

}  // namespace kv
