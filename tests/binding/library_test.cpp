// The module as the host really gets it: the shared library, loaded at run
// time, with nothing but its two entry points to go by.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/flight_module.h"
#include "entry/module_entry.h"
#include "sim/host/module_driver.h"
#include "sim/host/module_library.h"
#include "sim/host/sim_host.h"
#include "tests/support/call_sequence.h"

namespace {

TEST(ModuleLibrary, LoadsBindsRunsTheEngineAndUnbinds) {
    kvsim::ModuleLibrary library;
    ASSERT_TRUE(library.open(KORVANE_LIBRARY_FILE)) << library.error();
    // Its own copy of the module, not the one linked into this program.
    EXPECT_NE(library.entryPoints().initDll, &InitDLL);

    kvsim::SimHost host;
    kvsim::ModuleDriver driver{host, library.entryPoints()};
    driver.initDll(3);
    kv::FlightModuleInterface* engine = driver.engine();
    ASSERT_NE(engine, nullptr);
    EXPECT_NE(engine, static_cast<kv::FlightModuleInterface*>(&kv::flightModule()));

    EXPECT_EQ(driver.setRunState(0), 0);
    EXPECT_EQ(driver.getTimeCompression(), 0.0f);
    EXPECT_EQ(driver.getStepRate(), 0.0f);
    driver.setPaused(1);
    EXPECT_EQ(driver.isPaused(), 1);
    host.scenario.canPause = 0;
    driver.setPaused(0);
    EXPECT_EQ(driver.isPaused(), 1) << "the mission refuses";
    EXPECT_EQ(driver.getFlightDirectory(260), "");
    EXPECT_EQ(driver.getFlightDirectory(1), "");
    driver.setScreenshotDirectory(".\\");
    driver.takeScreenshot();  // no file name format yet: a click, no file
    EXPECT_EQ(driver.fly("Flights\\Training", "startup.ini"), 1);
    driver.exitDll();

    EXPECT_EQ(host.shell.registered("FLT"), nullptr);
    EXPECT_EQ(host.memory.liveBlocks("FLT"), 0);
    EXPECT_TRUE(kvtest::callsInOrder(
        host.log(), {"host:InitDLL", "GetInterface DBG", "GetInterface MEM", "GetInterface FFB",
                     "RegisterModule FLT", "host:SetPaused", "msnCanPause", "txtGetString",
                     "host:TakeScreenshot", "sndPlaySound", "host:ExitDLL", "ReleaseInterface FFB",
                     "UnregisterModule FLT", "memReleaseOwner FLT", "ReleaseInterface DBG"}));
    for (const char* tag : {"DBG", "MEM", "APP", "GFX", "FFB"}) EXPECT_EQ(host.shell.held(tag), 0) << tag;
    library.close();
    EXPECT_FALSE(library.isOpen());
}

TEST(ModuleLibrary, ReportsWhatCannotBeLoaded) {
    kvsim::ModuleLibrary library;
    EXPECT_FALSE(library.open("no-such-module-library"));
    EXPECT_FALSE(library.error().empty());
    EXPECT_FALSE(library.isOpen());
    EXPECT_EQ(library.entryPoints().initDll, nullptr);
}

}  // namespace
