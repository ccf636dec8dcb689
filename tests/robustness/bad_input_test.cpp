// Whole flights on bad input: files a player broke or made hostile, times
// no clock should give, siblings that are missing or hand out nothing. Each
// flight must end without a sanitizer finding, with both locks free and
// every "FLT" block given back, and with the outcome written beside it
// (docs/bad-input.md lists them all).
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/example_flight.h"
#include "tests/support/flight_rig.h"

namespace {

using kvtest::ExampleFlight;
using kvtest::FlightOutcome;
using kvtest::FlightRig;

// The text with the value of each named key line replaced.
std::string withValues(std::string text, const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& value : values) {
        const std::size_t at = text.find("\n" + value.first + "=");
        if (at == std::string::npos) continue;
        const std::size_t from = at + value.first.size() + 2;
        text.replace(from, text.find('\n', from) - from, value.second);
    }
    return text;
}

// The training flight ends with EXIT_FLIGHT at frame 260.
const int32_t kTrainingFrames = 261;

class BadInput : public ::testing::Test {
protected:
    BadInput() : example("training", ::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

    // Flies the example with its start-up file as the test left it.
    FlightOutcome fly(const char* startupFile = "flight.ini") {
        FlightOutcome out = rig.fly(example.directory(), startupFile);
        EXPECT_TRUE(out.locksFree);
        EXPECT_EQ(out.liveAfter, out.liveBefore);
        EXPECT_EQ(out.refusedFrees, 0);
        return out;
    }
    // The module's calls of op in the last flight (the log is kept).
    std::vector<kvsim::CallRecord> calls(const std::string& op) const {
        std::vector<kvsim::CallRecord> out;
        for (const auto& record : rig.host.state.log.records())
            if (record.kind == kvsim::RecordKind::Call && record.op == op) out.push_back(record);
        return out;
    }
    void keepLog() { rig.host.log().setMode(kvsim::CallLog::Mode::InMemory); }
    std::string flightIni() const {
        std::ifstream in(example.directory() + "/flight.ini", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    ExampleFlight example;
    FlightRig rig{example.scenario};
};

// A start-up file cut anywhere (inside a header, a key, a value, an
// include line) is read up to the cut; the rest takes its defaults and the
// flight flies.
TEST_F(BadInput, TruncatedStartupFilesFlyOnWhatWasRead) {
    const std::string whole = flightIni();
    for (std::size_t cut : {std::size_t{0}, std::size_t{1}, whole.find("[Korv") + 3, whole.find("DeltaT=") + 4,
                            whole.find("TextFilename=") + 15, whole.find("#include") + 4, whole.size() / 2,
                            whole.size() - 1}) {
        SCOPED_TRACE(cut);
        example.write("cut.ini", whole.substr(0, cut));
        const FlightOutcome out = fly("cut.ini");
        EXPECT_EQ(out.fly, 0);
        EXPECT_EQ(out.frames, kTrainingFrames);
    }
}

// Random bytes (zeros, CR without LF, bytes from 0x80 up) as the start-up
// file and as the in-flight string table.
TEST_F(BadInput, BinaryFilesReadAsWhateverLinesTheyHold) {
    std::mt19937 random(18);
    for (int round = 0; round < 8; ++round) {
        std::string bytes(4096 + round * 997, '\0');
        for (char& c : bytes) c = static_cast<char>(random() % 256);
        example.write("binary.ini", bytes);
        example.write("text/flight_text.ini", bytes);
        const FlightOutcome out = fly("binary.ini");
        EXPECT_EQ(out.fly, 0);
        // The example's scenario still gives its commands and its exit.
        const FlightOutcome flown = fly();
        EXPECT_EQ(flown.frames, kTrainingFrames);
    }
}

// A start-up file of four megabytes (a huge section before the real ones)
// is read whole: the settings behind it still reach the flight.
TEST_F(BadInput, AHugeStartupFileIsReadWhole) {
    std::string huge = "[Padding]\n";
    for (int i = 0; huge.size() < 4u * 1024 * 1024; ++i) huge += "Key" + std::to_string(i) + "=" + std::string(40, 'v') + "\n";
    example.write("huge.ini", huge + flightIni());
    const FlightOutcome out = fly("huge.ini");
    EXPECT_EQ(out.fly, 0);
    EXPECT_EQ(out.frames, kTrainingFrames);
    // PAUSE_FLIGHT found its text in the table the file names at its end.
    const auto& shown = rig.host.messages.shown;
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Simulation paused"), shown.end());
}

// Lines of 100,000 bytes, section and key names of 10,000, a module path
// far beyond the 260-byte buffers: cut where a buffer ends, never written
// past it; a module path cut short names no file, so that module is not
// loaded (with its trace) and the flight flies without it.
TEST_F(BadInput, OverlongLinesNamesAndValues) {
    const std::string longName(10000, 'N');
    example.write("long.ini", "[Korvane]\nHUDDLL=" + std::string(5000, 'h') + "\nCommDataFilename=" +
                                  std::string(100000, 'c') + "\n[" + longName + "]\n" + longName + "=1\n" +
                                  "[StartView]\nStartView000=" + std::string(3000, 'v') + "\n" + flightIni());
    const FlightOutcome out = fly("long.ini");
    EXPECT_EQ(out.fly, 0);
    EXPECT_EQ(out.frames, kTrainingFrames);
    EXPECT_TRUE(out.tracedStartingWith("Unable to load HUD DLL "));
}

// A file that includes itself, two that include each other, and a chain
// forty files deep: each file is read once per chain, the chain stops at
// its limit, and the flight flies on what was read.
TEST_F(BadInput, IncludeCyclesAndDeepChains) {
    example.write("self.ini", "#include self.ini\n" + flightIni());
    example.write("ping.ini", "#include pong.ini\n" + flightIni());
    example.write("pong.ini", "#include ping.ini\n[Extra]\nKey=1\n");
    for (int i = 0; i < 40; ++i)
        example.write("deep" + std::to_string(i) + ".ini",
                      "#include deep" + std::to_string(i + 1) + ".ini\n[Deep" + std::to_string(i) + "]\nKey=1\n");
    example.write("deep.ini", "#include deep0.ini\n" + flightIni());
    for (const char* file : {"self.ini", "ping.ini", "deep.ini"}) {
        SCOPED_TRACE(file);
        const FlightOutcome out = fly(file);
        EXPECT_EQ(out.fly, 0);
        EXPECT_EQ(out.frames, kTrainingFrames);
    }
    EXPECT_TRUE(fly("self.ini").tracedStartingWith("Skipping include self.ini, it is already being read"));
    EXPECT_TRUE(fly("deep.ini").tracedStartingWith("Skipping include deep"));
}

// Texts a player edits are printf formats only where their conversions
// match what the message passes: hostile ones (%n, %s without an argument,
// a width of a billion, *) are shown as they stand, through "%s".
TEST_F(BadInput, HostileAndOversizedFormatsAreShownLiterally) {
    const std::string huge(5000, 'W');
    example.write("text/flight_text.ini",
                  "[Strings]\nGamePaused=%s%s%s%n\nGameUnpaused=%999999999d\nTimeCompress=%d%d%s\n"
                  "NormalTime=%*d\nTimeSet=%n%s\nWaitJoin=" + huge + "\n");
    example.write("text/loading_text.ini", "[Strings]\nLoading=%s%s%n\nPercent=%n%3.0f%%%s\n");
    keepLog();
    const FlightOutcome out = fly();
    EXPECT_EQ(out.fly, 0);
    const auto shown = calls("msgShowText");
    ASSERT_FALSE(shown.empty());
    for (const auto& record : shown) EXPECT_EQ(record.args[0], "%s") << record.args[1];
    for (const auto& record : calls("gfxDrawText")) {
        const std::string text = record.args[0].get<std::string>();
        EXPECT_TRUE(text == "%s%s%n" || text == "%n%3.0f%%%s" || text.empty()) << text;
    }
}

// Frame times no clock should give (NaN, negative, infinite, a day, a
// thousandth of a nanosecond) and compressions that double past the 32-bit
// range: the flight counts them as no time or clamps them, never stalls
// and never hangs.
TEST_F(BadInput, UnusableFrameTimesAndCompressions) {
    rig.host.scenario.frameTimes = {0.05f, std::nanf(""), -1.0f, 86400.0f, 1e-12f, HUGE_VALF, 0.0f, 0.05f};
    // The first doubling passes the largest real: the compression becomes
    // infinite, and so would the simulated time.
    example.write("fast.ini", withValues(flightIni(), {{"MaxTimeCompression", "3.4e38"},
                                                       {"StartTimeCompression", "3e38"},
                                                       {"DeltaT", "1e-30"},
                                                       {"MaxDeltaT", "nan"}}));
    rig.host.scenario.events[50] = {"TIME_COMPRESSION"};
    keepLog();
    const FlightOutcome out = fly("fast.ini");
    EXPECT_EQ(out.fly, 0);
    EXPECT_EQ(out.frames, kTrainingFrames);
    EXPECT_TRUE(out.tracedStartingWith("...start-up setting Korvane MaxDeltaT=nan cannot be used"));
    EXPECT_TRUE(out.tracedStartingWith("...start-up setting Korvane DeltaT=1e-30 cannot be used"));
    // The factor shown stops at the largest 32-bit integer.
    const auto& shown = rig.host.messages.shown;
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Time compression 2147483647x"), shown.end());
    for (const auto& record : calls("wldUpdate")) EXPECT_TRUE(std::isfinite(record.args[0].get<double>()));
}

// Every optional sibling missing at once (network, force feedback,
// options, avionics), HUD and radio modules that fail to load or offer no
// interface: the flight flies without them.
TEST_F(BadInput, MissingOptionalModulesAndInterfaces) {
    rig.unbind();
    kvsim::Scenario scenario = example.scenario;
    scenario.hasNet = scenario.hasFfb = scenario.hasOpt = scenario.hasAvn = false;
    scenario.failHudModule = 1;
    {
        FlightRig without(scenario);
        without.host.dll.withoutInterface = {"COM"};
        const FlightOutcome out = without.fly(example.directory(), "flight.ini");
        EXPECT_EQ(out.fly, 0);
        EXPECT_EQ(out.frames, kTrainingFrames);
        EXPECT_TRUE(out.locksFree);
        EXPECT_EQ(out.liveAfter, out.liveBefore);
        EXPECT_TRUE(out.traced("No player options document, every option is 0!"));
        // A network mission without a network module flies alone.
        without.host.scenario.network = 1;
        without.host.scenario.gameMode = 4;
        const FlightOutcome alone = without.fly(example.directory(), "flight.ini");
        EXPECT_EQ(alone.fly, 0);
        EXPECT_EQ(alone.liveAfter, alone.liveBefore);
        // With the player's options but no network module to take the
        // host's gameplay settings from, it flies with the player's.
        without.host.scenario.hasOpt = true;
        const FlightOutcome optionsAlone = without.fly(example.directory(), "flight.ini");
        EXPECT_EQ(optionsAlone.fly, 0);
        EXPECT_EQ(optionsAlone.frames, kTrainingFrames);
        EXPECT_FALSE(optionsAlone.traced("No player options document, every option is 0!"));
    }
}

// Siblings that hand out null: no mission setup, a setup without its
// timing record, no terrain information, no host gameplay settings, no
// player aircraft, an aircraft without body, controls or target
// interfaces, a player without a name.
TEST_F(BadInput, NullRecordsAndHandlesFromSiblings) {
    rig.host.scenario.nullMissionSetup = true;
    rig.host.terrain.hasInfo = false;
    EXPECT_EQ(fly().frames, kTrainingFrames);
    rig.host.scenario.nullMissionSetup = false;
    rig.host.mission.withoutTiming = true;
    rig.host.scenario.gameMode = 3;
    EXPECT_EQ(fly().frames, kTrainingFrames);
    rig.host.scenario.playerInterfaces = {};
    rig.host.scenario.events[20] = {"MAP", "EJECT", "SKIP_TO_NEXT"};
    EXPECT_EQ(fly().frames, kTrainingFrames);
    rig.host.scenario.playerObject = -1;
    EXPECT_EQ(fly().frames, kTrainingFrames);
    rig.host.scenario.network = 1;
    rig.host.scenario.gameMode = 4;
    rig.host.scenario.hostGameplay.clear();
    rig.host.scenario.players = {{"Red 1", 0}, {"", 3}};
    const FlightOutcome out = fly();
    EXPECT_EQ(out.fly, 0);
    EXPECT_EQ(out.waitingForPlayers, 1);  // Red 1 never becomes ready: the wait goes on
}

}  // namespace
