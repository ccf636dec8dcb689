#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "engine/flight_module.h"
#include "tests/support/bound_module.h"
#include "tests/support/call_sequence.h"
#include "tests/support/code_page.h"

namespace {

class EngineOperations : public kvtest::BoundModule {
protected:
    void SetUp() override {
        BoundModule::SetUp();
        fm.textFilename = textFile;
        fm.pausedTextId = 5;
        fm.unpausedTextId = 6;
        fm.paused = 0;
        fm.skipToNextActive = 0;
        // The flight's string table, read by the text service from the
        // current directory as in a flight.
        std::filesystem::create_directories(folder);
        std::ofstream(folder / textFile) << "[Strings]\nS0=\nS1=\nS2=\nS3=\nS4=\nPaused=PAUSED\nResumed=RESUMED\n";
        before = std::filesystem::current_path();
        std::filesystem::current_path(folder);
        host.text.txtLoadTextFile(textFile);
        host.log().clear();
    }
    void TearDown() override {
        std::filesystem::current_path(before);
        std::filesystem::remove_all(folder);
        fm.textFilename = nullptr;
        fm.flightDirectory[0] = '\0';
        fm.skipToNextActive = 0;
        fm.paused = 0;
        BoundModule::TearDown();
    }

    kv::FlightModule& fm = kv::flightModule();
    char textFile[16] = "flight.txt";
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "korvane-engine-operations";
    std::filesystem::path before;
};

TEST_F(EngineOperations, SetPausedShowsTheTextOrRefusesSilently) {
    driver.setPaused(1);
    EXPECT_EQ(driver.isPaused(), 1);
    driver.setPaused(0);
    EXPECT_EQ(driver.isPaused(), 0);
    EXPECT_TRUE(kvtest::callsInOrder(host.log(), {"msnCanPause", "txtGetString flight.txt",
                                                  "msgShowText PAUSED", "msnCanPause",
                                                  "txtGetString flight.txt", "msgShowText RESUMED"}));
    EXPECT_EQ(host.messages.shown, (std::vector<std::string>{"PAUSED", "RESUMED"}));
    ASSERT_EQ(host.log().records()[2].op, "txtGetString");
    EXPECT_EQ(host.log().records()[2].args[1], 5) << "the paused text id";

    // The mission forbids pausing: nothing changes and nothing is shown.
    host.log().clear();
    host.scenario.canPause = 0;
    driver.setPaused(1);
    EXPECT_EQ(driver.isPaused(), 0);
    EXPECT_EQ(host.log().ops(), std::vector<std::string>{"msnCanPause"});

    // A skip forward runs: the same, though the mission allows it.
    host.log().clear();
    host.scenario.canPause = 1;
    fm.skipToNextActive = 1;
    driver.setPaused(1);
    EXPECT_EQ(driver.isPaused(), 0);
    EXPECT_EQ(host.log().ops(), std::vector<std::string>{"msnCanPause"});
    EXPECT_EQ(host.messages.shown.size(), 2u);
}

TEST_F(EngineOperations, SimpleOperationsReportTheEngineState) {
    EXPECT_EQ(driver.setRunState(2), 2);
    EXPECT_EQ(fm.runState, 2);
    EXPECT_EQ(driver.setRunState(0), 0);
    fm.timeCompression = 4.0f;
    fm.stepRate = 0.02f;
    EXPECT_EQ(driver.getTimeCompression(), 4.0f);
    EXPECT_EQ(driver.getStepRate(), 0.02f);
    fm.timeCompression = 0;
    fm.stepRate = 0;
    // None of them reaches the host.
    EXPECT_TRUE(host.log().ops().empty());
}

TEST_F(EngineOperations, FlightDirectoryIsCutToTheBuffer) {
    std::strcpy(fm.flightDirectory, "Flights\\Training");
    EXPECT_EQ(driver.getFlightDirectory(260), "Flights\\Training");
    EXPECT_EQ(driver.getFlightDirectory(17), "Flights\\Training");
    EXPECT_EQ(driver.getFlightDirectory(8), "Flights");
    EXPECT_EQ(driver.getFlightDirectory(1), "") << "size 1 is just the terminator";
    EXPECT_EQ(driver.getFlightDirectory(0), "x") << "size 0 leaves the buffer alone";
    EXPECT_EQ(driver.getFlightDirectory(-5), "x");
    driver.engine()->GetFlightDirectory(nullptr, 10);  // no buffer: nothing happens

    // Only whole characters: a double-byte character that would not fit
    // before the terminator is left out, trail byte 0x5C included.
    kvtest::CodePage cp932(932);
    std::strcpy(fm.flightDirectory, "ab\x95\x5C");
    EXPECT_EQ(driver.getFlightDirectory(4), "ab");
    EXPECT_EQ(driver.getFlightDirectory(5), "ab\x95\x5C");
}

}  // namespace
