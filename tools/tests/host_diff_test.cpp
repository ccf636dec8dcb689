#include <cmath>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tools/korvane_host_diff.h"

namespace {

using Lines = std::vector<std::string>;

kvhost::Trace traceOf(const Lines& lines, const std::string& name = "t.jsonl") {
    std::stringstream text;
    for (const std::string& line : lines) text << line << '\n';
    kvhost::Trace trace;
    std::string error;
    EXPECT_TRUE(kvhost::readTrace(text, name, trace, error)) << error;
    return trace;
}

// A flight as korvane-host records it, with the given frames in between.
Lines flight(const std::vector<Lines>& frames, const std::string& directory = "/flights/training",
             const std::string& allocSize = "96") {
    Lines lines = {R"({"host":"InitDLL","args":[0,"shell:1"]})",
                   R"({"host":"Fly","args":[")" + directory + R"(","flight.ini"]})",
                   R"({"op":"memCheckpoint","args":["Start of _LoadKorvane"]})",
                   R"({"op":"memAlloc","args":[)" + allocSize + R"(,0,0,"FLT"],"ret":"block:1"})",
                   R"({"op":"memCheckpoint","args":["End of _LoadKorvane"]})"};
    for (const Lines& frame : frames) {
        lines.insert(lines.end(), frame.begin(), frame.end());
        lines.push_back(R"({"op":"objEndFrame","args":[]})");
    }
    lines.push_back(R"({"op":"sndStopStream","args":[]})");
    lines.push_back(R"({"host":"Fly","ret":0})");
    lines.push_back(R"({"host":"ExitDLL","args":[]})");
    return lines;
}

const std::string kUpdate = R"({"op":"objUpdate","args":[0.05000000074505806]})";
const std::string kPause = R"({"host":"command","args":["PAUSE_FLIGHT"]})";
const std::string kCanPause = R"({"op":"msnCanPause","args":[],"ret":1})";

struct Outcome {
    kvhost::DiffResult result;
    std::string text;
};

Outcome diff(const Lines& a, const Lines& b, kvhost::DiffOptions options = {}) {
    std::ostringstream out;
    const kvhost::DiffResult result = kvhost::diffTraces(traceOf(a, "A.jsonl"), traceOf(b, "B.jsonl"), options, out);
    return {result, out.str()};
}

std::vector<std::string> sectionNames(const kvhost::Trace& trace) {
    std::vector<std::string> names;
    for (const auto& section : trace.sections) names.push_back(section.name + ":" + std::to_string(section.records.size()));
    return names;
}

TEST(TraceDiff, CutsATraceIntoBindingLoadFramesUnloadAndUnbinding) {
    const kvhost::Trace one = traceOf(flight({{kUpdate}, {kUpdate, kUpdate}}));
    EXPECT_EQ(sectionNames(one), (std::vector<std::string>{"binding:1", "load:4", "frame 0:2", "frame 1:3",
                                                           "unload:2", "unbinding:1"}));
    EXPECT_EQ(one.recordCount, 13u);

    // Several flights: each section inside a Fly names its flight. A load
    // that fails never reaches its last checkpoint and stays one section.
    Lines two = flight({{kUpdate}});
    two.insert(two.end() - 1, {R"({"host":"Fly","args":["/flights/b","flight.ini"]})",
                               R"({"trace":"Error Reading flight.ini!"})", R"({"host":"Fly","ret":1})"});
    EXPECT_EQ(sectionNames(traceOf(two)),
              (std::vector<std::string>{"binding:1", "flight 1, load:4", "flight 1, frame 0:2", "flight 1, unload:2",
                                        "flight 2, load:3", "unbinding:1"}));
}

TEST(TraceDiff, EqualTracesAreEqual) {
    const Outcome same = diff(flight({{kUpdate}, {kPause, kCanPause}}), flight({{kUpdate}, {kPause, kCanPause}}));
    EXPECT_EQ(same.result.sectionsDiffering, 0u);
    EXPECT_EQ(same.result.sectionsCompared, 6u);
    EXPECT_EQ(same.text, "equal: 6 sections, 13 records\n");
}

TEST(TraceDiff, ACallMovedToTheNextFrameShowsInThoseTwoFramesOnly) {
    const Outcome moved = diff(flight({{kUpdate}, {kPause, kCanPause, kUpdate}, {kUpdate}, {kUpdate}}),
                               flight({{kUpdate}, {kUpdate}, {kPause, kCanPause, kUpdate}, {kUpdate}}));
    EXPECT_EQ(moved.result.sectionsDiffering, 2u);
    EXPECT_EQ(moved.text,
              "frame 1, record 1 of 4 in A, 2 in B: A has host command, B has op objUpdate\n"
              "  A line 8: " + kPause + "\n"
              "  B line 8: " + kUpdate + "\n"
              "  A has 2 records here that B lacks, then both go on alike\n"
              "frame 2, record 1 of 2 in A, 4 in B: A has op objUpdate, B has host command\n"
              "  A line 12: " + kUpdate + "\n"
              "  B line 10: " + kPause + "\n"
              "  B has 2 records here that A lacks, then both go on alike\n"
              "2 of 8 sections differ between A.jsonl (A) and B.jsonl (B)\n");

    // A frame one side never flew, and the limit on what is shown.
    kvhost::DiffOptions one;
    one.maxShown = 1;
    const Outcome longer = diff(flight({{kUpdate}}), flight({{kPause}, {kUpdate}}), one);
    EXPECT_EQ(longer.result.sectionsDiffering, 2u);
    EXPECT_NE(longer.text.find("frame 0, record 1 of 2: A has op objUpdate, B has host command\n"), std::string::npos)
        << longer.text;
    EXPECT_EQ(longer.text.find("frame 1: only in B"), std::string::npos) << longer.text;
    EXPECT_NE(longer.text.find("2 of 6 sections differ (the first 1 shown)"), std::string::npos) << longer.text;
    // A trace cut short: the unbinding only B has comes last.
    Lines cut = flight({{kUpdate}});
    cut.pop_back();
    const Outcome shorter = diff(cut, flight({{kUpdate}}));
    EXPECT_EQ(shorter.text, "unbinding: only in B (1 records, from host ExitDLL)\n  B line 10: {\"host\":\"ExitDLL\",\"args\":[]}\n"
                            "1 of 5 sections differ between A.jsonl (A) and B.jsonl (B)\n");
    const Outcome all = diff(flight({{kUpdate}}), flight({{kPause}, {kUpdate}}));
    EXPECT_NE(all.text.find("frame 1: only in B (2 records, from op objUpdate)\n  B line 8: " + kUpdate),
              std::string::npos)
        << all.text;
}

std::string fillRect(double edge) {
    std::ostringstream record;
    record.precision(17);
    record << R"({"op":"gfxFillRect","args":[0.125,0.800000011920929,)" << edge << R"(,0.8500000238418579]})";
    return record.str();
}

TEST(TraceDiff, RealsCompareBitForBitUnlessGivenATolerance) {
    const double edge = static_cast<double>(0.2f);
    const double ulpBelow = static_cast<double>(std::nextafter(0.2f, 0.0f));
    const Outcome exact = diff(flight({{fillRect(edge)}}), flight({{fillRect(ulpBelow)}}));
    EXPECT_EQ(exact.result.sectionsDiffering, 1u);
    EXPECT_EQ(exact.text.substr(0, exact.text.find('\n')),
              "frame 0, record 1 of 2: op gfxFillRect, args[2]: A 0.20000000298023224, B 0.19999998807907104");

    kvhost::DiffOptions close;
    close.tolerance = 1e-7;
    EXPECT_EQ(diff(flight({{fillRect(edge)}}), flight({{fillRect(ulpBelow)}}), close).result.sectionsDiffering, 0u);
    close.tolerance = 1e-9;
    EXPECT_EQ(diff(flight({{fillRect(edge)}}), flight({{fillRect(ulpBelow)}}), close).result.sectionsDiffering, 1u);
    // Relative to the magnitude: a far clip of 100000 one float step off.
    close.tolerance = 1e-7;
    const std::string far = R"({"op":"cameraSetFarClip","args":[100000.0]})";
    const std::string farStep = R"({"op":"cameraSetFarClip","args":[100000.0078125]})";
    EXPECT_EQ(diff(flight({{far}}), flight({{farStep}}), close).result.sectionsDiffering, 0u);
    EXPECT_EQ(diff(flight({{far}}), flight({{farStep}})).result.sectionsDiffering, 1u);
    // -0 is not 0, and an integer is not a real of the same value.
    const std::string zero = R"({"op":"sndSetVolume","args":[0.0]})";
    const std::string minusZero = R"({"op":"sndSetVolume","args":[-0.0]})";
    EXPECT_EQ(diff(flight({{zero}}), flight({{minusZero}})).result.sectionsDiffering, 1u);
    EXPECT_EQ(diff(flight({{R"({"op":"sndSetVolume","args":[1]})"}}), flight({{R"({"op":"sndSetVolume","args":[1.0]})"}}))
                  .result.sectionsDiffering,
              1u);
}

TEST(TraceDiff, PathsAndBlockSizesCanBeLeftOut) {
    const Lines linux = flight({{R"({"op":"dllLoadModule","args":["\\tmp\\a\\modules\\Hud.DLL"],"ret":1})"}},
                               "/tmp/a/flight", "96");
    const Lines windows = flight({{R"({"op":"dllLoadModule","args":["Z:\\tmp\\b\\modules\\Hud.DLL"],"ret":1})"}},
                                 "Z:\\\\tmp\\\\b\\\\flight", "88");
    const Outcome plain = diff(linux, windows);
    EXPECT_EQ(plain.result.sectionsDiffering, 2u);
    EXPECT_NE(plain.text.find("load, record 1 of 4: host Fly, args[0]: A \"/tmp/a/flight\", B \"Z:\\\\tmp\\\\b\\\\flight\""),
              std::string::npos)
        << plain.text;

    kvhost::DiffOptions paths;
    paths.ignorePaths = true;
    const Outcome sizesLeft = diff(linux, windows, paths);
    EXPECT_EQ(sizesLeft.result.sectionsDiffering, 1u);
    EXPECT_NE(sizesLeft.text.find("load, record 3 of 4: op memAlloc, args[0]: A 96, B 88"), std::string::npos)
        << sizesLeft.text;
    paths.ignoreSizes = true;
    EXPECT_EQ(diff(linux, windows, paths).result.sectionsDiffering, 0u);

    // Only the size: a relative path, the block's owner and memFree's
    // argument still count.
    const Lines relative = flight({{R"({"op":"txtLoadTextFile","args":["text\\flight_text.ini"]})"}});
    const Lines otherRelative = flight({{R"({"op":"txtLoadTextFile","args":["text/flight_text.ini"]})"}});
    EXPECT_EQ(diff(relative, otherRelative, paths).result.sectionsDiffering, 1u);
    const Lines otherFile = flight({{R"({"op":"txtLoadTextFile","args":["text\\chat_text.ini"]})"}});
    EXPECT_EQ(diff(relative, otherFile, paths).result.sectionsDiffering, 1u) << "a relative path is a text like any other";
    const Lines owner = flight({{R"({"op":"memAlloc","args":[52,0,0,"FLT"],"ret":"block:2"})"}});
    const Lines otherOwner = flight({{R"({"op":"memAlloc","args":[52,0,0,"GFX"],"ret":"block:2"})"}});
    EXPECT_EQ(diff(owner, otherOwner, paths).result.sectionsDiffering, 1u);
    const Lines freed = flight({{R"({"op":"memFree","args":[88]})"}});
    const Lines otherFreed = flight({{R"({"op":"memFree","args":[96]})"}});
    EXPECT_EQ(diff(freed, otherFreed, paths).result.sectionsDiffering, 1u);
}

TEST(TraceDiff, TheFlightFolderCanBeLeftOutOfEveryTextWhateverItsSpelling) {
    auto flownFrom = [](const std::string& folder, const std::string& moduleFolder, const std::string& file) {
        const std::string path = moduleFolder + "\\\\modules\\\\" + file;
        return flight({{R"({"op":"dllLoadModule","args":[")" + path + R"("],"ret":1})",
                        R"({"trace":"Unable to load HUD DLL )" + path + R"(!"})"}},
                      folder);
    };
    const Lines here = flownFrom("/tmp/a/training", "\\\\tmp\\\\a\\\\training", "Hud.DLL");
    // Another folder, another system: a drive letter, backslashes, capitals.
    const Lines there = flownFrom("Z:\\\\tmp\\\\golden\\\\Training", "Z:\\\\tmp\\\\golden\\\\Training", "Hud.DLL");
    kvhost::DiffOptions folder;
    folder.ignoreFlightFolder = true;
    const Outcome relocated = diff(here, there, folder);
    EXPECT_EQ(relocated.result.sectionsDiffering, 0u) << relocated.text;
    EXPECT_EQ(diff(here, there).result.sectionsDiffering, 2u) << "only on request";

    // What follows the folder still counts, to the letter.
    const Outcome otherFile = diff(here, flownFrom("/tmp/b/training", "\\\\tmp\\\\b\\\\training", "Comm.DLL"), folder);
    EXPECT_EQ(otherFile.result.sectionsDiffering, 1u);
    EXPECT_NE(otherFile.text.find("frame 0, record 1 of 3: op dllLoadModule, args[0]: A \"\\\\tmp\\\\a\\\\training"
                                  "\\\\modules\\\\Hud.DLL\", B \"\\\\tmp\\\\b\\\\training\\\\modules\\\\Comm.DLL\""),
              std::string::npos)
        << otherFile.text;
    EXPECT_EQ(diff(here, flownFrom("/tmp/a/training", "\\\\tmp\\\\a\\\\training", "hud.dll"), folder)
                  .result.sectionsDiffering,
              1u);
    // Each side's folder in another case is still that folder (Windows
    // hands its folders back in the case they were made in).
    const Lines shouted = flownFrom("Z:\\\\tmp\\\\golden\\\\Training", "Z:\\\\TMP\\\\GOLDEN\\\\TRAINING", "Hud.DLL");
    EXPECT_EQ(diff(here, shouted, folder).result.sectionsDiffering, 0u);
    // Only whole folder names are the folder: a longer name beside it, or
    // the same name inside another folder, is another place, though both
    // sides name their own such place.
    const std::vector<std::pair<std::string, std::string>> besides = {{"", "2"}, {"\\\\var", ""}};
    for (const auto& [before, after] : besides) {
        const Lines mine = flownFrom("/tmp/a/training", before + "\\\\tmp\\\\a\\\\training" + after, "Hud.DLL");
        const Lines theirs = flownFrom("/tmp/b/training", before + "\\\\tmp\\\\b\\\\training" + after, "Hud.DLL");
        EXPECT_EQ(diff(mine, theirs, folder).result.sectionsDiffering, 1u) << before << after;
    }
    // Before the first Fly there is no flight folder to leave out.
    Lines early = here;
    early.insert(early.begin() + 1, R"({"trace":"/tmp/a/training"})");
    Lines earlyThere = there;
    earlyThere.insert(earlyThere.begin() + 1, R"({"trace":"Z:\\\\tmp\\\\golden\\\\Training"})");
    EXPECT_EQ(diff(early, earlyThere, folder).result.sectionsDiffering, 1u);
}

TEST(TraceDiff, RecordPartsThatDifferAreNamed) {
    const std::string camera = R"({"op":"cameraGetParams","args":[{"fieldOfView":90.0,"nearClip":100.0}]})";
    const std::string cameraNear = R"({"op":"cameraGetParams","args":[{"fieldOfView":90.0,"nearClip":10.0}]})";
    EXPECT_NE(diff(flight({{camera}}), flight({{cameraNear}})).text.find("args[0].nearClip: A 100.0, B 10.0"),
              std::string::npos);
    const std::string noResult = R"({"op":"msnCanPause","args":[]})";
    EXPECT_NE(diff(flight({{kCanPause}}), flight({{noResult}})).text.find("op msnCanPause, ret: A 1, B none"),
              std::string::npos);
    const std::string trace = R"({"trace":"...error while loading terrain!"})";
    const std::string otherTrace = R"({"trace":"...error while loading the mission objects!"})";
    EXPECT_NE(diff(flight({{trace}}), flight({{otherTrace}})).text.find("trace, text: A \"...error while loading terrain!\""),
              std::string::npos);
}

TEST(TraceDiff, LinesThatAreNoTraceRecordsAreRefusedWithTheirNumber) {
    const std::vector<std::pair<Lines, std::string>> bad = {
        {{R"({"op":"clkUpdate"})", "not json"}, "x.jsonl:2: not a JSON object: not json"},
        {{R"([1,2])"}, "x.jsonl:1: not a JSON object"},
        {{R"({"args":[1]})"}, "x.jsonl:1: not a trace record"},
        {{R"({"op":"a","host":"b"})"}, "x.jsonl:1: not a trace record"},
        {{R"({"op":7})"}, "x.jsonl:1: not a trace record"},
    };
    for (const auto& [lines, message] : bad) {
        std::stringstream text;
        for (const std::string& line : lines) text << line << '\n';
        kvhost::Trace trace;
        std::string error;
        EXPECT_FALSE(kvhost::readTrace(text, "x.jsonl", trace, error)) << lines.back();
        EXPECT_EQ(error.substr(0, message.size()), message);
    }
    // Blank lines and Windows line ends are no records.
    std::stringstream windows("{\"op\":\"clkUpdate\"}\r\n\r\n{\"op\":\"objEndFrame\"}\r\n");
    kvhost::Trace trace;
    std::string error;
    ASSERT_TRUE(kvhost::readTrace(windows, "w.jsonl", trace, error)) << error;
    EXPECT_EQ(trace.recordCount, 2u);
    EXPECT_EQ(trace.sections.at(0).records.at(1).line, 3u);
}

}  // namespace
