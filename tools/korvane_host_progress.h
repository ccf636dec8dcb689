// The loading screen in a terminal: while a flight loads, each frame the
// module presents is redrawn as one line built from what it drew, the
// caption, the bar's fill and the percentage text:
//
//   Preparing training flight [##########..........]  50%
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "sim/modules/sim_graphics.h"
#include "sim/calls/call_log.h"

namespace kvhost {

// The line for one loading-screen frame, the bar barWidth characters wide.
// A frame without a bar (a bar range of 0, a picture of unknown size) shows
// its texts only.
std::string loadingLine(const kvsim::ScreenFrame& frame, int barWidth);

class LoadingBar : public kvsim::CallObserver {
public:
    // screen gives the graphics module's last presented 2D frame.
    LoadingBar(std::FILE* out, std::function<const kvsim::ScreenFrame&()> screen)
        : out_(out), screen_(std::move(screen)) {}

    void flyBegin() { loading_ = true; shown_.clear(); }
    // Ends the line of a load that never reached its end.
    void flyEnd() { finish(); }
    void onRecord(const kvsim::LoggedRecord& record) override;

private:
    void finish();

    std::FILE* out_;
    std::function<const kvsim::ScreenFrame&()> screen_;
    bool loading_ = false;
    std::string shown_;
};

}  // namespace kvhost
