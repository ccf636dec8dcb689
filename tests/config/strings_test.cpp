#include "config/strings.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/code_page.h"
#include "tests/support/counting_memory.h"

namespace {

using kvtest::CodePage;

// A buffer with a guard region behind it, to prove nothing is written at or
// past the size handed to a bounded operation.
struct Guarded {
    static const int kGuard = 16;
    explicit Guarded(int size) : size(size), bytes(static_cast<std::size_t>(size + kGuard), '#') {}
    char* data() { return &bytes[0]; }
    bool guardIntact() const {
        return bytes.compare(static_cast<std::size_t>(size), kGuard, std::string(kGuard, '#')) == 0;
    }
    int size;
    std::string bytes;
};

TEST(Strings, CopyBoundedCutsAtSizeMinusOneAndTerminates) {
    const std::string longSource(300, 'a');
    Guarded out(260);
    kv::strCopyBounded(out.data(), longSource.c_str(), 260);
    EXPECT_EQ(std::strlen(out.data()), 259u);
    EXPECT_TRUE(out.guardIntact());

    struct Case {
        const char* source;
        int size;
        const char* expected;
    } cases[] = {
        {"abcd", 5, "abcd"}, {"abcde", 5, "abcd"}, {"abc", 1, ""},
        {"", 8, ""},         {nullptr, 8, ""},
    };
    for (const Case& c : cases) {
        Guarded buffer(c.size);
        EXPECT_EQ(kv::strCopyBounded(buffer.data(), c.source, c.size), buffer.data());
        EXPECT_STREQ(buffer.data(), c.expected) << c.size;
        EXPECT_TRUE(buffer.guardIntact());
    }
    EXPECT_EQ(kv::strCopyBounded(nullptr, "abc", 4), nullptr);
    char untouched[4] = "xyz";
    kv::strCopyBounded(untouched, "abc", 0);
    EXPECT_STREQ(untouched, "xyz");
}

TEST(Strings, AppendBoundedKeepsTheWholeStringWithinSize) {
    struct Case {
        const char* start;
        const char* source;
        int size;
        const char* expected;
    } cases[] = {
        {"xy", "abc", 5, "xyab"},  {"xy", "ab", 5, "xyab"}, {"xyzw", "a", 5, "xyzw"},
        {"", "abc", 4, "abc"},     {"xy", "", 5, "xy"},     {"xy", nullptr, 5, "xy"},
        {"xy", "abc", 3, "xy"},
    };
    for (const Case& c : cases) {
        Guarded buffer(c.size);
        std::strcpy(buffer.data(), c.start);
        kv::strAppendBounded(buffer.data(), c.source, c.size);
        EXPECT_STREQ(buffer.data(), c.expected) << c.start << "+" << (c.source ? c.source : "null");
        EXPECT_TRUE(buffer.guardIntact());
    }
    // A destination that is not terminated within its size is cut, not
    // read or written past it.
    Guarded full(4);
    std::memcpy(full.data(), "abcd", 4);
    kv::strAppendBounded(full.data(), "e", 4);
    EXPECT_STREQ(full.data(), "abc");
    EXPECT_TRUE(full.guardIntact());

    // No destination, or one of no bytes: nothing is written.
    kv::strAppendBounded(nullptr, "e", 4);
    char area[8] = "abc\0###";
    kv::strAppendBounded(area + 2, "e", 0);
    EXPECT_EQ(std::string(area, 8), std::string("abc\0###\0", 8));
}

TEST(Strings, BoundedOperationsNeverSplitADoubleByteCharacter) {
    CodePage page(932);
    // "a" then two double-byte characters; the second ends in 0x5C.
    const char* text = "a\x83\x41\x95\x5C";
    char copy[5];
    kv::strCopyBounded(copy, text, 5);
    EXPECT_STREQ(copy, "a\x83\x41");  // 0x95 alone would be half a character

    char appended[6] = "xy";
    kv::strAppendBounded(appended, "\x83\x41\x95\x5C", 6);
    EXPECT_STREQ(appended, "xy\x83\x41");
}

TEST(Strings, EqualityEmptinessAndCase) {
    EXPECT_TRUE(kv::strEqual("Sound", "SOUND", 0));
    EXPECT_FALSE(kv::strEqual("Sound", "SOUND", 1));
    EXPECT_TRUE(kv::strEqual("Sound", "Sound", 1));
    EXPECT_FALSE(kv::strEqual("", "", 0));
    EXPECT_FALSE(kv::strEqual(nullptr, nullptr, 1));
    EXPECT_FALSE(kv::strEqual("a", nullptr, 0));
    EXPECT_TRUE(kv::strIsEmpty(nullptr));
    EXPECT_TRUE(kv::strIsEmpty(""));
    EXPECT_FALSE(kv::strIsEmpty(" "));
    char text[] = "abc";
    kv::strClear(text);
    EXPECT_STREQ(text, "");
    kv::strClear(nullptr);
}

TEST(Strings, CaseConversionTouchesOnlyAsciiLetters) {
    char mixed[] = "abz AZ 09 \xE9\xC9\xFF _{}";
    kv::strToUpper(mixed);
    EXPECT_STREQ(mixed, "ABZ AZ 09 \xE9\xC9\xFF _{}");
    kv::strToLower(mixed);
    EXPECT_STREQ(mixed, "abz az 09 \xE9\xC9\xFF _{}");

    CodePage page(932);
    // Trail bytes 0x61 and 0x41 look like letters but belong to characters.
    char japanese[] = "\x82\x61x\x82\x41X";
    kv::strToUpper(japanese);
    EXPECT_STREQ(japanese, "\x82\x61X\x82\x41X");
    kv::strToLower(japanese);
    EXPECT_STREQ(japanese, "\x82\x61x\x82\x41x");
    kv::strToUpper(nullptr);
}

TEST(Strings, TrimRemovesTheSixWhiteSpaceBytesAtBothEnds) {
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"  a b  ", "a b"}, {" \t\r\n\v\f", ""}, {"", ""},       {"x", "x"},
        {"\tkey = v\r\n", "key = v"},             {"\xA0x\xA0", "\xA0x\xA0"},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        kv::strTrim(&text[0]);
        EXPECT_STREQ(text.c_str(), c.expected) << c.text;
    }
    CodePage page(936);
    // 0xA1A1 is the page's wide space: text here, not white space.
    char wide[] = " \xA1\xA1x\xA1\xA1 ";
    kv::strTrim(wide);
    EXPECT_STREQ(wide, "\xA1\xA1x\xA1\xA1");
    kv::strTrim(nullptr);
}

TEST(Strings, DuplicateAndFreeUseTheModuleAllocator) {
    kvtest::CountingMemory mem;
    char* copy = kv::strDuplicate("Flight.ini");
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "Flight.ini");
    EXPECT_TRUE(mem.owns(copy));
    char* empty = kv::strDuplicate("");
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty, "");
    EXPECT_EQ(kv::strDuplicate(nullptr), nullptr);

    kv::strFree(&copy);
    kv::strFree(&empty);
    EXPECT_EQ(copy, nullptr);
    EXPECT_EQ(empty, nullptr);
    kv::strFree(&copy);  // already null: nothing to free
    kv::strFree(nullptr);
    EXPECT_EQ(mem.liveBlocks(), 0);
    EXPECT_EQ(mem.foreignFrees, 0);

    mem.failAfter = 0;
    EXPECT_EQ(kv::strDuplicate("x"), nullptr);
}

}  // namespace
