#include "noop/noop_shell.h"

#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

#include "platform/workdir.h"
#include "noop/noop_engine.h"

namespace kvsim {

namespace {

std::FILE* openNative(const char* name, const char* mode) {
    char native[1024];
    if (!name || !kv::toNativePath(name, native, sizeof native)) return nullptr;
    return std::fopen(native, mode);
}

}  // namespace

// A block's header: the list of live blocks, and the owner's name.
struct NoopShell::Block {
    Block* previous;
    Block* next;
    char owner[16];
};

NoopShell::~NoopShell() {
    for (std::FILE*& file : files_)
        if (file) std::fclose(file);
    while (blocks_) memFree(blocks_ + 1);
}

int32_t NoopShell::RegisterModule(kv::ModuleTag, void* module, int32_t) {
    registered = module;
    return 1;
}

int32_t NoopShell::UnregisterModule(kv::ModuleTag) {
    registered = nullptr;
    return 1;
}

int32_t NoopShell::GetInterface(kv::ModuleTag tag, void** slot) {
    void* found = nullptr;
    if (tag && std::strcmp(tag, "APP") == 0) found = static_cast<kv::AppInterface*>(this);
    else if (tag && std::strcmp(tag, "DLL") == 0) found = static_cast<kv::DllInterface*>(this);
    else if (tag && std::strcmp(tag, "FMG") == 0) found = static_cast<kv::FileManagerInterface*>(this);
    else if (tag && std::strcmp(tag, "MEM") == 0) found = static_cast<kv::MemoryInterface*>(this);
    else found = engine_.interfaceOf(tag);
    if (slot) *slot = found;
    return found ? 1 : 0;
}

int32_t NoopShell::fmgOpenFile(const char* name, int32_t) {
    for (int32_t handle = 0; handle < kMaxOpenFiles; ++handle) {
        if (files_[handle]) continue;
        files_[handle] = openNative(name, "rb");
        return files_[handle] ? handle : -1;
    }
    return -1;
}

void NoopShell::fmgCloseFile(int32_t handle) {
    if (handle < 0 || handle >= kMaxOpenFiles || !files_[handle]) return;
    std::fclose(files_[handle]);
    files_[handle] = nullptr;
}

int32_t NoopShell::fmgReadFile(int32_t handle, void* buffer, int32_t count) {
    if (handle < 0 || handle >= kMaxOpenFiles || !files_[handle] || !buffer || count <= 0) return 0;
    return static_cast<int32_t>(std::fread(buffer, 1, static_cast<std::size_t>(count), files_[handle]));
}

int32_t NoopShell::fmgFileExists(const char* name, int32_t) {
    std::FILE* file = openNative(name, "rb");
    if (!file) return 0;
    std::fclose(file);
    return 1;
}

int32_t NoopShell::fmgGetFileSize(const char* name) {
    char native[1024];
    struct stat status;
    if (!name || !kv::toNativePath(name, native, sizeof native) || stat(native, &status) != 0) return 0;
    return static_cast<int32_t>(status.st_size);
}

void* NoopShell::memAlloc(int32_t size, int32_t, int32_t, const char* owner) {
    if (size < 0) return nullptr;
    auto* block = static_cast<Block*>(std::calloc(1, sizeof(Block) + static_cast<std::size_t>(size)));
    if (!block) return nullptr;
    block->next = blocks_;
    if (blocks_) blocks_->previous = block;
    blocks_ = block;
    std::strncpy(block->owner, owner ? owner : "", sizeof block->owner - 1);
    ++allocations;
    ++liveBlocks;
    return block + 1;
}

void NoopShell::memFree(void* memory) {
    if (!memory) return;
    Block* block = static_cast<Block*>(memory) - 1;
    if (block->previous) block->previous->next = block->next;
    if (block->next) block->next->previous = block->previous;
    if (blocks_ == block) blocks_ = block->next;
    --liveBlocks;
    std::free(block);
}

void NoopShell::memReleaseOwner(const char* owner) {
    for (Block* block = blocks_; block;) {
        Block* next = block->next;
        if (std::strcmp(block->owner, owner ? owner : "") == 0) memFree(block + 1);
        block = next;
    }
}

}  // namespace kvsim
