#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <filesystem>

#include "sim/host/sim_host.h"
#include "tools/korvane_host_pictures.h"
#include "tools/korvane_host_progress.h"
#include "tools/korvane_host_summary.h"
#include "tools/korvane_host_timeline.h"

namespace {

kvsim::ScreenFrame loadingFrame(float fill) {
    kvsim::ScreenFrame frame;
    frame.hasBarOutline = true;
    const float outline[4] = {0.125f, 0.8f, 0.875f, 0.85f};
    std::copy(outline, outline + 4, frame.barOutline);
    frame.hasBarFill = true;
    const float filled[4] = {0.125f, 0.8f, 0.125f + 0.75f * fill, 0.85f};
    std::copy(filled, filled + 4, frame.barFill);
    frame.texts.push_back({" 40%", 0.883f, 0.825f, 0x12, {}});
    frame.texts.push_back({"Loading\nnow", 0.117f, 0.825f, 0x14, {}});
    return frame;
}

// Each loading screen that differs from the one before in anything a
// player sees makes one picture; the same screen drawn again makes none.
TEST(LoadingPictures, OnePicturePerDistinctScreenNumberedPerFlight) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "korvane-loading-pictures";
    fs::remove_all(folder);
    fs::create_directories(folder);
    kvsim::SimHost host;
    {
        kvhost::LoadingPictures pictures(folder, host.graphics);
        pictures.flyBegin(1);
        const auto show = [&](const kvsim::ScreenFrame& frame) { host.graphics.onLoadingScreen(frame); };
        kvsim::ScreenFrame recoloured = loadingFrame(0.5f);
        recoloured.fillColor[0] = 1.0f;
        kvsim::ScreenFrame moved = recoloured;
        moved.texts[0].x += 0.01f;
        kvsim::ScreenFrame resized = moved;
        resized.textSize = 20;
        for (const kvsim::ScreenFrame& frame : {loadingFrame(0.4f), loadingFrame(0.4f), loadingFrame(0.5f),
                                                loadingFrame(0.5f), recoloured, moved, resized})
            show(frame);
        pictures.flyBegin(2);
        show(loadingFrame(0.4f));
        EXPECT_TRUE(pictures.failed().empty());
        std::vector<std::string> names;
        for (const fs::path& path : pictures.written()) names.push_back(path.filename().string());
        EXPECT_EQ(names, (std::vector<std::string>{"flight1-loading-01.png", "flight1-loading-02.png",
                                                   "flight1-loading-03.png", "flight1-loading-04.png",
                                                   "flight1-loading-05.png", "flight2-loading-01.png"}));
        for (const fs::path& path : pictures.written()) EXPECT_TRUE(fs::is_regular_file(path)) << path;
    }
    EXPECT_FALSE(host.graphics.onLoadingScreen) << "the pictures stop with their writer";
    fs::remove_all(folder);
}

TEST(LoadingLine, CaptionBarAndPercentageFromWhatTheModuleDrew) {
    // The caption is the text that ends at the bar, whatever the drawing order.
    EXPECT_EQ(kvhost::loadingLine(loadingFrame(0.4f), 10), "Loading now [####......]  40%");
    EXPECT_EQ(kvhost::loadingLine(loadingFrame(0.0f), 4), "Loading now [....]  40%");
    EXPECT_EQ(kvhost::loadingLine(loadingFrame(1.0f), 4), "Loading now [####]  40%");
    // A fill beyond the outline stays within the bar.
    EXPECT_EQ(kvhost::loadingLine(loadingFrame(3.0f), 4), "Loading now [####]  40%");
    // No bar drawn (a range of 0): the texts alone.
    kvsim::ScreenFrame texts = loadingFrame(0.5f);
    texts.hasBarOutline = texts.hasBarFill = false;
    EXPECT_EQ(kvhost::loadingLine(texts, 4), "Loading now  40%");
}

// A call log that records nothing and tells the observer what it sees, as
// korvane-host runs it without a trace.
class Feed {
public:
    explicit Feed(kvsim::CallObserver& observer) {
        log.setMode(kvsim::CallLog::Mode::Off);
        log.addObserver(&observer);
    }
    kvsim::CallLog log;
};

TEST(FlightCounts, CountWhatTheCallsShow) {
    kvhost::FlightCounts counts;
    Feed feed(counts);
    kvsim::CallLog& log = feed.log;
    log.call("wldUpdate", 0.02f);
    log.call("msnUpdate", 0.05f);
    log.call("msnUpdate", 0.25f);
    log.hostCall("command", "SCREEN_SHOT");
    log.returns(log.call("gfxSaveScreenshot", "a.pgm"), 1);
    log.returns(log.call("gfxSaveScreenshot", "b.pgm"), 0);
    log.call("gfxSaveScreenshot", "c.pgm");  // no result: nothing written
    log.call("objEndFrame");
    log.trace("objEndFrame");
    log.call("msgShowText", "%s", "Simulation resumed");
    log.call("netSendChat", "hello", -1, -1);
    const std::size_t fly = log.hostCall("Fly", "dir", "flight");
    const auto frameEnd = log.call("objEndFrame");
    log.call("msgShowText", "%s", "Simulation resumed");
    log.returns(frameEnd, 0);  // a late result is no second call
    log.hostReturns(fly, 0);
    log.flush();
    EXPECT_EQ(kvhost::summaryLine(2, 0, counts, 0),
              "flight=2 fly=0 frames=2 simulated=0.300 substeps=1 commands=1 messages=2 screenshots=1 chat=1 "
              "live_flt_blocks=0");
}

TEST(LoadingBar, RedrawsEachNewFrameWhileLoadingAndEndsItsLineWithTheLoad) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    kvsim::ScreenFrame screen = loadingFrame(0.5f);
    {
        kvhost::LoadingBar bar(out, [&screen]() -> const kvsim::ScreenFrame& { return screen; });
        Feed feed(bar);
        kvsim::CallLog& log = feed.log;
        bar.flyBegin();
        // A frame is drawn once the graphics module has presented it.
        log.call("gfxPresent");
        log.call("gfxPresent");  // the same line again: not redrawn
        screen = loadingFrame(1.0f);
        log.call("gfxPresent");
        log.call("memCheckpoint", std::string("End of _LoadKorvane"));
        screen = loadingFrame(0.0f);
        log.call("gfxPresent");  // a flight's frames: no loading bar
        log.flush();
        bar.flyEnd();
    }
    std::rewind(out);
    std::string shown;
    for (int c; (c = std::fgetc(out)) != EOF;) shown.push_back(static_cast<char>(c));
    std::fclose(out);
    const std::string half = "Loading now [" + std::string(15, '#') + std::string(15, '.') + "]  40%";
    const std::string full = "Loading now [" + std::string(30, '#') + "]  40%";
    EXPECT_EQ(shown, "\r\033[K" + half + "\r\033[K" + full + "\n");
}

struct Span {
    std::string name;
    int track;
    double ts;
    double dur;
};

std::vector<Span> spansOf(const std::string& text) {
    std::vector<Span> spans;
    const kvsim::Json json = kvsim::Json::parse(text);
    for (const auto& e : json["traceEvents"]) {
        if (e["ph"] == "X") spans.push_back({e["name"], e["tid"], e["ts"], e["dur"]});
    }
    return spans;
}

TEST(Timeline, SpansFollowTheVirtualClockAcrossResets) {
    std::ostringstream out;
    double clock = 0.0;
    {
        kvhost::Timeline timeline(out, [&clock] { return clock; });
        Feed feed(timeline);
        kvsim::CallLog& log = feed.log;
        timeline.flyBegin(1, "training");
        // The stand-in clock moves inside a call, after the call's record
        // began; the record is seen once the next one starts.
        log.call("memCheckpoint", "Start of _LoadKorvane");
        log.call("fadStep");
        clock = 0.5;  // the fades
        log.call("memCheckpoint", "End of _LoadKorvane");
        log.call("clkReset");
        clock = 0.0;  // the run driver's clkReset
        log.call("clkUpdate");
        clock = 0.1;
        log.call("objUpdate", 0.04f);
        log.call("wldUpdate", 0.04f);
        log.call("ptsUpdate", 0.04f);
        log.call("objUpdate", 0.06f);
        log.call("wldUpdate", 0.06f);
        log.call("ptsUpdate", 0.06f);
        log.call("objEndFrame");
        // A frame the application stopped before its end.
        log.call("appUpdate");
        log.call("clkUpdate");
        clock = 0.2;
        log.returns(log.call("appIsRunning"), 0);
        log.call("sndStopStream");
        log.flush();
        timeline.flyEnd(1);
    }
    std::vector<Span> virtualSpans;
    for (const Span& s : spansOf(out.str())) {
        if (s.track == 1) virtualSpans.push_back(s);
    }
    const std::vector<std::string> order = {"load", "sub-step", "sub-step", "frame", "frame", "unload", "Fly"};
    ASSERT_EQ(virtualSpans.size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(virtualSpans[i].name, order[i]) << i;
    // Microseconds of the time line: the load took 0.5 s, and the clock's
    // reset does not move the frames back into it.
    EXPECT_DOUBLE_EQ(virtualSpans[0].dur, 500000.0);
    EXPECT_DOUBLE_EQ(virtualSpans[3].ts, 500000.0);
    EXPECT_DOUBLE_EQ(virtualSpans[3].dur, 100000.0);
    // The sub-steps share their frame by their lengths, 0.04 then 0.06.
    EXPECT_DOUBLE_EQ(virtualSpans[1].ts, 500000.0);
    EXPECT_DOUBLE_EQ(virtualSpans[1].dur, 40000.0);
    EXPECT_DOUBLE_EQ(virtualSpans[2].ts, 540000.0);
    EXPECT_DOUBLE_EQ(virtualSpans[2].dur, 60000.0);
    // The cut-short frame ends where the unload begins.
    EXPECT_DOUBLE_EQ(virtualSpans[4].ts, 600000.0);
    EXPECT_DOUBLE_EQ(virtualSpans[4].dur, 100000.0);
    EXPECT_DOUBLE_EQ(virtualSpans[6].ts, 0.0);
    EXPECT_DOUBLE_EQ(virtualSpans[6].dur, 700000.0);
}

}  // namespace
