// The shared base of every simulated module: the state it acts on. The
// modules only behave; the recording layer in front of them records.
#pragma once

#include "sim/modules/sim_state.h"

namespace kvsim {

class SimPart {
public:
    explicit SimPart(SimState& state) : state_(state) {}

protected:
    SimState& state_;
};

}  // namespace kvsim
