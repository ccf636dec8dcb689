// One stand-in host with the module bound through its real entry points,
// flying one flight after another, and what each flight left behind. The
// call log is off, as in a long run; the module's trace texts are kept per
// flight. afterFrame runs between two frames: the run driver asks APP's
// appUpdate right after each frame step, and the rig answers it.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/flight_module.h"
#include "entry/module_entry.h"
#include <korvane/shell.h>
#include "sim/host/module_driver.h"
#include "sim/host/sim_host.h"
#include "tests/support/trace_lines.h"

namespace kvtest {

// No count, no owner, no word held.
inline bool lockFree(const kv::RecursiveSpinLock& lock) {
    return lock.count == 0 && lock.owner == 0 && lock.lockWord.load() == 0;
}

// The engine lock and the lock of the fields the host's threads share are
// both free. Only while no other thread calls the engine: the shared lock
// is theirs to take at any moment.
inline bool locksFree(const kv::FlightModule& flight) { return lockFree(flight.lock) && lockFree(flight.sharedLock); }

struct FlightOutcome {
    int32_t fly = -1;
    // Passes of the run loop (frame steps).
    int32_t frames = 0;
    int liveBefore = 0;
    int liveAfter = 0;
    // Both locks, or the engine lock alone (FlightRig::otherThreadsCallTheEngine).
    bool locksFree = false;
    // Left set when the join wait never saw every player ready.
    int32_t waitingForPlayers = 0;
    // memFree calls for blocks the memory service never handed out (or
    // already took back).
    int refusedFrees = 0;
    int32_t allocations = 0;
    std::vector<std::string> traces;

    bool traced(const std::string& text) const {
        for (const auto& line : traces)
            if (line == text) return true;
        return false;
    }
    bool tracedStartingWith(const std::string& start) const {
        for (const auto& line : traces)
            if (line.compare(0, start.size(), start) == 0) return true;
        return false;
    }
};

class FlightRig : private kv::AppInterface {
public:
    explicit FlightRig(kvsim::Scenario scenario = kvsim::Scenario()) : host(std::move(scenario)) {
        host.log().setMode(kvsim::CallLog::Mode::Off);
        host.replace("APP", static_cast<kv::AppInterface&>(*this));
        driver.initDll(0);
    }
    ~FlightRig() { unbind(); }
    FlightRig(const FlightRig&) = delete;
    FlightRig& operator=(const FlightRig&) = delete;

    kv::FlightModule& flight() { return kv::flightModule(); }
    // ExitDLL now rather than when the rig goes.
    void unbind() {
        if (bound_) driver.exitDll();
        bound_ = false;
    }
    // InitDLL again after unbind(): a test hands the module modules of its
    // own (SimHost::replace) in between, which it fetches only when bound.
    void bind() {
        if (!bound_) driver.initDll(0);
        bound_ = true;
    }

    FlightOutcome fly(const std::string& directory, const char* startupFile) {
        FlightOutcome out;
        TraceLines trace;
        out.liveBefore = host.memory.liveBlocks("FLT");
        const int refusedBefore = host.state.refusedFrees;
        out.fly = driver.fly(directory.c_str(), startupFile);
        out.frames = host.app.updates;
        out.liveAfter = host.memory.liveBlocks("FLT");
        out.locksFree = otherThreadsCallTheEngine ? lockFree(flight().lock) : locksFree(flight());
        out.waitingForPlayers = flight().waitingForPlayers;
        out.refusedFrees = host.state.refusedFrees - refusedBefore;
        out.allocations = host.memory.allocations;
        out.traces = std::move(trace.lines);
        return out;
    }

    kvsim::SimHost host;
    kvsim::ModuleDriver driver{host, kvsim::ModuleEntryPoints{InitDLL, ExitDLL}};
    std::function<void()> afterFrame;
    // A test whose second thread calls the engine's operations: after each
    // flight only the engine lock is looked at.
    bool otherThreadsCallTheEngine = false;

private:
    int32_t appUpdate() override {
        if (afterFrame) afterFrame();
        return host.app.appUpdate();
    }
    int32_t appIsRunning() override { return host.app.appIsRunning(); }
    int32_t appQueryFlag() override { return host.app.appQueryFlag(); }

    bool bound_ = true;
};

}  // namespace kvtest
