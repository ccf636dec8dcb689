#include "config/text_pool.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/counting_memory.h"

namespace {

TEST(TextPool, AppendKeepsOneByteFree) {
    kvtest::CountingMemory mem;
    kv::TextPool pool;
    EXPECT_EQ(pool.room(), 0);
    EXPECT_EQ(pool.appendString("x"), 0);  // no buffer yet

    ASSERT_EQ(pool.allocate(10), 1);
    EXPECT_EQ(pool.capacity, 11);
    EXPECT_EQ(pool.room(), 11);
    EXPECT_EQ(mem.liveBlocks(), 1);

    ASSERT_EQ(pool.appendString("abcd"), 1);  // 5 bytes, 6 left
    EXPECT_STREQ(pool.cursor, "abcd");
    EXPECT_EQ(pool.room(), 6);
    // Exactly length + 1 bytes of room: refused, and nothing changes.
    EXPECT_EQ(pool.appendString("vwxyz"), 0);
    EXPECT_EQ(pool.room(), 6);
    EXPECT_STREQ(pool.cursor, "abcd");
    // One byte less fits and leaves the last byte free.
    ASSERT_EQ(pool.appendString("wxyz"), 1);
    EXPECT_EQ(pool.room(), 1);
    EXPECT_EQ(pool.base[10], '\0');
    EXPECT_EQ(pool.appendString(""), 0);
    EXPECT_EQ(pool.appendString(nullptr), 0);

    pool.release();
    EXPECT_EQ(pool.base, nullptr);
    EXPECT_EQ(pool.room(), 0);
    EXPECT_EQ(mem.liveBlocks(), 0);
}

TEST(TextPool, SeekAndSkipWalkStringsUpToEnd) {
    kvtest::CountingMemory mem;
    kv::TextPool pool;
    ASSERT_EQ(pool.allocate(64), 1);
    std::vector<char*> strings;
    for (const char* s : {"Sound", "", "Volume=7"}) {
        ASSERT_EQ(pool.appendString(s), 1);
        strings.push_back(pool.cursor);
    }

    ASSERT_EQ(pool.seek(strings[0]), 1);
    std::vector<std::string> walked;
    for (; pool.more(); pool.skipString()) walked.push_back(pool.cursor);
    EXPECT_EQ(walked, (std::vector<std::string>{"Sound", "", "Volume=7"}));
    EXPECT_EQ(pool.cursor, pool.end);
    EXPECT_EQ(pool.skipString(), pool.end);  // never past end

    EXPECT_EQ(pool.seek(strings[2]), 1);
    EXPECT_EQ(pool.cursor, strings[2]);
    EXPECT_EQ(pool.seek(strings[2] + 1), 0);  // not the start of a string
    EXPECT_EQ(pool.seek(pool.end), 0);
    EXPECT_EQ(pool.seek(nullptr), 0);
    EXPECT_EQ(pool.cursor, strings[2]);

    // Text written in place and counted with grow reads like appended text.
    pool.clear();
    EXPECT_EQ(pool.room(), 65);
    EXPECT_FALSE(pool.more());
    std::memcpy(pool.end, "a\0bc", 5);
    pool.grow(5);
    ASSERT_EQ(pool.seek(pool.base + 2), 1);
    EXPECT_STREQ(pool.cursor, "bc");
    pool.grow(1000);  // cannot run past the buffer
    EXPECT_EQ(pool.room(), 0);

    // A tail written without its terminator: a seek into it fails, and
    // a skip over it stops at end.
    pool.clear();
    std::memcpy(pool.end, "ab\0cd", 5);
    pool.grow(5);
    EXPECT_EQ(pool.seek(pool.base + 4), 0);
    ASSERT_EQ(pool.seek(pool.base + 3), 1);
    EXPECT_EQ(pool.skipString(), pool.end);
    // Growing by nothing, or by less, leaves end where it is.
    char* const end = pool.end;
    pool.grow(0);
    pool.grow(-3);
    EXPECT_EQ(pool.end, end);

    kv::TextPool unallocated;
    EXPECT_EQ(unallocated.seek("x"), 0);
    EXPECT_FALSE(unallocated.more());
    EXPECT_EQ(unallocated.skipString(), nullptr);
    unallocated.grow(4);
    EXPECT_EQ(unallocated.end, nullptr);
}

TEST(TextPool, AllocationReplacesTheBufferAndFailureLeavesNone) {
    kvtest::CountingMemory mem;
    {
        kv::TextPool pool;
        ASSERT_EQ(pool.allocate(8), 1);
        ASSERT_EQ(pool.allocate(16), 1);
        EXPECT_EQ(mem.liveBlocks(), 1);
        EXPECT_EQ(pool.capacity, 17);
        mem.failAfter = 0;
        EXPECT_EQ(pool.allocate(4), 0);
        EXPECT_EQ(pool.base, nullptr);
        EXPECT_EQ(pool.capacity, 0);
        EXPECT_EQ(pool.appendString("x"), 0);
        mem.failAfter = -1;
        EXPECT_EQ(pool.allocate(-1), 0);
        // n + 1 bytes would not fit 32 bits: refused without asking.
        const int calls = mem.allocCalls;
        EXPECT_EQ(pool.allocate(INT32_MAX), 0);
        EXPECT_EQ(mem.allocCalls, calls);
        EXPECT_EQ(pool.base, nullptr);
        ASSERT_EQ(pool.allocate(4), 1);
    }
    EXPECT_EQ(mem.liveBlocks(), 0);  // the destructor releases the buffer
    EXPECT_EQ(mem.foreignFrees, 0);
}

}  // namespace
