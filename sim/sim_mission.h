// The mission: what it allows, its setup record and player object. Each records every call and gives the results a flight relies on.
#pragma once

#include <string>

#include "host/engine_interfaces.h"
#include "sim/sim_part.h"

namespace kvsim {

class SimMission : public kv::MissionInterface, SimPart {
public:
    using SimPart::SimPart;
    void msnLoadSpeech(const char* fileName) override;
    void msnUnload() override;
    void msnGetMissionSetup(kv::MissionSetup** setup) override;
    void msnUpdate(float simulatedTime) override;
    void msnRenderUpper() override;
    void msnRenderLower() override;
    void msnRenderMap() override;
    void msnFirstFrameDone() override;
    void msnEndFlight() override;
    int32_t msnIsNetworkMission() override;
    int32_t msnCanPause() override;
    int32_t msnCanCompressTime() override;
    int32_t msnCanChangeTime() override;
    int32_t msnCanSkipToNext() override;
    void msnSkipToNext() override;
    const char* msnGetLoadingImage() override;
    kv::EnvironmentRecord* msnGetInitialEnvironmentRecord(kv::EnvironmentRecord* record) override;
    kv::EnvironmentRecord* msnGetEnvironmentRecord(kv::EnvironmentRecord* record) override;
    int32_t msnCreateMissionObjects() override;
    void msnDestroyMissionObjects() override;
    int32_t msnGetPlayerObject() override;

    kv::MissionSetup setup = {};
    kv::MissionTimingRecord timing = {};
    std::string loadingImage;
    int32_t createObjectsResult = 1;
};

}  // namespace kvsim
