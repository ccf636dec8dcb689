// The module's diagnostic texts, taken in by korvane-host: the program
// exports the trace hook the module looks for when it is bound, and the
// hook appends each text to the call log as a {"trace":...} record.
#pragma once

#include "sim/calls/call_log.h"

namespace kvhost {

// Where the hook puts texts from now on; null drops them.
void setTraceLog(kvsim::CallLog* log);

}  // namespace kvhost
