// The network. Each records every call and gives the results a flight relies on.
#pragma once

#include <vector>

#include "host/engine_interfaces.h"
#include "sim/sim_part.h"

namespace kvsim {

class SimNetwork : public kv::NetworkInterface, SimPart {
public:
    using SimPart::SimPart;
    void netLeave() override;
    void netGetGameSettings(kv::HostGameSettings* settings) override;
    void netFlush() override;
    int32_t netPlayersChanged() override;
    void netEnumPlayers(kv::PlayerCallback callback) override;
    void netSendChat(const char* text, int32_t recipient, int32_t minusOne) override;
    void netBeginFlight() override;
    void netUpdate() override;
    float netGetFrameTime() override;

    std::vector<kv::NetworkPlayer> players;
    std::vector<kv::PlayerStatus> statuses;
    int32_t playersChanged = 0;
};

}  // namespace kvsim
