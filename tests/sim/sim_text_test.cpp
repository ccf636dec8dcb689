#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "sim/host/sim_host.h"
#include "tests/sim/scratch_folder.h"

namespace {

const char* const kTable =
    "; captions of the loading screen\n"
    "[Other]\n"
    "Loading=not this one\n"
    "[Strings]\n"
    "Loading=Loading flight...\n"
    "Percent=%3.0f%%\n"
    "Empty=\n"
    "Paused=Game paused\n";

TEST(SimText, StringTablesGiveIdsByPositionAndTextsUntilUnloaded) {
    kvtest::ScratchFolder folder("sim-text");
    folder.write("Data/Loading.TXT", kTable);
    kvsim::SimHost host;
    kv::TextInterface& txt = host.front<kv::TextInterface>();

    // Before the load nothing is known.
    EXPECT_EQ(txt.txtGetStringId("data\\loading.txt", "Loading"), -1);
    txt.txtLoadTextFile("data\\loading.txt");
    txt.txtLoadTextFile("missing.txt");
    txt.txtLoadTextFile(nullptr);
    EXPECT_EQ(host.text.loadedTables(), 1u);

    // Names are matched as the file manager matches them.
    EXPECT_EQ(txt.txtGetStringId(".\\DATA\\LOADING.txt", "Loading"), 0) << "[Strings], not [Other]";
    EXPECT_EQ(txt.txtGetStringId("data/loading.txt", "percent"), 1);
    EXPECT_EQ(txt.txtGetStringId("data\\loading.txt", "Paused"), 3);
    EXPECT_EQ(txt.txtGetStringId("data\\loading.txt", "Nothing"), -1);
    EXPECT_EQ(txt.txtGetStringId("data\\loading.txt", nullptr), -1);
    EXPECT_EQ(txt.txtGetStringId("missing.txt", "Loading"), -1);
    EXPECT_EQ(txt.txtGetStringId(nullptr, "Loading"), -1);

    const char* percent = txt.txtGetString("data\\loading.txt", 1);
    ASSERT_NE(percent, nullptr);
    EXPECT_STREQ(percent, "%3.0f%%");
    EXPECT_STREQ(txt.txtGetString("data\\loading.txt", 2), "") << "Name= is the empty text";
    EXPECT_EQ(txt.txtGetString("data\\loading.txt", 4), nullptr);
    EXPECT_EQ(txt.txtGetString("data\\loading.txt", -1), nullptr);
    EXPECT_EQ(txt.txtGetString("missing.txt", 0), nullptr);

    // Bounded copies: cut to size - 1 bytes; an unknown id leaves the
    // buffer as it was.
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    txt.txtGetIndexedString("data\\loading.txt", 0, buffer, 8);
    EXPECT_STREQ(buffer, "Loading");
    std::memset(buffer, '#', sizeof buffer);
    txt.txtGetIndexedString("data\\loading.txt", 3, buffer, 5);
    EXPECT_STREQ(buffer, "Game");
    EXPECT_EQ(buffer[5], '#') << "nothing written past the size";
    std::strcpy(buffer, "stale");
    txt.txtGetIndexedString("data\\loading.txt", 9, buffer, 8);
    txt.txtGetIndexedString("missing.txt", 0, buffer, 8);
    EXPECT_STREQ(buffer, "stale");

    // A second load of the same file (another spelling) is counted: the
    // texts stay, at the same address, until the second unload.
    txt.txtLoadTextFile("DATA\\Loading.txt");
    EXPECT_EQ(host.text.loadedTables(), 1u);
    txt.txtUnloadTextFile("data\\loading.txt");
    EXPECT_EQ(txt.txtGetString("data\\loading.txt", 1), percent);
    txt.txtUnloadTextFile("data\\loading.txt");
    EXPECT_EQ(txt.txtGetString("data\\loading.txt", 1), nullptr);
    EXPECT_EQ(host.text.loadedTables(), 0u);

    const auto& records = host.log().records();
    EXPECT_EQ(host.log().count("fmgOpenFile"), 0u) << "the service's own reads stay out of the module's log";
    bool sawNullResult = false;
    for (const auto& r : records)
        if (r.op == "txtGetString" && r.args[1] == 4) sawNullResult = r.hasResult && r.result.is_null();
    EXPECT_TRUE(sawNullResult);
}

TEST(SimText, FormatsTheTimeOfDayByStyle) {
    kvsim::SimHost host;
    kv::TimeRecord time = {{14, 5, 9, 0}};
    char buffer[260];
    host.front<kv::TextInterface>().txtFormatTime(&time, buffer, sizeof buffer, 2);
    EXPECT_STREQ(buffer, "14:05:09");
    host.front<kv::TextInterface>().txtFormatTime(&time, buffer, sizeof buffer, 1);
    EXPECT_STREQ(buffer, "14:05");
    kv::TimeRecord odd = {{25, -1, 61, 0}};
    host.front<kv::TextInterface>().txtFormatTime(&odd, buffer, sizeof buffer, 2);
    EXPECT_STREQ(buffer, "01:59:01");
    host.front<kv::TextInterface>().txtFormatTime(&time, buffer, 3, 2);
    EXPECT_STREQ(buffer, "14");
    host.front<kv::TextInterface>().txtFormatTime(nullptr, buffer, sizeof buffer, 2);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(host.log().records()[0].args[0].dump(), R"({"words":[14,5,9,0]})");
}

}  // namespace
