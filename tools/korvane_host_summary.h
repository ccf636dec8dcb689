// What one flight did, counted from the call log's records as they
// complete: the fields of korvane-host's summary line. Nothing is built or
// written for it, so the counts cost the same with or without a trace.
#pragma once

#include <cstdint>
#include <string>

#include "sim/calls/call_log.h"

namespace kvhost {

class FlightCounts : public kvsim::CallObserver {
public:
    void onRecord(const kvsim::LoggedRecord& record) override;
    void reset() { *this = FlightCounts(); }

    int64_t frames = 0;       // frames completed (objEndFrame)
    double simulated = 0.0;   // simulated seconds, the sum of msnUpdate's times
    int64_t substeps = 0;     // simulation sub-steps (wldUpdate)
    int64_t commands = 0;     // flight commands the controls module dispatched
    int64_t messages = 0;     // msgShowText
    int64_t screenshots = 0;  // gfxSaveScreenshot calls that wrote a file
    int64_t chat = 0;         // chat lines sent (netSendChat)
};

// "flight=K fly=R frames=N simulated=S substeps=N commands=N messages=N
// screenshots=N chat=N live_flt_blocks=N"
std::string summaryLine(int flight, int32_t flyResult, const FlightCounts& counts, int liveFltBlocks);

}  // namespace kvhost
