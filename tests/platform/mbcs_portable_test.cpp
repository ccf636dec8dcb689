// The portable character-set layer on the pages and names the runtime
// comparison does not reach: the double-byte pages 936, 949 and 950, UTF-8,
// the page a locale selects, and which pages can be selected at all. The
// portable functions are called directly, so Windows builds check the same
// implementation that every other build uses.
#include <clocale>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "platform/mbcs.h"

namespace {

namespace mb = kv::portable;

// Selects a page of the portable layer for one scope only.
class PortablePage {
public:
    explicit PortablePage(int cp) : saved_(mb::getCodePage()) { EXPECT_TRUE(mb::setCodePage(cp)) << cp; }
    ~PortablePage() { mb::setCodePage(saved_); }
    PortablePage(const PortablePage&) = delete;
    PortablePage& operator=(const PortablePage&) = delete;

private:
    int saved_;
};

long offset(const char* s, const char* hit) { return hit ? static_cast<long>(hit - s) : -1L; }

TEST(MbcsPortable, CodesetAndLocaleNamesSelectTheirPage) {
    struct Case {
        const char* name;
        int page;
    } codesets[] = {
        {"UTF-8", 65001},      {"utf8", 65001},        {"SJIS", 932},          {"Shift_JIS", 932},
        {"cp932", 932},        {"WINDOWS-31J", 932},   {"MS_Kanji", 932},      {"GBK", 936},
        {"gb2312", 936},       {"CP936", 936},         {"EUC-CN", 936},        {"euc-kr", 949},
        {"CP949", 949},        {"UHC", 949},           {"Big5", 950},          {"CP950", 950},
        {"932", 932},          {"936", 936},           {"949", 949},           {"950", 950},
        {"65001", 65001},
        // Everything else reads as single byte: guessing a double-byte page
        // for EUC-JP would pair bytes that are not characters there.
        {"EUC-JP", 0},         {"1252", 0},            {"ANSI_X3.4-1968", 0},  {"ISO-8859-1", 0},
        {"932x", 0},           {"-", 0},               {"", 0},
    };
    for (const Case& c : codesets) EXPECT_EQ(mb::codePageFromCodeset(c.name), c.page) << c.name;
    EXPECT_EQ(mb::codePageFromCodeset(nullptr), 0);

    const Case locales[] = {
        {"ja_JP.SJIS", 932},
        {"Japanese_Japan.932", 932},
        {"Chinese (Traditional)_Taiwan.950", 950},
        {"Chinese_Hong Kong S.A.R..950", 950},  // dots in the country's name
        {"ko_KR.eucKR@dict", 949},  // the modifier is not part of the codeset
        {"sr_RS.UTF-8@latin", 65001},
        {"zh_CN.GB2312", 936},
        {"de_DE@euro", 0},  // no codeset at all
        {"ja_JP", 0},
        {"C", 0},
        {"ja_JP.", 0},
        {"", 0},
    };
    for (const Case& c : locales) EXPECT_EQ(mb::codePageFromLocaleName(c.name), c.page) << c.name;
    EXPECT_EQ(mb::codePageFromLocaleName(nullptr), 0);
}

TEST(MbcsPortable, TheProcessLocaleSelectsItsPage) {
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    if (!std::setlocale(LC_CTYPE, "C.UTF-8") && !std::setlocale(LC_CTYPE, "C.utf8")) {
        std::setlocale(LC_CTYPE, saved.c_str());
        GTEST_SKIP() << "no UTF-8 locale is installed";
    }
    EXPECT_EQ(mb::codePageFromLocale(), kv::kCodePageUtf8);
    ASSERT_TRUE(std::setlocale(LC_CTYPE, "C"));
    EXPECT_EQ(mb::codePageFromLocale(), kv::kCodePageSingleByte);
    // Names without a codeset take the locale's own; only machines with
    // these locales installed can show it.
    const struct {
        const char* name;
        int page;
    } bare[] = {{"zh_CN", 936}, {"ko_KR", 949}, {"zh_TW", 950}};
    for (const auto& b : bare) {
        if (std::setlocale(LC_CTYPE, b.name)) {
            EXPECT_EQ(mb::codePageFromLocale(), b.page) << b.name;
        }
    }
    std::setlocale(LC_CTYPE, saved.c_str());
}

TEST(MbcsPortable, OnlyPagesItKnowsCanBeSelected) {
    PortablePage page(932);
    for (int cp : {0, 37, 437, 1250, 1252, 1258, 28591, 28605, 936, 949, 950, 932, 65001}) {
        EXPECT_TRUE(mb::setCodePage(cp)) << cp;
        EXPECT_EQ(mb::getCodePage(), cp);
    }
    // Refused pages leave the page in use: -1 would make the next call read
    // the locale again, 1200/1201 are UTF-16, 1361 is a double-byte page
    // whose lead bytes we do not know, the rest are no pages at all.
    mb::setCodePage(949);
    for (int cp : {-1, 36, 1200, 1201, 1259, 1361, 12345, 28590, 28606, 65000, 65002}) {
        EXPECT_FALSE(mb::setCodePage(cp)) << cp;
        EXPECT_EQ(mb::getCodePage(), 949) << cp;
    }
}

// 936, 949 and 950 share their lead-byte range; each has its own letters,
// case pairs and wide space.
TEST(MbcsPortable, ChineseAndKoreanPagesStepFoldAndSpaceByCharacter) {
    struct Page {
        int cp;
        unsigned upperA, lowerA;  // full-width A and a
        unsigned wideSpace;
        unsigned upperOwn, lowerOwn;  // a case pair only this page has there
    } pages[] = {{936, 0xA3C1, 0xA3E1, 0xA1A1, 0xA2F1, 0xA2A1},   // roman numeral one
                 {949, 0xA3C1, 0xA3E1, 0xA1A1, 0xA5B0, 0xA5A1},   // roman numeral one
                 {950, 0xA2CF, 0xA2E9, 0xA140, 0xA344, 0xA35C}};  // Greek alpha
    for (const Page& p : pages) {
        SCOPED_TRACE(p.cp);
        PortablePage page(p.cp);
        EXPECT_FALSE(mb::isLeadByte(0x80));
        EXPECT_TRUE(mb::isLeadByte(0x81));
        EXPECT_TRUE(mb::isLeadByte(0xFE));
        EXPECT_FALSE(mb::isLeadByte(0xFF));
        EXPECT_FALSE(mb::isLeadByte('\\'));

        // Trail bytes 0x5C, 0x5B and 0x5D are never separators or brackets.
        const char* s = "a\x81\x5C\\\xFE[[";
        EXPECT_EQ(mb::next(s + 1), s + 3);
        EXPECT_EQ(offset(s, mb::chr(s, '\\')), 3);
        EXPECT_EQ(offset(s, mb::rchr(s, '[')), 6);
        EXPECT_EQ(offset(s, mb::pbrk(s, "[\\")), 3);
        EXPECT_EQ(offset(s, mb::chr(s, 0xFE5B)), 4);

        EXPECT_EQ(mb::toUpper(p.lowerA), p.upperA);
        EXPECT_EQ(mb::toLower(p.upperA), p.lowerA);
        EXPECT_EQ(mb::toUpper(p.lowerA + 1), p.upperA + 1);
        EXPECT_EQ(mb::toUpper(p.lowerOwn), p.upperOwn);
        EXPECT_EQ(mb::toLower(p.upperOwn), p.lowerOwn);
        EXPECT_EQ(mb::toUpper(0xB0A1), 0xB0A1u);  // an ideograph has no case
        EXPECT_EQ(mb::toUpper(0xE0), 0xE0u);       // nor a lone high byte
        EXPECT_EQ(mb::toLower(0xC0), 0xC0u);

        // Case-blind comparison folds the full-width letters too and orders
        // by the folded character.
        const std::string upper = std::string(1, char(p.upperA >> 8)) + char(p.upperA & 0xFF) + "B";
        const std::string lower = std::string(1, char(p.lowerA >> 8)) + char(p.lowerA & 0xFF) + "b";
        const std::string lowerB = std::string(1, char(p.lowerA >> 8)) + char((p.lowerA + 1) & 0xFF);
        EXPECT_EQ(mb::icmp(upper.c_str(), lower.c_str()), 0);
        EXPECT_NE(mb::cmp(upper.c_str(), lower.c_str()), 0);
        EXPECT_LT(mb::icmp(upper.c_str(), lowerB.c_str()), 0);
        EXPECT_GT(mb::icmp(lowerB.c_str(), upper.c_str()), 0);

        EXPECT_TRUE(mb::isSpace(p.wideSpace));
        EXPECT_FALSE(mb::isSpace(p.wideSpace == 0xA1A1 ? 0xA140 : 0xA1A1));
        EXPECT_FALSE(mb::isSpace(0x8140));
        EXPECT_FALSE(mb::isSpace(0xA0));
    }
}

TEST(MbcsPortable, Utf8SequencesStandAloneWhereTheyAreNoLead) {
    PortablePage page(kv::kCodePageUtf8);
    const char* s = "\xC3\xA9\xF4\x8F\xBF\xBF" "a";
    EXPECT_EQ(mb::next(s), s + 2);
    EXPECT_EQ(mb::next(s + 2), s + 6);
    EXPECT_EQ(offset(s, mb::chr(s, 'a')), 6);
    EXPECT_EQ(offset(s, mb::chr(s, 0xC3A9)), 0);
    // Bytes that start no sequence (overlong 0xC0/0xC1, beyond U+10FFFF from
    // 0xF5) are characters of one byte, so a following ASCII byte is found.
    for (unsigned b : {0x80u, 0xC0u, 0xC1u, 0xF5u, 0xFFu}) {
        SCOPED_TRACE(b);
        EXPECT_FALSE(mb::isLeadByte(static_cast<unsigned char>(b)));
        const char t[] = {static_cast<char>(b), '\\', 0};
        EXPECT_EQ(mb::next(t), t + 1);
        EXPECT_EQ(offset(t, mb::chr(t, '\\')), 1);
    }
    EXPECT_TRUE(mb::isLeadByte(0xC2));
    EXPECT_TRUE(mb::isLeadByte(0xF4));

    // Only ASCII changes case; comparison folds ASCII only.
    EXPECT_EQ(mb::toUpper(0xC3A9), 0xC3A9u);
    EXPECT_EQ(mb::toLower(0xC389), 0xC389u);
    EXPECT_EQ(mb::toUpper(0xE0), 0xE0u);
    EXPECT_EQ(mb::toUpper('z'), unsigned('Z'));
    EXPECT_EQ(mb::icmp("\xC3\xA9X", "\xC3\xA9x"), 0);
    EXPECT_NE(mb::icmp("\xC3\xA9", "\xC3\x89"), 0);
    EXPECT_TRUE(mb::isSpace(0xC2A0));
    EXPECT_FALSE(mb::isSpace(0xA0));

    // Text already in the buffer is never cut back in UTF-8, where a cut
    // sequence may be longer than the one dangling lead byte the double-byte
    // pages drop; the appended text still never splits a sequence.
    char dst[16] = "x\xC3";
    mb::ncatBytes(dst, "\xC3\xA9\xC3\xA9", 3);
    EXPECT_STREQ(dst, "x\xC3\xC3\xA9");
    char cut[16] = "\xE2\x82";
    mb::ncatBytes(cut, "a", 4);
    EXPECT_STREQ(cut, "\xE2\x82" "a");
}

TEST(MbcsPortable, SingleBytePagesOrderFoldAndSpaceAtTheirEdges) {
    {
        PortablePage page(1252);
        // Either order gives the opposite sign.
        EXPECT_GT(mb::icmp("b", "A"), 0);
        EXPECT_LT(mb::icmp("A", "b"), 0);
        EXPECT_GT(mb::icmp("a", "a\xE0"), 0);
        EXPECT_LT(mb::cmp("a", "ab"), 0);
        EXPECT_EQ(mb::cmp("", ""), 0);
        EXPECT_GT(mb::cmp("a", ""), 0);

        // The letters end at 'a'..'z' / 'A'..'Z', not at their neighbours.
        for (unsigned c : {'@', '[', '`', '{', '0'}) {
            EXPECT_EQ(mb::toUpper(c), c);
            EXPECT_EQ(mb::toLower(c), c);
        }
        EXPECT_EQ(mb::toUpper('a'), unsigned('A'));
        EXPECT_EQ(mb::toLower('Z'), unsigned('z'));

        for (unsigned c : {'\t', '\n', '\r', ' '}) EXPECT_TRUE(mb::isSpace(c)) << c;
        for (unsigned c : {0x08u, 0x0Eu, 0x1Fu, 0x00u, 0x85u}) EXPECT_FALSE(mb::isSpace(c)) << c;
    }
    {
        // Single-byte pages other than 1252 change the case of ASCII only:
        // 1252's accented letters are other letters there.
        PortablePage page(1253);
        EXPECT_EQ(mb::toUpper(0xE0), 0xE0u);
        EXPECT_EQ(mb::toLower(0xC0), 0xC0u);
        EXPECT_EQ(mb::toUpper('b'), unsigned('B'));
        EXPECT_EQ(mb::toLower('B'), unsigned('b'));
        EXPECT_TRUE(mb::isSpace(0xA0));
    }
}

TEST(MbcsPortable, AppendKeepsACompleteDoubleByteCharacterAtTheEnd) {
    PortablePage page(932);
    // Only a lead byte left alone before the terminator is dropped; a whole
    // character there, even one whose trail is 0x5C, stays.
    char dst[16] = "q\x82\x60";
    mb::ncatBytes(dst, "ab", 8);
    EXPECT_STREQ(dst, "q\x82\x60" "ab");
    char path[16] = "\x95\x5C";
    mb::ncatBytes(path, "\\x", 8);
    EXPECT_STREQ(path, "\x95\x5C\\x");
    char inner[16] = "\x83\x5Cx";
    mb::ncatBytes(inner, "y", 8);
    EXPECT_STREQ(inner, "\x83\x5Cxy");
    char lone[16] = "\x82";
    mb::ncatBytes(lone, "\x82\x60", 1);  // nothing fits: only the dangling lead goes
    EXPECT_STREQ(lone, "");
    EXPECT_EQ(kv::mbCharAt(""), 0u);
}

}  // namespace
