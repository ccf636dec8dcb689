// A test bound to a fresh stand-in host through the module's real entry
// points, linked into the test program; unbound again at the end.
#pragma once

#include <gtest/gtest.h>

#include "entry/module_entry.h"
#include "sim/host/module_driver.h"
#include "sim/host/sim_host.h"

namespace kvtest {

class BoundModule : public ::testing::Test {
protected:
    void SetUp() override { driver.initDll(0); }
    void TearDown() override { driver.exitDll(); }

    kvsim::SimHost host;
    kvsim::ModuleDriver driver{host, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
};

}  // namespace kvtest
