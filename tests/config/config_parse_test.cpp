#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "config/config_document.h"
#include "tests/config/config_support.h"
#include "tests/support/code_page.h"

namespace {

using kvtest::ConfigWorld;
using kvtest::render;

TEST(ConfigParse, LineEndsTrimmingAndValues) {
    const std::string lines[] = {
        "[Values]",
        "  Key  =  some value  ",
        "A=B=C",
        "Name=",
        "Blank=   ",  // blanks after "=": an empty text, not none
        "Tabbed=\t",
        "Count=12abc",
        "Scale=1.5",
        "Flag=TRUE",
        "Hex=0x10",
        "Exp=-2.5e2",
        "Big=99999999999",
        "Small=-99999999999",
        "Quoted=\"a ; b\" ; not a comment",
        "=5",
        "=6",
        "; Comment=1",
        "NoEquals",
        "",
        "\t",
    };
    const std::string expected =
        "[Values]\n"
        "Key=some value|0|0\n"
        "A=B=C|0|0\n"
        "Name=null|0|0\n"
        "Blank=|0|0\n"
        "Tabbed=|0|0\n"
        "Count=12abc|12|12\n"
        "Scale=1.5|1|1.5\n"
        "Flag=TRUE|0|0\n"
        "Hex=0x10|0|16\n"
        "Exp=-2.5e2|-2|-250\n"
        "Big=99999999999|2147483647|1e+11\n"
        "Small=-99999999999|-2147483648|-1e+11\n"
        "Quoted=\"a ; b\" ; not a comment|0|0\n"
        "=5|5|5\n"
        "=6|6|6\n";
    for (const char* end : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(::testing::PrintToString(end));
        std::string text;
        for (const auto& line : lines) text += line + end;
        ConfigWorld state;
        EXPECT_EQ(state.parse(text), expected);
        EXPECT_TRUE(state.trace.lines.empty()) << "empty names are never duplicates";
    }
    // No line end after the last line, and a zero byte that ends a line.
    ConfigWorld state;
    EXPECT_EQ(state.parse(std::string("[S]\nk=1\0j=2", 11)), "[S]\nk=1|1|1\nj=2|2|2\n");
}

TEST(ConfigParse, SectionHeadersAndLinesOutsideSections) {
    ConfigWorld state;
    EXPECT_EQ(state.parse("before=1\n"
                          "[ Sound ]\nv=1\n"
                          "[Open\nw=2\n"
                          "[Sound] ; volume\nx=3\n"
                          "[]\ny=4\n"
                          "[]\nz=5\n"),
              "[ Sound ]\nv=1|1|1\n"
              "[Open]\nw=2|2|2\n"
              "[Sound] ; volume]\nx=3|3|3\n"
              "[]\ny=4|4|4\n"
              "[]\nz=5|5|5\n");
}

TEST(ConfigParse, FirstSectionAndFirstKeyWin) {
    ConfigWorld state;
    EXPECT_EQ(state.parse("[Sound]\nSpeed=1\nspeed=2\nSPEED=3\nOther=4\n"
                          "[SOUND]\nSpeed=9\nNew=9\n"
                          "[Next]\nSpeed=5\n"),
              "[Sound]\nSpeed=1|1|1\nOther=4|4|4\n[Next]\nSpeed=5|5|5\n");
    EXPECT_EQ(state.trace.lines, (std::vector<std::string>{
                                     "Deleting duplicate key speed from .\\top.ini...",
                                     "Deleting duplicate key SPEED from .\\top.ini...",
                                     "Deleting duplicate section SOUND from .\\top.ini...",
                                 }));
}

TEST(ConfigParse, IncludesAreReadDepthFirstAfterTheirFile) {
    ConfigWorld state;
    auto& files = state.files.files;
    files["top.ini"] =
        "[Top]\na=1\n#include b.ini\nignored=1\n"
        "[Sound]\nv=top\n"
        "#include \"my file.ini\" trailing words\n"
        "#INCLUDE c.ini extra\n"
        "#note\n#define x 1\n#includes d.ini\n# include d.ini\n";
    files["b.ini"] = "[B]\nb=1\n[SOUND]\nv=b\n#include d.ini\n";
    files["d.ini"] = "[D]\nd=1\n";
    files["my file.ini"] = "[Spaced]\ns=1\n";
    files["c.ini"] = "[C]\nc=1\n";
    auto document = state.open();
    EXPECT_EQ(render(*document),
              "[Top]\na=1|1|1\n[Sound]\nv=top|0|0\n"
              "[B]\nb=1|1|1\n[D]\nd=1|1|1\n"
              "[Spaced]\ns=1|1|1\n[C]\nc=1|1|1\n");
    EXPECT_EQ(state.files.opened, (std::vector<std::string>{".\\top.ini", "b.ini", "d.ini", "my file.ini", "c.ini"}));
    EXPECT_EQ(state.trace.lines, std::vector<std::string>{"Deleting duplicate section SOUND from b.ini..."});
    EXPECT_EQ(state.files.openCount(), 0) << "every file is closed";
}

TEST(ConfigParse, IncludeCyclesAndDeepNestingStop) {
    ConfigWorld state;
    auto& files = state.files.files;
    files["top.ini"] = "[Top]\nt=1\n#include a.ini\n#include top.ini\n";
    files["a.ini"] = "[A]\na=1\n#include TOP.INI\n#include a.ini\n";
    files["TOP.INI"] = "[Other]\n";
    auto document = state.open();
    EXPECT_EQ(render(*document), "[Top]\nt=1|1|1\n[A]\na=1|1|1\n");
    EXPECT_EQ(state.files.opened, (std::vector<std::string>{".\\top.ini", "a.ini"}));
    EXPECT_EQ(state.trace.lines.size(), 3u);

    // A chain of distinct files deeper than the bound stops at the bound.
    ConfigWorld deep;
    for (int i = 0; i < 40; ++i)
        deep.files.files["f" + std::to_string(i) + ".ini"] =
            "[F" + std::to_string(i) + "]\n#include f" + std::to_string(i + 1) + ".ini\n";
    deep.files.files["top.ini"] = "#include f0.ini\n";
    auto chain = deep.open("top.ini", 0, 1 << 16);
    EXPECT_EQ(chain->sections.count, kv::kMaxIncludeDepth - 1);
    EXPECT_EQ(deep.trace.lines.size(), 1u);
}

TEST(ConfigParse, PoolRoomBoundsIncludedFiles) {
    // The included file fits exactly: all of it is read and its last line
    // still ends inside the pool.
    const std::string included = "[Inc]\nlast=value";
    ConfigWorld state;
    state.files.files["inc.ini"] = included;
    EXPECT_EQ(state.parse("#include inc.ini", static_cast<int32_t>(included.size()) + 1),
              "[Inc]\nlast=value|0|0\n");

    // One byte less: the file is cut, never overrun.
    ConfigWorld cut;
    cut.files.files["inc.ini"] = included;
    EXPECT_EQ(cut.parse("#include inc.ini", static_cast<int32_t>(included.size())),
              "[Inc]\nlast=valu|0|0\n");

    // No room at all: the include gives nothing.
    ConfigWorld none;
    none.files.files["inc.ini"] = included;
    EXPECT_EQ(none.parse("#include inc.ini", 0), "");
}

TEST(ConfigParse, ByteOrderMarkAndDoubleByteNames) {
    ConfigWorld state;
    EXPECT_EQ(state.parse("\xEF\xBB\xBF[First]\nk=1\n"), "[First]\nk=1|1|1\n");

    // In code page 932 the last byte of the header below is the trail byte
    // of one character: it is not a closing bracket.
    {
        kvtest::CodePage cp932(932);
        ConfigWorld dbcs;
        EXPECT_EQ(dbcs.parse("[\x83\x5D\nk\x83\x5D=1\n[\x83\x5D]\n"), "[\x83\x5D]\nk\x83\x5D=1|1|1\n");
        EXPECT_EQ(dbcs.trace.lines.size(), 1u) << "the second header names the same section";
    }
    ConfigWorld single;
    EXPECT_EQ(single.parse("[\x83\x5D\n"), "[\x83]\n");
}

TEST(ConfigParse, UnreadableFileGivesAnEmptyDocumentWithDefaults) {
    ConfigWorld state;
    auto document = state.open("missing.ini");
    EXPECT_EQ(document->sections.count, 0);
    EXPECT_EQ(document->getInt("S", "k", 7), 7);
    EXPECT_EQ(document->getFloat("S", "k", 1.5f), 1.5f);
    EXPECT_EQ(document->getBool("S", "k", 5), 5);
    char text[16] = "x";
    document->getString("S", "k", "def", text, sizeof text, kv::kCaseUpper);
    EXPECT_STREQ(text, "def");
    EXPECT_EQ(kv::getStringCopy(document.get(), "S", "k", 0), nullptr);
    EXPECT_EQ(document->parseFile("missing.ini"), 0);

    // An empty file is opened, gives nothing and is closed.
    state.files.files["empty.ini"] = "";
    EXPECT_EQ(document->parseFile("empty.ini"), 0);
    EXPECT_EQ(state.files.openCount(), 0);
}

TEST(ConfigParse, FailedAllocationsLoseLinesButNeverMemory) {
    // Enough keys that the duplicate index grows while the file is read, so
    // a refusal can fall on a record, a node, the pool or the index.
    std::string text = "[A]\nx=1\ny=2\n#include b.ini\n[B]\nz=3\n[C]\nw=4\nv=5\n[Many]\n";
    for (int i = 0; i < 80; ++i) text += "k" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    for (const char* extra : {"", "\xE9\n"}) {  // the ASCII path, then the character path
        bool completed = false;
        for (int allowed = 0; !completed; ++allowed) {
            SCOPED_TRACE(allowed);
            ConfigWorld state;
            state.files.files["top.ini"] = extra + text;
            state.files.files["b.ini"] = "[D]\nq=1\n";
            state.memory.failAfter = allowed;
            {
                auto document = state.open();
                // Whatever was made is consistent and readable.
                render(*document);
                document->getInt("C", "v", 0);
                document->setInt("E", "new", 1);
                completed = state.memory.failAfter > 0;  // every block asked for was given
                if (completed) {
                    EXPECT_EQ(document->getInt("Many", "k79", -1), 79);
                }
            }
            EXPECT_EQ(state.memory.liveBlocks(), 0);
            EXPECT_EQ(state.memory.foreignFrees, 0);
        }
    }
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TEST(ConfigParse, FilesWrittenByOthers) {
    const std::filesystem::path folder = std::filesystem::path(KORVANE_TEST_DATA) / "peer-ini";
    int read = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".ini") continue;
        SCOPED_TRACE(entry.path().filename().string());
        ConfigWorld state;
        const std::string text = readFile(entry.path());
        state.files.files["top.ini"] = text;
        auto document = state.open("top.ini", 0, 0);
        EXPECT_EQ(state.files.openCount(), 0);
        EXPECT_LE(document->pool.end, document->pool.base + document->pool.capacity);
        ++read;
    }
    EXPECT_GE(read, 14);

    ConfigWorld state;
    state.files.files["top.ini"] = readFile(folder / "tests_normal.ini");
    auto normal = state.open("top.ini", 0, 0);
    EXPECT_EQ(render(*normal),
              "[section1]  ; section comment]\n"
              "one=This is a test  ; name=value comment|0|0\n"
              "two=1234|1234|1234\n"
              "[ section 2 ]\n"
              "happy=4|4|4\n"
              "sad=null|0|0\n"
              "[empty]\n"
              "[comment_test]\n"
              "test1=1;2;3 ; only this will be a comment|1|1\n"
              "test2=2;3;4;this won't be a comment, needs whitespace before ';'|2|2\n"
              "test;3=345 ; key should be \"test;3\"|345|345\n"
              "test4=4#5#6 ; '#' only starts a comment at start of line|4|4\n"
              "[colon_tests]\n"
              "funny1 : with=equals|0|0\n"
              "funny2=with : colons|0|0\n"
              "funny3=two = equals|0|0\n");

    ConfigWorld bom;
    bom.files.files["top.ini"] = readFile(folder / "tests_bom.ini");
    auto withMark = bom.open("top.ini", 0, 0);
    EXPECT_EQ(render(*withMark).substr(0, 36), "[bom_section]\nbom_name=bom_value|0|0");

    ConfigWorld duplicates;
    duplicates.files.files["top.ini"] = readFile(folder / "tests_duplicate_sections.ini");
    auto dropped = duplicates.open("top.ini", 0, 0);
    EXPECT_EQ(render(*dropped), "[section1]\nsingle1=abc|0|0\nsingle2=xyz|0|0\n");
    EXPECT_EQ(duplicates.trace.lines.size(), 1u);
}

// A file of ASCII text takes the parser's block-at-a-time path; one byte
// from 0x80 up anywhere sends the whole file the character-by-character
// way. Both must build the same document, near the pool's end too.
TEST(ConfigParse, AsciiAndCharacterPathsAgree) {
    kvtest::CodePage page(1252);
    std::mt19937 random(4242);
    const char* const lines[] = {"[Sound]", " [ Spaced ] ", "[Open", "[]", "[x]]", "[Sound] ; c", "[SOUND]",
                                 "Key=Value", "  Key  =  some value  ", "key=dup", "A=B=C", "Name=", "Name=   ",
                                 "=5", "\tTab\t=\t12\t", "; comment=1", "no equals here", "#note", "#define x 1",
                                 "Count=12abc", "Scale=-1.5", "Big=99999999999", "Exp=1e5", "Hex=0x1A", "Neg=-x",
                                 "Path=Data\\Models\\Tornado\\exterior_0042.tex",
                                 "LongName_abcdefghijklmnopqrstuvwxyz_0123456789=1234567.1234567 trailing text",
                                 "K1=1", "K2=2.25", "k1=3", "", "   ", "Inf=inf", "Real=.5",
                                 "[", "[ ]", "Ctl=\x01x\x02 \x08"};
    const char* const ends[] = {"\r\n", "\n", "\r"};
    for (int file = 0; file < 300; ++file) {
        std::string text;
        for (int n = static_cast<int>(random() % 60); n > 0; --n)
            text += std::string(lines[random() % std::size(lines)]) + ends[random() % 3];
        if (random() % 2) text += lines[random() % std::size(lines)];  // a last line without an end
        const int32_t extra = random() % 2 ? 0 : 64;
        ConfigWorld ascii;
        const std::string asciiDocument = ascii.parse(text, extra);
        ConfigWorld characters;
        const std::string characterDocument = characters.parse("\xE9\n" + text, extra);
        ASSERT_EQ(asciiDocument, characterDocument) << text;
        ASSERT_EQ(ascii.trace.lines, characters.trace.lines) << text;
    }
}

TEST(ConfigConversion, MatchesTheCLibrary) {
    // Reals: the fast path must round exactly as strtod does.
    std::mt19937 random(12345);
    auto digits = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += static_cast<char>('0' + random() % 10);
        return s;
    };
    for (int i = 0; i < 200000; ++i) {
        std::string text = (random() % 4 == 0 ? "-" : "") + digits(1 + random() % 9);
        if (random() % 2) text += "." + digits(random() % 12);
        if (random() % 4 == 0) text += "e" + std::to_string(static_cast<int>(random() % 60) - 30);
        if (random() % 8 == 0) text = "  " + text + "xyz";
        ASSERT_EQ(kv::convertReal(text.c_str()), static_cast<float>(std::strtod(text.c_str(), nullptr))) << text;
    }
    for (const char* text : {"inf", "-nan", "0x1p3", "1e400", "-1e-400", "3.4028235e38", "3.4028236e38",
                             "3.5e38", "1e39", ".5", "5.", "-.", "+", "", "e5", "1e", "1e+", "00012.50", "-x", "0X1A", "-0X1a", "Data\\\\Models", "-INF", "nAn"}) {
        const double reference = std::strtod(text, nullptr);
        const float expected = std::fabs(reference) > 3.5e38 && std::isfinite(reference)
                                   ? (reference < 0 ? -HUGE_VALF : HUGE_VALF)
                                   : static_cast<float>(reference);
        const float got = kv::convertReal(text);
        if (std::isnan(expected))
            EXPECT_TRUE(std::isnan(got)) << text;
        else
            EXPECT_EQ(got, expected) << text;
    }
    EXPECT_EQ(kv::convertReal("3.40282356e38"), 3.40282347e38f) << "within half a unit stays the largest";
    EXPECT_EQ(kv::convertReal(nullptr), 0.0f);
    EXPECT_EQ(kv::convertInteger(nullptr), 0);

    // Integers: atol with a 32-bit long, saturating.
    for (const char* text : {"0", "-0", "+17", " \t\n42x", "2147483647", "2147483648", "-2147483648",
                             "-2147483649", "99999999999999999999999", "-99999999999999999999", "0x10",
                             "--1", "+-1", "", " "}) {
        long long reference = std::strtoll(text, nullptr, 10);
        if (reference > INT32_MAX) reference = INT32_MAX;
        if (reference < INT32_MIN) reference = INT32_MIN;
        EXPECT_EQ(kv::convertInteger(text), reference) << text;
    }
}

// The parser converts each value once for both representations; that must
// give exactly what the two conversions give one at a time.
TEST(ConfigConversion, BothAtOnceEqualEachAlone) {
    // Each text followed by bytes that may be read (which selects the
    // eight-bytes-at-a-time path), and in buffers of every size from just
    // its own bytes on.
    auto expectSame = [](const std::string& text) {
        const int32_t aloneInteger = kv::convertInteger(text.c_str());
        const float aloneReal = kv::convertReal(text.c_str());
        const std::string padded = text + std::string(1, '\0') + "9.9e9" + std::string(24, '7');
        int32_t paddedInteger = -1;
        float paddedReal = -1.0f;
        kv::convertValue(padded.c_str(), padded.size(), &paddedInteger, &paddedReal);
        ASSERT_EQ(paddedInteger, aloneInteger) << text;
        ASSERT_EQ(std::memcmp(&paddedReal, &aloneReal, sizeof paddedReal), 0)
            << text << ": " << paddedReal << " vs " << aloneReal;
        // Buffers that end right behind the text, padded with digits, so a
        // look past the readable bytes shows under the address sanitizer.
        for (std::size_t pad = 0; pad <= 24; ++pad) {
            const std::size_t size = text.size() + 1 + pad;
            std::unique_ptr<char[]> exact(new char[size]);  // no spare capacity
            std::memcpy(exact.get(), text.c_str(), text.size() + 1);
            std::memset(exact.get() + text.size() + 1, '9', pad);
            int32_t integer = -1;
            float real = -1.0f;
            kv::convertValue(exact.get(), size, &integer, &real);
            ASSERT_EQ(integer, aloneInteger) << text << " padded by " << pad;
            ASSERT_EQ(std::memcmp(&real, &aloneReal, sizeof real), 0) << text << " padded by " << pad;
        }
    };
    std::mt19937 random(777);
    const char* const pieces[] = {"0", "7", "123", "0000", "99999999", "1234567890123456789", ".", "-", "+",
                                  "e", "E5", "e-3", "x", "0x", "inf", "nan", " ", "\t", "a", "=", ";", "00"};
    for (int i = 0; i < 200000; ++i) {
        std::string text;
        for (int n = 1 + static_cast<int>(random() % 5); n > 0; --n) text += pieces[random() % std::size(pieces)];
        expectSame(text);
    }
    for (const char* text : {"", "-0", "-0.0", "0.0000000000000000000000001", "1.", "-.5", "123456789012345",
                             "1234567890123456", "0.1234567890123456", "2147483648.5", "-2147483649", "0x1p3",
                             "12abc", "1.5e", "1e400", "-INF", "Data\\Models\\F16.mdl", "  42  ", "- 5", "-x",
                             "+-1", "-.5", "9999999", "99999999", "1234567.1234567", "1234567.12345678", ".",
                             "0.0", "-0", "7.", "0001234.5000", "1234567e1", "12.5x", "-9999999.9999999"})
        expectSame(text);
}

}  // namespace
