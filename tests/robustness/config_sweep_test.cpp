// A configuration document built from a file with includes (a chain, and a
// cycle back to the top), read and extended with autoAdd, with every
// allocation refused in turn, then every allocation from the k-th on. A
// refusal may lose the line, section or key it was for, and nothing else:
// whatever the document holds is what the clean document holds, and once
// it is gone no block is left and none was freed twice.
#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/config_document.h"
#include "tests/support/counting_memory.h"
#include "tests/support/memory_files.h"
#include "tests/support/trace_lines.h"

namespace {

// "[section] key=text|integer|real" for every key, sections included as
// "[section]", so that one document's lines can be looked up in another's.
std::set<std::string> lines(const kv::ConfigDocument& document) {
    std::set<std::string> out;
    for (const kv::PtrListNode* s = document.sections.head; s; s = s->next) {
        const auto* section = static_cast<const kv::ConfigSection*>(s->data);
        const std::string head = "[" + std::string(section->name) + "]";
        out.insert(head);
        for (const kv::PtrListNode* k = section->keys.head; k; k = k->next) {
            const auto* key = static_cast<const kv::ConfigKey*>(k->data);
            std::ostringstream line;
            line << head << " " << key->name << "=" << (key->text ? key->text : "null") << "|" << key->integer << "|"
                 << key->real;
            out.insert(line.str());
        }
    }
    return out;
}

struct Built {
    std::set<std::string> lines;
    // What the getters returned, in order.
    std::vector<std::string> reads;
    int allocations = 0;
    int liveAfter = 0;
    int foreignFrees = 0;
};

using Files = std::map<std::string, std::string>;

const Files kFiles = {
    {"top.ini", "[Korvane]\nTextFilename=flight.txt\nDeltaT=0.02\n#include a.ini\n[Graphics]\nWidth=1024\n"
                "Height=768\n[Debug]\nSkipFlight=TRUE\nCockpit=TRUE\n"},
    {"a.ini", "[Sound]\nRate=22050\nBits=16\n#include b.ini\n[Korvane]\nDeltaT=0.5\n"},
    {"b.ini", "[World]\nBorder=5000\n#include top.ini\n[Map]\nZoom=MAP_ZOOM\nScale=1.5\n"},
};

// The document of top (its includes among files), read and extended through
// the getters and setters as the start-up reader and the options module
// do; with autoAdd, a getter that misses adds its default.
Built build(const Files& files, const std::string& top, int refuseCall, int grantedBeforeRefusing) {
    kvtest::CountingMemory memory;
    kvtest::MemoryFiles fileManager;
    kvtest::TraceLines trace;
    fileManager.files = files;
    memory.refuseCall = refuseCall;
    memory.failAfter = grantedBeforeRefusing;
    Built out;
    {
        kv::ConfigDocument document(top.c_str(), 1, 0, 4096);
        std::vector<std::string>& reads = out.reads;
        const auto read = [&reads](auto value) {
            std::ostringstream text;
            text << value;
            reads.push_back(text.str());
        };
        char text[64];
        read(document.getInt("Graphics", "Width", -1));
        read(document.getFloat("Korvane", "DeltaT", -1.0f));
        read(document.getInt("Sound", "Rate", -1));
        read(document.getFloat("Map", "Scale", -1.0f));
        document.getString("Map", "Zoom", "none", text, sizeof text, kv::kCaseKeep);
        read(text);
        read(document.getBool("Debug", "SkipFlight", 0));
        // TRUE against a default of 1: a lost line and the line read the
        // same, a word the document no longer knows does not.
        read(document.getBool("Debug", "Cockpit", 1));
        // Missing keys and a missing section: added with their defaults.
        read(document.getInt("Graphics", "Depth", 32));
        read(document.getBool("Debug", "Windowed", 1));
        document.getString("Korvane", "ViewList", "views.lst", text, sizeof text, kv::kCaseKeep);
        read(text);
        document.setInt("Sound", "Rate", 44100);
        document.setString("Extra", "Name", "added");
        out.lines = lines(document);
    }
    out.allocations = memory.allocCalls;
    out.liveAfter = memory.liveBlocks();
    out.foreignFrees = memory.foreignFrees;
    return out;
}

TEST(AllocationSweep, ConfigurationDocumentWithIncludesAndAutoAdd) {
    const Built clean = build(kFiles, "top.ini", 0, -1);
    ASSERT_EQ(clean.liveAfter, 0);
    EXPECT_EQ(clean.reads, (std::vector<std::string>{"1024", "0.02", "22050", "1.5", "MAP_ZOOM", "1", "1", "32", "1",
                                                     "views.lst"}));
    // A refusal loses lines, so a line an earlier duplicate hid may show,
    // and a getter that misses adds its default: every line a document may
    // hold is a line of the whole document, of one file read alone, or of
    // no file at all, each read and extended the same way.
    // The same goes for every value a getter returns.
    std::set<std::string> possible = clean.lines;
    std::vector<std::set<std::string>> possibleReads(clean.reads.size());
    const auto allow = [&](const Built& built) {
        possible.insert(built.lines.begin(), built.lines.end());
        for (std::size_t i = 0; i < built.reads.size(); ++i) possibleReads[i].insert(built.reads[i]);
    };
    allow(clean);
    for (const auto& file : kFiles) allow(build(Files{file}, file.first, 0, -1));
    const Built noFile = build(Files{}, "top.ini", 0, -1);
    allow(noFile);
    // One refusal alone loses at most one line, one section, or the files
    // an include line names (a name that cannot be listed is dropped, and
    // with it what a.ini and b.ini hold); only the pool the whole document
    // is read into takes every line, and the document is then what no file
    // at all gives.
    const auto lostOfClean = [&clean](const Built& built) {
        std::size_t lost = 0;
        for (const std::string& line : clean.lines) lost += built.lines.count(line) == 0;
        return lost;
    };
    const std::size_t mostOneRefusalLoses = lostOfClean(build(Files{*kFiles.find("top.ini")}, "top.ini", 0, -1));
    const auto onlyWhatNoFileGives = [&noFile](const Built& built) {
        for (const std::string& line : built.lines)
            if (noFile.lines.count(line) == 0) return false;
        return true;
    };

    const int n = clean.allocations;
    int failures = 0;
    std::size_t mostLost = 0;
    for (int k = 1; k <= n; ++k) {
        for (bool fromTheKthOn : {false, true}) {
            SCOPED_TRACE("allocation " + std::to_string(k) + (fromTheKthOn ? " on" : ""));
            const Built got = fromTheKthOn ? build(kFiles, "top.ini", 0, k - 1) : build(kFiles, "top.ini", k, -1);
            bool ok = got.liveAfter == 0 && got.foreignFrees == 0;
            EXPECT_EQ(got.liveAfter, 0);
            EXPECT_EQ(got.foreignFrees, 0);
            for (const std::string& line : got.lines) {
                const bool known = possible.count(line) != 0;
                EXPECT_TRUE(known) << line;
                ok = ok && known;
            }
            if (!fromTheKthOn && !onlyWhatNoFileGives(got)) {
                const std::size_t lost = lostOfClean(got);
                mostLost = std::max(mostLost, lost);
                EXPECT_LE(lost, mostOneRefusalLoses) << "one refusal lost " << lost << " lines of the document";
                ok = ok && lost <= mostOneRefusalLoses;
            }
            for (std::size_t i = 0; i < got.reads.size(); ++i) {
                const bool known = possibleReads[i].count(got.reads[i]) != 0;
                EXPECT_TRUE(known) << "read " << i << " gave " << got.reads[i];
                ok = ok && known;
            }
            failures += ok ? 0 : 1;
        }
    }
    std::printf("allocation sweep configuration document: N=%d, %d documents with a refusal, %d failures; one "
                "refusal lost at most %zu lines (an include brings %zu)\n",
                n, 2 * n, failures, mostLost, mostOneRefusalLoses);
    EXPECT_GT(n, 20);
}

}  // namespace
