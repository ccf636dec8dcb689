// Checks printf formats that come from files a player can edit (start-up
// files, string tables) before the module hands them to a printf-style
// call with arguments of its own choosing. A format is accepted only when
// every conversion in it reads exactly the kind of argument the caller
// passes: "%%" is literal; flags are allowed, and so are width and
// precision up to 259 (a whole text line); '*' (an extra argument), '$'
// (argument reordering), 'n' (a write through an argument) and length
// modifiers are refused.
#pragma once

#include <cstdint>

namespace kv {

enum class FormatArgument {
    Integer,  // one 32-bit int: d i u o x X
    Real,     // one double: f F e E g G a A
    Text,     // one text: s
};

// Nonzero when format is not null and holds between minConversions and
// maxConversions conversions, each reading an argument of kind.
int32_t formatAccepts(const char* format, FormatArgument kind, int32_t minConversions,
                      int32_t maxConversions);

}  // namespace kv
