#include <gtest/gtest.h>

#include "tests/commands/command_flight.h"

namespace kvtest {
namespace {

class ChatCommands : public CommandFlight {
protected:
    void SetUp() override {
        CommandFlight::SetUp();
        flight->networkFlight = 1;
    }
};

TEST_F(ChatCommands, SinglePlayerFlightsHaveNoChat) {
    flight->networkFlight = 0;
    for (const char* command : {"CHAT_ALL", "CHAT_ENEMY", "CHAT_FRIENDLY", "CHAT_TARGET"}) press(command);
    EXPECT_EQ(flight->chatRequested, 0);
    EXPECT_EQ(flight->chatMode, 0);
    EXPECT_EQ(calls("objGetObject"), 0u);
}

TEST_F(ChatCommands, EachCommandAsksForTheLineWithItsRecipients) {
    const std::pair<const char*, int32_t> commands[] = {
        {"CHAT_ENEMY", 1}, {"CHAT_FRIENDLY", 2}, {"CHAT_TARGET", 3}, {"CHAT_ALL", 0}};
    for (const auto& command : commands) {
        SCOPED_TRACE(command.first);
        flight->chatRequested = 0;
        flight->chatMode = -1;
        press(command.first);
        EXPECT_EQ(flight->chatRequested, 1);
        EXPECT_EQ(flight->chatMode, command.second);
    }
}

// A chat command while the line is typed changes only its recipients.
TEST_F(ChatCommands, WhileALineIsOpenOnlyTheRecipientsChange) {
    flight->chatActive = 1;
    press("CHAT_ENEMY");
    EXPECT_EQ(flight->chatRequested, 0);
    EXPECT_EQ(flight->chatMode, 1);
    press("CHAT_TARGET");
    EXPECT_EQ(flight->chatRequested, 0);
    EXPECT_EQ(flight->chatMode, 3);
    EXPECT_EQ(flight->chatActive, 1);
}

TEST_F(ChatCommands, TargetChatFollowsThePlayersAircraftToALiveTarget) {
    press("CHAT_TARGET");
    EXPECT_TRUE(callsInOrder(host.log(), {"objGetObject", "objectIsActive", "objectGetInterface",
                                          "targetGetObjectId", "objGetObjectInterface", "targetIsActive"}));
    EXPECT_EQ(firstCall("objGetObject")->args[0], kPlayer);
    EXPECT_EQ(firstCall("objectGetInterface")->args[0], 10);
    EXPECT_EQ(firstCall("objGetObjectInterface")->args, (kvsim::Json{kTarget, 2}));
}

// Every missing link stops the command silently, with nothing asked
// after the link that is missing.
TEST_F(ChatCommands, TargetChatStopsAtEachMissingLink) {
    struct Case {
        const char* why;
        const char* lastAsked;
        void (*breakLink)(kvsim::SimHost& host, kv::FlightModule& flight);
    };
    const Case cases[] = {
        {"no player object", "objGetObject", [](kvsim::SimHost&, kv::FlightModule& f) { f.playerObjectId = 7; }},
        {"no aircraft", "objGetObject", [](kvsim::SimHost&, kv::FlightModule& f) { f.playerObjectId = -1; }},
        {"inactive player", "objectIsActive",
         [](kvsim::SimHost& h, kv::FlightModule&) { h.objects.object(kPlayer).active = 0; }},
        {"no aircraft interface", "objectGetInterface",
         [](kvsim::SimHost& h, kv::FlightModule&) { h.objects.object(kPlayer).interfaces.erase(kv::kAircraftKind); }},
        {"no target", "targetGetObjectId",
         [](kvsim::SimHost& h, kv::FlightModule&) { h.objects.object(kPlayer).targetId = -1; }},
        {"target object gone", "objGetObjectInterface",
         [](kvsim::SimHost& h, kv::FlightModule&) { h.objects.object(kPlayer).targetId = 9; }},
        {"target without a target record", "objGetObjectInterface",
         [](kvsim::SimHost& h, kv::FlightModule&) { h.objects.object(kTarget).interfaces.erase(kv::kTargetRecordKind); }},
        {"inactive target", "targetIsActive",
         [](kvsim::SimHost& h, kv::FlightModule&) { h.objects.object(kTarget).active = 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        for (int32_t id : {kPlayer, kTarget})
            host.objects.object(id).interfaces = {kv::kTargetRecordKind, kv::kFlightControlsKind, kv::kBodyKind,
                                                  kv::kAircraftKind, kv::kViewAttachmentKind};
        host.objects.object(kPlayer).active = 1;
        host.objects.object(kPlayer).targetId = kTarget;
        host.objects.object(kTarget).active = 1;
        flight->playerObjectId = kPlayer;
        flight->chatMode = 0;
        c.breakLink(host, *flight);
        host.log().clear();
        press("CHAT_TARGET");
        EXPECT_EQ(flight->chatRequested, 0);
        EXPECT_EQ(flight->chatMode, 0);
        std::string last;
        for (const auto& record : host.log().records())
            if (record.kind == kvsim::RecordKind::Call) last = record.op;
        EXPECT_EQ(last, c.lastAsked);
    }
}

}  // namespace
}  // namespace kvtest
