// The stand-in application shell and the shell-level services.
#pragma once

#include <cstdio>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <korvane/shell.h>
#include "sim/modules/sim_state.h"
#include "sim/calls/noop_defaults.h"

namespace kvsim {

class SimShell : public NoopApplicationShell {
public:
    explicit SimShell(SimState& state) : state_(state) {}

    int32_t RegisterModule(kv::ModuleTag tag, void* module, int32_t arg) override;
    int32_t UnregisterModule(kv::ModuleTag tag) override;
    int32_t GetInterface(kv::ModuleTag tag, void** slot) override;
    int32_t ReleaseInterface(kv::ModuleTag tag, void** slot) override;

    // What GetInterface hands out under tag; null makes the tag absent.
    void provide(const std::string& tag, void* iface);
    void remove(const std::string& tag) { provide(tag, nullptr); }
    // The module object registered under tag, or null.
    void* registered(const std::string& tag) const;
    // Interfaces handed out and not yet released, by tag.
    int held(const std::string& tag) const;
    // False for an optional tag the scenario leaves out (NET, FFB, OPT, AVN
    // with hasNet, hasFfb, hasOpt, hasAvn false): GetInterface then gives
    // null, whatever provide() said.
    bool present(const std::string& tag) const;

private:
    SimState& state_;
    std::map<std::string, void*> interfaces_;
    std::map<std::string, void*> modules_;
    std::map<std::string, int> held_;
};

// The host application. appUpdate returns 0 from its N-th call in a flight
// when the scenario's appEndsAfter is N (0 = never), appIsRunning likewise
// with appStopsAfter; both count from SimHost::beginFlight. appQueryFlag
// gives state.appFlag.
class SimApp : public NoopApp {
public:
    explicit SimApp(SimState& state) : state_(state) {}
    int32_t appUpdate() override;
    int32_t appIsRunning() override;
    int32_t appQueryFlag() override;

    void beginFlight() { updates = runningQueries = 0; }
    // Calls in this flight.
    int32_t updates = 0;
    int32_t runningQueries = 0;

private:
    SimState& state_;
};

// The module loader. dllLoadModule succeeds for a file that exists, found
// as the file manager finds it (relative to the current directory,
// backslashes mapped, without regard to case), and fails otherwise.
//
// Which interface a loaded file offers: the scenario's moduleInterfaces
// ([Modules]) name files by their path relative to the current directory
// (the flight's while it loads), matched as the file manager matches
// names; a file named there offers that tag, or nothing for "". Any other
// file offers "HUD" when its base name contains "hud" and "COM" when it
// contains "comm" (any case), and nothing otherwise. While a module offering a tag is
// loaded, the shell hands out the interface set with offer() under that
// tag; the tag is absent before the load and again after the last
// dllUnloadModule of that file. A tag in withoutInterface loads but offers
// nothing. The scenario's failHudModule / failCommModule make the load of
// a file offering "HUD" / "COM" fail. Loads are counted per file; every
// module a flight left loaded is unloaded when a new flight starts.
class SimDll : public NoopDll {
public:
    SimDll(SimState& state, class SimShell& shell) : state_(state), shell_(shell) {}
    int32_t dllLoadModule(const char* fileName) override;
    void dllUnloadModule(const char* fileName) override;

    // The interface the shell hands out under tag while its module is loaded.
    void offer(const std::string& tag, void* iface);
    // The tag a file name offers ("" for none).
    std::string tagOf(const char* fileName) const;
    void beginFlight();
    // Loads not yet unloaded, over all files.
    int loadedModules() const;

    std::set<std::string> withoutInterface;

private:
    struct Loaded {
        std::string tag;
        int count = 0;
    };
    SimState& state_;
    SimShell& shell_;
    std::map<std::string, void*> offered_;
    std::map<std::string, Loaded> loaded_;  // by SimFileManager::fileKey
};

// Reads real files. Module paths use backslashes and match names without
// regard to case, as a Windows file system does.
class SimFileManager : public NoopFileManager {
public:
    // Files behave alike in every scenario: no state to read.
    explicit SimFileManager(SimState&) {}
    ~SimFileManager();
    int32_t fmgOpenFile(const char* name, int32_t mode) override;
    void fmgCloseFile(int32_t handle) override;
    int32_t fmgReadFile(int32_t handle, void* buffer, int32_t count) override;
    int32_t fmgFileExists(const char* name, int32_t mode) override;
    int32_t fmgGetFileSize(const char* name) override;
    void fmgPushDirectory() override;
    void fmgPopDirectory() override;

    // The existing file a module path names, or "" when there is none.
    static std::string findFile(const char* name);
    // One text for every spelling of a module path in the current
    // directory: absolute, normalised, lower case; "" for a null or empty
    // name. Needs no file on disk.
    static std::string fileKey(const char* name);

private:
    std::map<int32_t, std::FILE*> open_;
    int32_t nextHandle_ = 1;
    // One stack per thread: a screenshot taken on the host's own thread
    // pushes and pops beside a flight that does the same.
    std::mutex directoriesMutex_;
    std::map<std::thread::id, std::vector<std::string>> directories_;
};

// Counts live blocks per owner and refuses to free a block it never
// handed out. The scenario's failAllocation k makes the k-th memAlloc of a
// flight (counted from SimHost::beginFlight, every owner) give null, and
// failAllocationsFrom k every memAlloc from the k-th on.
// Before memReleaseOwner frees an owner's blocks it runs
// state.beforeReleaseOwner, so a simulated module that keeps blocks of the
// module inside its own structures can let go of them first.
class SimMemory : public NoopMemory {
public:
    explicit SimMemory(SimState& state) : state_(state) {}
    ~SimMemory();
    void* memAlloc(int32_t size, int32_t reserved1, int32_t reserved2, const char* owner) override;
    void memFree(void* block) override;
    void memReleaseOwner(const char* owner) override;
    void memCheckpoint(const char* label) override;

    // Live blocks of owner, at any time.
    int liveBlocks(const std::string& owner) const;
    void beginFlight() { allocations = 0; }
    // memAlloc calls in this flight, refused ones included.
    int32_t allocations = 0;
    // -1: new blocks arrive zeroed. A byte value: they arrive filled with
    // it, as from a heap that does not clear, so a test can catch code that
    // takes fresh memory for zeroed memory.
    int fillByte = -1;

private:
    SimState& state_;
};

}  // namespace kvsim
