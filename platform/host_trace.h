// The one way the module's diagnostic texts can leave a module that was
// loaded at run time: a host program that wants them exports a function
// named "KorvaneHostTrace" (C linkage, one text argument) from its own
// executable. The module looks it up when it is bound; a host that exports
// none gets nothing, as the module writes no log of its own.
#pragma once

namespace kv {

using HostTraceFunction = void (*)(const char* text);

// The host program's "KorvaneHostTrace", or null when it exports none.
HostTraceFunction findHostTraceFunction();

}  // namespace kv
