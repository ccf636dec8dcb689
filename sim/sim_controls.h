// Input and controls: control ids and events, commands, text entry. Each records every call and gives the results a flight relies on.
#pragma once

#include <map>
#include <string>

#include "host/engine_interfaces.h"
#include "sim/sim_part.h"

namespace kvsim {

class SimInput : public kv::InputInterface, SimPart {
public:
    using SimPart::SimPart;
    void inpClearInput() override;
};

class SimControls : public kv::ControlsInterface, SimPart {
public:
    using SimPart::SimPart;
    void ctlLoadControlMap(const char* name, int32_t one) override;
    void ctlUnloadControlMap() override;
    void ctlSetInputEnabled(int32_t on) override;
    int32_t ctlGetControlId(const char* name) override;
    void ctlRegisterCommand(const char* name, kv::CommandHandler handler, int32_t zero) override;
    void ctlInjectEvent(const kv::ControlEvent* event) override;
    float ctlGetAxisValue(int32_t controlId) override;
    void ctlUpdate(float rawFrameTime) override;
    void ctlSetKeyRepeat(float rate, float delay) override;
    void ctlSetTextEntryMode(int32_t mode) override;
    int32_t ctlIsTextEntryOpen() override;
    void ctlBeginTextEntry() override;
    void ctlGetEntryText(char* buffer, int32_t size) override;
    void ctlSetCommandFilter(kv::CommandHandler filter) override;
    kv::ControlEvent* ctlGetControlEvent(int32_t controlId) override;
    void ctlSetActive(int32_t on) override;

    // Control names that have an id: their position in this map plus 1.
    std::map<std::string, int32_t> controls;
    std::map<std::string, kv::CommandHandler> commands;
    kv::CommandHandler filter = nullptr;
    std::map<int32_t, kv::ControlEvent> events;
    std::string entryText;
    int32_t textEntryOpen = 0;
};

}  // namespace kvsim
