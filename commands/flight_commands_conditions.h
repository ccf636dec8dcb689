// The conditions that most flight commands share, always asked in this
// order: not skipping, has aircraft, not ejected.
#pragma once

#include "engine/flight_module.h"

namespace kv {

inline bool notSkipping(const FlightModule& flight) { return flight.skipToNextActive == 0; }

// Not skipping, has an aircraft, not ejected: the player flies an aircraft
// and may act on it.
inline bool playerCanAct(const FlightModule& flight) {
    return notSkipping(flight) && flight.playerObjectId != -1 && flight.ejected == 0;
}

}  // namespace kv
