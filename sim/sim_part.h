// The shared base of every simulated module: the world it acts on. The
// modules only behave; the recording layer in front of them records.
#pragma once

#include "sim/sim_world.h"

namespace kvsim {

class SimPart {
public:
    explicit SimPart(SimWorld& world) : world_(world) {}

protected:
    SimWorld& world_;
};

}  // namespace kvsim
