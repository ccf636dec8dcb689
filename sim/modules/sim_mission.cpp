#include "sim/modules/sim_mission.h"

namespace kvsim {

void SimMission::msnGetMissionSetup(kv::MissionSetup** out) {
    const Scenario& scenario = state_.scenario;
    kv::MissionSetup* result = scenario.nullMissionSetup ? nullptr : &setup;
    setup.gameMode = scenario.gameMode;
    timing.screenshotIntervalSeconds = scenario.modeSeconds;
    setup.timing = withoutTiming ? nullptr : &timing;
    if (out) *out = result;
}
int32_t SimMission::msnIsNetworkMission() {
    return state_.scenario.network;
}
int32_t SimMission::msnCanPause() { return state_.scenario.canPause; }
int32_t SimMission::msnCanCompressTime() {
    return state_.scenario.canCompressTime;
}
int32_t SimMission::msnCanChangeTime() {
    return state_.scenario.canChangeTime;
}
int32_t SimMission::msnCanSkipToNext() {
    return state_.scenario.canSkipToNext;
}
const char* SimMission::msnGetLoadingImage() {
    loadingImage_ = state_.scenario.loadingImage;
    const char* result = loadingImage_.empty() ? nullptr : loadingImage_.c_str();
    return result;
}
kv::EnvironmentRecord* SimMission::msnGetInitialEnvironmentRecord(kv::EnvironmentRecord* record) {
    return record;
}
kv::EnvironmentRecord* SimMission::msnGetEnvironmentRecord(kv::EnvironmentRecord* record) {
    return record;
}
int32_t SimMission::msnCreateMissionObjects() {
    return state_.scenario.failMissionObjects ? 0 : 1;
}
// From PlayerChangesAtFrame on the mission names the next aircraft.
int32_t SimMission::msnGetPlayerObject() {
    const Scenario& scenario = state_.scenario;
    const bool changed = scenario.playerObject != -1 && scenario.playerChangesAtFrame > 0 &&
                         state_.frame >= scenario.playerChangesAtFrame;
    return changed ? scenario.playerObject + 1 : scenario.playerObject;
}

}  // namespace kvsim
