// Chat commands: they only ask for the entry line and choose its
// recipients; the in-flight chat of the frame step opens, draws and sends
// the line.
#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"

namespace kv {

namespace {

constexpr int32_t kTargetChatMode = 3;

}  // namespace

// A chat command while the line is being typed changes the recipients of
// that line instead of asking for a new one.
void FlightModule::startChat(int32_t mode) {
    if (networkFlight == 0) return;
    if (chatActive == 0) chatRequested = 1;
    chatMode = mode;
}

// Only when the player's aircraft has a live target; the line is sent to
// that target, which the chat resolves again when it sends.
void FlightModule::startTargetChat() {
    if (networkFlight == 0) return;
    GameObject* player = OBJ->objGetObject(playerObjectId);
    if (!player || player->objectIsActive() == 0) return;
    void* aircraft = nullptr;
    player->objectGetInterface(kAircraftKind, &aircraft);
    if (!aircraft) return;
    const int32_t targetId = static_cast<Aircraft*>(aircraft)->targetGetObjectId();
    if (targetId == -1) return;
    void* target = nullptr;
    OBJ->objGetObjectInterface(targetId, kTargetRecordKind, &target);
    if (!target || static_cast<TargetRecord*>(target)->targetIsActive() == 0) return;
    startChat(kTargetChatMode);
}

}  // namespace kv
