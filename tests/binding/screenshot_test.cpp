#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/printf_format.h"

#include "commands/screenshot_capture.h"
#include "engine/flight_module.h"
#include "platform/thread.h"
#include "platform/workdir.h"
#include "tests/support/bound_module.h"
#include "tests/support/call_sequence.h"

namespace {

namespace fs = std::filesystem;

std::string currentDir() {
    char buffer[1024] = {};
    kv::getWorkingDir(buffer, sizeof buffer);
    return buffer;
}

// A screenshot folder of its own for each test, removed afterwards.
class Screenshots : public kvtest::BoundModule {
protected:
    void SetUp() override {
        BoundModule::SetUp();
        folder = fs::temp_directory_path() /
                 ("korvane-shots-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        driver.setScreenshotDirectory(folder.string().c_str());
        // The capture object outlives bindings; start each test afresh.
        shot.lastNumber = 0;
        shot.maxScreenShot = 5;
        shot.soundId = 7;
        shot.setFilenameFormat("shot%03d.pgm");
        fm.screenshotTimer = 0;
        fm.screenshotInterval = 0;
        host.log().clear();
    }
    void TearDown() override {
        shot.setDirectory(nullptr);
        shot.setFilenameFormat("");
        shot.maxScreenShot = 999;
        shot.soundId = -1;
        shot.lastNumber = 0;
        BoundModule::TearDown();
        std::error_code error;
        fs::remove_all(folder, error);
    }
    void touch(const char* name) { std::ofstream(folder / name) << "taken before"; }
    bool exists(const char* name) const { return fs::exists(folder / name); }

    kv::FlightModule& fm = kv::flightModule();
    kv::ScreenshotCapture& shot = kv::flightModule().screenshot;
    fs::path folder;
};

TEST_F(Screenshots, NumbersSkipFilesOnDiskAndStopAtTheLimit) {
    touch("shot001.pgm");
    touch("shot002.pgm");
    const std::string before = currentDir();

    EXPECT_EQ(shot.capture(), 1);
    EXPECT_EQ(shot.lastNumber, 3);
    EXPECT_TRUE(kvtest::callsInOrder(host.log(), {"fmgPushDirectory", "sndPlaySound",
                                                  "fmgFileExists shot001.pgm", "fmgFileExists shot002.pgm",
                                                  "fmgFileExists shot003.pgm", "gfxSaveScreenshot shot003.pgm",
                                                  "fmgPopDirectory"}));
    EXPECT_EQ(host.log().records()[1].args[1], 7) << "the click uses the loaded sound";
    EXPECT_EQ(currentDir(), before) << "the working directory is restored";

    EXPECT_EQ(shot.capture(), 1);
    EXPECT_EQ(shot.capture(), 1);
    EXPECT_TRUE(exists("shot003.pgm") && exists("shot004.pgm") && exists("shot005.pgm"));
    EXPECT_EQ(shot.lastNumber, 5);

    // The limit is reached: the click still plays, nothing more is written
    // and the numbers do not wrap around.
    host.log().clear();
    EXPECT_EQ(shot.capture(), 0);
    EXPECT_EQ(shot.capture(), 0);
    EXPECT_EQ(host.log().count("sndPlaySound"), 2u);
    EXPECT_EQ(host.log().count("fmgFileExists"), 0u);
    EXPECT_EQ(host.log().count("gfxSaveScreenshot"), 0u);
    EXPECT_FALSE(exists("shot006.pgm"));
    EXPECT_EQ(currentDir(), before);
}

TEST_F(Screenshots, BeforeAnyStartupFileAHundredShotsAreAllowed) {
    // A capture object as the module starts with it: the limit holds until
    // a start-up file replaces it, and a host may take screenshots first.
    kv::ScreenshotCapture fresh;
    fresh.setDirectory(folder.string().c_str());
    fresh.setFilenameFormat("early%03d.pgm");
    for (int i = 0; i < 100; ++i) fresh.capture();
    EXPECT_EQ(host.log().count("gfxSaveScreenshot"), 100u);
    EXPECT_TRUE(exists("early100.pgm"));
}

TEST_F(Screenshots, FormatsOtherThanOneIntegerConversionWriteNothing) {
    for (const char* format : {"%s.pgm", "%d-%d.pgm", "%ld.pgm", "%n", "%*d.pgm", "%.*d", "%f.pgm",
                               "%lld", "%hd", "%c", "%p", "%", "shot%", "shot%999999999d.pgm", "%.260d"}) {
        SCOPED_TRACE(format);
        EXPECT_FALSE(kv::formatAccepts(format, kv::FormatArgument::Integer, 0, 1));
        host.log().clear();
        shot.setFilenameFormat(format);
        EXPECT_EQ(shot.capture(), 0);
        EXPECT_EQ(host.log().count("sndPlaySound"), 1u) << "the click still plays";
        EXPECT_EQ(host.log().count("fmgFileExists"), 0u);
        EXPECT_EQ(host.log().count("gfxSaveScreenshot"), 0u);
        EXPECT_EQ(host.log().count("fmgPopDirectory"), 1u);
        EXPECT_EQ(shot.lastNumber, 0) << "no number is used up";
    }
    EXPECT_TRUE(fs::is_empty(folder));
    for (const char* format : {"shot%03d.pgm", "%%d-%05i.pgm", "%-+ #0x", "%X", "%u%%", "%.3o", "plain.pgm", ""})
        EXPECT_TRUE(kv::formatAccepts(format, kv::FormatArgument::Integer, 0, 1)) << format;
    EXPECT_FALSE(kv::formatAccepts(nullptr, kv::FormatArgument::Integer, 0, 1));

    shot.setFilenameFormat("%%d-%05i.pgm");
    EXPECT_EQ(shot.capture(), 1);
    EXPECT_TRUE(exists("%d-00001.pgm"));
}

TEST_F(Screenshots, ANameTooLongForTheBufferIsNeverWrittenCut) {
    // 251 bytes of text and eight digits fit 259 bytes; nine do not.
    const std::string stem(251, 'a');
    shot.setFilenameFormat((stem + "%08d").c_str());
    shot.maxScreenShot = 200000000;
    shot.lastNumber = 99999998;
    host.log().clear();
    shot.capture();  // whether the file system takes such a name is its own affair
    const auto asked = kvtest::callsMatching(host.log(), {"gfxSaveScreenshot"});
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], "gfxSaveScreenshot " + stem + "99999999") << "the whole name, never a cut one";
    EXPECT_EQ(shot.lastNumber, 99999999);

    host.log().clear();
    EXPECT_EQ(shot.capture(), 0);
    EXPECT_EQ(host.log().count("fmgFileExists"), 0u);
    EXPECT_EQ(host.log().count("gfxSaveScreenshot"), 0u);
    EXPECT_EQ(host.log().count("fmgPopDirectory"), 1u);
}

TEST_F(Screenshots, AFixedNameWalksToTheLimitOnceItExists) {
    shot.setFilenameFormat("fixed.pgm");
    EXPECT_EQ(shot.capture(), 1);
    EXPECT_EQ(shot.lastNumber, 1);
    host.log().clear();
    EXPECT_EQ(shot.capture(), 0);
    EXPECT_EQ(host.log().count("fmgFileExists"), 4u);
    EXPECT_EQ(shot.lastNumber, 5);

    // With no limit from the start-up file nothing is ever written.
    shot.maxScreenShot = 0;
    shot.lastNumber = 0;
    host.log().clear();
    EXPECT_EQ(shot.capture(), 0);
    EXPECT_EQ(host.log().ops(), (std::vector<std::string>{"fmgPushDirectory", "sndPlaySound", "fmgPopDirectory"}));
}

TEST_F(Screenshots, DirectoryFallsBackToTheCurrentOne) {
    driver.setScreenshotDirectory("");
    EXPECT_STREQ(shot.directory, ".\\");
    driver.setScreenshotDirectory(nullptr);
    EXPECT_STREQ(shot.directory, ".\\");

    // A directory that does not exist leaves the current one in use.
    const std::string before = currentDir();
    ASSERT_TRUE(kv::setWorkingDir(folder.string().c_str()));
    driver.setScreenshotDirectory("no such folder\\");
    EXPECT_EQ(shot.capture(), 1);
    EXPECT_TRUE(exists("shot001.pgm"));
    ASSERT_TRUE(kv::setWorkingDir(before.c_str()));
}

TEST_F(Screenshots, TakeScreenshotWaitsForTheInterval) {
    fm.screenshotTimer = 2.5f;
    fm.screenshotInterval = 3.0f;
    driver.takeScreenshot();
    EXPECT_EQ(host.log().count("sndPlaySound"), 0u) << "no click while the timer runs";
    EXPECT_EQ(fm.screenshotTimer, 2.5f);

    fm.screenshotTimer = 0.0f;
    driver.takeScreenshot();
    EXPECT_EQ(host.log().count("gfxSaveScreenshot"), 1u);
    EXPECT_EQ(fm.screenshotTimer, 3.0f);

    // An interval of 0 lets every call capture.
    fm.screenshotTimer = 0.0f;
    fm.screenshotInterval = 0.0f;
    driver.takeScreenshot();
    driver.takeScreenshot();
    EXPECT_EQ(host.log().count("gfxSaveScreenshot"), 3u);
    EXPECT_TRUE(exists("shot003.pgm"));
}

// While a flight runs on another thread, a capture names its files by their
// path in the screenshot directory, a relative one taken from the flight's
// folder, and neither enters the directory nor pushes or pops; a capture
// asked for while another is being taken is refused outright.
TEST_F(Screenshots, AnotherThreadsFlightIsNeverMovedByACapture) {
    const std::string before = currentDir();
    char flightDirectory[sizeof fm.flightDirectory];
    std::memcpy(flightDirectory, fm.flightDirectory, sizeof flightDirectory);
    fm.flightThread = kv::currentThreadId() + 1;
    fm.screenshotInterval = 1.5f;
    driver.takeScreenshot();
    const std::string first = folder.string() + "\\shot001.pgm";
    EXPECT_EQ(kvtest::callsMatching(host.log(), {"fmgFileExists", "gfxSaveScreenshot"}),
              (std::vector<std::string>{"fmgFileExists " + first, "gfxSaveScreenshot " + first}));
    EXPECT_TRUE(kvtest::callsInOrder(host.log(), {"sndPlaySound", "fmgFileExists", "gfxSaveScreenshot"}));
    EXPECT_EQ(host.log().count("fmgPushDirectory") + host.log().count("fmgPopDirectory"), 0u);
    EXPECT_EQ(currentDir(), before);
    EXPECT_TRUE(exists("shot001.pgm"));
    EXPECT_EQ(fm.screenshotTimer, 1.5f);

    fs::create_directories(folder / "sub");
    std::snprintf(fm.flightDirectory, sizeof fm.flightDirectory, "%s", folder.string().c_str());
    driver.setScreenshotDirectory("sub");
    fm.screenshotTimer = 0.0f;
    host.log().clear();
    driver.takeScreenshot();
    EXPECT_TRUE(fs::exists(folder / "sub" / "shot002.pgm")) << "the relative folder is the flight's";
    EXPECT_EQ(host.log().count("fmgPushDirectory"), 0u);
    EXPECT_EQ(currentDir(), before);

    // A folder and name that do not fit 259 bytes together are refused, not
    // cut into the path of some other file; the number is used up, as by a
    // name that does not fit.
    driver.setScreenshotDirectory(std::string(250, 'd').c_str());
    fm.screenshotTimer = 0.0f;
    host.log().clear();
    driver.takeScreenshot();
    EXPECT_EQ(host.log().count("fmgFileExists") + host.log().count("gfxSaveScreenshot"), 0u);
    driver.setScreenshotDirectory("sub");

    fm.screenshotTimer = 0.0f;
    fm.captureBusy = 1;
    host.log().clear();
    driver.takeScreenshot();
    EXPECT_EQ(host.log().count("sndPlaySound") + host.log().count("fmgFileExists"), 0u) << "refused, not queued";
    EXPECT_EQ(fm.screenshotTimer, 0.0f);
    EXPECT_EQ(shot.lastNumber, 3);
    fm.captureBusy = 0;
    fm.flightThread = 0;
    std::memcpy(fm.flightDirectory, flightDirectory, sizeof flightDirectory);

    // With no flight running the capture enters the directory again.
    driver.setScreenshotDirectory(folder.string().c_str());
    host.log().clear();
    driver.takeScreenshot();
    EXPECT_TRUE(kvtest::callsInOrder(host.log(), {"fmgPushDirectory", "fmgFileExists shot004.pgm",
                                                  "gfxSaveScreenshot shot004.pgm", "fmgPopDirectory"}));
}

}  // namespace
