#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <korvane/flight_module_interface.h>
#include "entry/module_entry.h"
#include "services/services.h"
#include "sim/host/module_driver.h"
#include "sim/host/sim_host.h"
#include "sim/modules/sim_shell.h"
#include "tests/support/call_sequence.h"

namespace {

using kvsim::CallLog;
using kvsim::Json;

std::vector<std::string> linesOf(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// An engine object whose Fly makes many calls into the host before it
// returns, as a real flight does, and traces on the way.
class BusyEngine : public kv::FlightModuleInterface {
public:
    explicit BusyEngine(kvsim::SimHost& host) : host_(host) {}
    int32_t Fly(const char*, const char*) override {
        for (int i = 0; i < calls; ++i) host_.front<kv::MemoryInterface>().memFree(host_.front<kv::MemoryInterface>().memAlloc(8, 0, 0, "FLT"));
        kv::TraceMessage("flown %d", calls);
        return 7;
    }
    int32_t SetRunState(int32_t) override { return 0; }
    float GetTimeCompression() override { return 0; }
    int32_t IsPaused() override { return 0; }
    void SetPaused(int32_t) override {}
    void SetScreenshotDirectory(const char*) override {}
    void TakeScreenshot() override {}
    void GetFlightDirectory(char*, int32_t) override {}
    float GetStepRate() override { return 0; }

    int calls = 200;

private:
    kvsim::SimHost& host_;
};

TEST(CallLog, ResultsFindTheirRecordWhileTheLogGrows) {
    CallLog log;
    const auto outer = log.call("netEnumPlayers");
    // Calls made before the outer one has its result, as a callback makes.
    for (int i = 0; i < 5000; ++i) log.returns(log.call("inner", i), i);
    EXPECT_EQ(log.returns(outer, 3), 3);
    ASSERT_EQ(log.records().size(), 5001u);
    EXPECT_EQ(log.records().front().result, 3);
    EXPECT_TRUE(log.records().front().lateResult);
    EXPECT_EQ(log.records().back().args[0], 4999);
    EXPECT_FALSE(log.records().back().lateResult);

    // A host call whose engine calls the host 200 times: its result lands on
    // its own record.
    kvsim::SimHost host;
    BusyEngine engine(host);
    host.shell.RegisterModule("FLT", static_cast<kv::FlightModuleInterface*>(&engine), 0);
    kvsim::ModuleDriver driver{host, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
    host.log().clear();
    EXPECT_EQ(driver.fly("dir", "flight"), 7);
    ASSERT_EQ(host.log().records().front().op, "Fly");
    EXPECT_EQ(host.log().records().front().result, 7);
    EXPECT_EQ(host.log().count("memAlloc"), 200u);
}

TEST(CallLog, StreamingWritesEachRecordOnceCompleteAndKeepsNothing) {
    std::ostringstream out;
    int block = 0;
    {
        CallLog log;
        log.setMode(CallLog::Mode::Streaming, &out);
        log.returns(log.call("appUpdate"), 1);  // complete with its result
        const auto alloc = log.call("memAlloc", 8, 0, 0, "FLT");
        log.returns(alloc, kvsim::Handle{&block, "block"});
        log.call("fmgCloseFile", 3);  // complete once the next record starts
        const std::size_t fly = log.hostCall("Fly", "dir", nullptr);
        log.trace("Error Reading \"flight\"!");
        log.hostReturns<int32_t>(fly, 1);  // too late for its line: a line of its own
        const auto enumerate = log.call("netEnumPlayers");
        log.call("memFree", kvsim::Handle{&block, "block"});
        log.returns(enumerate, 0);  // late as well
        for (int i = 0; i < 100000; ++i) log.call("gfxBeginScene");
        EXPECT_TRUE(log.records().empty()) << "nothing is kept";
        EXPECT_GT(out.str().size(), 3000000u) << "the text goes out in blocks as it grows";
    }  // the last record goes out with the log
    const auto lines = linesOf(out.str());
    ASSERT_EQ(lines.size(), 9u + 100000);
    EXPECT_EQ(lines[0], "{\"op\":\"appUpdate\",\"args\":[],\"ret\":1}");
    EXPECT_EQ(lines[1], "{\"op\":\"memAlloc\",\"args\":[8,0,0,\"FLT\"],\"ret\":\"block:1\"}");
    EXPECT_EQ(lines[2], "{\"op\":\"fmgCloseFile\",\"args\":[3]}");
    EXPECT_EQ(lines[3], "{\"host\":\"Fly\",\"args\":[\"dir\",null]}");
    EXPECT_EQ(lines[4], "{\"trace\":\"Error Reading \\\"flight\\\"!\"}");
    EXPECT_EQ(lines[5], "{\"host\":\"Fly\",\"ret\":1}");
    EXPECT_EQ(lines[6], "{\"op\":\"netEnumPlayers\",\"args\":[]}");
    EXPECT_EQ(lines[7], "{\"op\":\"memFree\",\"args\":[\"block:1\"]}");
    EXPECT_EQ(lines[8], "{\"op\":\"netEnumPlayers\",\"ret\":0}");
    EXPECT_EQ(lines.back(), "{\"op\":\"gfxBeginScene\",\"args\":[]}");
    for (const auto& line : lines) EXPECT_NO_THROW(Json::parse(line)) << line;
}

// Records as an observer saw them, one line each.
class SeenRecords : public kvsim::CallObserver {
public:
    void onRecord(const kvsim::LoggedRecord& r) override {
        std::ostringstream line;
        line << static_cast<int>(r.kind) << (r.late ? " late " : " ") << r.name;
        if (!std::isnan(r.first.number)) line << " first=" << r.first.number;
        if (r.first.text) line << " first='" << std::string(r.first.text, r.first.length) << "'";
        if (r.hasResult) line << " ret=" << r.result;
        lines.push_back(line.str());
    }
    std::vector<std::string> lines;
};

TEST(CallLog, ObserversSeeTheSameCompletedRecordsInEveryMode) {
    // A record is seen once it is complete, with its first argument and its
    // result, whether the log keeps it, streams it or records nothing.
    std::vector<std::vector<std::string>> seen;
    for (CallLog::Mode mode : {CallLog::Mode::Off, CallLog::Mode::Streaming, CallLog::Mode::InMemory}) {
        std::ostringstream out;
        SeenRecords observer;
        CallLog log;
        log.setMode(mode, &out);
        log.addObserver(&observer);
        log.call("wldUpdate", 0.25f);
        log.returns(log.call("gfxSaveScreenshot", "shot001.pgm"), 1);
        // The caller's text is gone before the record completes.
        log.call("memCheckpoint", std::string("Start of _LoadKorvane"));
        EXPECT_EQ(observer.lines.size(), 2u) << "the checkpoint is seen once the next record starts";
        const std::size_t command = log.hostCall("command", std::string("MAP"));
        log.call("vmgHandleCommand", 7);
        log.hostReturns(command, 0);
        log.trace("no text");
        log.call("objEndFrame");
        log.flush();
        log.removeObserver(&observer);
        log.call("objEndFrame");
        log.flush();
        seen.push_back(observer.lines);
    }
    const std::vector<std::string> expected = {
        "0 wldUpdate first=0.25",
        "0 gfxSaveScreenshot first='shot001.pgm' ret=1",
        "0 memCheckpoint first='Start of _LoadKorvane'",
        "1 command first='MAP'",
        "0 vmgHandleCommand first=7",
        "1 late command ret=0",
        "2 no text",
        "0 objEndFrame",
    };
    EXPECT_EQ(seen[0], expected) << "Off";
    EXPECT_EQ(seen[1], expected) << "Streaming";
    EXPECT_EQ(seen[2], expected) << "InMemory";
}

TEST(CallLog, KeptRecordsWriteAsTheyStream) {
    // Results that came in time sit on their record; late ones follow where
    // they came, as Streaming writes them.
    std::string kept;
    std::ostringstream streamed;
    for (bool streaming : {false, true}) {
        kvsim::SimHost host;
        if (streaming) host.log().setMode(CallLog::Mode::Streaming, &streamed);
        BusyEngine engine(host);
        engine.calls = 3;
        kvsim::ModuleDriver driver{host, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
        driver.initDll(1);
        host.shell.RegisterModule("FLT", static_cast<kv::FlightModuleInterface*>(&engine), 0);
        driver.setRunState(2);
        driver.fly("dir", "flight");
        driver.getFlightDirectory(16);
        driver.exitDll();
        host.log().flush();
        if (!streaming) {
            std::ostringstream out;
            host.log().writeJsonLines(out);
            kept = out.str();
        }
    }
    EXPECT_EQ(streamed.str(), kept);
    EXPECT_NE(kept.find("{\"trace\":\"flown 3\"}\n{\"host\":\"Fly\",\"ret\":7}\n"), std::string::npos);
    EXPECT_NE(kept.find("{\"host\":\"SetRunState\",\"args\":[2],\"ret\":0}"), std::string::npos);
}

TEST(CallLog, OffRecordsNothingButMemoryStillCountsBlocks) {
    kvsim::SimState state;
    state.log.setMode(CallLog::Mode::Off);
    kvsim::SimMemory memory{state};
    void* a = memory.memAlloc(16, 0, 0, "FLT");
    void* b = memory.memAlloc(16, 0, 0, "FLT");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(memory.liveBlocks("FLT"), 2);
    memory.memFree(a);
    int foreign = 0;
    memory.memFree(&foreign);
    EXPECT_EQ(memory.liveBlocks("FLT"), 1);
    EXPECT_EQ(state.refusedFrees, 1);
    memory.memReleaseOwner("FLT");
    EXPECT_EQ(memory.liveBlocks("FLT"), 0);
    (void)b;
    state.log.trace("nobody reads this");
    EXPECT_EQ(state.log.hostReturns(state.log.hostCall("Fly"), 5), 5);
    EXPECT_TRUE(state.log.records().empty());
    EXPECT_TRUE(state.log.handle(&foreign, "block").is_null());
}

TEST(CallLog, TraceTextsTakeTheirPlaceAmongTheCalls) {
    kvsim::SimHost host;
    std::vector<std::string> earlier;
    kv::TraceSink collect = [](const char* text, void* context) {
        static_cast<std::vector<std::string>*>(context)->push_back(text);
    };
    void* outerContext = nullptr;
    const kv::TraceSink outer = kv::setTraceSink(collect, &earlier, &outerContext);
    {
        kvsim::ModuleDriver driver{host, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
        driver.initDll(0);
        kv::ExitApplicationShell("FLX");  // refused, with a trace text
        driver.exitDll();
    }
    kv::TraceMessage("after the driver: not recorded");
    kv::setTraceSink(outer, outerContext);

    EXPECT_TRUE(kvtest::callsInOrder(host.log(), {"host:InitDLL", "RegisterModule FLT",
                                                  "trace:Korvane DLL Initialized...",
                                                  "trace:Unable to exit application shell FLX from DLL FLT!",
                                                  "host:ExitDLL", "trace:Korvane DLL Deinitialized...",
                                                  "ReleaseInterface GFX", "ReleaseInterface DBG"}));
    EXPECT_EQ(host.log().traces(), (std::vector<std::string>{"Korvane DLL Initialized...",
                                                              "Unable to exit application shell FLX from DLL FLT!",
                                                              "Korvane DLL Deinitialized..."}));
    EXPECT_EQ(host.log().count("Korvane DLL Initialized..."), 0u) << "texts are not calls";
    // A sink installed before binding keeps getting the texts.
    EXPECT_EQ(earlier.size(), 4u);
    EXPECT_EQ(earlier.back(), "after the driver: not recorded");
}

}  // namespace
