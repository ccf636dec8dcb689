#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "frame/frame_parts.h"

namespace kv {

namespace {

// The flight controls' attribute that tells whether the autopilot is
// engaged: 1 engaged, 0 disengaged.
constexpr int32_t kAutoPilotAttribute = 0x1d;
constexpr int32_t kAutoPilotEngaged = 1;
constexpr int32_t kAutoPilotDisengaged = 0;

// The flight controls of the aircraft the mission names as the player's,
// or null.
FlightControls* playerFlightControls() {
    void* controls = nullptr;
    OBJ->objGetObjectInterface(MSN->msnGetPlayerObject(), kFlightControlsKind, &controls);
    return static_cast<FlightControls*>(controls);
}

void endSkipToNext(FlightModule& flight) {
    EnvironmentRecord record = {};
    MSN->msnSkipToNext();
    ENV->envApplyMissionRecord(MSN->msnGetEnvironmentRecord(&record));
    flight.skipToNextActive = 0;
    flight.timeCompression = 1.0f;
    flight.paused = 0;
    // The start view of no particular object: the view manager places it on
    // the player's aircraft itself, as it did when the flight began.
    VMG->vmgSelectView(VMG->vmgCreateView(flight.startView, -1, 1));
    VMG->vmgEnableViewControls(1);
    OBJ->objSetPlayerControl(1);
    if (!flight.autoPilotAvailable) return;
    FlightControls* controls = playerFlightControls();
    // The event toggles the autopilot: inject it only while it is still on.
    if (controls && controls->controlsGetState(kAutoPilotAttribute) != kAutoPilotDisengaged)
        CTL->ctlInjectEvent(&flight.autoPilotEvent);
}

}  // namespace

void advanceSkipToNext(FlightModule& flight, float clampedFrameTime) {
    if (!flight.skipToNextActive) return;
    if (flight.autoPilotAvailable) {
        FlightControls* controls = playerFlightControls();
        // The event toggles the autopilot: inject it only while it is off.
        if (controls && controls->controlsGetState(kAutoPilotAttribute) != kAutoPilotEngaged) {
            CTL->ctlInjectEvent(&flight.autoPilotEvent);
            OBJ->objSetPlayerControl(0);
        }
    }
    // Real time: the skip runs at normal speed whatever the compression.
    flight.skipToNextRemaining -= clampedFrameTime;
    if (flight.skipToNextRemaining < 0.0f) endSkipToNext(flight);
}

void advanceEject(FlightModule& flight, float clampedFrameTime) {
    if (!flight.ejected) return;
    flight.ejectTimer += clampedFrameTime;
    // A network flight goes on after an eject: the others still fly.
    if (flight.ejectTimer > flight.ejectDelay && !flight.networkFlight) flight.SetRunState(1);
}

void advanceChat(FlightModule& flight) {
    if (flight.chatRequested) {
        CTL->ctlBeginTextEntry();
        CTL->ctlSetTextEntryMode(1);
        flight.chatActive = 1;
        flight.chatRequested = 0;
        flight.cursorFlashTimer = 0.0f;
        flight.cursorVisible = 1;
    } else if (flight.chatActive && CTL->ctlIsTextEntryOpen() == 0) {
        flight.sendChatLine();
    }
}

}  // namespace kv
