// The join wait of a network flight: the players that have not joined yet,
// collected from the network's enumeration into copies of their records.
//
// PlayerRecord is the network's player record followed by a copy of the
// 20-byte status block its pointer designates. On the 32-bit target that is
// 108 bytes: the network's 88 bytes as they are (the 80-byte name area, the
// status pointer at 80, 4 more bytes), and the status copy at 88, whose
// second word (bytes 92 to 95) is the join status. On 64-bit builds the
// pointer is 8 bytes wide, so the copy is made field by field by
// NetworkPlayer's declared layout (host/records.h); the status copy follows
// that record.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/records.h"

namespace kv {

// The join status of a player that is ready to fly.
constexpr int32_t kPlayerReady = 3;

struct PlayerRecord {
    NetworkPlayer player;  // status: the network's pointer, not followed after the copy
    PlayerStatus status;   // words[1]: the join status
};

#if KV_DOCUMENTED_LAYOUT
static_assert(sizeof(PlayerRecord) == 108, "player record copies are 108 bytes");
static_assert(offsetof(PlayerRecord, player.status) == 80, "player record layout");
static_assert(offsetof(PlayerRecord, status) == 88, "player record layout");
static_assert(offsetof(PlayerRecord, status.words[1]) == 92, "player record layout");
#endif

// The network's player enumeration callback, used inside a rebuild of the
// join line: keeps a copy of the record in the rebuild's list. Outside a
// rebuild it does nothing. Always 1: go on with the next player.
int32_t collectPlayerRecord(NetworkPlayer* record);

}  // namespace kv
