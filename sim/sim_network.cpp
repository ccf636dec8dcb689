#include "sim/sim_network.h"

namespace kvsim {

void SimNetwork::netLeave() { call("netLeave"); }
void SimNetwork::netGetGameSettings(kv::HostGameSettings* settings) {
    call("netGetGameSettings");
    if (settings) *settings = kv::HostGameSettings{};
}
void SimNetwork::netFlush() { call("netFlush"); }
int32_t SimNetwork::netPlayersChanged() { return returns(call("netPlayersChanged"), playersChanged); }
void SimNetwork::netEnumPlayers(kv::PlayerCallback callback) {
    call("netEnumPlayers");
    for (std::size_t i = 0; callback && i < players.size(); ++i) {
        if (i < statuses.size()) players[i].status = &statuses[i];
        if (!callback(&players[i])) break;
    }
}
void SimNetwork::netSendChat(const char* s, int32_t recipient, int32_t minusOne) {
    call("netSendChat", {text(s), recipient, minusOne});
}
void SimNetwork::netBeginFlight() { call("netBeginFlight"); }
void SimNetwork::netUpdate() { call("netUpdate"); }
// The scenario's network frame time of the frame in progress; the last
// value repeats.
float SimNetwork::netGetFrameTime() {
    const auto& times = world_.scenario.netFrameTimes;
    if (times.empty()) return returns(call("netGetFrameTime"), world_.frameTime);
    const std::size_t frame = world_.frame < 0 ? 0 : static_cast<std::size_t>(world_.frame);
    return returns(call("netGetFrameTime"), times[frame < times.size() ? frame : times.size() - 1]);
}

}  // namespace kvsim
