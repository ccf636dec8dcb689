// The host application as korvane-host runs it: the stand-in application
// module, plus the frame limit of a run. After the N-th frame of a flight
// (its N-th appUpdate) the host ends the flight with SetRunState(1), as a
// host whose player closed the flight from outside would.
#pragma once

#include <cstdint>
#include <functional>

#include <korvane/shell.h>
#include "sim/modules/sim_shell.h"

namespace kvhost {

class FrameLimitApp : public kv::AppInterface {
public:
    // endFlight is called once per flight, inside the N-th appUpdate of it;
    // limit 0 never calls it.
    FrameLimitApp(kvsim::SimApp& app, int32_t limit, std::function<void()> endFlight)
        : app_(app), limit_(limit), endFlight_(std::move(endFlight)) {}

    int32_t appUpdate() override;
    int32_t appIsRunning() override { return app_.appIsRunning(); }
    int32_t appQueryFlag() override { return app_.appQueryFlag(); }

private:
    kvsim::SimApp& app_;
    int32_t limit_;
    std::function<void()> endFlight_;
};

}  // namespace kvhost
