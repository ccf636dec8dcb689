#include "sim/sim_mission.h"

namespace kvsim {

void SimMission::msnLoadSpeech(const char* fileName) { call("msnLoadSpeech", text(fileName)); }
void SimMission::msnUnload() { call("msnUnload"); }
void SimMission::msnGetMissionSetup(kv::MissionSetup** out) {
    const RecordRef r = call("msnGetMissionSetup");
    const Scenario& scenario = world_.scenario;
    kv::MissionSetup* result = scenario.nullMissionSetup ? nullptr : &setup;
    setup.gameMode = scenario.gameMode;
    timing.screenshotIntervalSeconds = scenario.modeSeconds;
    setup.timing = withoutTiming ? nullptr : &timing;
    if (out) *out = result;
    returns(r, handle(result, "missionSetup"));
}
void SimMission::msnUpdate(float simulatedTime) { call("msnUpdate", simulatedTime); }
void SimMission::msnRenderUpper() { call("msnRenderUpper"); }
void SimMission::msnRenderLower() { call("msnRenderLower"); }
void SimMission::msnRenderMap() { call("msnRenderMap"); }
void SimMission::msnFirstFrameDone() { call("msnFirstFrameDone"); }
void SimMission::msnEndFlight() { call("msnEndFlight"); }
int32_t SimMission::msnIsNetworkMission() {
    return returns(call("msnIsNetworkMission"), world_.scenario.network);
}
int32_t SimMission::msnCanPause() { return returns(call("msnCanPause"), world_.scenario.canPause); }
int32_t SimMission::msnCanCompressTime() {
    return returns(call("msnCanCompressTime"), world_.scenario.canCompressTime);
}
int32_t SimMission::msnCanChangeTime() {
    return returns(call("msnCanChangeTime"), world_.scenario.canChangeTime);
}
int32_t SimMission::msnCanSkipToNext() {
    return returns(call("msnCanSkipToNext"), world_.scenario.canSkipToNext);
}
void SimMission::msnSkipToNext() { call("msnSkipToNext"); }
const char* SimMission::msnGetLoadingImage() {
    const RecordRef r = call("msnGetLoadingImage");
    loadingImage_ = world_.scenario.loadingImage;
    const char* result = loadingImage_.empty() ? nullptr : loadingImage_.c_str();
    returns(r, text(result));
    return result;
}
kv::EnvironmentRecord* SimMission::msnGetInitialEnvironmentRecord(kv::EnvironmentRecord* record) {
    call("msnGetInitialEnvironmentRecord");
    return record;
}
kv::EnvironmentRecord* SimMission::msnGetEnvironmentRecord(kv::EnvironmentRecord* record) {
    call("msnGetEnvironmentRecord");
    return record;
}
int32_t SimMission::msnCreateMissionObjects() {
    return returns(call("msnCreateMissionObjects"), world_.scenario.failMissionObjects ? 0 : 1);
}
void SimMission::msnDestroyMissionObjects() { call("msnDestroyMissionObjects"); }
// From PlayerChangesAtFrame on the mission names the next aircraft.
int32_t SimMission::msnGetPlayerObject() {
    const Scenario& scenario = world_.scenario;
    const bool changed = scenario.playerObject != -1 && scenario.playerChangesAtFrame > 0 &&
                         world_.frame >= scenario.playerChangesAtFrame;
    return returns(call("msnGetPlayerObject"), changed ? scenario.playerObject + 1 : scenario.playerObject);
}

}  // namespace kvsim
