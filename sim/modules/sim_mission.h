// The mission: what it allows, its setup record, its player object, its
// loading picture and whether it is a network mission, all from the
// scenario's [Mission] section; msnCreateMissionObjects fails when the
// scenario's [Fail] section says so.
#pragma once

#include <string>

#include <korvane/engine_interfaces.h>
#include "sim/modules/sim_part.h"
#include "sim/calls/noop_defaults.h"

namespace kvsim {

class SimMission : public NoopMission, SimPart {
public:
    using SimPart::SimPart;
    // The setup record with the scenario's game mode and seconds value, or
    // null when the scenario asks for none.
    void msnGetMissionSetup(kv::MissionSetup** setup) override;
    int32_t msnIsNetworkMission() override;
    int32_t msnCanPause() override;
    int32_t msnCanCompressTime() override;
    int32_t msnCanChangeTime() override;
    int32_t msnCanSkipToNext() override;
    // Null when the scenario names no picture.
    const char* msnGetLoadingImage() override;
    kv::EnvironmentRecord* msnGetInitialEnvironmentRecord(kv::EnvironmentRecord* record) override;
    kv::EnvironmentRecord* msnGetEnvironmentRecord(kv::EnvironmentRecord* record) override;
    int32_t msnCreateMissionObjects() override;
    int32_t msnGetPlayerObject() override;

    kv::MissionSetup setup = {};
    kv::MissionTimingRecord timing = {};
    // The setup record handed out points to no timing record.
    bool withoutTiming = false;

private:
    std::string loadingImage_;
};

}  // namespace kvsim
