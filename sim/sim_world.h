// State the simulated modules share: the call log, what the scenario
// allows, memory blocks, objects and files.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "sim/call_log.h"
#include "sim/scenario.h"

namespace kvsim {

struct SimWorld {
    CallLog log;
    // What the run asks of the stand-in host; every simulated module reads
    // its behaviour from here.
    Scenario scenario;

    // APP
    int32_t appUpdateResult = 1;
    int32_t appRunning = 1;
    int32_t appFlag = 0;

    // MSN: what the mission allows.
    int32_t canPause = 1;
    int32_t canCompressTime = 1;
    int32_t canChangeTime = 1;
    int32_t canSkipToNext = 1;
    int32_t networkMission = 0;
    int32_t playerObjectId = 1;

    // OBJ: flag bits by name.
    std::map<std::string, int32_t> objectFlags = {{"NOT_RENDERED", 0x100}};

    // CLK: virtual time.
    float frameTime = 1.0f / 30.0f;
    double time = 0.0;

    // TXT: strings by file and id; a missing one reads as "".
    std::map<std::string, int32_t> stringIds;
    std::map<int32_t, std::string> strings;

    // MEM: live blocks and their owners.
    std::map<void*, std::string> memBlocks;
    int32_t refusedFrees = 0;

    // GFX: screenshot files written, by the name the module gave.
    std::vector<std::string> screenshots;

    // SND: next sound id handed out.
    int32_t nextSoundId = 1;
};

}  // namespace kvsim
