// State the simulated modules share: the call log, what the scenario
// allows, memory blocks, objects and files.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "sim/calls/call_log.h"
#include "sim/scenario/scenario.h"

namespace kvsim {

struct SimState {
    CallLog log;
    // What the run asks of the stand-in host; every simulated module reads
    // its behaviour from here.
    Scenario scenario;

    // APP: what appQueryFlag answers.
    int32_t appFlag = 0;

    // MSN: what the mission allows.
    int32_t canPause = 1;
    int32_t canCompressTime = 1;
    int32_t canChangeTime = 1;
    int32_t canSkipToNext = 1;
    int32_t networkMission = 0;

    // OBJ: flag bits by name.
    std::map<std::string, int32_t> objectFlags = {{"NOT_RENDERED", 0x100}};

    // CLK: virtual time (sim/modules/sim_time.h has the rules). time is in seconds
    // since the flight began; frameTime is what clkGetFrameTime gives now;
    // frame is the flight's frame in progress, counted from 0 as the
    // module's frameCount is, and -1 while the flight loads.
    float frameTime = 1.0f / 60.0f;
    double time = 0.0;
    int32_t frame = -1;
    bool clockLoading = true;

    // MEM: live blocks and their owners.
    std::map<void*, std::string> memBlocks;
    int32_t refusedFrees = 0;
    // Run with the owner's name before memReleaseOwner frees its blocks.
    std::function<void(const std::string&)> beforeReleaseOwner;
    // Run when a stand-in module frees a block of the module's itself,
    // past the recording layer, which then forgets it.
    std::function<void(const void*)> blockFreed;
    // Run on every memory checkpoint, with its label.
    std::function<void(const std::string&)> onCheckpoint;

    // GFX: screenshot files written, by the name the module gave.
    std::vector<std::string> screenshots;

    // SND: next sound id handed out.
    int32_t nextSoundId = 1;

    // Held while a stand-in module reads a configuration file for itself:
    // the reader lends the module's own FMG and MEM pointers to its private
    // services for that time. Code that calls into the module from a second
    // thread, into an operation that reaches FMG (TakeScreenshot), holds it
    // around the call; a real host lends nothing and needs no such lock.
    std::recursive_mutex moduleGlobals;

    // What else a flight creates and must not outlive it: a simulated module
    // whose state SimHost::beginFlight does not reset itself adds a reset
    // here, run when a new flight starts.
    std::vector<std::function<void()>> flightResets;
};

}  // namespace kvsim
