#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/subsystem_pointers.h"
#include "engine/flight_module.h"
#include "entry/module_entry.h"
#include "services/services.h"
#include "services/shell_binding.h"
#include "sim/host/module_driver.h"
#include "sim/host/sim_host.h"
#include "tests/support/call_sequence.h"
#include "tests/support/trace_lines.h"

namespace {

const std::vector<std::string> kShellTags = {"DBG", "MEM", "APP", "DLL", "FMG", "RND"};
const std::vector<std::string> kEngineTags = {"GFX", "TER", "OBJ", "WLD", "SND", "INP",
                                              "CTL", "VMG", "PTS", "ENV", "MSN", "CLK",
                                              "TXT", "MSG", "SPC", "FAD", "NET", "FFB"};

std::vector<std::string> prefixed(const std::string& op, const std::vector<std::string>& tags) {
    std::vector<std::string> out;
    for (const auto& tag : tags) out.push_back(op + " " + tag);
    return out;
}

template <typename T>
std::vector<T> reversed(std::vector<T> v) {
    return std::vector<T>(v.rbegin(), v.rend());
}

std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

using kvtest::TraceLines;

class Binding : public ::testing::Test {
protected:
    kvsim::SimHost host;
    kvsim::ModuleDriver driver{host, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
};

TEST_F(Binding, AcquiresAndReleasesInNestedOrder) {
    TraceLines trace;
    driver.initDll(42);

    // Everything is held once and "FLT" is the engine object.
    for (const auto& tag : joined({kShellTags, kEngineTags})) EXPECT_EQ(host.shell.held(tag), 1) << tag;
    EXPECT_EQ(driver.engine(), static_cast<kv::FlightModuleInterface*>(&kv::flightModule()));
    EXPECT_EQ(kv::engine, &kv::flightModule());
    EXPECT_EQ(std::string(kv::moduleName), "FLT");
    EXPECT_EQ(kv::flightModule().notRenderedFlag, 0x100);
    const auto& records = host.log().records();
    const auto registration = std::find_if(records.begin(), records.end(),
                                           [](const auto& r) { return r.op == "RegisterModule"; });
    ASSERT_NE(registration, records.end());
    EXPECT_EQ(registration->args[2], 42) << "InitDLL's argument goes to RegisterModule unchanged";

    driver.exitDll();

    EXPECT_TRUE(kvtest::callsInOrder(
        host.log(),
        joined({{"host:InitDLL"},
                prefixed("GetInterface", kShellTags),
                prefixed("GetInterface", kEngineTags),
                {"objGetFlagByName NOT_RENDERED", "RegisterModule FLT", "host:ExitDLL"},
                prefixed("ReleaseInterface", reversed(kEngineTags)),
                {"UnregisterModule FLT"},
                prefixed("ReleaseInterface", {"RND", "FMG", "DLL", "APP"}),
                {"memReleaseOwner FLT", "ReleaseInterface MEM", "ReleaseInterface DBG"}})));
    // Each interface exactly once each way, and nothing between the owner's
    // release and MEM's.
    EXPECT_EQ(host.log().count("GetInterface"), 24u);
    EXPECT_EQ(host.log().count("ReleaseInterface"), 24u);
    const auto ops = host.log().ops();
    const auto owner = std::find(ops.begin(), ops.end(), "memReleaseOwner");
    ASSERT_NE(owner, ops.end());
    EXPECT_EQ(*(owner + 1), "ReleaseInterface");
    for (const auto& tag : joined({kShellTags, kEngineTags})) EXPECT_EQ(host.shell.held(tag), 0) << tag;
    EXPECT_EQ(host.shell.registered("FLT"), nullptr);
    EXPECT_EQ(kv::engine, nullptr);
    EXPECT_EQ(trace.lines, (std::vector<std::string>{"Korvane DLL Initialized...",
                                                     "Korvane DLL Deinitialized..."}));
}

TEST_F(Binding, MissingNetworkAndForceFeedbackSkipExactlyTheirReleases) {
    host.shell.remove("NET");
    host.shell.remove("FFB");
    driver.initDll(0);
    driver.exitDll();
    EXPECT_EQ(host.log().count("GetInterface"), 24u) << "both are still asked for";
    const auto released = kvtest::callsMatching(host.log(), {"ReleaseInterface"});
    std::vector<std::string> engineWithoutOptional(kEngineTags.begin(), kEngineTags.end() - 2);
    EXPECT_EQ(released, joined({prefixed("ReleaseInterface", reversed(engineWithoutOptional)),
                                prefixed("ReleaseInterface", reversed(kShellTags))}));

    // Only one of them missing: the other is still given back.
    kvsim::SimHost second;
    second.shell.remove("FFB");
    kvsim::ModuleDriver secondDriver{second, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
    secondDriver.initDll(0);
    secondDriver.exitDll();
    EXPECT_EQ(second.log().count("ReleaseInterface"), 23u);
    EXPECT_EQ(second.shell.held("NET"), 0);
}

TEST_F(Binding, NameMismatchAtUnbindingKeepsTheShellInterfaces) {
    TraceLines trace;
    driver.initDll(0);
    const std::size_t before = host.log().ops().size();
    kv::ExitApplicationShell("FLX");
    kv::ExitApplicationShell("flt");  // the comparison minds case
    kv::ExitApplicationShell("");
    kv::ExitApplicationShell(nullptr);
    EXPECT_EQ(host.log().ops().size(), before) << "nothing is released or called";
    EXPECT_NE(kv::MEM, nullptr);
    for (const auto& tag : kShellTags) EXPECT_EQ(host.shell.held(tag), 1) << tag;
    ASSERT_EQ(trace.lines.size(), 5u);
    EXPECT_EQ(trace.lines[1], "Unable to exit application shell FLX from DLL FLT!");
    EXPECT_EQ(trace.lines[2], "Unable to exit application shell flt from DLL FLT!");
    EXPECT_EQ(trace.lines[4], "Unable to exit application shell  from DLL FLT!");

    driver.exitDll();  // the right name still unbinds everything
    for (const auto& tag : kShellTags) EXPECT_EQ(host.shell.held(tag), 0) << tag;
}

TEST_F(Binding, ALongModuleNameIsCutToSevenBytesAndThenNeverMatches) {
    TraceLines trace;
    kv::InitApplicationShell("FLIGHTMODE", host.applicationShell());
    EXPECT_EQ(std::string(kv::moduleName), "FLIGHTM");
    EXPECT_EQ(std::string(kv::ownerName), "FLIGHTM");
    kv::ExitApplicationShell("FLIGHTMODE");
    EXPECT_EQ(trace.lines, std::vector<std::string>{"Unable to exit application shell FLIGHTMODE from DLL FLIGHTM!"});
    EXPECT_EQ(host.shell.held("MEM"), 1);
    kv::ExitApplicationShell("FLIGHTM");
    EXPECT_TRUE(kvtest::callsInOrder(host.log(), {"memReleaseOwner FLIGHTM", "ReleaseInterface MEM"}));
    for (const auto& tag : kShellTags) EXPECT_EQ(host.shell.held(tag), 0) << tag;
}

TEST_F(Binding, OwnerBlocksGoBackWithTheOwnerAndNothingForeignIsFreed) {
    driver.initDll(0);
    void* kept = kv::MemAlloc(64);  // a block the module never frees itself
    void* freed = kv::ModuleAlloc(16);
    ASSERT_NE(kept, nullptr);
    ASSERT_NE(freed, nullptr);
    EXPECT_EQ(host.memory.liveBlocks("FLT"), 2);
    kv::MemFree(freed);
    EXPECT_EQ(host.memory.liveBlocks("FLT"), 1);
    driver.exitDll();
    EXPECT_EQ(host.memory.liveBlocks("FLT"), 0) << "memReleaseOwner takes back the rest";
    EXPECT_EQ(host.state.refusedFrees, 0);
}

TEST_F(Binding, AfterUnbindingTheAllocatorNoLongerReachesTheHost) {
    driver.initDll(0);
    driver.exitDll();
    EXPECT_EQ(kv::MEM, nullptr);
    EXPECT_EQ(kv::DBG, nullptr);
    EXPECT_EQ(kv::APP, nullptr);
    EXPECT_EQ(kv::FMG, nullptr);
    const std::size_t calls = host.log().ops().size();
    const std::size_t heapBefore = kv::heapBlocksOutstanding();
    void* block = kv::ModuleAlloc(24);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(kv::heapBlocksOutstanding(), heapBefore + 1) << "from the heap, not from the released MEM";
    kv::MemFree(block);
    EXPECT_EQ(kv::heapBlocksOutstanding(), heapBefore);
    EXPECT_EQ(kv::MemAlloc(8), nullptr);
    kv::MemCheckpoint("late");
    EXPECT_EQ(host.log().ops().size(), calls) << "nothing reaches the host after ExitDLL";
}

TEST_F(Binding, RebindingAfterUnbindingWorks) {
    // The host may load the module once per session, but the static object
    // must not carry anything across that breaks a second binding.
    for (int round = 0; round < 2; ++round) {
        kvsim::SimHost fresh;
        kvsim::ModuleDriver freshDriver{fresh, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
        freshDriver.initDll(round);
        EXPECT_EQ(freshDriver.engine(), static_cast<kv::FlightModuleInterface*>(&kv::flightModule()));
        EXPECT_EQ(kv::flightModule().lock.count, 0) << "acquisition leaves the lock free";
        freshDriver.exitDll();
        EXPECT_EQ(kv::flightModule().lock.count, 0);
        EXPECT_EQ(fresh.log().count("ReleaseInterface"), 24u);
    }
}

}  // namespace
