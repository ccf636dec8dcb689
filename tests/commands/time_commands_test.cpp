#include <set>

#include <gtest/gtest.h>

#include "tests/commands/command_flight.h"

namespace kvtest {
namespace {

using Strings = std::vector<std::string>;

class TimeCommands : public CommandFlight {};

TEST_F(TimeCommands, RegistersTheSixteenCommandsInOrderEachWithItsHandler) {
    host.log().clear();
    host.controls.commands.clear();
    kv::registerFlightCommands();
    const Strings names = {"QUIT_GAME",      "EXIT_FLIGHT", "PAUSE_FLIGHT", "TIME_COMPRESSION",
                           "NORMAL_TIME",    "SCREEN_SHOT", "CHANGE_TIME",  "SKIP_TO_NEXT",
                           "TOGGLE_COCKPIT", "RADIO_COMM",  "MAP",          "CHAT_ALL",
                           "CHAT_ENEMY",     "CHAT_FRIENDLY", "CHAT_TARGET", "EJECT"};
    Strings registered;
    for (const auto& record : host.log().records()) {
        ASSERT_EQ(record.op, "ctlRegisterCommand");
        registered.push_back(record.args[0].get<std::string>());
        EXPECT_EQ(record.args[1], "handler");
        EXPECT_EQ(record.args[2], 0);
    }
    EXPECT_EQ(registered, names);
    // Sixteen distinct handlers: no command forwards to another's operation.
    std::set<kv::CommandHandler> handlers;
    for (const auto& command : host.controls.commands) handlers.insert(command.second);
    EXPECT_EQ(handlers.size(), 16u);
}

TEST_F(TimeCommands, RunStateAndCockpitCommands) {
    press("TOGGLE_COCKPIT");
    EXPECT_EQ(flight->showCockpit, 0);
    press("TOGGLE_COCKPIT");
    EXPECT_EQ(flight->showCockpit, 1);
    press("EXIT_FLIGHT");
    EXPECT_EQ(flight->runState, 1);
    press("QUIT_GAME");
    EXPECT_EQ(flight->runState, 2);
    EXPECT_TRUE(shown().empty());
}

// The factor doubles while below the maximum and may overshoot it by one
// doubling; the press after that returns to normal time.
TEST_F(TimeCommands, CompressionRunsUpToTheMaximumThenBackToNormal) {
    struct Case {
        float maximum;
        std::vector<float> factors;
        Strings messages;
    };
    const Case cases[] = {
        {0.0f, {1, 1}, {"Normal time", "Normal time"}},
        {6.0f, {2, 4, 8, 1, 2}, {"Time x2", "Time x4", "Time x8", "Normal time", "Time x2"}},
        {8.0f, {2, 4, 8, 1}, {"Time x2", "Time x4", "Time x8", "Normal time"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maximum);
        host.messages.shown.clear();
        flight->timeCompression = 1.0f;
        flight->maxTimeCompression = c.maximum;
        for (float expected : c.factors) {
            press("TIME_COMPRESSION");
            EXPECT_EQ(driver.getTimeCompression(), expected);
        }
        EXPECT_EQ(shown(), c.messages);
    }
    // Past the 32-bit range the number shown stops at its largest value.
    flight->timeCompression = 4e9f;
    flight->maxTimeCompression = 1e30f;
    host.messages.shown.clear();
    press("TIME_COMPRESSION");
    EXPECT_EQ(shown(), Strings{"Time x2147483647"});
}

TEST_F(TimeCommands, NormalTimeShowsOnlyWhenItChangesTheFactor) {
    press("NORMAL_TIME");
    EXPECT_TRUE(shown().empty());
    flight->timeCompression = 4.0f;
    press("NORMAL_TIME");
    EXPECT_EQ(flight->timeCompression, 1.0f);
    EXPECT_EQ(shown(), Strings{"Normal time"});
}

TEST_F(TimeCommands, PauseTogglesAndShowsItsTwoTexts) {
    press("PAUSE_FLIGHT");
    EXPECT_EQ(driver.isPaused(), 1);
    press("PAUSE_FLIGHT");
    EXPECT_EQ(driver.isPaused(), 0);
    EXPECT_EQ(shown(), (Strings{"Paused", "Resumed"}));
}

// The mission is asked before anything else, and its no is silent.
TEST_F(TimeCommands, MissionRefusalsAreSilentAndAskedFirst) {
    missionAllows(0, 0, 0, 1);
    flight->timeCompression = 4.0f;
    press("PAUSE_FLIGHT");
    press("TIME_COMPRESSION");
    press("NORMAL_TIME");
    press("CHANGE_TIME");
    EXPECT_EQ(flight->paused, 0);
    EXPECT_EQ(flight->timeCompression, 4.0f);
    EXPECT_EQ(calls("msnCanPause"), 1u);
    EXPECT_EQ(calls("msnCanCompressTime"), 2u);
    EXPECT_EQ(calls("msnCanChangeTime"), 1u);
    EXPECT_EQ(calls("envShiftTimeOfDay"), 0u);
    EXPECT_EQ(calls("msgShowText"), 0u);
}

TEST_F(TimeCommands, ChangeTimeShiftsRefreshesAndShowsTheNewTime) {
    press("CHANGE_TIME");
    EXPECT_TRUE(callsInOrder(host.log(), {"msnCanChangeTime", "envShiftTimeOfDay", "envAdvanceTime",
                                          "envGetTimeOfDay", "txtFormatTime", "msgShowText"}));
    ASSERT_NE(firstCall("envShiftTimeOfDay"), nullptr);
    EXPECT_EQ(firstCall("envShiftTimeOfDay")->args[0], 3600);
    EXPECT_EQ(shown(), Strings{"Time is 13:00:00"});

    // An amount of 0 still refreshes the environment and shows the time.
    flight->changeTimeAmount = 0;
    host.log().clear();
    press("CHANGE_TIME");
    EXPECT_TRUE(callsInOrder(host.log(), {"envShiftTimeOfDay", "envAdvanceTime", "envGetTimeOfDay",
                                          "txtFormatTime", "msgShowText"}));
    EXPECT_EQ(shown().back(), "Time is 13:00:00");
    EXPECT_EQ(firstCall("envAdvanceTime")->args[0], 0.0);
    EXPECT_EQ(firstCall("txtFormatTime")->args[1], 260);
    EXPECT_EQ(firstCall("txtFormatTime")->args[2], 2);
}

// The string table is a file a player can edit: a text whose conversions
// do not match the message's arguments is shown as it stands.
TEST_F(TimeCommands, TableTextsWithForeignConversionsAreShownLiterally) {
    struct Case {
        int32_t id;
        const char* text;
        const char* command;
        bool asFormat;
        const char* seen;
    };
    const Case cases[] = {
        {kTimeCompress, "x%d (%%)", "TIME_COMPRESSION", true, "x2 (%)"},
        {kTimeCompress, "%5X", "TIME_COMPRESSION", true, "    2"},
        {kTimeCompress, "%s", "TIME_COMPRESSION", false, "%s"},
        {kTimeCompress, "%d%d", "TIME_COMPRESSION", false, "%d%d"},
        {kTimeCompress, "%*d", "TIME_COMPRESSION", false, "%*d"},
        {kTimeCompress, "%1$d", "TIME_COMPRESSION", false, "%1$d"},
        {kTimeCompress, "%n", "TIME_COMPRESSION", false, "%n"},
        {kTimeCompress, "%ld", "TIME_COMPRESSION", false, "%ld"},
        {kTimeCompress, "x%-3d|", "TIME_COMPRESSION", true, "x2  |"},
        {kTimeCompress, "x%260d", "TIME_COMPRESSION", false, "x%260d"},  // wider than a text line
        {kTimeCompress, "x%.999999999d", "TIME_COMPRESSION", false, "x%.999999999d"},
        {kTimeSet, "at %s", "CHANGE_TIME", true, "at 13:00:00"},
        {kTimeSet, "at %d", "CHANGE_TIME", false, "at %d"},
        {kTimeSet, "%s%s", "CHANGE_TIME", false, "%s%s"},
        {kTimeSet, "at %300s", "CHANGE_TIME", false, "at %300s"},
        {kNormalTime, "100%%", "NORMAL_TIME", true, "100%"},
        {kNormalTime, "%s", "NORMAL_TIME", false, "%s"},
        {kPaused, "%x", "PAUSE_FLIGHT", false, "%x"},
        {kUnpaused, "%p", "PAUSE_FLIGHT", false, "%p"},
        {kUnpaused, "trailing %", "PAUSE_FLIGHT", false, "trailing %"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        setText(c.id, c.text);
        flight->timeCompression = 4.0f;  // NORMAL_TIME then has something to reset
        flight->maxTimeCompression = 8.0f;
        flight->changeTimeAmount = 3600;
        flight->paused = c.id == kUnpaused ? 1 : 0;
        if (c.id == kTimeCompress) flight->timeCompression = 1.0f;
        host.log().clear();
        host.messages.shown.clear();
        press(c.command);
        ASSERT_EQ(calls("msgShowText"), 1u);
        EXPECT_EQ(firstCall("msgShowText")->args[0], c.asFormat ? c.text : "%s");
        EXPECT_EQ(shown(), Strings{c.seen});
        setText(c.id, "restored");
    }
}

// No text (an id of -1, or one the table lacks) shows nothing; the
// command itself still takes effect.
TEST_F(TimeCommands, AMissingTextShowsNothing) {
    flight->pausedTextId = -1;
    flight->normalTimeTextId = 40;
    press("PAUSE_FLIGHT");
    press("TIME_COMPRESSION");
    flight->maxTimeCompression = 0.0f;
    press("TIME_COMPRESSION");
    EXPECT_EQ(flight->paused, 1);
    EXPECT_EQ(flight->timeCompression, 1.0f);
    EXPECT_EQ(calls("txtGetString"), 3u);
    EXPECT_EQ(shown(), Strings{"Time x2"});
}

}  // namespace
}  // namespace kvtest
