#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/sim/scratch_folder.h"
#include "tests/support/bound_module.h"

namespace {

TEST(SimFlight, ANewFlightStartsFromTheSameState) {
    kvtest::ScratchFolder folder("sim-flight");
    folder.write("strings.txt", "[Strings]\nA=a\n");
    folder.write("options.ini", "[GraphicsOptions]\nShadow=1\n");
    folder.write("Modules/F16Hud.dll", "module");
    kvsim::Scenario scenario;
    scenario.appEndsAfter = 2;
    scenario.failAllocation = 2;
    kvsim::SimHost host{scenario};

    // A flight's worth of state.
    const auto makeState = [&] {
        host.text.txtLoadTextFile("strings.txt");
        host.graphics.gfxCreateCamera(0);
        host.graphics.gfxCreateFont(nullptr);
        host.graphics.gfxBeginFrame();
        host.graphics.gfxDrawText("x", 0, 0, 0, 0x12);
        host.graphics.gfxPresent();
        kv::ConfigDocument* document = nullptr;
        host.options.optGetDocument(&document);
        host.dll.dllLoadModule("modules\\f16hud.dll");
        host.fade.fadStartFadeIn(0);
        host.clock.startFrames();
        host.clock.clkUpdate();
        const std::vector<int32_t> app = {host.app.appUpdate(), host.app.appUpdate(), host.app.appIsRunning()};
        void* a = host.memory.memAlloc(4, 0, 0, "FLT");
        void* b = host.memory.memAlloc(4, 0, 0, "FLT");
        void* c = host.memory.memAlloc(4, 0, 0, "FLT");
        host.memory.memFree(a);
        host.memory.memFree(c);
        EXPECT_EQ(b, nullptr) << "the second allocation of the flight is refused";
        return app;
    };
    const auto stateIs = [&](bool fresh) {
        EXPECT_EQ(host.text.loadedTables(), fresh ? 0u : 1u);
        EXPECT_EQ(host.graphics.cameras.size(), fresh ? 0u : 1u);
        EXPECT_EQ(host.graphics.fonts.size(), fresh ? 0u : 1u);
        EXPECT_EQ(host.graphics.lastScreen.empty(), fresh);
        EXPECT_EQ(host.options.document() == nullptr, fresh);
        EXPECT_EQ(host.dll.loadedModules(), fresh ? 0 : 1);
        void* hud = nullptr;
        EXPECT_EQ(host.shell.GetInterface("HUD", &hud), fresh ? 0 : 1);
        host.shell.ReleaseInterface("HUD", &hud);
        EXPECT_EQ(host.fade.fadesStarted, fresh ? 0 : 1);
        EXPECT_EQ(host.state.frame, fresh ? -1 : 0);
        EXPECT_EQ(host.state.clockLoading, fresh);
        EXPECT_EQ(host.app.updates, fresh ? 0 : 2);
        EXPECT_EQ(host.memory.allocations, fresh ? 0 : 3);
    };
    int extraResets = 0;
    host.state.flightResets.push_back([&] { ++extraResets; });

    host.beginFlight();
    const auto first = makeState();
    EXPECT_EQ(first, (std::vector<int32_t>{1, 0, 1})) << "appUpdate gives 0 from its second call";
    stateIs(false);
    host.beginFlight();
    stateIs(true);
    EXPECT_EQ(makeState(), first) << "the second flight behaves as the first";
    EXPECT_EQ(extraResets, 2);

    // The driver's Fly starts a new flight before the module's.
    kvsim::ModuleDriver driver{host, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
    driver.initDll(0);
    driver.fly("no-such-flight", "none.ini");
    EXPECT_EQ(extraResets, 3);
    EXPECT_EQ(host.app.updates, 0);
    EXPECT_EQ(host.dll.loadedModules(), 0);
    driver.exitDll();
}

TEST(SimDll, ModulesOfferTheirInterfaceOnlyWhileLoaded) {
    kvtest::ScratchFolder folder("sim-dll");
    folder.write("Modules/F16Hud.dll", "module");
    folder.write("Modules/RadioComm.DLL", "module");
    folder.write("Modules/panel.dll", "module");
    kvsim::SimHost host;
    kv::DllInterface& dll = host.dll;
    void* slot = nullptr;

    EXPECT_EQ(host.shell.GetInterface("HUD", &slot), 0) << "no HUD before its module loads";
    EXPECT_EQ(dll.dllLoadModule("modules\\missing.dll"), 0);
    EXPECT_EQ(dll.dllLoadModule("modules\\F16HUD.dll"), 1);
    EXPECT_EQ(host.shell.GetInterface("HUD", &slot), 1);
    EXPECT_EQ(slot, &host.front<kv::HudInterface>()) << "the recording layer in front of the simulation";
    host.shell.ReleaseInterface("HUD", &slot);
    dll.dllUnloadModule(".\\Modules\\f16hud.dll");
    EXPECT_EQ(host.shell.GetInterface("HUD", &slot), 0) << "gone again after the unload";

    // A loaded module that offers nothing; a named module; a refused load.
    host.dll.withoutInterface.insert("COM");
    EXPECT_EQ(dll.dllLoadModule("modules\\radiocomm.dll"), 1);
    EXPECT_EQ(host.shell.GetInterface("COM", &slot), 0);
    host.scenario.moduleInterfaces = {{"Modules\\Panel.DLL", "HUD"}};
    host.scenario.failHudModule = 1;
    EXPECT_EQ(dll.dllLoadModule("modules\\panel.dll"), 0);
    host.scenario.failHudModule = 0;
    host.scenario.failCommModule = 1;
    EXPECT_EQ(dll.dllLoadModule("modules\\panel.dll"), 1);
    EXPECT_EQ(host.shell.GetInterface("HUD", &slot), 1);
    EXPECT_EQ(host.dll.loadedModules(), 2);
}

// [Modules] names a file by its place in the current (flight) directory,
// without regard to case; its interface wins over the name rule, and a
// file named nowhere keeps the name rule.
TEST(SimDll, TheScenarioSaysWhichInterfaceAFileOffers) {
    kvtest::ScratchFolder folder("sim-dll-modules");
    folder.write("Modules/Radio.DLL", "module");
    folder.write("Modules/Hud.dll", "module");
    folder.write("Radio.DLL", "module");
    kvsim::SimHost host;
    host.scenario.moduleInterfaces = {{"modules\\RADIO.dll", "COM"}, {"Modules/hud.DLL", ""}};
    EXPECT_EQ(host.dll.tagOf(".\\Modules\\Radio.DLL"), "COM");
    EXPECT_EQ(host.dll.tagOf("modules\\hud.dll"), "") << "none, whatever the name says";
    EXPECT_EQ(host.dll.tagOf("Radio.DLL"), "") << "another file of the same name";

    host.scenario.moduleInterfaces = {{"Radio.DLL", "HUD"}};
    EXPECT_EQ(host.dll.tagOf("radio.dll"), "HUD");
    EXPECT_EQ(host.dll.tagOf("modules\\Radio.DLL"), "");
    EXPECT_EQ(host.dll.tagOf("modules\\hud.dll"), "HUD") << "the name rule";

    // Loaded, the file offers what the scenario says, until it is unloaded.
    host.scenario.moduleInterfaces = {{"modules\\Radio.DLL", "COM"}};
    void* slot = nullptr;
    ASSERT_EQ(host.dll.dllLoadModule("MODULES\\radio.dll"), 1);
    EXPECT_EQ(host.shell.GetInterface("COM", &slot), 1);
    EXPECT_EQ(slot, &host.front<kv::CommInterface>()) << "the recording layer in front of the simulation";
    host.shell.ReleaseInterface("COM", &slot);
    host.dll.dllUnloadModule("modules\\Radio.DLL");
    EXPECT_EQ(host.shell.GetInterface("COM", &slot), 0);
}

TEST(SimMemory, CountsLiveBlocksAtAnyTimeAndRefusesTheChosenAllocation) {
    kvsim::SimHost host;
    host.scenario.failAllocation = 3;
    host.beginFlight();
    std::vector<void*> blocks;
    for (int i = 0; i < 5; ++i) blocks.push_back(host.front<kv::MemoryInterface>().memAlloc(8, 0, 0, i % 2 ? "HUD" : "FLT"));
    EXPECT_EQ(blocks[2], nullptr);
    EXPECT_NE(blocks[3], nullptr) << "only the third is refused";
    EXPECT_EQ(host.memory.liveBlocks("FLT"), 2);
    bool refusalRecorded = false;
    for (const auto& r : host.log().records())
        if (r.op == "memAlloc" && r.hasResult && r.result.is_null()) refusalRecorded = true;
    EXPECT_TRUE(refusalRecorded);
    host.beginFlight();
    EXPECT_NE(host.front<kv::MemoryInterface>().memAlloc(8, 0, 0, "FLT"), nullptr);
    EXPECT_NE(host.front<kv::MemoryInterface>().memAlloc(8, 0, 0, "FLT"), nullptr);
    EXPECT_EQ(host.front<kv::MemoryInterface>().memAlloc(8, 0, 0, "FLT"), nullptr) << "counted again from the flight's start";
}

// A host out of memory: the first k-1 allocations of a flight are granted,
// then none, whoever asks; the next flight counts again.
TEST(SimMemory, RefusesEveryAllocationFromTheChosenOneOn) {
    kvsim::SimHost host;
    host.scenario.failAllocationsFrom = 3;
    for (int flight = 0; flight < 2; ++flight) {
        host.beginFlight();
        std::vector<void*> blocks;
        for (int i = 0; i < 5; ++i) blocks.push_back(host.memory.memAlloc(8, 0, 0, i % 2 ? "HUD" : "FLT"));
        EXPECT_NE(blocks[0], nullptr);
        EXPECT_NE(blocks[1], nullptr) << "the one before the chosen one is granted";
        EXPECT_EQ(blocks[2], nullptr);
        EXPECT_EQ(blocks[3], nullptr);
        EXPECT_EQ(blocks[4], nullptr);
        for (void* block : blocks)
            if (block) host.memory.memFree(block);
    }
    EXPECT_EQ(host.memory.liveBlocks("FLT"), 0);
}

}  // namespace
