#include "sim/recording_interfaces.h"

#include <string>

#include "sim/sim_text_util.h"

namespace kvsim {

// A variadic operation cannot hand its arguments on: the text goes on
// formatted, as the only argument of "%s", so a player's "%" reaches the
// caller's module as typed.
void RecordingMessages::passOn(const char* op, ShowOperation operation, const char* format, va_list args) {
    const std::string line = formatLine(format, args);
    log_.call(op, Text{format}, line);
    (inner_.*operation)("%s", line.c_str());
}

void RecordingMessages::msgShowText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    passOn("msgShowText", &Interface::msgShowText, format, args);
    va_end(args);
}

void RecordingMessages::msgShowEntryLine(const char* format, ...) {
    va_list args;
    va_start(args, format);
    passOn("msgShowEntryLine", &Interface::msgShowEntryLine, format, args);
    va_end(args);
}

}  // namespace kvsim
