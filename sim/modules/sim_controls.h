// Input and controls. The controls module keeps the control map (names and
// their ids and events), the flight's command registrations and the
// command filter, and dispatches commands as a control subsystem does:
// the installed filter sees every command first, then the command's
// handler runs. The scenario's [Events] are dispatched during ctlUpdate:
// the events of a frame number go out at the first update in that frame
// or a later one (the frame is the clock's, state.frame; nothing goes out
// while the flight loads). Tests can dispatch a command at any moment with
// dispatch().
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include <korvane/engine_interfaces.h>
#include "sim/modules/sim_objects.h"
#include "sim/modules/sim_part.h"
#include "sim/calls/noop_defaults.h"

namespace kvsim {

class SimInput : public NoopInput, SimPart {
public:
    using SimPart::SimPart;
};

class SimControls : public NoopControls, SimPart {
public:
    explicit SimControls(SimState& state);
    void ctlLoadControlMap(const char* name, int32_t one) override;
    void ctlUnloadControlMap() override;
    int32_t ctlGetControlId(const char* name) override;
    void ctlRegisterCommand(const char* name, kv::CommandHandler handler, int32_t zero) override;
    void ctlInjectEvent(const kv::ControlEvent* event) override;
    float ctlGetAxisValue(int32_t controlId) override;
    void ctlUpdate(float rawFrameTime) override;
    int32_t ctlIsTextEntryOpen() override;
    void ctlBeginTextEntry() override;
    void ctlGetEntryText(char* buffer, int32_t size) override;
    void ctlSetCommandFilter(kv::CommandHandler filter) override;
    kv::ControlEvent* ctlGetControlEvent(int32_t controlId) override;

    // The player presses the key of a command now: logged as a call of the
    // host into the module ({"host":"command","args":[name]}), then handed
    // to the filter and the handler with the command's identifier. A name
    // the control map does not know still reaches the filter, as id -1;
    // with neither a filter nor a handler nothing is called or logged.
    void dispatch(const std::string& name);

    // The identifier of a control or command name: the control map's
    // controls, the commands registered so far (ids stay the same from
    // flight to flight) and the view commands; -1 for an unknown name.
    int32_t idOf(const std::string& name) const;

    // The control map: control names and their ids. It starts with the
    // map zoom axis "MAP_ZOOM", the autopilot command "AUTOPILOT" and the
    // force feedback control "FFB_STRENGTH"; tests may add names. Every
    // control of the map has a control event.
    std::map<std::string, int32_t> controls;
    // The commands registered with ctlRegisterCommand since the control
    // map was loaded; ctlUnloadControlMap drops them with the filter.
    std::map<std::string, kv::CommandHandler> commands;
    kv::CommandHandler filter = nullptr;
    // Text entry: ctlBeginTextEntry opens it with the scenario's ChatText as
    // the typed text; it closes at the entryOpenForUpdates-th ctlUpdate
    // after that (the first, unless a test keeps it open longer). Tests may
    // change the text while it is open.
    std::string entryText;
    int32_t textEntryOpen = 0;
    int32_t entryOpenForUpdates = 1;
    // The injected event of the AUTOPILOT control toggles the autopilot
    // attribute (0x1d) of the scenario's player aircraft among these
    // objects, as the aircraft's own controls would; SimHost connects them.
    SimObjects* objects = nullptr;

private:
    void dispatchEventsUpTo(int32_t frame);

    std::map<int32_t, kv::ControlEvent> events_;
    // Scenario events with frame numbers up to this one have been
    // dispatched this flight.
    int32_t eventsDispatchedThrough_ = -1;
    int32_t nextControlId_ = 1;
    int32_t entryUpdatesLeft_ = 0;
};

}  // namespace kvsim
