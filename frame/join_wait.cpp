// The join wait: a network flight stays paused, showing who has not joined
// yet, until the network reports every player ready.
#include "frame/join_wait.h"

#include <cstring>
#include <new>

#include "commands/message_text.h"
#include "config/ptr_list.h"
#include "config/strings.h"
#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "services/services.h"
#include "platform/mbcs.h"

namespace kv {

namespace {

// The join line: the WaitJoin text and the names of those still joining.
constexpr int32_t kJoinLineSize = 1024;
// Seconds between rebuilds when the network reports no change.
constexpr float kJoinRefreshSeconds = 5.0f;
constexpr std::size_t kNameArea = sizeof(NetworkPlayer::name);
#if KV_DOCUMENTED_LAYOUT
// What a copy takes of the network's record: name area, status pointer and
// the 4 bytes after it.
constexpr std::size_t kNetworkRecordBytes = 88;
static_assert(sizeof(NetworkPlayer) == kNetworkRecordBytes, "the network's player record is 88 bytes");
#endif

// The copies of one rebuild. The enumeration callback gets nothing but the
// record, so the list it fills lives here, and only while a rebuild runs.
PtrList* joinList = nullptr;
// A record of this rebuild could not be kept (no memory): the list may lack
// a player who is still joining.
bool joinListIncomplete = false;

PlayerRecord* copyPlayerRecord(const NetworkPlayer* record) {
    auto* copy = static_cast<PlayerRecord*>(ModuleAlloc(static_cast<int32_t>(sizeof(PlayerRecord))));
    if (!copy) return nullptr;
    std::memset(copy, 0, sizeof(PlayerRecord));
#if KV_DOCUMENTED_LAYOUT
    // The network's record as it is: its first 88 bytes.
    std::memcpy(&copy->player, record, kNetworkRecordBytes);
#else
    std::memcpy(copy->player.name, record->name, kNameArea);
    copy->player.status = record->status;
    copy->player.reserved = record->reserved;
#endif
    // A name that fills its whole area without a terminator is cut to 79
    // bytes, never inside a character.
    if (!std::memchr(record->name, '\0', kNameArea)) {
        std::memset(copy->player.name, 0, kNameArea);
        mbNCpyBytes(copy->player.name, record->name, kNameArea - 1);
        copy->player.name[kNameArea - 1] = '\0';
    }
    // A record without a status block counts as still joining (its copy's
    // status stays 0): the network has not set the player up yet, and a
    // flight must not start without a player it cannot account for. The
    // network reports the change once the block is there.
    if (record->status) copy->status = *record->status;
    return copy;
}

// Every copy goes back first, while the nodes that lead to them are still
// whole; then the nodes, then the list itself.
void freeJoinList() {
    joinList->freeEveryData();
    joinList->clear();
    joinList->~PtrList();
    MemFree(joinList);
    joinList = nullptr;
}

}  // namespace

int32_t collectPlayerRecord(NetworkPlayer* record) {
    // Only a rebuild has a list to fill.
    if (!joinList || !record) return 1;
    PlayerRecord* copy = copyPlayerRecord(record);
    if (!copy) {
        joinListIncomplete = true;
        return 1;
    }
    if (!joinList->append(copy)) {
        MemFree(copy);
        joinListIncomplete = true;
    }
    return 1;
}

void FlightModule::updateJoinWait(float clampedFrameTime) {
    // 1. Frozen while it waits, whatever the pause command did.
    paused = 1;
    // 2. A timed rebuild, or one when the network reports a change.
    joinRefreshTimer -= clampedFrameTime;
    if (joinRefreshTimer <= 0.0f)
        joinRefreshTimer = kJoinRefreshSeconds;
    else if (NET->netPlayersChanged() == 0)
        return;

    // 3.1 The line starts with the WaitJoin text.
    char line[kJoinLineSize];
    strCopyBounded(line, TXT->txtGetString(textFilename, waitJoinTextId), kJoinLineSize);
    // 3.2 The network hands its players to collectPlayerRecord.
    void* listBlock = ModuleAlloc(static_cast<int32_t>(sizeof(PtrList)));
    if (!listBlock) {
        joinRefreshTimer = 0.0f;  // no list, no line: try again next frame
        return;
    }
    joinList = new (listBlock) PtrList();  // constructed in place, no allocation
    joinListIncomplete = false;
    NET->netEnumPlayers(collectPlayerRecord);
    // 3.3 The names of those still joining: " " before the first, ", "
    // before every further one.
    bool listed = false;
    for (PtrListNode* node = joinList->head; node; node = node->next) {
        const auto* copy = static_cast<const PlayerRecord*>(node->data);
        if (copy->status.words[1] == kPlayerReady) continue;
        strAppendBounded(line, listed ? ", " : " ", kJoinLineSize);
        strAppendBounded(line, copy->player.name, kJoinLineSize);
        listed = true;
    }
    if (listed) {
        // 3.4 Names and texts are shown literally: a "%" is no conversion.
        strAppendBounded(line, "...", kJoinLineSize);
        MSG->msgShowText("%s", line);
    } else if (!joinListIncomplete) {
        // 3.5 Nobody left to wait for: frameStep starts the flight after
        // this frame's held objects. The GameUnpaused text reads as it does
        // when the pause command ends a pause; without one nothing is shown.
        showTableText(textFilename, unpausedTextId);
        startRequested = 1;
    }
    // A player whose record could not be kept may still be joining: never
    // start on such a list, and look again next frame.
    if (joinListIncomplete) joinRefreshTimer = 0.0f;
    // 3.6 Every copy, the nodes and the list go back.
    freeJoinList();
}

}  // namespace kv
