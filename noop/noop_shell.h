// The no-op host's shell and shell-level services (noop/noop_host.h).
#pragma once

#include <cstdint>
#include <cstdio>

#include <korvane/shell.h>

#include "sim/calls/noop_defaults.h"

namespace kvsim {

class NoopEngine;

class NoopShell final : public NoopApplicationShell,
                        public NoopApp,
                        public NoopDll,
                        public NoopFileManager,
                        public NoopMemory {
public:
    explicit NoopShell(NoopEngine& engine) : engine_(engine) {}
    ~NoopShell();
    NoopShell(const NoopShell&) = delete;
    NoopShell& operator=(const NoopShell&) = delete;

    int32_t RegisterModule(kv::ModuleTag tag, void* module, int32_t arg) override;
    int32_t UnregisterModule(kv::ModuleTag tag) override;
    // Every tag the module asks for is there, the optional ones included.
    int32_t GetInterface(kv::ModuleTag tag, void** slot) override;

    // Real files, by the module's path in the operating system's form.
    int32_t fmgOpenFile(const char* name, int32_t mode) override;
    void fmgCloseFile(int32_t handle) override;
    int32_t fmgReadFile(int32_t handle, void* buffer, int32_t count) override;
    int32_t fmgFileExists(const char* name, int32_t mode) override;
    int32_t fmgGetFileSize(const char* name) override;

    // Blocks from the C heap, each linked into one list so that
    // memReleaseOwner and the destructor can give back what is left.
    void* memAlloc(int32_t size, int32_t reserved1, int32_t reserved2, const char* owner) override;
    void memFree(void* block) override;
    void memReleaseOwner(const char* owner) override;

    void* registered = nullptr;
    int64_t allocations = 0;
    int64_t liveBlocks = 0;

private:
    struct Block;
    static constexpr int kMaxOpenFiles = 16;

    NoopEngine& engine_;
    std::FILE* files_[kMaxOpenFiles] = {};
    Block* blocks_ = nullptr;
};

}  // namespace kvsim
