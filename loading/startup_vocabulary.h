// The start-up file's vocabulary: every section and key a flight reads, in
// reading order, with how it is read, its default and where the value goes.
// The start-up reader walks this table row by row, and tools that check a
// start-up file walk the same table, so the two never disagree.
#pragma once

#include <cstdint>

#include "config/printf_format.h"

namespace kv {

class FlightModule;

// Room the start-up document keeps beyond the file's own bytes: the files
// it includes must fit into it.
const int32_t kStartupExtraBytes = 61440;

// How a row's value is taken from the document.
enum class StartupRead : int32_t {
    kBool,  // getBool with defaultNumber
    kInt,   // getInt with defaultNumber
    kReal,  // getFloat with defaultNumber
    kText,  // getString into a 260-byte buffer, default "", case kept
    kCopy,  // getStringCopy, case kept; null when missing or empty
    kNone,  // nothing is read from the document
    // Composite texts of the loading screen's own section.
    kIntPair,  // getIntPair
    kRect,     // getRect
    kColor,    // getColor
};

// What happens with the value once it is read. kStore writes it into the
// row's field; the others are the rows that do more than that.
enum class StartupStep : int32_t {
    kStore,
    kSkipFlightNotice,       // store; a set flag is traced
    kModulePath,             // a module file resolved against the flight directory
    kMinutesToSeconds,       // store value x 60, saturated to 32 bits
    kAppFlag,                // appFlag from APP's query, fixedFlag 1
    kDepthLimit,             // store, lowered to the display depth
    kTerrainDetailLoaded,    // store, then mark the terrain detail as read
    kZoomControlUnresolved,  // store, then the zoom control id is -1 until loading resolves it
    kScreenshotFormat,       // the screenshot object's file name format
    kScreenshotSound,        // the screenshot object's click sound (also for "")
    kLoadingScreen,          // the loading screen reads its own section
    kTextId,                 // a string id in the in-flight text file; -1 without the file
    kStartView,              // key formatted with cockpitView, view 0's key as fallback
    kChatTextFile,           // store, then load the chat text file
};

// Values the frame loop cannot run with are replaced by the row's default.
enum class StartupCheck : int32_t {
    kNone,
    kStepLength,   // finite and at least kMinStepLength
    kPositive,     // finite and above 0
    kNotNegative,  // finite and not below 0
    kFinite,
};

// The shortest fixed sub-step the frame loop accepts, in seconds.
const float kMinStepLength = 0.0001f;

// Where a row's value lands. atomic: the field is a std::atomic of the
// row's type, because the host's other threads read it without any lock.
struct StartupField {
    void* address;
    bool atomic;
};
// What an int32_t or float field holds now, atomic or not.
int32_t startupIntValue(StartupField field);
float startupRealValue(StartupField field);

// Whether value passes check; a value that does not gives way to its row's
// default.
bool startupValueUsable(float value, StartupCheck check);

// What a text row's value names, for tools that check a flight directory
// before it is flown.
enum class StartupName : int32_t {
    kNothing,
    kFile,         // a file loaded from the flight directory (a kModulePath row: a module)
    kStringTable,  // a string table the text service loads
    kStringId,     // a string of the string table named last before this row
};

struct StartupRow {
    int32_t number;  // 1-based reading order
    // Null for the detail rows (section chosen by detailOption's level) and
    // for rows that read no key of their own.
    const char* section;
    // Null where the row reads no key (or the loading screen's own keys);
    // for kStartView the printf format of the key.
    const char* key;
    StartupRead read;
    const char* defaultText;  // kText and kCopy rows; null = no text
    float defaultNumber;      // kBool, kInt and kReal rows
    StartupStep step;
    StartupCheck check;
    // The engine field the value lands in, as the engine names it; null
    // where the value goes to another object.
    const char* destination;
    // Detail rows: the player option whose level picks the section.
    const char* detailOption;
    int32_t (*detailLevel)(const FlightModule& engine);
    // The destination: int32_t for kBool, kInt and kTextId rows, float for
    // kReal rows, char* for kCopy and kModulePath rows (each as an atomic
    // where the field says so); null where there is none.
    StartupField (*field)(FlightModule& engine);
    StartupName names;
    // The rule of the format the value is (a kText row) or the string it
    // names is (a kStringId row); null where it is no format.
    const FormatRule* format;
};

extern const StartupRow kStartupRows[];
extern const int32_t kStartupRowCount;

// The three sections a detail level chooses from, in level order.
extern const char* const kDetailSections[3];
// Level 1 is "MedDetailOption", 2 "HighDetailOption", every other level
// "LowDetailOption".
const char* detailSectionName(int32_t level);

// The row of 1-based number, or null.
const StartupRow* startupRow(int32_t number);

// The loading screen reads its own section (row 64) by the names of this
// table, in its order. Only section, key, read, default, names and format
// are used: the values go to the loading screen, not the engine.
enum LoadingScreenKey : int32_t {
    kBackgroundImageKey,
    kBackgroundImageSizeKey,
    kTextFontNameKey,
    kTextSizeKey,
    kTextBoldKey,
    kTextItalicKey,
    kTextUnderlineKey,
    kTextStrikeOutKey,
    kTextFontColorKey,
    kTextFileKey,
    kLoadingTextStringIdKey,
    kPercentTextStringIdKey,
    kProgressBarRangeKey,
    kProgressBarRectKey,
    kStreamAudioKey,
    kFadeTimeKey,
    kLoopAudioKey,
    kLoadingScreenKeyCount,
};
extern const char kLoadingScreenSection[];
extern const StartupRow kLoadingScreenRows[kLoadingScreenKeyCount];
inline const char* loadingScreenKey(LoadingScreenKey key) { return kLoadingScreenRows[key].key; }

// Two real rows whose values an author means to keep in order: the lower
// row's value below the upper row's (strictly, when strict). The module
// flies either way; tools point it out.
struct StartupOrder {
    int32_t lowerRow;
    int32_t upperRow;
    bool strict;
};
extern const StartupOrder kStartupOrders[];
extern const int32_t kStartupOrderCount;

// The values an integer row is meant to take.
struct StartupChoice {
    int32_t row;
    int32_t values[3];
};
extern const StartupChoice kStartupChoices[];
extern const int32_t kStartupChoiceCount;

// The player's options a flight reads from the options module's document,
// in reading order: integers with default 0, then the control map's name.
struct PlayerOptionRow {
    const char* section;
    const char* key;
    const char* destination;  // the engine field, as the engine names it
    int32_t* (*field)(FlightModule& engine);
};
extern const PlayerOptionRow kPlayerOptionRows[];
extern const int32_t kPlayerOptionRowCount;
extern const char kControlMapSection[];
extern const char kControlMapKey[];

}  // namespace kv
