#include "platform/mbcs.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/code_page.h"

namespace {

using kvtest::CodePage;

TEST(Mbcs, TrailBytesAreNeverTakenForAsciiIn932) {
    CodePage page(932);
    // Each string holds one double-byte character whose trail is the ASCII
    // character searched for, then the real one.
    struct Case {
        const char* text;
        unsigned ascii;
        long chrAt, rchrAt;
    } cases[] = {
        {"\x83\x5C" "\\", '\\', 2, 2},      {"\x95\\x\\", '\\', 3, 3},
        {"\x81[a[", '[', 3, 3},             {"\x81]]\x81]", ']', 2, 2},
        {"\x81@\x81@", '@', -1, -1},        {"\x82" "A" "A\x82" "A", 'A', 2, 2},
        {"\xE0" "a", 'a', -1, -1},          {"x\xFC\\", '\\', -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const char* hit = kv::mbChr(c.text, c.ascii);
        const char* last = kv::mbRChr(c.text, c.ascii);
        EXPECT_EQ(hit ? hit - c.text : -1, c.chrAt);
        EXPECT_EQ(last ? last - c.text : -1, c.rchrAt);
        EXPECT_EQ(kv::mbChr(c.text, 0), c.text + std::strlen(c.text));
        EXPECT_EQ(kv::mbRChr(c.text, 0), c.text + std::strlen(c.text));
    }
    const char* s = "\x83\x5Cx\x82\x60";
    EXPECT_EQ(kv::mbChr(s, 0x835C), s);
    EXPECT_EQ(kv::mbRChr(s, 0x8260), s + 3);
    EXPECT_EQ(kv::mbCharAt(s), 0x835Cu);
    EXPECT_EQ(kv::mbNext(s), s + 2);
    EXPECT_TRUE(kv::mbIsLeadByte(0x9F));
    EXPECT_FALSE(kv::mbIsLeadByte(0xA1));  // half-width katakana stand alone
    EXPECT_TRUE(kv::mbIsLeadByte(0xE0));
    EXPECT_FALSE(kv::mbIsLeadByte(0xFD));
}

TEST(Mbcs, DanglingLeadByteStopsAtTerminator) {
    CodePage page(932);
    const char s[] = "a\x81";
    EXPECT_EQ(kv::mbNext(s + 1), s + 2);
    EXPECT_EQ(kv::mbNext(s + 2), s + 2);
    EXPECT_EQ(kv::mbCharAt(s + 1), 0x81u);
#ifndef _WIN32
    // The Windows runtime's searches read on past such a terminator.
    EXPECT_EQ(kv::mbRChr(s, 0), s + 2);
#endif
    char dst[8] = "q\x82";  // a lead byte left at the end is dropped
    kv::mbNCatBytes(dst, "ab", 8);
    EXPECT_STREQ(dst, "qab");
}

TEST(Mbcs, PBrkMatchesWholeCharacters) {
    CodePage page(932);
    const char* s = "\x81[x[\x82\x60";
    EXPECT_EQ(kv::mbPBrk(s, "["), s + 3);
    EXPECT_EQ(kv::mbPBrk(s, "\x82\x60"), s + 4);
    EXPECT_EQ(kv::mbPBrk(s, "\x81["), s);
    EXPECT_EQ(kv::mbPBrk(s, "`"), nullptr);  // 0x60 is only a trail byte here
    EXPECT_EQ(kv::mbPBrk("", "a"), nullptr);
}

TEST(Mbcs, ComparisonsOrderByCharacter) {
    {
        CodePage page(932);
        EXPECT_LT(kv::mbCmp("\xA1", "\x82\x60"), 0);  // single byte < any double byte
        EXPECT_GT(kv::mbCmp("ab", "a"), 0);
        EXPECT_EQ(kv::mbCmp("\x82\x60z", "\x82\x60z"), 0);
        EXPECT_EQ(kv::mbICmp("\x82\x60" "B", "\x82\x81" "b"), 0);  // full-width A/a
        EXPECT_GT(kv::mbICmp("A", "_"), 0);  // folds to lower case
        EXPECT_NE(kv::mbICmp("\x83\x5C", "\x83\x7C"), 0);
    }
    {
        CodePage page(1252);
        EXPECT_GT(kv::mbCmp("\xE0", "a"), 0);
        EXPECT_EQ(kv::mbICmp("HeLLo", "hello"), 0);
        EXPECT_NE(kv::mbICmp("\xC0", "\xE0"), 0);  // only ASCII folds in comparison
        EXPECT_LT(kv::mbICmp("a\xE0", "a"), 0);   // high bytes sort as signed chars
        EXPECT_LT(kv::mbICmp("\xFF", "A"), 0);
    }
}

TEST(Mbcs, BoundedCopyAndAppendKeepCharactersWhole) {
    CodePage page(932);
    struct Case {
        const char* src;
        std::size_t n;
        const char* expected;  // n bytes
    } cases[] = {
        {"a\x82\x60", 2, "a\0"},
        {"a\x82\x60", 3, "a\x82\x60"},
        {"a\x82\x60", 5, "a\x82\x60\0\0"},
        {"\x83\x5C\x83\x5C", 3, "\x83\x5C\0"},
        {"", 2, "\0\0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        char dst[8];
        std::memset(dst, 'x', sizeof dst);
        kv::mbNCpyBytes(dst, c.src, c.n);
        EXPECT_EQ(std::string(dst, c.n), std::string(c.expected, c.n));
        EXPECT_EQ(dst[c.n], 'x');  // nothing written beyond n
    }
    char dst[16] = "q";
    kv::mbNCatBytes(dst, "a\x82\x60z", 2);
    EXPECT_STREQ(dst, "qa");
    kv::mbNCatBytes(dst, "\x82\x60z", 3);
    EXPECT_STREQ(dst, "qa\x82\x60z");
}

TEST(Mbcs, CaseConversionAndSpaceFollowTheCodePage) {
    {
        CodePage page(932);
        for (unsigned i = 0; i < 26; ++i) {
            EXPECT_EQ(kv::mbToUpper(0x8281 + i), 0x8260 + i);
            EXPECT_EQ(kv::mbToLower(0x8260 + i), 0x8281 + i);
        }
        EXPECT_EQ(kv::mbToUpper('q'), unsigned('Q'));
        EXPECT_EQ(kv::mbToUpper(0xB1), 0xB1u);    // katakana have no case
        EXPECT_EQ(kv::mbToUpper(0x835C), 0x835Cu);
        EXPECT_EQ(kv::mbToUpper(0x83BF), 0x839Fu);  // Greek alpha
        EXPECT_TRUE(kv::mbIsSpace(0x8140));
        EXPECT_FALSE(kv::mbIsSpace(0xA0));
    }
    {
        CodePage page(1252);
        EXPECT_EQ(kv::mbToUpper(0xE0), 0xC0u);
        EXPECT_EQ(kv::mbToLower(0xC0), 0xE0u);
        EXPECT_EQ(kv::mbToUpper(0xF7), 0xF7u);  // division sign
        EXPECT_EQ(kv::mbToLower(0xD7), 0xD7u);  // multiplication sign
        EXPECT_EQ(kv::mbToUpper(0xFF), 0x9Fu);
        EXPECT_TRUE(kv::mbIsSpace(0xA0));
        EXPECT_TRUE(kv::mbIsSpace('\v'));
        EXPECT_FALSE(kv::mbIsSpace(0x8140));
        EXPECT_FALSE(kv::mbIsLeadByte(0x82));
    }
}

TEST(Mbcs, CodePageSelection) {
    const int saved = kv::mbGetCodePage();
    EXPECT_FALSE(kv::mbSetCodePage(12345));
    EXPECT_EQ(kv::mbGetCodePage(), saved);
    ASSERT_TRUE(kv::mbSetCodePage(936));
    EXPECT_EQ(kv::mbGetCodePage(), 936);
    EXPECT_TRUE(kv::mbIsLeadByte(0xFE));
    EXPECT_FALSE(kv::mbIsLeadByte(0xFF));
    kv::mbSetCodePage(saved == 1252 ? kv::kCodePageSingleByte : saved);
}

TEST(Mbcs, Utf8StepsBySequenceLength) {
#ifdef _WIN32
    GTEST_SKIP() << "the Windows C runtime's multi-byte functions, which a Windows build uses, have no UTF-8 "
                    "code page";
#else
    CodePage page(kv::kCodePageUtf8);
    const char* s = "\xE2\x82\xAC" "a\xF0\x9F\x98\x80";
    EXPECT_EQ(kv::mbNext(s), s + 3);
    EXPECT_EQ(kv::mbCharAt(s), 0xE282ACu);
    EXPECT_EQ(kv::mbChr(s, 0xF09F9880u), s + 4);
    EXPECT_EQ(kv::mbChr(s, 0x82), nullptr);
    const char cut[] = "\xE2\x82";  // truncated sequence ends at the terminator
    EXPECT_EQ(kv::mbNext(cut), cut + 2);
    char dst[8];
    kv::mbNCpyBytes(dst, s, 5);
    EXPECT_EQ(std::string(dst, 5), std::string("\xE2\x82\xAC" "a\0", 5));
#endif
}

}  // namespace
