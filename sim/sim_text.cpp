#include "sim/sim_text.h"

#include "sim/sim_text_util.h"
#include "sim/record_json.h"

namespace kvsim {

void SimText::txtLoadTextFile(const char* fileName) { call("txtLoadTextFile", {text(fileName)}); }
void SimText::txtUnloadTextFile(const char* fileName) { call("txtUnloadTextFile", {text(fileName)}); }
int32_t SimText::txtGetStringId(const char* fileName, const char* name) {
    auto it = name ? world_.stringIds.find(name) : world_.stringIds.end();
    return returns(call("txtGetStringId", {text(fileName), text(name)}),
                   it == world_.stringIds.end() ? -1 : it->second);
}
void SimText::txtGetIndexedString(const char* fileName, int32_t id, char* buffer, int32_t size) {
    call("txtGetIndexedString", {text(fileName), id, size});
    auto it = world_.strings.find(id);
    copyText(it == world_.strings.end() ? "" : it->second, buffer, size);
}
const char* SimText::txtGetString(const char* fileName, int32_t id) {
    auto& r = call("txtGetString", {text(fileName), id});
    auto it = world_.strings.find(id);
    static const std::string empty;
    const std::string& s = it == world_.strings.end() ? empty : it->second;
    r.hasResult = true;
    r.result = s;
    return s.c_str();
}
void SimText::txtFormatTime(const kv::TimeRecord* time, char* buffer, int32_t size, int32_t style) {
    call("txtFormatTime", {toJson(time), size, style});
    char line[32] = "";
    if (time) std::snprintf(line, sizeof line, "%02d:%02d", time->words[0] % 100, time->words[1] % 100);
    copyText(line, buffer, size);
}

void SimMessages::msgLoadMessageSystem(const char* fileName) { call("msgLoadMessageSystem", {text(fileName)}); }
void SimMessages::msgUnloadMessageSystem() { call("msgUnloadMessageSystem"); }
void SimMessages::msgShowText(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    const std::string line = formatLine(fmt, args);
    va_end(args);
    call("msgShowText", {text(fmt), line});
    shown.push_back(line);
}
void SimMessages::msgShowEntryLine(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    const std::string line = formatLine(fmt, args);
    va_end(args);
    call("msgShowEntryLine", {text(fmt), line});
}
void SimMessages::msgUpdate(float clampedFrameTime) { call("msgUpdate", {clampedFrameTime}); }
void SimMessages::msgRender() { call("msgRender"); }

}  // namespace kvsim
