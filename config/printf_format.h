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

// What a caller hands a format read from a file: the kind of its one
// argument, and how many conversions may read it.
struct FormatRule {
    FormatArgument kind;
    int32_t minConversions;
    int32_t maxConversions;
};

inline int32_t formatAccepts(const char* format, const FormatRule& rule) {
    return formatAccepts(format, rule.kind, rule.minConversions, rule.maxConversions);
}

// The formats the module reads from files, each named once so that the
// module and the tools that check a flight's files apply the same rule.
// A screenshot file name takes the number, or has no conversion at all.
constexpr FormatRule kScreenshotNameFormat{FormatArgument::Integer, 0, 1};
// A numbered loading picture takes exactly the one index; any other name
// is a plain name.
constexpr FormatRule kLoadingPictureFormat{FormatArgument::Integer, 1, 1};
// The loading screen's percentage takes the one real, or none.
constexpr FormatRule kPercentageFormat{FormatArgument::Real, 0, 1};
// Flight messages from the in-flight string table: without an argument,
// with one number, with one text.
constexpr FormatRule kPlainMessageFormat{FormatArgument::Integer, 0, 0};
constexpr FormatRule kNumberMessageFormat{FormatArgument::Integer, 0, 1};
constexpr FormatRule kTextMessageFormat{FormatArgument::Text, 0, 1};

}  // namespace kv
