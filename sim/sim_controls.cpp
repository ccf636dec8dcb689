#include "sim/sim_controls.h"

#include "sim/sim_text_util.h"
#include "sim/record_json.h"

namespace kvsim {

void SimInput::inpClearInput() { call("inpClearInput"); }

void SimControls::ctlLoadControlMap(const char* name, int32_t one) { call("ctlLoadControlMap", {text(name), one}); }
void SimControls::ctlUnloadControlMap() { call("ctlUnloadControlMap"); }
void SimControls::ctlSetInputEnabled(int32_t on) { call("ctlSetInputEnabled", {on}); }
int32_t SimControls::ctlGetControlId(const char* name) {
    auto it = name ? controls.find(name) : controls.end();
    return returns(call("ctlGetControlId", {text(name)}), it == controls.end() ? -1 : it->second);
}
void SimControls::ctlRegisterCommand(const char* name, kv::CommandHandler handler, int32_t zero) {
    call("ctlRegisterCommand", {text(name), handler ? Json("handler") : Json(nullptr), zero});
    if (name) commands[name] = handler;
}
void SimControls::ctlInjectEvent(const kv::ControlEvent* event) { call("ctlInjectEvent", {toJson(event)}); }
float SimControls::ctlGetAxisValue(int32_t controlId) { return returns(call("ctlGetAxisValue", {controlId}), 0.0f); }
void SimControls::ctlUpdate(float rawFrameTime) { call("ctlUpdate", {rawFrameTime}); }
void SimControls::ctlSetKeyRepeat(float rate, float delay) { call("ctlSetKeyRepeat", {rate, delay}); }
void SimControls::ctlSetTextEntryMode(int32_t mode) { call("ctlSetTextEntryMode", {mode}); }
int32_t SimControls::ctlIsTextEntryOpen() { return returns(call("ctlIsTextEntryOpen"), textEntryOpen); }
void SimControls::ctlBeginTextEntry() { call("ctlBeginTextEntry"); }
void SimControls::ctlGetEntryText(char* buffer, int32_t size) {
    call("ctlGetEntryText", {size});
    copyText(entryText, buffer, size);
}
void SimControls::ctlSetCommandFilter(kv::CommandHandler f) {
    call("ctlSetCommandFilter", {f ? Json("filter") : Json(nullptr)});
    filter = f;
}
kv::ControlEvent* SimControls::ctlGetControlEvent(int32_t controlId) {
    auto& r = call("ctlGetControlEvent", {controlId});
    auto it = events.find(controlId);
    kv::ControlEvent* result = it == events.end() ? nullptr : &it->second;
    r.hasResult = true;
    r.result = toJson(result);
    return result;
}
void SimControls::ctlSetActive(int32_t on) { call("ctlSetActive", {on}); }

}  // namespace kvsim
