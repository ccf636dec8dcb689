// The trace is written straight from the calls' values; the records a test
// keeps are Json, written by the JSON library. Both must give the same
// bytes, value by value and for whole flights.
#include <cfloat>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sim/host/module_driver.h"
#include "sim/host/module_library.h"
#include "sim/scenario/scenario_file.h"
#include "sim/host/sim_host.h"
#include "tests/sim/scratch_folder.h"

namespace {

using kvsim::CallLog;
using kvsim::Json;

// The same calls into a streamed log and a kept one; the kept one written
// out by the JSON library.
class BothWays {
public:
    BothWays() { streamed_.setMode(CallLog::Mode::Streaming, &out_); }

    template <typename... Args>
    void call(const char* op, const Args&... args) {
        streamed_.call(op, args...);
        kept_.call(op, args...);
    }
    template <typename T>
    void returns(const char* op, const T& value) {
        streamed_.returns(streamed_.call(op), value);
        kept_.returns(kept_.call(op), value);
    }
    std::string streamed() {
        streamed_.flush();
        return out_.str();
    }
    std::string kept() const {
        std::ostringstream out;
        kept_.writeJsonLines(out);
        return out.str();
    }

private:
    std::ostringstream out_;
    CallLog streamed_;
    CallLog kept_;
};

TEST(TraceText, ValuesReadAsTheJsonLibraryWritesThem) {
    BothWays log;
    const float floats[] = {0.0f,    -0.0f,      1.0f,          0.1f,          1.0f / 3.0f, 1.333333f, 60.0f,
                            1e-45f,  FLT_MIN,    FLT_MAX,       -FLT_MAX,      1e20f,       123456789.0f,
                            1e-5f,   0.0001f,    1e15f,         1e16f,         -4.37e-8f,   NAN,
                            INFINITY, -INFINITY};
    for (float f : floats) log.call("real", f, f);  // the second one a repeat
    const double doubles[] = {0.0, -0.0, 1e300, -1e-300, DBL_MIN, DBL_MAX, 4.9e-324, 1000.0, 0.5, 1e21, NAN};
    for (double d : doubles) log.call("position", d);
    log.call("integers", INT32_MIN, INT32_MAX, int64_t{INT64_MIN}, uint64_t{UINT64_MAX}, true, false, nullptr);
    log.call("bytes", uint8_t{255}, int8_t{-128}, int16_t{-300});
    const char* texts[] = {"",
                           "plain text of some length",
                           "1234567",
                           "12345678",
                           "quote \" inside",
                           "back\\slash",
                           "tab\tnew\nline\rform\fbell\b\x01\x1f",
                           "delete \x7f",
                           "caf\xC3\xA9 \xE2\x82\xAC",
                           "caf\xE9 \xFF invalid",
                           "\xE2\x82",
                           "\xF0\x9F\x98\x80 four bytes",
                           "ends in a lead byte \xC3"};
    for (const char* t : texts) log.call("text", t, kvsim::Text{t, std::strlen(t)});
    log.call("text", kvsim::Text{"cut here", 3}, kvsim::Text{nullptr}, std::string("std"));
    int a = 0;
    log.call("handles", kvsim::Handle{&a, "camera"}, kvsim::Handle{nullptr, "camera"}, kvsim::Handle{&a, "image"});
    const double where[3] = {1.5, -2.25, 1e10};
    const float turn[9] = {1, 0, 0, 0, 0.70710677f, -0.70710677f, 0, 0.70710677f, 0.70710677f};
    log.call("arrays", kvsim::Position{where}, kvsim::Orientation{turn}, kvsim::Vector3{nullptr});
    kv::CameraParams camera = {};
    camera.fieldOfView = 60.0f;
    camera.aspectRatio = 1.333333f;
    kv::FontSettings font = {};
    std::memset(font.faceName, 'A', sizeof font.faceName);  // no terminator
    const kv::DisplayOptions* none = nullptr;
    log.call("records", &camera, &font, none);
    const std::vector<uint8_t> gameplay{3, 1, 0, 255};
    log.returns("list", kvsim::Maybe<std::vector<uint8_t>>{&gameplay});
    log.returns("list", kvsim::Maybe<std::vector<uint8_t>>{nullptr});
    log.call("list", std::vector<int32_t>{}, std::vector<float>{0.5f, -1.0f});
    log.returns("result", &camera);
    log.returns("result", 0.1f);
    log.returns("result", kvsim::Text{"r\xE9sultat"});

    // Random bit patterns: every kind of real, hit and missed in the table
    // of texts; and random bytes.
    std::mt19937_64 random(19);
    for (int i = 0; i < 20000; ++i) {
        const uint64_t bits = random();
        uint32_t bits32 = static_cast<uint32_t>(bits);
        float f;
        double d;
        std::memcpy(&f, &bits32, sizeof f);
        std::memcpy(&d, &bits, sizeof d);
        log.call("random", f, d, static_cast<float>(i % 97) / 8.0f);
    }
    for (int i = 0; i < 3000; ++i) {
        std::string bytes(random() % 24, ' ');
        for (char& c : bytes) c = static_cast<char>(random() % 4 ? 0x20 + random() % 0x60 : random() % 256);
        log.call("random", bytes);
    }

    const std::string streamed = log.streamed();
    EXPECT_EQ(streamed, log.kept());
    std::istringstream lines(streamed);
    for (std::string line; std::getline(lines, line);) ASSERT_NO_THROW(Json::parse(line)) << line;
    // Reals give back the 32-bit value they came from.
    EXPECT_NE(streamed.find("{\"op\":\"real\",\"args\":[0.10000000149011612,0.10000000149011612]}"), std::string::npos);
    EXPECT_NE(streamed.find("{\"op\":\"real\",\"args\":[-0.0,-0.0]}"), std::string::npos);
    EXPECT_NE(streamed.find("{\"op\":\"real\",\"args\":[null,null]}"), std::string::npos);
    // Lists keep every element, in order; none is null.
    EXPECT_NE(streamed.find("{\"op\":\"list\",\"args\":[],\"ret\":[3,1,0,255]}\n"
                            "{\"op\":\"list\",\"args\":[],\"ret\":null}\n"
                            "{\"op\":\"list\",\"args\":[[],[0.5,-1.0]]}"),
              std::string::npos);
}

// Flies an example flight directory as korvane-host does, with the module's
// library loaded afresh (its screenshot numbers start again), and gives the
// trace.
std::string fly(const std::string& example, bool streaming) {
    namespace fs = std::filesystem;
    kvtest::ScratchFolder scratch("trace-both-ways");
    fs::copy(fs::path(KORVANE_EXAMPLES) / example, scratch.path() / example, fs::copy_options::recursive);
    const fs::path folder = scratch.path() / example;
    kvsim::Scenario scenario;
    kvsim::ScenarioError problem;
    EXPECT_TRUE(kvsim::readScenarioFile((folder / "scenario.ini").string(), scenario, problem)) << problem.text();
    std::ostringstream out;
    kvsim::SimHost host(scenario);
    if (streaming) host.log().setMode(CallLog::Mode::Streaming, &out);
    kvsim::ModuleLibrary library;
    EXPECT_TRUE(library.open(KORVANE_LIBRARY_FILE)) << library.error();
    kvsim::ModuleDriver driver{host, library.entryPoints()};
    driver.initDll(0);
    fs::create_directories(folder / scenario.screenshotDirectory);
    driver.setScreenshotDirectory(scenario.screenshotDirectory.c_str());
    EXPECT_EQ(driver.fly(folder.string().c_str(), scenario.startupFile.c_str()), 0);
    driver.exitDll();
    host.log().flush();
    if (streaming) return out.str();
    host.log().writeJsonLines(out);
    return out.str();
}

TEST(TraceText, FlightsWrittenBothWaysAreTheSameBytes) {
    for (const char* example : {"training", "network"}) {
        const std::string kept = fly(example, false);
        const std::string streamed = fly(example, true);
        EXPECT_GT(kept.size(), 100000u) << example;
        EXPECT_TRUE(kept == streamed) << example << ": the texts differ";
        std::istringstream keptLines(kept);
        std::istringstream streamedLines(streamed);
        std::size_t lines = 0;
        for (std::string a, b; std::getline(keptLines, a) && std::getline(streamedLines, b); ++lines)
            ASSERT_EQ(Json::parse(a), Json::parse(b)) << example << " line " << lines + 1;
        EXPECT_GT(lines, 10000u) << example;
    }
}

}  // namespace
