#include "services/services.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "services/shell_interfaces.h"
#include "tests/support/counting_memory.h"

namespace {

TEST(ModuleServices, AllocatorFollowsWhetherMemIsBound) {
    ASSERT_EQ(kv::MEM, nullptr);
    EXPECT_EQ(kv::MemAlloc(16), nullptr);
    kv::MemCheckpoint("unbound");  // must be harmless

    const std::size_t heapBefore = kv::heapBlocksOutstanding();
    void* early = kv::ModuleAlloc(32);
    ASSERT_NE(early, nullptr);
    EXPECT_EQ(kv::heapBlocksOutstanding(), heapBefore + 1);

    {
        kvtest::CountingMemory mem;
        void* block = kv::MemAlloc(24);
        void* moduleBlock = kv::ModuleAlloc(8);
        EXPECT_TRUE(mem.owns(block));
        EXPECT_TRUE(mem.owns(moduleBlock));
        EXPECT_EQ(mem.liveBlocks("FLT"), 2);
        EXPECT_EQ(mem.lastReserved1, 0);
        EXPECT_EQ(mem.lastReserved2, 0);

        // A heap block from before the binding goes back to the heap, never
        // to MEM, which did not hand it out.
        kv::MemFree(early);
        EXPECT_EQ(mem.freeCalls, 0);
        EXPECT_EQ(kv::heapBlocksOutstanding(), heapBefore);

        kv::MemFree(block);
        kv::MemFree(moduleBlock);
        kv::MemFree(nullptr);
        EXPECT_EQ(mem.freeCalls, 2);
        EXPECT_EQ(mem.foreignFrees, 0);
        EXPECT_EQ(mem.liveBlocks("FLT"), 0);

        kv::MemCheckpoint("Start of _LoadKorvane");
        EXPECT_EQ(mem.checkpoints, std::vector<std::string>{"Start of _LoadKorvane"});
    }

    // Unbound again: a MEM block that outlived the binding is not touched,
    // and a heap block still goes back to the heap.
    int stray = 0;
    kv::MemFree(&stray);
    void* late = kv::ModuleAlloc(0);
    ASSERT_NE(late, nullptr);
    kv::MemFree(late);
    EXPECT_EQ(kv::heapBlocksOutstanding(), heapBefore);
}

TEST(ModuleServices, TraceMessageReachesOnlyAnInstalledSink) {
    std::vector<std::string> lines;
    kv::TraceSink collect = [](const char* text, void* context) {
        static_cast<std::vector<std::string>*>(context)->push_back(text);
    };
    EXPECT_EQ(kv::setTraceSink(collect, &lines), nullptr);  // none by default

    kv::TraceMessage("Error Reading %s!", "Flight.ini");
    kv::TraceMessage("Unable to exit application shell %s from DLL %s!", "FLT", "FLX");
    const std::string longText(5000, 'x');
    kv::TraceMessage("%s", longText.c_str());
    EXPECT_EQ(kv::setTraceSink(nullptr, nullptr), collect);
    kv::TraceMessage("dropped %d", 1);

    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Error Reading Flight.ini!");
    EXPECT_EQ(lines[1], "Unable to exit application shell FLT from DLL FLX!");
    EXPECT_EQ(lines[2], std::string(1023, 'x'));  // message lines are 1024 bytes
}

}  // namespace
