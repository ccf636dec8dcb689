// loadStartupFile: reads the flight's start-up file into the engine by
// walking the start-up vocabulary row by row.
#include <atomic>
#include <cstdint>
#include <cstdio>

#include "config/config_document.h"
#include "config/file_manager.h"
#include "config/paths.h"
#include "config/strings.h"
#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "loading/startup_vocabulary.h"
#include "loadingscreen/loading_screen.h"
#include "services/services.h"
#include "services/shell_binding.h"

namespace kv {

namespace {

// Names, paths and single text values.
const int32_t kTextSize = 260;

struct ReadState {
    FlightModule& engine;
    ConfigDocument& document;
    // The first text id row decides, once, whether the in-flight text file
    // is there to look the six ids up in.
    bool textFileChecked;
    bool textFileLoaded;
};

const char* orEmpty(const char* text) { return text ? text : ""; }

// The frame loop divides by, compares with and multiplies by these values
// every frame: a NaN, an infinity or a zero step would stall or never end a
// frame, so such a value gives way to the row's default.
float readReal(ReadState& state, const StartupRow& row, const char* section) {
    const float value = state.document.getFloat(section, row.key, row.defaultNumber);
    if (startupValueUsable(value, row.check)) return value;
    TraceMessage("...start-up setting %s %s=%g cannot be used, %g taken instead.", section, row.key,
                 static_cast<double>(value), static_cast<double>(row.defaultNumber));
    return row.defaultNumber;
}

// The host's other threads read some of these fields while the flight
// loads (SetPaused the text file and its ids, TakeScreenshot the screenshot
// settings, the accessors the pause and the compression): every value lands
// under the shared lock, and as an atomic where the field is one.
void storeInt(FlightModule& engine, StartupField field, int32_t value) {
    LockHeld held(engine.sharedLock);
    if (field.atomic)
        static_cast<std::atomic<int32_t>*>(field.address)->store(value);
    else
        *static_cast<int32_t*>(field.address) = value;
}

void storeReal(FlightModule& engine, StartupField field, float value) {
    LockHeld held(engine.sharedLock);
    if (field.atomic)
        static_cast<std::atomic<float>*>(field.address)->store(value);
    else
        *static_cast<float*>(field.address) = value;
}

// A second flight reads into fields the first one filled: the old text goes
// first, so nothing is lost across flights.
// The new text is swapped in under the shared lock and the old one freed
// after it: freeing calls the host's memory service.
void replaceText(FlightModule& engine, StartupField field, char* value) {
    char* old = nullptr;
    {
        LockHeld held(engine.sharedLock);
        char** text = static_cast<char**>(field.address);
        old = *text;
        *text = value;
    }
    strFree(&old);
}

int32_t minutesToSeconds(int32_t minutes) {
    const int64_t seconds = static_cast<int64_t>(minutes) * 60;
    if (seconds > INT32_MAX) return INT32_MAX;
    if (seconds < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(seconds);
}

// The six in-flight text ids. Without a text file the section is
// not read and every id is -1.
void readTextId(ReadState& state, const char* text, StartupField field) {
    FlightModule& engine = state.engine;
    if (!state.textFileChecked) {
        state.textFileChecked = true;
        if (strIsEmpty(engine.textFilename)) {
            TraceMessage("No in-flight text file specified!");
        } else {
            TXT->txtLoadTextFile(engine.textFilename);
            state.textFileLoaded = true;
        }
    }
    storeInt(engine, field, state.textFileLoaded ? TXT->txtGetStringId(engine.textFilename, text) : -1);
}

// The start view: the key of the player's cockpit view, else the key of
// view 0.
void readStartView(ReadState& state, const StartupRow& row, StartupField field) {
    FlightModule& engine = state.engine;
    char key[32];
    std::snprintf(key, sizeof key, row.key, engine.cockpitView);
    char* value = getStringCopy(&state.document, row.section, key, kCaseKeep);
    if (!value && engine.cockpitView != 0) {
        std::snprintf(key, sizeof key, row.key, 0);
        value = getStringCopy(&state.document, row.section, key, kCaseKeep);
    }
    replaceText(engine, field, value);
}

// Rows whose value is a text that is used at once rather than kept.
void useText(ReadState& state, const StartupRow& row, const char* section, StartupField field) {
    FlightModule& engine = state.engine;
    char text[kTextSize];
    state.document.getString(section, row.key, row.defaultText, text, sizeof text, kCaseKeep);
    switch (row.step) {
        case StartupStep::kModulePath: {
            // Never null: an empty value gives an empty path.
            char path[kTextSize];
            buildFilePath(engine.flightDirectory, text, "DLL", path, sizeof path);
            replaceText(engine, field, strDuplicate(path));
            break;
        }
        case StartupStep::kScreenshotFormat: {
            LockHeld held(engine.sharedLock);
            engine.screenshot.setFilenameFormat(text);
            break;
        }
        case StartupStep::kScreenshotSound: {
            // The sound module writes the id into a copy; a capture on another
            // thread reads the field, so the id lands under the shared lock,
            // after the call.
            int32_t soundId = engine.screenshot.soundId;
            SND->sndLoadSound(&soundId, text);
            LockHeld held(engine.sharedLock);
            engine.screenshot.soundId = soundId;
            break;
        }
        case StartupStep::kTextId: readTextId(state, text, field); break;
        default: break;
    }
}

void readRow(ReadState& state, const StartupRow& row) {
    FlightModule& engine = state.engine;
    ConfigDocument& document = state.document;
    const char* section = row.detailLevel ? detailSectionName(row.detailLevel(engine)) : row.section;
    const StartupField field = row.field ? row.field(engine) : StartupField{nullptr, false};

    switch (row.read) {
        case StartupRead::kBool:
            storeInt(engine, field, document.getBool(section, row.key, static_cast<int32_t>(row.defaultNumber)));
            break;
        case StartupRead::kInt:
            storeInt(engine, field, document.getInt(section, row.key, static_cast<int32_t>(row.defaultNumber)));
            break;
        case StartupRead::kReal: storeReal(engine, field, readReal(state, row, section)); break;
        case StartupRead::kCopy:
            if (row.step == StartupStep::kStartView) {
                readStartView(state, row, field);
            } else {
                replaceText(engine, field, getStringCopy(&document, section, row.key, kCaseKeep));
            }
            break;
        case StartupRead::kText: useText(state, row, section, field); break;
        case StartupRead::kNone: break;
        // Only the loading screen's own keys are read as these.
        case StartupRead::kIntPair:
        case StartupRead::kRect:
        case StartupRead::kColor: break;
    }

    switch (row.step) {
        case StartupStep::kSkipFlightNotice:
            if (engine.skipFlight) TraceMessage("...Debug SkipFlight flag enabled...");
            break;
        case StartupStep::kMinutesToSeconds:
            storeInt(engine, field, minutesToSeconds(startupIntValue(field)));
            break;
        case StartupStep::kAppFlag:
            engine.graphicsSetup.appFlag = APP->appQueryFlag() == 0 ? 1 : 0;
            engine.graphicsSetup.fixedFlag = 1;
            break;
        case StartupStep::kDepthLimit:
            if (engine.graphicsSetup.zBufferDepth > engine.graphicsSetup.displayDepth)
                engine.graphicsSetup.zBufferDepth = engine.graphicsSetup.displayDepth;
            break;
        case StartupStep::kTerrainDetailLoaded: engine.terrainSetup.terrainDetailLoaded = 1; break;
        case StartupStep::kZoomControlUnresolved: engine.zoomControlId = -1; break;
        case StartupStep::kLoadingScreen:
            // The loading sequence creates the screen before this read.
            if (engine.loadingScreen) engine.loadingScreen->readSettings(&document);
            break;
        case StartupStep::kChatTextFile:
            // The chat text file is named two rows earlier; load it now.
            if (engine.chatTextFile) {
                TXT->txtLoadTextFile(engine.chatTextFile);
            } else {
                TraceMessage("No in-flight chat text file specified!");
            }
            break;
        default: break;
    }
}

}  // namespace

int32_t FlightModule::loadStartupFile(const char* fileName) {
    // The document adds "INI" to a name without an extension, so the file
    // tested for is the file that will be opened.
    char path[kTextSize];
    buildFilePath(nullptr, fileName, "INI", path, sizeof path);
    if (fmgFileExists(path) == 0) {
        TraceMessage("...korvane start-up file %s not found!.", orEmpty(fileName));
        return 0;
    }
    ConfigDocument document(fileName, 0, 0, kStartupExtraBytes);
    // Without the pool the file is read into, every line of it would be
    // lost at once and the flight would fly on defaults alone (a skipped
    // flight flown, no HUD, no texts): the file counts as unreadable.
    if (!document.pool.base) {
        TraceMessage("...not enough memory to read the korvane start-up file %s!", orEmpty(fileName));
        return 0;
    }
    ReadState state{*this, document, false, false};
    for (int32_t i = 0; i < kStartupRowCount; ++i) readRow(state, kStartupRows[i]);
    return 1;
}

}  // namespace kv
