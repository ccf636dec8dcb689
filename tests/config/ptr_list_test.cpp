#include "config/ptr_list.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/counting_memory.h"

namespace {

// Records begin with a pointer to their name, as sections and keys do.
struct Named {
    const char* name;
    int value;
};

std::vector<int> values(kv::PtrList& list) {
    std::vector<int> out;
    for (kv::PtrListNode* node = list.head; node; node = node->next)
        out.push_back(static_cast<Named*>(node->data)->value);
    return out;
}

// Walks back from the tail, to prove the previous links agree.
std::vector<int> valuesBackward(kv::PtrList& list) {
    std::vector<int> out;
    for (kv::PtrListNode* node = list.tail; node; node = node->previous)
        out.insert(out.begin(), static_cast<Named*>(node->data)->value);
    return out;
}

struct ThreeRecords {
    Named a{"Alpha", 0}, b{"Bravo", 1}, c{"Charlie", 2};
    kv::PtrList list;
    ThreeRecords() {
        list.append(&a);
        list.append(&b);
        list.append(&c);
    }
};

TEST(PtrList, AppendWalkAndClear) {
    kvtest::CountingMemory mem;
    {
        ThreeRecords r;
        EXPECT_EQ(r.list.count, 3);
        EXPECT_EQ(r.list.index, 2);
        EXPECT_EQ(r.list.currentData(), &r.c);
        EXPECT_EQ(values(r.list), (std::vector<int>{0, 1, 2}));
        EXPECT_EQ(valuesBackward(r.list), (std::vector<int>{0, 1, 2}));
        EXPECT_EQ(mem.liveBlocks(), 3);

        r.list.first();
        std::vector<int> walked;
        for (; r.list.current; r.list.next()) walked.push_back(r.list.index);
        EXPECT_EQ(walked, (std::vector<int>{0, 1, 2}));
        EXPECT_EQ(r.list.index, 3);  // past the tail: no node, index == count
        r.list.next();
        EXPECT_EQ(r.list.index, 3);

        r.list.clear();
        EXPECT_EQ(r.list.count, 0);
        EXPECT_EQ(r.list.index, -1);
        EXPECT_EQ(r.list.head, nullptr);
        EXPECT_EQ(mem.liveBlocks(), 0);
        r.list.first();
        EXPECT_EQ(r.list.index, -1);

        r.list.append(&r.a);
    }
    // The destructor frees what is left; records are never freed by the list.
    EXPECT_EQ(mem.liveBlocks(), 0);
    EXPECT_EQ(mem.foreignFrees, 0);
}

TEST(PtrList, RemoveCurrentAtHeadMiddleAndTail) {
    kvtest::CountingMemory mem;
    struct Case {
        int position;
        std::vector<int> remaining;
        int currentValue;  // -1: no current node
        int index;
    } cases[] = {
        {0, {1, 2}, 1, 0},
        {1, {0, 2}, 2, 1},
        {2, {0, 1}, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        ThreeRecords r;
        r.list.first();
        for (int i = 0; i < c.position; ++i) r.list.next();
        r.list.removeCurrent();
        EXPECT_EQ(r.list.count, 2);
        EXPECT_EQ(values(r.list), c.remaining);
        EXPECT_EQ(valuesBackward(r.list), c.remaining);
        ASSERT_NE(r.list.current, nullptr);
        EXPECT_EQ(static_cast<Named*>(r.list.currentData())->value, c.currentValue);
        EXPECT_EQ(r.list.index, c.index);
    }

    // Removing the only node leaves an empty list; with no current node
    // nothing happens.
    Named only{"Only", 9};
    kv::PtrList list;
    list.append(&only);
    list.removeCurrent();
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.current, nullptr);
    EXPECT_EQ(list.head, nullptr);
    EXPECT_EQ(list.tail, nullptr);
    EXPECT_EQ(list.index, -1);
    list.removeCurrent();
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(mem.liveBlocks(), 0);
}

TEST(PtrList, FindByNameResumesFromTheLastHitAndWraps) {
    kvtest::CountingMemory mem;
    Named a{"Graphics", 0}, b{"Sound", 1}, c{"World", 2}, d{"Map", 3};
    kv::PtrList list;
    for (Named* n : {&a, &b, &c, &d}) list.append(n);
    list.append(nullptr);  // a node without a record is passed over

    list.first();
    EXPECT_TRUE(list.findByName("SOUND"));  // case is ignored
    EXPECT_EQ(list.index, 1);
    EXPECT_TRUE(list.findByName("sound"));  // the current node is tried first
    EXPECT_EQ(list.index, 1);
    EXPECT_TRUE(list.findByName("Map"));
    EXPECT_EQ(list.index, 3);
    EXPECT_TRUE(list.findByName("Graphics"));  // wraps to the head
    EXPECT_EQ(list.index, 0);
    EXPECT_EQ(list.currentData(), &a);
    EXPECT_TRUE(list.findByName("World"));
    EXPECT_EQ(list.index, 2);

    EXPECT_FALSE(list.findByName("Missing"));
    EXPECT_EQ(list.current, nullptr);
    EXPECT_EQ(list.index, -1);
    EXPECT_EQ(list.currentData(), nullptr);
    // Without a current node the search starts at the head.
    EXPECT_TRUE(list.findByName("World"));
    EXPECT_EQ(list.index, 2);

    // Past the tail the search starts at the head too.
    list.first();
    while (list.current) list.next();
    EXPECT_TRUE(list.findByName("Sound"));
    EXPECT_EQ(list.index, 1);

    // A search for no name is a miss like any other.
    EXPECT_FALSE(list.findByName(""));
    EXPECT_EQ(list.current, nullptr);
    EXPECT_EQ(list.index, -1);
    EXPECT_TRUE(list.findByName("Sound"));
    EXPECT_FALSE(list.findByName(nullptr));
    EXPECT_EQ(list.current, nullptr);
    EXPECT_EQ(list.index, -1);
    kv::PtrList empty;
    EXPECT_FALSE(empty.findByName("Sound"));
    EXPECT_EQ(empty.index, -1);
}

TEST(PtrList, AllocationFailureLeavesTheListUnchanged) {
    kvtest::CountingMemory mem;
    Named a{"A", 0}, b{"B", 1};
    kv::PtrList list;
    ASSERT_EQ(list.append(&a), 1);
    mem.failAfter = 0;
    EXPECT_EQ(list.append(&b), 0);
    EXPECT_EQ(list.newNode(&b), nullptr);
    EXPECT_EQ(list.count, 1);
    EXPECT_EQ(list.index, 0);
    EXPECT_EQ(list.currentData(), &a);
    EXPECT_EQ(list.tail, list.head);
}

}  // namespace
