#include "sim/sim_mission.h"

namespace kvsim {

void SimMission::msnLoadSpeech(const char* fileName) { call("msnLoadSpeech", {text(fileName)}); }
void SimMission::msnUnload() { call("msnUnload"); }
void SimMission::msnGetMissionSetup(kv::MissionSetup** out) {
    call("msnGetMissionSetup");
    setup.timing = &timing;
    if (out) *out = &setup;
}
void SimMission::msnUpdate(float simulatedTime) { call("msnUpdate", {simulatedTime}); }
void SimMission::msnRenderUpper() { call("msnRenderUpper"); }
void SimMission::msnRenderLower() { call("msnRenderLower"); }
void SimMission::msnRenderMap() { call("msnRenderMap"); }
void SimMission::msnFirstFrameDone() { call("msnFirstFrameDone"); }
void SimMission::msnEndFlight() { call("msnEndFlight"); }
int32_t SimMission::msnIsNetworkMission() { return returns(call("msnIsNetworkMission"), world_.networkMission); }
int32_t SimMission::msnCanPause() { return returns(call("msnCanPause"), world_.canPause); }
int32_t SimMission::msnCanCompressTime() { return returns(call("msnCanCompressTime"), world_.canCompressTime); }
int32_t SimMission::msnCanChangeTime() { return returns(call("msnCanChangeTime"), world_.canChangeTime); }
int32_t SimMission::msnCanSkipToNext() { return returns(call("msnCanSkipToNext"), world_.canSkipToNext); }
void SimMission::msnSkipToNext() { call("msnSkipToNext"); }
const char* SimMission::msnGetLoadingImage() {
    auto& r = call("msnGetLoadingImage");
    r.hasResult = true;
    r.result = loadingImage;
    return loadingImage.c_str();
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
    return returns(call("msnCreateMissionObjects"), createObjectsResult);
}
void SimMission::msnDestroyMissionObjects() { call("msnDestroyMissionObjects"); }
int32_t SimMission::msnGetPlayerObject() { return returns(call("msnGetPlayerObject"), world_.playerObjectId); }

}  // namespace kvsim
