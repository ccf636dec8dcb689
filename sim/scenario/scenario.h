// What the stand-in host does in a run: frame times, what the mission
// allows, which steps fail, which optional interfaces exist, the player
// aircraft and its target, network players, commands to dispatch at given
// frames, typed chat text. Tests fill it in code; korvane-host reads it from
// a scenario file. Frame numbers count from 0, as the module's frameCount
// does: frame 0 is the first frame of a flight.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kvsim {

struct Scenario {
    // [Host]
    std::string startupFile = "flight.ini";
    int32_t flights = 1;
    // After the N-th frame of a flight the host calls SetRunState(1); 0 = no limit.
    int32_t frames = 0;
    // appUpdate returns 0 from its N-th call in a flight; 0 = never.
    int32_t appEndsAfter = 0;
    // appIsRunning returns 0 from its N-th call in a flight; 0 = never.
    int32_t appStopsAfter = 0;
    // Clock frame times in seconds; value n is frame n's time, the last
    // value repeats. Never empty.
    std::vector<float> frameTimes = {0.05f};
    // Relative to the flight directory; empty = none.
    std::string screenshotDirectory;
    // The player options document the options module lends, relative to the
    // flight directory (or absolute); empty or missing file = an empty
    // document.
    std::string optionsFile = "options.ini";
    // Optional interfaces that exist: NET, FFB, OPT, AVN.
    bool hasNet = true;
    bool hasFfb = true;
    bool hasOpt = true;
    bool hasAvn = true;
    // The display's three-screen flag.
    int32_t threeScreens = 0;

    // [Mission]
    int32_t network = 0;
    int32_t canPause = 1;
    int32_t canCompressTime = 1;
    int32_t canChangeTime = 1;
    int32_t canSkipToNext = 1;
    int32_t gameMode = 0;
    int32_t modeSeconds = 0;
    // msnGetMissionSetup hands out a null record.
    bool nullMissionSetup = false;
    int32_t playerObject = 1;  // -1 = none
    std::string loadingImage;  // empty = null

    // [Objects]
    std::vector<int32_t> playerInterfaces = {2, 3, 4, 10, 11};
    int32_t mirrorTexture = -1;
    int32_t target = -1;
    int32_t targetActive = 1;
    int32_t playerLostAtFrame = 0;     // 0 = never
    int32_t playerChangesAtFrame = 0;  // 0 = never

    // [Fail]: 1 = that step fails, in every flight.
    int32_t failDisplay = 0;
    int32_t failTerrain = 0;
    int32_t failMissionObjects = 0;
    int32_t failHudModule = 0;
    int32_t failCommModule = 0;
    // The memory service refuses its N-th allocation of a flight; 0 = never.
    int32_t failAllocation = 0;
    // The memory service refuses every allocation of a flight from its N-th
    // on, as a host that has run out of memory does; 0 = never.
    int32_t failAllocationsFrom = 0;

    // [Events]: frame number -> command names dispatched at the controls
    // module's first update in a frame at or after that number.
    std::map<int32_t, std::vector<std::string>> events;

    // [Controls]
    float zoomAxis = 0.0f;

    // [Modules]: the interface a module file offers once loaded, in the
    // order written: the file's name relative to the flight directory, as
    // written (backslashes or slashes, any case) -> "HUD", "COM", or ""
    // for none. A file named nowhere here follows the name rule (SimDll).
    std::vector<std::pair<std::string, std::string>> moduleInterfaces;

    // [Network]
    std::vector<float> netFrameTimes = {0.05f};
    // name:status
    std::vector<std::pair<std::string, int32_t>> players;
    std::map<std::string, int32_t> readyAtFrame;
    std::map<std::string, int32_t> joinAtFrame;
    // Eleven bytes for netGetGameSettings; empty = null pointer.
    std::vector<uint8_t> hostGameplay;
    std::string chatText;
};

}  // namespace kvsim
