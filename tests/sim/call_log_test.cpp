#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/flight_module_interface.h"
#include "entry/module_entry.h"
#include "sim/module_driver.h"
#include "sim/sim_host.h"
#include "sim/sim_shell.h"
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
        for (int i = 0; i < calls; ++i) host_.memory.memFree(host_.memory.memAlloc(8, 0, 0, "FLT"));
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

TEST(CallLog, RecordsStayPutWhileTheLogGrows) {
    CallLog log;
    auto& outer = log.call("netEnumPlayers");
    // Calls made before the outer one has its result, as a callback makes.
    for (int i = 0; i < 5000; ++i) log.returns(log.call("inner", {i}), i);
    EXPECT_EQ(log.returns(outer, 3), 3);
    ASSERT_EQ(log.records().size(), 5001u);
    EXPECT_EQ(log.records().front().result, 3);
    EXPECT_EQ(log.records().back().args[0], 4999);

    // A host call whose engine calls the host 200 times: its result lands on
    // its own record, in memory and streamed alike.
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

TEST(CallLog, StreamingWritesEachRecordOnceCompleteAndKeepsMemoryFlat) {
    std::ostringstream out;
    {
        CallLog log;
        log.setMode(CallLog::Mode::Streaming, &out);
        log.returns(log.call("appUpdate"), 1);  // out at once with its result
        EXPECT_EQ(out.str(), "{\"op\":\"appUpdate\",\"args\":[],\"ret\":1}\n");
        auto& r = log.call("memAlloc", {8, 0, 0, "FLT"});
        r.hasResult = true;  // set directly, as some simulated modules do
        r.result = log.handle(&r, "block");
        log.call("fmgCloseFile", {3});  // the next record sends the one before
        const std::size_t fly = log.hostCall("Fly", {"dir", nullptr});
        log.trace("Error Reading \"flight\"!");
        log.hostReturns<int32_t>(fly, 1);  // too late for its line: a line of its own
        log.call("netEnumPlayers");
        for (std::size_t i = 0; i < 3 * CallLog::kStreamWindow; ++i) log.call("gfxBeginScene");
        EXPECT_LE(log.records().size(), CallLog::kStreamWindow + 1) << "memory stays flat";
    }  // the last record goes out with the log
    const auto lines = linesOf(out.str());
    ASSERT_EQ(lines.size(), 7u + 3 * CallLog::kStreamWindow);
    EXPECT_EQ(lines[1], "{\"op\":\"memAlloc\",\"args\":[8,0,0,\"FLT\"],\"ret\":\"block:1\"}");
    EXPECT_EQ(lines[2], "{\"op\":\"fmgCloseFile\",\"args\":[3]}");
    EXPECT_EQ(lines[3], "{\"host\":\"Fly\",\"args\":[\"dir\",null]}");
    EXPECT_EQ(lines[4], "{\"trace\":\"Error Reading \\\"flight\\\"!\"}");
    EXPECT_EQ(lines[5], "{\"host\":\"Fly\",\"ret\":1}");
    EXPECT_EQ(lines[6], "{\"op\":\"netEnumPlayers\",\"args\":[]}");
    EXPECT_EQ(lines.back(), "{\"op\":\"gfxBeginScene\",\"args\":[]}");
    for (const auto& line : lines) EXPECT_NO_THROW(Json::parse(line)) << line;
}

TEST(CallLog, StreamedFlightMatchesTheOneKeptInMemory) {
    // The same flight, once kept and once streamed, gives the same lines
    // (a result that came back in time is on its record in both).
    std::string kept;
    std::ostringstream streamed;
    for (bool streaming : {false, true}) {
        kvsim::SimHost host;
        if (streaming) host.log().setMode(CallLog::Mode::Streaming, &streamed);
        kvsim::ModuleDriver driver{host, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
        driver.initDll(1);
        driver.setRunState(2);
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
    EXPECT_NE(kept.find("{\"trace\":\"Korvane DLL Initialized...\"}"), std::string::npos);
}

TEST(CallLog, OffRecordsNothingButMemoryStillCountsBlocks) {
    kvsim::SimWorld world;
    world.log.setMode(CallLog::Mode::Off);
    kvsim::SimMemory memory{world};
    void* a = memory.memAlloc(16, 0, 0, "FLT");
    void* b = memory.memAlloc(16, 0, 0, "FLT");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(memory.liveBlocks("FLT"), 2);
    memory.memFree(a);
    int foreign = 0;
    memory.memFree(&foreign);
    EXPECT_EQ(memory.liveBlocks("FLT"), 1);
    EXPECT_EQ(world.refusedFrees, 1);
    memory.memReleaseOwner("FLT");
    EXPECT_EQ(memory.liveBlocks("FLT"), 0);
    (void)b;
    world.log.trace("nobody reads this");
    EXPECT_EQ(world.log.hostReturns(world.log.hostCall("Fly"), 5), 5);
    EXPECT_TRUE(world.log.records().empty());
    EXPECT_TRUE(world.log.handle(&foreign, "block").is_null());
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
