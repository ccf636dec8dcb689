// The in-flight chat line of a network flight: drawn every frame while the
// player types it, sent once the controls module has closed the entry.
#include "config/strings.h"
#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "frame/chat_cursor.h"

namespace kv {

namespace {

// Names, typed text and the composed line: 259 bytes and the terminator.
constexpr int32_t kChatLineSize = 260;

// netSendChat's recipient values other than a target's object id.
constexpr int32_t kToEveryone = -1;
constexpr int32_t kToEnemySide = 0;
constexpr int32_t kToFriendlySide = 1;

enum ChatMode : int32_t { kChatAll = 0, kChatEnemy = 1, kChatFriendly = 2, kChatTarget = 3 };

// The object id of the player's current target while the player's aircraft
// and that target are both there and active; -1 otherwise. Asked again at
// sending time: the target the command saw may be gone by now.
int32_t liveTargetOf(int32_t playerObjectId) {
    GameObject* player = OBJ->objGetObject(playerObjectId);
    if (!player || player->objectIsActive() == 0) return -1;
    void* aircraft = nullptr;
    player->objectGetInterface(kAircraftKind, &aircraft);
    if (!aircraft) return -1;
    const int32_t targetId = static_cast<Aircraft*>(aircraft)->targetGetObjectId();
    if (targetId == -1) return -1;
    void* target = nullptr;
    OBJ->objGetObjectInterface(targetId, kTargetRecordKind, &target);
    if (!target || static_cast<TargetRecord*>(target)->targetIsActive() == 0) return -1;
    // Ids 0 and 1 name the enemy and the friendly side to netSendChat: a
    // line meant for one aircraft with such an id would reach a whole side.
    if (targetId == kToEnemySide || targetId == kToFriendlySide) return -1;
    return targetId;
}

// What the controls module holds as typed, always terminated.
void readEntryText(char (&typed)[kChatLineSize]) {
    typed[0] = '\0';
    CTL->ctlGetEntryText(typed, kChatLineSize);
    typed[kChatLineSize - 1] = '\0';
}

}  // namespace

void FlightModule::drawChatLine(float frameTime) {
    char line[kChatLineSize] = "";
    // The prompt is asked every frame: a chat command while the line is
    // open changes it at once. No chat text file, no prompt.
    if (chatTextFile) TXT->txtGetIndexedString(chatTextFile, chatMode, line, kChatLineSize);
    line[kChatLineSize - 1] = '\0';
    char typed[kChatLineSize];
    readEntryText(typed);
    strAppendBounded(line, typed, kChatLineSize);
    advanceCursorFlash(cursorFlashTimer, cursorVisible, cursorFlashTime, frameTime);
    if (cursorVisible) strAppendBounded(line, cursorString, kChatLineSize);
    // The player's text is an argument, never the format: a "%" typed is
    // shown as typed.
    MSG->msgShowEntryLine("%s", line);
}

// Whether the entry ended with a confirm or a cancel is the controls
// module's business: a module that drops a cancelled line hands out an
// empty text, and an empty text sends nothing. Whatever non-empty text it
// still holds once the entry is closed is sent.
void FlightModule::sendChatLine() {
    char typed[kChatLineSize];
    readEntryText(typed);
    if (!strIsEmpty(typed)) {
        switch (chatMode) {
            case kChatEnemy:
                NET->netSendChat(typed, kToEnemySide, -1);
                break;
            case kChatFriendly:
                NET->netSendChat(typed, kToFriendlySide, -1);
                break;
            case kChatTarget: {
                const int32_t targetId = liveTargetOf(playerObjectId);
                if (targetId != -1) NET->netSendChat(typed, targetId, -1);
                break;
            }
            default:
                NET->netSendChat(typed, kToEveryone, -1);
                break;
        }
    }
    // Closed whether or not anything went out: the next chat command opens
    // a fresh line.
    chatActive = 0;
}

}  // namespace kv
