// Commands that change what the player sees or flies: skip-to-next, the
// radio menu, the map and its command filter, the eject.
#include "commands/flight_commands.h"
#include "commands/flight_commands_conditions.h"
#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"

namespace kv {

namespace {

// The eject event of the aircraft interface.
constexpr int32_t kEjectEvent = 63;
// Seconds after an eject before a single-player flight ends.
constexpr float kEjectDelay = 5.0f;
// vmgCreateView's object id for a view that looks from no particular object.
constexpr int32_t kNoViewObject = -1;

}  // namespace

void FlightModule::skipToNext() {
    if (!playerCanAct(*this)) return;
    if (MSN->msnCanSkipToNext() == 0) return;  // asked last: only when the player could skip at all
    skipToNextActive = 1;
    timeCompression = 1.0f;
    paused = 0;
    mapShown = 0;
    VMG->vmgEnableViewControls(1);
    CTL->ctlSetCommandFilter(nullptr);  // closes a shown map
    VMG->vmgSelectView(VMG->vmgCreateView(skipToNextView, kNoViewObject, 1));
    VMG->vmgEnableViewControls(0);  // the player keeps this view until the skip ends
    skipToNextRemaining = skipToNextTimer;
}

void FlightModule::openRadioMenu() {
    if (!playerCanAct(*this)) return;
    if (!commInterface) return;
    commInterface->comOpenRadioMenu();
}

void FlightModule::toggleMap() {
    if (!playerCanAct(*this)) return;
    if (mapShown == 0) {
        mapShown = 1;
        VMG->vmgEnableViewControls(0);
        CTL->ctlSetCommandFilter(mapCommandFilter);
    } else {
        mapShown = 0;
        VMG->vmgEnableViewControls(1);
        CTL->ctlSetCommandFilter(nullptr);
    }
}

// A view key pressed on the map leaves the map straight into that view.
int32_t KV_STDCALL mapCommandFilter(int32_t commandId, int32_t, int32_t) {
    if (!engine) return 0;
    if (VMG->vmgIsViewCommand(commandId) == 0) return 0;
    engine->mapShown = 0;
    VMG->vmgEnableViewControls(1);
    CTL->ctlSetCommandFilter(nullptr);
    VMG->vmgHandleCommand(commandId);
    return 0;
}

void FlightModule::eject() {
    if (!playerCanAct(*this)) return;
    void* found = nullptr;
    OBJ->objGetObjectInterface(playerObjectId, kAircraftKind, &found);
    // An object without the aircraft interface has no seat to leave: the
    // eject is refused as a whole, like any other command the flight does
    // not allow. Going on without the event would take the player's
    // control away and end a single-player flight over an aircraft that
    // never ejected.
    if (!found) return;
    static_cast<Aircraft*>(found)->objectSendEvent(kEjectEvent, -1, 0);
    timeCompression = 1.0f;
    paused = 0;
    mapShown = 0;
    VMG->vmgEnableViewControls(1);
    CTL->ctlSetCommandFilter(nullptr);
    VMG->vmgSelectView(VMG->vmgCreateView(ejectView, kNoViewObject, 1));
    // In a network flight the player keeps the view controls.
    if (networkFlight == 0) VMG->vmgEnableViewControls(0);
    OBJ->objSetPlayerControl(0);
    ejectTimer = 0.0f;
    ejectDelay = kEjectDelay;
    ejected = 1;
}

}  // namespace kv
