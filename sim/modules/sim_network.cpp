#include "sim/modules/sim_network.h"

#include <algorithm>
#include <cstring>

namespace kvsim {

namespace {

constexpr int32_t kReady = 3;
constexpr int32_t kLateJoinerStatus = 1;

}  // namespace

SimNetwork::SimNetwork(SimState& state) : SimPart(state) {
    state_.flightResets.push_back([this] {
        reported_.clear();
        chatLines.clear();
    });
}


// The trace shows the bytes handed out (null for none): they reach the
// module only through the options document it writes them into.
void SimNetwork::netGetGameSettings(kv::HostGameSettings* settings) {
    const auto& bytes = state_.scenario.hostGameplay;
    const bool handedOut = settings && bytes.size() == sizeof gameplay_;
    if (settings) *settings = kv::HostGameSettings{};
    if (handedOut) {
        std::copy(bytes.begin(), bytes.end(), gameplay_);
        settings->gameplay = gameplay_;
    }
}


int32_t SimNetwork::netPlayersChanged() {
    const Scenario& scenario = state_.scenario;
    int32_t changed = 0;
    const auto report = [&](const char* kind, const std::map<std::string, int32_t>& frames) {
        for (const auto& entry : frames) {
            if (state_.frame < entry.second) continue;
            changed |= reported_.insert(kind + entry.first).second ? 1 : 0;
        }
    };
    report("join:", scenario.joinAtFrame);
    report("ready:", scenario.readyAtFrame);
    return changed;
}

void SimNetwork::buildRecords() {
    const Scenario& scenario = state_.scenario;
    std::vector<std::pair<std::string, int32_t>> present;
    const auto there = [&](const std::string& name) {
        auto join = scenario.joinAtFrame.find(name);
        return join == scenario.joinAtFrame.end() || state_.frame >= join->second;
    };
    for (const auto& player : scenario.players)
        if (there(player.first)) present.push_back(player);
    for (const auto& join : scenario.joinAtFrame) {
        const bool listed = std::any_of(scenario.players.begin(), scenario.players.end(),
                                        [&](const auto& player) { return player.first == join.first; });
        if (!listed && there(join.first)) present.emplace_back(join.first, kLateJoinerStatus);
    }
    records_.assign(present.size(), kv::NetworkPlayer{});
    statuses_.assign(present.size(), kv::PlayerStatus{});
    for (std::size_t i = 0; i < present.size(); ++i) {
        const std::string& name = present[i].first;
        auto ready = scenario.readyAtFrame.find(name);
        const bool isReady = ready != scenario.readyAtFrame.end() && state_.frame >= ready->second;
        statuses_[i].words[1] = isReady ? kReady : present[i].second;
        // 80 bytes or more fill the name area and leave no terminator.
        std::memcpy(records_[i].name, name.c_str(), std::min(name.size(), sizeof records_[i].name));
        records_[i].status = withoutStatus.count(name) ? nullptr : &statuses_[i];
    }
}

void SimNetwork::netEnumPlayers(kv::PlayerCallback callback) {
    buildRecords();
    for (std::size_t i = 0; callback && i < records_.size(); ++i)
        if (!callback(&records_[i])) break;
}

void SimNetwork::netSendChat(const char* s, int32_t recipient, int32_t) {
    chatLines.push_back({s ? s : "", recipient});
}


// The scenario's network frame time of the frame in progress; the last
// value repeats.
float SimNetwork::netGetFrameTime() {
    const auto& times = state_.scenario.netFrameTimes;
    if (times.empty()) return state_.frameTime;
    const std::size_t frame = state_.frame < 0 ? 0 : static_cast<std::size_t>(state_.frame);
    return times[frame < times.size() ? frame : times.size() - 1];
}

}  // namespace kvsim
