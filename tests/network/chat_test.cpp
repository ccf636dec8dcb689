// In-flight chat: the entry line opened by a chat command, drawn every
// frame with its prompt, typed text and flashing cursor, and sent to the
// recipients of its mode once the controls module closes the entry.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "tests/network/network_flight.h"

namespace kvtest {
namespace {

class Chat : public NetworkFlight {
protected:
    std::vector<std::pair<std::string, int32_t>> sent() const {
        std::vector<std::pair<std::string, int32_t>> out;
        for (const auto& line : host.network.chatLines) out.emplace_back(line.text, line.recipient);
        return out;
    }
};

TEST_F(Chat, AnEntryLineOpensIsDrawnAndIsSentOnceTheEntryCloses) {
    host.scenario.chatText = "Hello";
    host.scenario.events[3] = {"CHAT_ALL"};
    EXPECT_EQ(fly(), 1);
    // Frame 3 opens the line after its controls update and draws it; frame
    // 4's update closes the entry and the line goes out.
    EXPECT_TRUE(callsInOrder(host.log(), {"host:command", "ctlBeginTextEntry", "ctlSetTextEntryMode",
                                          "txtGetIndexedString", "ctlGetEntryText", "msgShowEntryLine", "msgRender",
                                          "objEndFrame", "ctlUpdate", "ctlIsTextEntryOpen", "ctlGetEntryText",
                                          "netSendChat Hello"}));
    EXPECT_EQ(texts("msgShowEntryLine"), std::vector<std::string>{"All>Hello_"});
    EXPECT_EQ(sent(), (std::vector<std::pair<std::string, int32_t>>{{"Hello", -1}}));
    EXPECT_EQ(flight->chatActive, 0);
}

// Whether a cancel keeps the text is the controls module's business; an
// entry that hands out no text sends nothing, and the line is closed all
// the same, so the next command opens a fresh one.
TEST_F(Chat, AnEmptyEntrySendsNothingAndCloses) {
    host.scenario.events[3] = {"CHAT_ALL"};
    host.scenario.events[6] = {"CHAT_ENEMY"};
    EXPECT_EQ(fly(), 1);
    EXPECT_EQ(calls("netSendChat"), 0u);
    EXPECT_EQ(calls("ctlBeginTextEntry"), 2u);
    EXPECT_EQ(texts("msgShowEntryLine"), (std::vector<std::string>{"All>_", "Enemy>_"}));
}

TEST_F(Chat, EachModeSendsToItsRecipients) {
    host.scenario.chatText = "Hi";
    host.scenario.events = {{3, {"CHAT_ALL"}}, {6, {"CHAT_ENEMY"}}, {9, {"CHAT_FRIENDLY"}}, {12, {"CHAT_TARGET"}}};
    host.scenario.appEndsAfter = 16;
    EXPECT_EQ(fly(), 1);
    EXPECT_EQ(sent(), (std::vector<std::pair<std::string, int32_t>>{{"Hi", -1}, {"Hi", 0}, {"Hi", 1}, {"Hi", 2}}));
    for (const auto& record : host.log().records())
        if (record.op == "netSendChat") {
            EXPECT_EQ(record.args[2], -1);
        }
}

// The prompt is asked every frame: a command while the line is open
// changes the prompt at once and the recipients of the line sent.
TEST_F(Chat, AModeChangeWhileTheLineIsOpenChangesPromptAndRecipients) {
    host.scenario.chatText = "Regroup";
    host.scenario.events = {{3, {"CHAT_ALL"}}, {4, {"CHAT_FRIENDLY"}}};
    host.controls.entryOpenForUpdates = 3;
    EXPECT_EQ(fly(), 1);
    EXPECT_EQ(calls("ctlBeginTextEntry"), 1u);
    const auto lines = texts("msgShowEntryLine");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "All>Regroup_");
    EXPECT_EQ(lines[1].substr(0, 15), "Friends>Regroup");
    EXPECT_EQ(sent(), (std::vector<std::pair<std::string, int32_t>>{{"Regroup", 1}}));
}

TEST_F(Chat, PercentSignsTypedByThePlayerAreShownAndSentLiterally) {
    host.scenario.chatText = "100% %s%n%d";
    host.scenario.events[3] = {"CHAT_ALL"};
    EXPECT_EQ(fly(), 1);
    for (const auto& record : host.log().records()) {
        if (record.op != "msgShowEntryLine") continue;
        EXPECT_EQ(record.args[0], "%s");
        EXPECT_EQ(record.args[1], "All>100% %s%n%d_");
    }
    EXPECT_EQ(sent(), (std::vector<std::pair<std::string, int32_t>>{{"100% %s%n%d", -1}}));
}

TEST_F(Chat, LinesAreCutAt259Bytes) {
    host.scenario.chatText = std::string(300, 'x');
    host.scenario.events[3] = {"CHAT_ALL"};
    EXPECT_EQ(fly(), 1);
    ASSERT_EQ(texts("msgShowEntryLine").size(), 1u);
    EXPECT_EQ(texts("msgShowEntryLine")[0], "All>" + std::string(255, 'x'));
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_EQ(sent()[0].first, std::string(259, 'x'));
}

// The operations on their own, with the engine's fields as an open line
// in a loaded flight has them.
class ChatLine : public NetworkFlight {
protected:
    void SetUp() override {
        NetworkFlight::SetUp();
        flight->chatActive = 1;
        flight->chatMode = 3;
        flight->playerObjectId = 1;
        flight->cursorVisible = 1;
        flight->cursorFlashTimer = 0.0f;
        flight->cursorFlashTime = 0.5f;
        flight->cursorString = cursor_;
        host.objects.object(1).targetId = 7;
        host.objects.object(7);
        host.controls.entryText = "on you";
        host.log().clear();
    }
    void TearDown() override {
        flight->cursorString = nullptr;
        NetworkFlight::TearDown();
    }
    std::string lastLine() const { return texts("msgShowEntryLine").back(); }

    char cursor_[4] = "|";
};

// The target is looked up again when the line goes out: any link missing
// by then sends nothing, and the line is closed.
TEST_F(ChatLine, TargetModeSendsNothingWhenALinkIsMissingAtSendingTime) {
    flight->sendChatLine();
    EXPECT_EQ(host.network.chatLines.size(), 1u);
    EXPECT_EQ(host.network.chatLines[0].recipient, 7);
    struct Case {
        const char* why;
        void (*breakLink)(kvsim::SimHost& host, kv::FlightModule& flight);
    };
    const Case cases[] = {
        {"no player aircraft", [](kvsim::SimHost&, kv::FlightModule& f) { f.playerObjectId = -1; }},
        {"inactive aircraft", [](kvsim::SimHost& h, kv::FlightModule&) { h.objects.object(1).active = 0; }},
        {"no aircraft interface",
         [](kvsim::SimHost& h, kv::FlightModule&) { h.objects.object(1).interfaces.erase(kv::kAircraftKind); }},
        {"no target", [](kvsim::SimHost& h, kv::FlightModule&) { h.objects.object(1).targetId = -1; }},
        {"target gone", [](kvsim::SimHost& h, kv::FlightModule&) { h.objects.object(1).targetId = 9; }},
        {"no target record",
         [](kvsim::SimHost& h, kv::FlightModule&) { h.objects.object(7).interfaces.erase(kv::kTargetRecordKind); }},
        {"inactive target", [](kvsim::SimHost& h, kv::FlightModule&) { h.objects.object(7).active = 0; }},
        // Ids 0 and 1 are the sides to netSendChat: a private line would
        // reach a whole side.
        {"target id 0", [](kvsim::SimHost& h, kv::FlightModule&) { h.objects.object(1).targetId = 0; h.objects.object(0); }},
        {"target id 1", [](kvsim::SimHost& h, kv::FlightModule&) { h.objects.object(1).targetId = 1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        flight->playerObjectId = 1;
        for (int32_t id : {0, 1, 7}) {
            host.objects.object(id).active = 1;
            host.objects.object(id).interfaces = {kv::kTargetRecordKind, kv::kFlightControlsKind, kv::kBodyKind,
                                                  kv::kAircraftKind, kv::kViewAttachmentKind};
        }
        host.objects.object(1).targetId = 7;
        c.breakLink(host, *flight);
        flight->chatActive = 1;
        flight->sendChatLine();
        EXPECT_EQ(host.network.chatLines.size(), 1u);
        EXPECT_EQ(flight->chatActive, 0);
    }
}

// The test is strictly greater than: a timer of exactly the flash time
// does not flip the cursor.
TEST_F(ChatLine, TheCursorFlipsOnlyOnceTheTimerPassesTheFlashTime) {
    const struct {
        float frame;
        float timer;
        int32_t visible;
    } frames[] = {{0.25f, 0.25f, 1}, {0.25f, 0.5f, 1}, {0.25f, 0.25f, 0}, {0.25f, 0.5f, 0}, {0.25f, 0.25f, 1}};
    for (const auto& f : frames) {
        flight->drawChatLine(f.frame);
        EXPECT_EQ(flight->cursorFlashTimer, f.timer);
        EXPECT_EQ(flight->cursorVisible, f.visible);
        EXPECT_EQ(lastLine(), f.visible ? "on you|" : "on you");
    }
}

TEST_F(ChatLine, ALongFrameFlipsTheCursorOnceForEveryFlashTimeItHolds) {
    flight->drawChatLine(1.25f);  // 1.25 -> 0.75 -> 0.25: two flips
    EXPECT_EQ(flight->cursorFlashTimer, 0.25f);
    EXPECT_EQ(flight->cursorVisible, 1);
    flight->drawChatLine(1.25f);  // 1.5 -> 1.0 -> 0.5: two flips
    EXPECT_EQ(flight->cursorFlashTimer, 0.5f);
    EXPECT_EQ(flight->cursorVisible, 1);

    // Counted directly past a few flips: the same as a countdown, with the
    // boundary where the rest is exactly one flash time.
    const struct {
        float frame;
        float timer;
        int32_t visible;
    } longFrames[] = {{1000.25f, 0.25f, 1}, {1000.75f, 0.25f, 0}, {100.0f, 0.5f, 0}, {100.1f, 0.1f, 1}};
    for (const auto& f : longFrames) {
        SCOPED_TRACE(f.frame);
        float timer = 0.0f;
        int32_t visible = 1;
        for (timer += f.frame; timer > 0.5f; timer -= 0.5f) visible = !visible;
        flight->cursorFlashTimer = 0.0f;
        flight->cursorVisible = 1;
        flight->drawChatLine(f.frame);
        EXPECT_EQ(flight->cursorFlashTimer, timer);
        EXPECT_EQ(flight->cursorVisible, visible);
        EXPECT_NEAR(flight->cursorFlashTimer, f.timer, 1e-3);
        EXPECT_EQ(flight->cursorVisible, f.visible);
    }
}

// A countdown would never end on these; each call returns at once.
TEST_F(ChatLine, NoFrameTimeOrFlashTimeHangsTheCursor) {
    flight->drawChatLine(std::numeric_limits<float>::infinity());
    EXPECT_EQ(flight->cursorFlashTimer, 0.0f);
    EXPECT_EQ(flight->cursorVisible, 1);
    flight->drawChatLine(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(flight->cursorFlashTimer, 0.0f);
    flight->drawChatLine(std::numeric_limits<float>::max());
    EXPECT_LE(flight->cursorFlashTimer, 0.5f);
    flight->drawChatLine(std::numeric_limits<float>::max());
    EXPECT_LE(flight->cursorFlashTimer, 0.5f);

    flight->cursorFlashTime = 1e-30f;
    flight->drawChatLine(1.0f);
    EXPECT_LE(flight->cursorFlashTimer, 1e-30f);
    EXPECT_GE(flight->cursorFlashTimer, 0.0f);

    // Timers and flash times at the ends of the float range, where the
    // count of flips and its remainder come from one division whose
    // rounding needs mending: the timer stays a number within the flash
    // time, and a count small enough to be exact flips the cursor by its
    // parity.
    const struct {
        float timer, flash, frame;
    } edges[] = {
        {0x1.af492ep+120f, 0x1.f11dbcp+124f, 0x1.fffc08p+127f},  // the float sum overflows
        {0x1.47fddap+126f, 0x1.fc3b0cp+127f, 0x1.c3ef9ap+127f},
        {0x1.38c242p-120f, 0x1.7b8856p-120f, 0x1.9fba8ep-13f},   // the rest comes out above the flash time
        {0x1.c3b69cp-43f, 0x1.1a901cp+54f, 0x1.b9d5bcp+112f},
        {0x1.4664c6p-121f, 0x1.b2d896p-108f, 0x1.3e1a34p+90f},   // the rest comes out at or below 0
        {0x1.4df8d8p-82f, 0x1.752ab4p-82f, 0x1.fa1ee2p+73f},
    };
    for (const auto& e : edges) {
        SCOPED_TRACE(e.frame);
        flight->cursorFlashTime = e.flash;
        flight->cursorFlashTimer = e.timer;
        flight->cursorVisible = 1;
        flight->drawChatLine(e.frame);
        EXPECT_GE(flight->cursorFlashTimer, 0.0f);
        EXPECT_LE(flight->cursorFlashTimer, e.flash);
        const long double total = static_cast<long double>(e.timer) + e.frame;
        const long double flips = std::ceil(total / e.flash) - 1;
        if (flips < 0x1p53L) {
            EXPECT_NEAR(flight->cursorFlashTimer, static_cast<double>(total - flips * e.flash), e.flash * 1e-6);
            EXPECT_EQ(flight->cursorVisible, std::fmod(flips, 2.0L) == 0 ? 1 : 0);
        }
    }
    flight->cursorFlashTime = 0.5f;

    // No flashing at all: the cursor stays as the opening left it.
    flight->cursorVisible = 1;
    for (float flash : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()}) {
        flight->cursorFlashTime = flash;
        flight->drawChatLine(3.0f);
        EXPECT_EQ(flight->cursorVisible, 1);
    }
    EXPECT_EQ(lastLine(), "on you|");
}

// Through the clock: the cursor counts the raw frame time, not the one
// clamped to MaxDeltaT (1 s here), so the opening frame of 1.25 s flips it
// twice; an infinite frame time is a still frame.
TEST_F(Chat, LongAndInfiniteFrameTimesDrawTheLineAndGoOn) {
    host.scenario.chatText = "Hi";
    host.scenario.events[3] = {"CHAT_ALL"};
    host.scenario.frameTimes = {0.25f, 0.25f, 0.25f, 1.25f, std::numeric_limits<float>::infinity(), 0.25f};
    host.controls.entryOpenForUpdates = 4;
    EXPECT_EQ(fly(), 1);
    // Timer after each draw: 0.25, 0.25, 0.5, 0.25 with the fourth flip.
    EXPECT_EQ(texts("msgShowEntryLine"), (std::vector<std::string>{"All>Hi_", "All>Hi_", "All>Hi_", "All>Hi"}));
}

}  // namespace
}  // namespace kvtest
