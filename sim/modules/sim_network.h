// The network, driven by the scenario's [Network] section. It records
// every call, and:
// - netGetFrameTime gives the scenario's network frame time of the frame in
//   progress (value n for frame n, the last value repeating);
// - netEnumPlayers hands out one record per player of the scenario's
//   Players (name and status), in that order, each with its status block.
//   A player named in JoinAtFrame is handed out only from that frame on
//   (one not in Players joins with status 1); a player named in
//   ReadyAtFrame has status 3 from that frame on. A name of 80 bytes or
//   more fills the record's whole name area without a terminator. While
//   the flight loads (frame -1) only players without a join frame are
//   there;
// - netPlayersChanged returns 1 at its first call in or after the frame of
//   each join and each ready change not yet reported (several at once are
//   one report), and 0 otherwise;
// - netGetGameSettings hands out the scenario's eleven HostGameplay bytes,
//   or a null pointer when there are none;
// - netSendChat keeps every line sent with its recipient.
// What a flight reported and sent is forgotten when the next one begins.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include <korvane/engine_interfaces.h>
#include "sim/modules/sim_part.h"
#include "sim/calls/noop_defaults.h"

namespace kvsim {

class SimNetwork : public NoopNetwork, SimPart {
public:
    explicit SimNetwork(SimState& state);
    void netGetGameSettings(kv::HostGameSettings* settings) override;
    int32_t netPlayersChanged() override;
    void netEnumPlayers(kv::PlayerCallback callback) override;
    void netSendChat(const char* text, int32_t recipient, int32_t minusOne) override;
    float netGetFrameTime() override;

    struct ChatLine {
        std::string text;
        int32_t recipient;
    };
    // The lines netSendChat sent this flight, in order.
    std::vector<ChatLine> chatLines;
    // Players whose records come with a null status block pointer.
    std::set<std::string> withoutStatus;

private:
    // The records of the players there in the frame in progress.
    void buildRecords();

    std::vector<kv::NetworkPlayer> records_;
    std::vector<kv::PlayerStatus> statuses_;
    // Joins and ready changes already reported, as "join:" or "ready:" and
    // the name.
    std::set<std::string> reported_;
    uint8_t gameplay_[11] = {};
};

}  // namespace kvsim
