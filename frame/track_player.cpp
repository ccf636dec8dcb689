#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"

namespace kv {

// Follows the aircraft the mission names as the player's: a new one gets
// player control and the start view, a lost one stops force feedback.
void FlightModule::trackPlayerObject() {
    const int32_t previous = playerObjectId;
    playerObjectId = MSN->msnGetPlayerObject();
    GameObject* object = OBJ->objGetObject(playerObjectId);
    if (!object || object->objectIsActive() == 0) playerObjectId = -1;
    if (playerObjectId != -1 && playerObjectId != previous) {
        OBJ->objSetPlayerObject(playerObjectId);
        VMG->vmgSelectPlayerView(VMG->vmgCreateView(startView, playerObjectId, 1));
        ejected = 0;
        OBJ->objSetPlayerControl(1);
    }
    if (previous != -1 && playerObjectId == -1 && FFB) FFB->ffbStopEffects();
}

}  // namespace kv
