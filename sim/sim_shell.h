// The stand-in application shell and the shell-level services.
#pragma once

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "host/shell.h"
#include "sim/sim_world.h"

namespace kvsim {

class SimShell : public kv::ApplicationShell {
public:
    explicit SimShell(SimWorld& world) : world_(world) {}

    int32_t RegisterModule(kv::ModuleTag tag, void* module, int32_t arg) override;
    int32_t UnregisterModule(kv::ModuleTag tag) override;
    int32_t GetInterface(kv::ModuleTag tag, void** slot) override;
    int32_t ReleaseInterface(kv::ModuleTag tag, void** slot) override;

    // What GetInterface hands out under tag; null makes the tag absent.
    void provide(const std::string& tag, void* iface, const std::string& kind);
    void remove(const std::string& tag) { provide(tag, nullptr, ""); }
    // The module object registered under tag, or null.
    void* registered(const std::string& tag) const;
    // Interfaces handed out and not yet released, by tag.
    int held(const std::string& tag) const;

private:
    struct Entry {
        void* iface = nullptr;
        std::string kind;
    };
    SimWorld& world_;
    std::map<std::string, Entry> interfaces_;
    std::map<std::string, void*> modules_;
    std::map<std::string, int> held_;
};

class SimApp : public kv::AppInterface {
public:
    explicit SimApp(SimWorld& world) : world_(world) {}
    int32_t appUpdate() override;
    int32_t appIsRunning() override;
    int32_t appQueryFlag() override;

private:
    SimWorld& world_;
};

class SimDll : public kv::DllInterface {
public:
    explicit SimDll(SimWorld& world) : world_(world) {}
    int32_t dllLoadModule(const char* fileName) override;
    void dllUnloadModule(const char* fileName) override;

private:
    SimWorld& world_;
};

// Reads real files. Module paths use backslashes and match names without
// regard to case, as a Windows file system does.
class SimFileManager : public kv::FileManagerInterface {
public:
    explicit SimFileManager(SimWorld& world) : world_(world) {}
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

private:
    SimWorld& world_;
    std::map<int32_t, std::FILE*> open_;
    int32_t nextHandle_ = 1;
    std::vector<std::string> directories_;
};

// Counts live blocks per owner and refuses to free a block it never
// handed out.
class SimMemory : public kv::MemoryInterface {
public:
    explicit SimMemory(SimWorld& world) : world_(world) {}
    ~SimMemory();
    void* memAlloc(int32_t size, int32_t reserved1, int32_t reserved2, const char* owner) override;
    void memFree(void* block) override;
    void memReleaseOwner(const char* owner) override;
    void memCheckpoint(const char* label) override;

    int liveBlocks(const std::string& owner) const;

private:
    SimWorld& world_;
};

}  // namespace kvsim
