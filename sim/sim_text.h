// The text service and on-screen messages. Each records every call and gives the results a flight relies on.
#pragma once

#include <string>
#include <vector>

#include "host/engine_interfaces.h"
#include "sim/sim_part.h"

namespace kvsim {

class SimText : public kv::TextInterface, SimPart {
public:
    using SimPart::SimPart;
    void txtLoadTextFile(const char* fileName) override;
    void txtUnloadTextFile(const char* fileName) override;
    int32_t txtGetStringId(const char* fileName, const char* name) override;
    void txtGetIndexedString(const char* fileName, int32_t id, char* buffer, int32_t size) override;
    const char* txtGetString(const char* fileName, int32_t id) override;
    void txtFormatTime(const kv::TimeRecord* time, char* buffer, int32_t size, int32_t style) override;
};

class SimMessages : public kv::MessagesInterface, SimPart {
public:
    using SimPart::SimPart;
    void msgLoadMessageSystem(const char* fileName) override;
    void msgUnloadMessageSystem() override;
    void msgShowText(const char* format, ...) override;
    void msgShowEntryLine(const char* format, ...) override;
    void msgUpdate(float clampedFrameTime) override;
    void msgRender() override;

    // The texts shown, formatted.
    std::vector<std::string> shown;
};

}  // namespace kvsim
