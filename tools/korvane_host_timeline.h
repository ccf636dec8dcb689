// A Chrome trace-event file (it opens in Perfetto or chrome://tracing) of
// the flights korvane-host runs, derived from the call log's records as
// they complete, the same records its trace file is written from:
//
//   Fly          one span per Fly call (from the host's side)
//     load       "Start of _LoadKorvane" to "End of _LoadKorvane" (or to the
//                end of Fly when the load fails), every memory checkpoint
//                an instant inside it
//     frame N    clkUpdate to objEndFrame; a frame cut short before its end
//                (the application stopped) ends where the next one begins
//       sub-step one per simulation sub-step (wldUpdate), with its length
//     unload     the first sndStopStream after the load to the end of Fly
//   command      an instant per flight command dispatched
//
// Each span is drawn twice, on two tracks: the virtual clock (the stand-in
// clock's time, summed over flights and clock resets so that it only moves
// forward) and the wall clock. The virtual clock stands still within a
// frame, so a frame covers the time its clkUpdate advanced, and its
// sub-steps share that span in proportion to their lengths.
#pragma once

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "sim/calls/call_log.h"

namespace kvhost {

class Timeline : public kvsim::CallObserver {
public:
    // clock gives the stand-in clock's time in seconds.
    Timeline(std::ostream& out, std::function<double()> clock);
    ~Timeline();
    Timeline(const Timeline&) = delete;
    Timeline& operator=(const Timeline&) = delete;

    void flyBegin(int flight, const std::string& directory);
    void flyEnd(int32_t result);
    // Closes the file's JSON; nothing is written after it.
    void finish();

    void onRecord(const kvsim::LoggedRecord& record) override;

private:
    struct Moment {
        double virtualUs = 0.0;
        double wallUs = 0.0;
    };
    struct SubStep {
        double length = 0.0;
        double wallBegin = 0.0;
        double wallEnd = 0.0;
    };

    Moment now();
    void span(const char* name, const Moment& begin, const Moment& end, const std::string& args = "{}");
    void instant(const std::string& name, const Moment& at, const std::string& args = "{}");
    void event(const std::string& body);
    void endFrame(const Moment& at);
    void endLoad(const Moment& at);

    std::ostream& out_;
    std::function<double()> clock_;
    std::chrono::steady_clock::time_point wallStart_;
    bool first_ = true;
    bool finished_ = false;

    // The virtual time line: the clock's time summed over its resets.
    double virtualSeconds_ = 0.0;
    double lastClock_ = 0.0;
    Moment lastMoment_;

    bool inFly_ = false;
    int flight_ = 0;
    std::string directory_;
    Moment flyBegin_;
    bool loading_ = false;
    bool loaded_ = false;
    Moment loadBegin_;
    bool inFrame_ = false;
    int64_t frame_ = 0;
    Moment frameBegin_;
    std::vector<SubStep> subSteps_;
    double subStepWall_ = 0.0;
    bool unloading_ = false;
    Moment unloadBegin_;
};

}  // namespace kvhost
