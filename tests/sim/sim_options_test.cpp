#include <gtest/gtest.h>

#include "config/config_document.h"
#include "tests/sim/scratch_folder.h"
#include "tests/support/bound_module.h"

namespace {

// Bound, so that what the module writes into the lent document comes from
// the host's memory service under "FLT", as in a flight.
class SimOptionsTest : public kvtest::BoundModule {
protected:
    kv::ConfigDocument* borrow() {
        kv::ConfigDocument* document = nullptr;
        host.options.optGetDocument(&document);
        return document;
    }
    void giveBack(kv::ConfigDocument* document) { host.options.optReleaseDocument(&document); }

    kvtest::ScratchFolder folder{"sim-options"};
};

TEST_F(SimOptionsTest, LendsTheFileAndReloadDropsWhatTheModuleWrote) {
    folder.write("Options.INI", "[GraphicsOptions]\nTerrainDetail=2\n[GameplayOptions]\nEnemySkill=1\n");
    host.scenario.optionsFile = "options.ini";
    const int before = host.memory.liveBlocks("FLT");

    kv::ConfigDocument* document = borrow();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->getInt("GraphicsOptions", "TerrainDetail", -1), 2);
    // A network flight writes the host's settings, one of them a new key.
    document->setInt("GraphicsOptions", "TerrainDetail", 0);
    document->setInt("GameplayOptions", "FuelUsage", 1);
    giveBack(document);
    EXPECT_GT(host.memory.liveBlocks("FLT"), before) << "the new key is the module's";
    EXPECT_EQ(borrow()->getInt("GameplayOptions", "FuelUsage", -1), 1) << "lent again as it was left";

    host.options.optReloadOptions();
    document = borrow();
    EXPECT_EQ(document->getInt("GraphicsOptions", "TerrainDetail", -1), 2);
    EXPECT_EQ(document->getInt("GameplayOptions", "FuelUsage", -1), -1);
    EXPECT_EQ(host.memory.liveBlocks("FLT"), before) << "the module's key went back to the memory service";
    EXPECT_EQ(host.state.refusedFrees, 0);
    EXPECT_EQ(host.log().count("fmgOpenFile"), 0u);
}

TEST_F(SimOptionsTest, MissingFileLendsAnEmptyDocumentAndOptCanBeAbsent) {
    host.scenario.optionsFile = "nothing.ini";
    kv::ConfigDocument* document = borrow();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->sections.head, nullptr);
    EXPECT_EQ(document->getInt("GraphicsOptions", "DisplayWidth", 7), 7);
    giveBack(document);

    host.scenario.hasOpt = false;
    void* opt = &folder;
    EXPECT_EQ(host.shell.GetInterface("OPT", &opt), 0);
    EXPECT_EQ(opt, nullptr);
    host.scenario.hasOpt = true;
    host.scenario.hasNet = host.scenario.hasFfb = host.scenario.hasAvn = false;
    for (const char* tag : {"NET", "FFB", "AVN"}) {
        EXPECT_EQ(host.shell.GetInterface(tag, &opt), 0) << tag;
    }
    EXPECT_EQ(host.shell.GetInterface("OPT", &opt), 1);
    host.shell.ReleaseInterface("OPT", &opt);
}

TEST(SimOptions, AKeyTheModuleLeftInTheDocumentDoesNotOutliveUnbinding) {
    kvtest::ScratchFolder folder("sim-options-unbind");
    folder.write("options.ini", "[GraphicsOptions]\nShadow=1\n");
    kvsim::SimHost host;
    kvsim::ModuleDriver driver{host, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
    driver.initDll(0);
    kv::ConfigDocument* document = nullptr;
    host.options.optGetDocument(&document);
    ASSERT_NE(document, nullptr);
    document->setInt("GameplayOptions", "EnemySkill", 3);
    host.options.optReleaseDocument(&document);
    // ExitDLL frees every "FLT" block; the options module lets go of the
    // document first (the sanitizers would see a freed block used).
    driver.exitDll();
    EXPECT_EQ(host.options.document(), nullptr);
    EXPECT_EQ(host.memory.liveBlocks("FLT"), 0);
    host.options.optGetDocument(&document);
    EXPECT_EQ(document->getInt("GameplayOptions", "EnemySkill", -1), -1) << "read afresh";
    EXPECT_EQ(document->getInt("GraphicsOptions", "Shadow", -1), 1);
}

}  // namespace
