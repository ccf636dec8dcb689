#include "sim/modules/sim_controls.h"

#include "sim/modules/sim_text_util.h"
#include "sim/modules/sim_views.h"

namespace kvsim {


SimControls::SimControls(SimState& state) : SimPart(state) {
    for (const char* name : {"MAP_ZOOM", "AUTOPILOT", "FFB_STRENGTH"}) controls[name] = nextControlId_++;
}

int32_t SimControls::idOf(const std::string& name) const {
    auto it = controls.find(name);
    if (it != controls.end()) return it->second;
    return SimViews::viewCommandId(name);
}

void SimControls::dispatch(const std::string& name) {
    const int32_t id = idOf(name);
    // Both are read before either runs: a filter may remove itself, and
    // the command it saw still reaches its handler.
    const kv::CommandHandler installedFilter = filter;
    auto registered = commands.find(name);
    const kv::CommandHandler handler = registered == commands.end() ? nullptr : registered->second;
    // A key nothing in the module listens to is no call into the module.
    if (!installedFilter && !handler) return;
    state_.log.hostCall("command", name);
    if (installedFilter) installedFilter(id, 0, 0);
    if (handler) handler(id, 0, 0);
}

void SimControls::dispatchEventsUpTo(int32_t frame) {
    if (frame < 0) return;
    const auto& events = state_.scenario.events;
    for (auto it = events.upper_bound(eventsDispatchedThrough_); it != events.end() && it->first <= frame; ++it)
        for (const std::string& name : it->second) dispatch(name);
    if (frame > eventsDispatchedThrough_) eventsDispatchedThrough_ = frame;
}

void SimControls::ctlLoadControlMap(const char* , int32_t) {
    eventsDispatchedThrough_ = -1;
}
void SimControls::ctlUnloadControlMap() {
    commands.clear();
    filter = nullptr;
}
int32_t SimControls::ctlGetControlId(const char* name) {
    return name ? idOf(name) : -1;
}
void SimControls::ctlRegisterCommand(const char* name, kv::CommandHandler handler, int32_t) {
    if (!name) return;
    commands[name] = handler;
    if (!controls.count(name)) controls[name] = nextControlId_++;
}
void SimControls::ctlInjectEvent(const kv::ControlEvent* event) {
    // Control events are {id, 1, 0, 0}: see ctlGetControlEvent.
    if (!event || !objects || event->words[0] != controls["AUTOPILOT"] || event->words[1] != 1) return;
    auto aircraft = objects->objects.find(state_.scenario.playerObject);
    if (aircraft == objects->objects.end()) return;
    int32_t& engaged = aircraft->second->controlStates[SimGameObject::kAutoPilot];
    engaged = engaged ? 0 : 1;
}
// The map zoom is the only axis a flight reads: every control id gives the
// scenario's ZoomAxis.
float SimControls::ctlGetAxisValue(int32_t) {
    return state_.scenario.zoomAxis;
}
void SimControls::ctlUpdate(float) {
    // The player finishes typing: the entry closes after its updates.
    if (textEntryOpen && --entryUpdatesLeft_ <= 0) textEntryOpen = 0;
    dispatchEventsUpTo(state_.frame);
}
int32_t SimControls::ctlIsTextEntryOpen() { return textEntryOpen; }
void SimControls::ctlBeginTextEntry() {
    textEntryOpen = 1;
    entryText = state_.scenario.chatText;
    entryUpdatesLeft_ = entryOpenForUpdates;
}
void SimControls::ctlGetEntryText(char* buffer, int32_t size) {
    copyText(entryText, buffer, size);
}
void SimControls::ctlSetCommandFilter(kv::CommandHandler f) {
    filter = f;
}
// Every control of the map, view commands included, has an event record:
// its id, then "pressed".
kv::ControlEvent* SimControls::ctlGetControlEvent(int32_t controlId) {
    bool known = SimViews::isViewCommandId(controlId);
    for (const auto& control : controls) known = known || control.second == controlId;
    kv::ControlEvent* result = nullptr;
    if (known) {
        result = &events_[controlId];
        *result = kv::ControlEvent{{controlId, 1, 0, 0}};
    }
    return result;
}

}  // namespace kvsim
