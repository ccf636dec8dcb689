// Documents at their edges: no file manager, sizes the pool cannot take,
// a second file over sections already read, names whose hashes meet,
// include names on both parsing paths, and refused blocks one at a time.
#include <cctype>
#include <climits>
#include <cmath>
#include <cstring>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "config/config_document.h"
#include "config/file_manager.h"
#include "services/services.h"
#include "tests/config/config_support.h"

namespace {

using kvtest::ConfigWorld;
using kvtest::render;

// A file manager that cannot tell a file's size (as one reading from an
// archive may answer -1), and counts its folder pushes and pops.
struct UnsizedFiles : kvtest::MemoryFiles {
    int32_t fmgGetFileSize(const char*) override { return -1; }
    void fmgPushDirectory() override { ++pushes; }
    void fmgPopDirectory() override { ++pops; }
    int pushes = 0;
    int pops = 0;
};

// True when no section of the rendered document holds two keys whose names
// differ only in case, nor two sections such names (empty names aside).
bool namesUnique(const std::string& rendered) {
    std::set<std::string> sections;
    std::set<std::string> keys;
    std::istringstream in(rendered);
    auto lower = [](std::string s) {
        for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    for (std::string line; std::getline(in, line);) {
        if (line[0] == '[') {
            keys.clear();
            const std::string name = lower(line.substr(1, line.size() - 2));
            if (!name.empty() && !sections.insert(name).second) return false;
            continue;
        }
        const std::string name = lower(line.substr(0, line.find('=')));
        if (!name.empty() && !keys.insert(name).second) return false;
    }
    return true;
}

TEST(ConfigEdges, PoolSizeComesFromTheFileSizeAndTheExtraBytes) {
    kvtest::CountingMemory memory;
    kvtest::TraceLines trace;
    {
        // An unknown size counts as none: the pool is the extra bytes and
        // its one free byte, and a file that fits there is read whole.
        UnsizedFiles files;
        files.files["top.ini"] = "[S]\nk=1\n";
        kv::ConfigDocument document("top.ini", 0, 0, 16);
        EXPECT_EQ(document.pool.capacity, 17);
        EXPECT_EQ(render(document), "[S]\nk=1|1|1\n");

        // The folder forwarders reach the bound file manager.
        kv::fmgPushDirectory();
        kv::fmgPushDirectory();
        kv::fmgPopDirectory();
        EXPECT_EQ(files.pushes, 2);
        EXPECT_EQ(files.pops, 1);
        EXPECT_EQ(kv::fmgFileExists("top.ini"), 1);
        EXPECT_EQ(kv::fmgFileExists("other.ini"), 0);
        EXPECT_EQ(kv::fmgGetFileSize("top.ini"), -1);
    }
    {
        // Negative extra bytes count as none, never as less than the file.
        kvtest::MemoryFiles files;
        files.files["top.ini"] = "[S]\nkey=value\n";
        EXPECT_EQ(kv::fmgGetFileSize("top.ini"), 14);
        kv::ConfigDocument document("top.ini", 0, 0, -5);
        EXPECT_EQ(render(document), "[S]\nkey=value|0|0\n");
        EXPECT_EQ(document.pool.capacity, 15);

        // A size beyond 32 bits gives a document without a pool: it reads
        // nothing, keeps nothing, and still answers with defaults.
        kv::ConfigDocument huge("top.ini", 1, 0, INT32_MAX);
        EXPECT_EQ(huge.pool.base, nullptr);
        EXPECT_EQ(huge.sections.count, 0);
        EXPECT_EQ(huge.getInt("S", "key", 7), 7);
        EXPECT_EQ(huge.setString("S", "key", "x"), 0);
        EXPECT_EQ(files.openCount(), 0);
    }
    EXPECT_EQ(memory.liveBlocks(), 0);
}

TEST(ConfigEdges, WithoutAFileManagerADocumentStillHoldsWhatIsSet) {
    kvtest::CountingMemory memory;
    kvtest::TraceLines trace;
    ASSERT_EQ(kv::FMG, nullptr);
    {
        kv::ConfigDocument document("top.ini", 1, 0, 64);
        EXPECT_EQ(document.sections.count, 0);
        EXPECT_EQ(document.pool.capacity, 65);
        EXPECT_EQ(document.getInt("S", "k", 7), 7);
        EXPECT_EQ(document.getInt("S", "k", 9), 7) << "the first default was added";
        EXPECT_EQ(document.parseFile("top.ini"), 0);
        EXPECT_EQ(render(document), "[S]\nk=null|7|7\n");
    }
    EXPECT_EQ(kv::fmgFileExists("top.ini"), 0);
    EXPECT_EQ(kv::fmgGetFileSize("top.ini"), 0);
    kv::fmgPushDirectory();  // nothing to push to, and no fault
    kv::fmgPopDirectory();
    EXPECT_EQ(memory.liveBlocks(), 0);
}

TEST(ConfigEdges, ASecondFileKeepsTheSectionsAlreadyRead) {
    const char* top = "[Sound]\nv=1\n[]\ne=1\n";
    const char* second = "[SOUND]\nv=2\nw=2\n[New]\nn=1\n[]\nf=1\n";
    {
        ConfigWorld state;
        state.files.files["top.ini"] = top;
        state.files.files["second.ini"] = second;
        auto document = state.open();
        EXPECT_EQ(document->parseFile("second.ini"), 1);
        // The duplicate's key lines are lines outside a section; sections
        // without a name are never duplicates.
        EXPECT_EQ(render(*document), "[Sound]\nv=1|1|1\n[]\ne=1|1|1\n[New]\nn=1|1|1\n[]\nf=1|1|1\n");
        EXPECT_EQ(state.trace.lines, std::vector<std::string>{"Deleting duplicate section SOUND from second.ini..."});
    }
    // Without room to know the sections present, the second file is not
    // read at all rather than read with duplicates.
    ConfigWorld state;
    state.files.files["top.ini"] = top;
    state.files.files["second.ini"] = second;
    auto document = state.open();
    const std::string before = render(*document);
    state.memory.refuseCall = state.memory.allocCalls + 1;
    EXPECT_EQ(document->parseFile("second.ini"), 0);
    EXPECT_EQ(render(*document), before);
    EXPECT_EQ(state.files.opened, std::vector<std::string>{".\\top.ini"});
    document.reset();
    EXPECT_EQ(state.memory.liveBlocks(), 0);
}

// Names are hashed with every byte folded by 0x20, so "@" and "`" hash
// alike; they are still different names, on both parsing paths.
TEST(ConfigEdges, NamesWhoseHashesMeetStayApart) {
    for (const char* prefix : {"", "\xE9\n"}) {
        SCOPED_TRACE(prefix[0] ? "character path" : "ASCII path");
        ConfigWorld state;
        EXPECT_EQ(state.parse(std::string(prefix) + "[Key@]\na@=1\na`=2\n[Key`]\nb=3\n"),
                  "[Key@]\na@=1|1|1\na`=2|2|2\n[Key`]\nb=3|3|3\n");
        EXPECT_TRUE(state.trace.lines.empty());
    }
}

TEST(ConfigEdges, IncludeNamesOnBothParsingPaths) {
    // The character path opens with a quoted name that is not ASCII, which
    // must be cut at its closing quote by characters.
    for (const char* prefix : {"", "#include \"caf\xE9 1.ini\" x\n"}) {
        const bool characters = prefix[0] != '\0';
        SCOPED_TRACE(characters ? "character path" : "ASCII path");
        ConfigWorld state;
        auto& files = state.files.files;
        files["caf\xE9 1.ini"] = "[Cafe]\n";
        files["top.ini"] = std::string(prefix) +
                           "[Top]\nt=1\n"
                           "#include a.ini\t \n"            // blanks after the name are not part of it
                           "#include \"b c.ini\" more\n"
                           "#include \"unclosed d.ini\n"     // a quote left open runs to the line's end
                           "#include  \t\n";                 // no name at all
        files["a.ini"] = "[A]\n#include .\\a.ini\n#include .a.ini\n";  // itself again, then another file
        files[".a.ini"] = "[Dot]\n";
        files["b c.ini"] = "[BC]\n";
        files["unclosed d.ini"] = "[D]\n";
        auto document = state.open();
        EXPECT_EQ(render(*document),
                  std::string("[Top]\nt=1|1|1\n") + (characters ? "[Cafe]\n" : "") + "[A]\n[Dot]\n[BC]\n[D]\n");
        std::vector<std::string> opened{".\\top.ini", "a.ini", ".a.ini", "b c.ini", "unclosed d.ini"};
        if (characters) opened.insert(opened.begin() + 1, "caf\xE9 1.ini");
        EXPECT_EQ(state.files.opened, opened);
        EXPECT_EQ(state.trace.lines,
                  std::vector<std::string>{"Skipping include .\\a.ini, it is already being read..."});
        EXPECT_EQ(state.files.openCount(), 0);
    }
}

// Each block the parser asks for is refused in turn: the line it was for is
// lost, and nothing else. A key without a name that cannot be listed must
// not take a named key out of the duplicate index.
TEST(ConfigEdges, ARefusedBlockLosesOnlyItsLine) {
    for (const char* prefix : {"", "\xE9\n"}) {
        SCOPED_TRACE(prefix[0] ? "character path" : "ASCII path");
        const std::string text = std::string(prefix) + "[S]\na=1\n=5\na=2\nb=3\n=6\nb=4\n[S]\nc=1\n";
        int calls = 0;
        {
            ConfigWorld state;
            state.files.files["top.ini"] = text;
            auto document = state.open();
            EXPECT_EQ(render(*document), "[S]\na=1|1|1\n=5|5|5\nb=3|3|3\n=6|6|6\n");
            calls = state.memory.allocCalls;
        }
        for (int refused = 1; refused <= calls; ++refused) {
            SCOPED_TRACE(refused);
            ConfigWorld state;
            state.files.files["top.ini"] = text;
            state.memory.refuseCall = refused;
            {
                auto document = state.open();
                const std::string rendered = render(*document);
                EXPECT_TRUE(namesUnique(rendered)) << rendered;
            }
            EXPECT_EQ(state.memory.liveBlocks(), 0);
            EXPECT_EQ(state.memory.foreignFrees, 0);
        }
    }
}

TEST(ConfigEdges, SettersAndGettersAtTheirLimits) {
    ConfigWorld state;
    state.files.files["top.ini"] = "[S]\nCount=3\nText=Some Text\n";
    auto doc = state.open("top.ini", 0, 64);

    // Reals the integer cannot hold saturate, and NaN gives 0.
    EXPECT_EQ(doc->setFloat("R", "Low", -1e20f), 1);
    EXPECT_EQ(doc->setFloat("R", "NaN", std::nanf("")), 1);
    EXPECT_EQ(doc->getInt("R", "Low", 1), INT32_MIN);
    EXPECT_EQ(doc->getInt("R", "NaN", 1), 0);

    // A buffer of no bytes is neither written nor converted.
    char out[8] = "abc";
    doc->getString("S", "Text", "", out, 0, kv::kCaseUpper);
    EXPECT_STREQ(out, "abc");

    // A record for a name the section holds is taken over and dropped.
    const int live = state.memory.liveBlocks();
    auto* record = static_cast<kv::ConfigKey*>(kv::ModuleAlloc(static_cast<int32_t>(sizeof(kv::ConfigKey))));
    ASSERT_NE(record, nullptr);
    static char name[] = "COUNT";
    *record = kv::ConfigKey{name, kv::kValueInteger, nullptr, 99, 99.0f};
    EXPECT_EQ(doc->addKey("S", record), 1);
    EXPECT_EQ(doc->getInt("S", "Count", 0), 3);
    EXPECT_EQ(state.memory.liveBlocks(), live);

    // A null name is never found, and costs nothing but pool room.
    doc->setInt("S", nullptr, 5);
    EXPECT_EQ(doc->getInt("S", nullptr, 9), 9);
    doc->addKey(nullptr, nullptr);
    doc.reset();
    EXPECT_EQ(state.memory.liveBlocks(), 0);
}

TEST(ConfigEdges, AFullPoolRefusesTheNewKeyAndLosesNothing) {
    ConfigWorld state;
    state.files.files["top.ini"] = "[S]\nk=1\n";
    {
        auto doc = state.open("top.ini", 0, 0);
        EXPECT_EQ(doc->setFloat("S", "new", 1.0f), 0);
        EXPECT_EQ(doc->setString("S", "new", ""), 0) << "an empty text needs no room, its name does";
        EXPECT_EQ(doc->setFloat("S", "k", 2.5f), 1) << "a key present needs no room";
    }
    state.trace.lines.clear();
    // Room for the key's name, not for its new section's: the record made
    // for the key goes with the refusal.
    auto doc = state.open("top.ini", 0, 5);
    const int live = state.memory.liveBlocks();
    EXPECT_EQ(doc->setInt("LongSection", "k", 1), 0);
    EXPECT_EQ(state.memory.liveBlocks(), live);
    EXPECT_EQ(state.trace.lines, std::vector<std::string>{"Unable to append string LongSection to the buffer!"});
    EXPECT_EQ(render(*doc), "[S]\nk=1|1|1\n");
}

TEST(ConfigEdges, CompositeValuesWithoutADocumentOrARecord) {
    kvtest::CountingMemory memory;
    EXPECT_EQ(kv::getStringCopy(nullptr, "S", "k", 0), nullptr);
    const kv::IntPair pair = kv::getIntPair(nullptr, "S", "k");
    EXPECT_EQ(pair.first | pair.second, 0);
    const kv::ConfigRect rect = kv::getRect(nullptr, "S", "k");
    EXPECT_EQ(rect.values[0] | rect.values[1] | rect.values[2] | rect.values[3], 0);
    kv::ConfigColor color = {9, 9, 9, 9};
    EXPECT_EQ(kv::getColor(&color, nullptr, "S", "k"), 0);
    EXPECT_EQ(color.red, 9.0f);
    kv::FontSettings font = {};
    font.size = 5;
    EXPECT_EQ(kv::getFontSettings(&font, nullptr, "S"), 0);
    EXPECT_EQ(font.size, 5);

    ConfigWorld state;
    state.files.files["top.ini"] =
        "[Font]\nTextFontName=Mono\nTextSize=9\nTextItalic=TRUE\nTextStrikeOut=1\nTextBold=0\n"
        "[Strike]\nTextFontName=Mono\nTextSize=9\nTextStrikeOut=TRUE\n"
        "[Color]\nc=1,1,1\n";
    auto doc = state.open();
    EXPECT_EQ(kv::getColor(nullptr, doc.get(), "Color", "c"), 0);
    EXPECT_EQ(kv::getFontSettings(nullptr, doc.get(), "Font"), 0);
    EXPECT_EQ(kv::getFontSettings(&font, doc.get(), "Font"), 1);
    EXPECT_EQ(font.styleFlags, kv::kFontItalic | kv::kFontStrikeOut);
    EXPECT_EQ(kv::getFontSettings(&font, doc.get(), "Strike"), 1);
    EXPECT_EQ(font.styleFlags, kv::kFontStrikeOut);
}

}  // namespace
