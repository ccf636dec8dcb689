// A host that does nothing: every interface the module uses answers at
// once with fixed values, and nothing is logged. It is where the module's
// own cost is measured (bench/) and where a test proves that a frame
// allocates nothing. Only what a flight cannot load without is real: the
// file manager reads files, and the memory service hands out blocks from
// the C heap, counting them.
#pragma once

#include <cstdint>

#include "noop/noop_engine.h"
#include "noop/noop_shell.h"

namespace kvsim {

class NoopHost {
public:
    NoopHost() : shell(engine) {}
    NoopHost(const NoopHost&) = delete;
    NoopHost& operator=(const NoopHost&) = delete;

    // What the fixed answers are; change before loading a flight.
    NoopSettings& settings() { return engine.settings; }
    kv::ApplicationShell* applicationShell() { return &shell; }
    // The engine object the module registered as "FLT", or null.
    void* registered() const { return shell.registered; }
    // Blocks the memory service handed out so far, and those still live.
    int64_t allocations() const { return shell.allocations; }
    int64_t liveBlocks() const { return shell.liveBlocks; }

    NoopEngine engine;
    NoopShell shell;
};

}  // namespace kvsim
