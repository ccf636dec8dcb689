// Time compression and time of day. The mission is asked first: it may
// forbid these for the whole flight, and a running skip-to-next owns the
// clock.
#include <cstdint>

#include "commands/flight_commands_conditions.h"
#include "commands/message_text.h"
#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"

namespace kv {

namespace {

// txtFormatTime's style for the hours and minutes of the day.
constexpr int32_t kTimeOfDayStyle = 2;

// The factor shown, truncated toward zero. A huge MaxTimeCompression lets
// the doubling pass the 32-bit range (or reach infinity), where a plain
// conversion is undefined: the shown number stops at the largest integer.
int32_t shownFactor(float factor) {
    if (!(factor < 2147483648.0f)) return INT32_MAX;
    return static_cast<int32_t>(factor);
}

}  // namespace

// 1, 2, 4, ... while below the maximum, then back to normal time: the last
// doubling may overshoot the maximum (a maximum of 6 reaches 8).
void FlightModule::increaseTimeCompression() {
    if (MSN->msnCanCompressTime() == 0) return;
    if (!notSkipping(*this)) return;
    if (timeCompression < maxTimeCompression) {
        timeCompression = timeCompression * 2.0f;
        showTableTextWithNumber(textFilename, timeCompressTextId, shownFactor(timeCompression));
    } else {
        timeCompression = 1.0f;
        showTableText(textFilename, normalTimeTextId);
    }
}

void FlightModule::resetTimeCompression() {
    if (MSN->msnCanCompressTime() == 0) return;
    if (!notSkipping(*this)) return;
    if (timeCompression == 1.0f) return;
    timeCompression = 1.0f;
    showTableText(textFilename, normalTimeTextId);
}

void FlightModule::changeTimeOfDay() {
    if (MSN->msnCanChangeTime() == 0) return;
    if (!notSkipping(*this)) return;
    ENV->envShiftTimeOfDay(changeTimeAmount);
    ENV->envAdvanceTime(0.0f);  // the sky takes the new time now, not at the next frame
    TimeRecord time = {};
    ENV->envGetTimeOfDay(&time);
    // Cleared first, so a text service that writes nothing shows no stale
    // bytes; terminated after, so one that fills the buffer is still cut.
    char timeText[260] = {};
    TXT->txtFormatTime(&time, timeText, sizeof timeText, kTimeOfDayStyle);
    timeText[sizeof timeText - 1] = '\0';
    showTableTextWithText(textFilename, timeSetTextId, timeText);
}

}  // namespace kv
