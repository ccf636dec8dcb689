#include "services/services.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "services/shell_binding.h"
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

// The table of heap blocks grows, reuses the marks of freed blocks and
// never loses one: every block handed out before MEM is bound goes back to
// the heap, whatever the order, and nothing else is taken for one of them.
TEST(ModuleServices, HeapBlocksOfAnUnboundModuleAllGoBackWhateverTheOrder) {
    ASSERT_EQ(kv::MEM, nullptr);
    const std::size_t before = kv::heapBlocksOutstanding();
    EXPECT_EQ(kv::ModuleAlloc(-1), nullptr);
    EXPECT_EQ(kv::heapBlocksOutstanding(), before);

    std::vector<void*> blocks;
    for (int i = 0; i < 300; ++i) blocks.push_back(kv::ModuleAlloc(8 + i % 40));
    for (void* block : blocks) ASSERT_NE(block, nullptr);
    EXPECT_EQ(kv::heapBlocksOutstanding(), before + blocks.size());

    // Every other block goes, then as many new ones come: they fill the marks
    // the freed ones left, and the table grows again past them.
    for (std::size_t i = 0; i < blocks.size(); i += 2) kv::MemFree(blocks[i]);
    EXPECT_EQ(kv::heapBlocksOutstanding(), before + blocks.size() / 2);
    for (std::size_t i = 0; i < blocks.size(); i += 2) blocks[i] = kv::ModuleAlloc(16);
    for (int i = 0; i < 200; ++i) blocks.push_back(kv::ModuleAlloc(24));
    for (void* block : blocks) ASSERT_NE(block, nullptr);
    EXPECT_EQ(kv::heapBlocksOutstanding(), before + blocks.size());

    // With heap blocks outstanding, a block MEM handed out is still MEM's.
    {
        kvtest::CountingMemory mem;
        void* memBlock = kv::MemAlloc(8);
        ASSERT_TRUE(mem.owns(memBlock));
        kv::MemFree(memBlock);
        EXPECT_EQ(mem.freeCalls, 1);
        EXPECT_EQ(mem.foreignFrees, 0);
        // ...and a heap block is not, even while MEM is bound.
        kv::MemFree(blocks.back());
        blocks.pop_back();
        EXPECT_EQ(mem.freeCalls, 1);
    }
    // Unbound, a pointer the table never held is left alone.
    int stray = 0;
    kv::MemFree(&stray);
    EXPECT_EQ(kv::heapBlocksOutstanding(), before + blocks.size());

    for (std::size_t i = blocks.size(); i-- > 0;) kv::MemFree(blocks[i]);
    EXPECT_EQ(kv::heapBlocksOutstanding(), before);
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
    kv::TraceMessage(nullptr);  // nothing to write: no line, no crash
    EXPECT_EQ(kv::setTraceSink(nullptr, nullptr), collect);
    kv::TraceMessage("dropped %d", 1);

    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Error Reading Flight.ini!");
    EXPECT_EQ(lines[1], "Unable to exit application shell FLT from DLL FLX!");
    EXPECT_EQ(lines[2], std::string(1023, 'x'));  // message lines are 1024 bytes
}

}  // namespace
