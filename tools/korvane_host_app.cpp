#include "tools/korvane_host_app.h"

namespace kvhost {

int32_t FrameLimitApp::appUpdate() {
    const int32_t result = app_.appUpdate();
    // The stand-in counts appUpdate per flight, from the flight's start.
    if (limit_ > 0 && app_.updates == limit_) endFlight_();
    return result;
}

}  // namespace kvhost
