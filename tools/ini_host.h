// What korvane-ini binds as the module's host while a document lives: the
// stand-in file manager, watched so the tool can tell which files were
// read and which were missing, and an arena allocator. Nothing is recorded
// in a call log: a large file would spend most of its time there.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "host/shell.h"
#include "sim/sim_shell.h"
#include "sim/sim_world.h"

namespace kvtool {

// One file the document opened and the bytes it got from it.
struct FileRead {
    std::string name;
    int64_t bytes = 0;
};

// Passes every call to the stand-in file manager and notes opens and reads.
class WatchedFiles : public kv::FileManagerInterface {
public:
    explicit WatchedFiles(kvsim::SimWorld& world) : files_(world) {}

    int32_t fmgOpenFile(const char* name, int32_t mode) override {
        const int32_t handle = files_.fmgOpenFile(name, mode);
        if (handle == -1) {
            missing.emplace_back(name ? name : "");
        } else {
            byHandle_[handle] = read.size();
            read.push_back({name ? name : "", 0});
        }
        return handle;
    }
    void fmgCloseFile(int32_t handle) override {
        byHandle_.erase(handle);
        files_.fmgCloseFile(handle);
    }
    int32_t fmgReadFile(int32_t handle, void* buffer, int32_t count) override {
        const int32_t got = files_.fmgReadFile(handle, buffer, count);
        auto it = byHandle_.find(handle);
        if (it != byHandle_.end() && got > 0) read[it->second].bytes += got;
        return got;
    }
    int32_t fmgFileExists(const char* name, int32_t mode) override { return files_.fmgFileExists(name, mode); }
    int32_t fmgGetFileSize(const char* name) override { return files_.fmgGetFileSize(name); }
    void fmgPushDirectory() override { files_.fmgPushDirectory(); }
    void fmgPopDirectory() override { files_.fmgPopDirectory(); }

    void restart() {
        read.clear();
        missing.clear();
    }

    // Files opened, in order (an include read twice is listed twice), and
    // names that could not be opened.
    std::vector<FileRead> read;
    std::vector<std::string> missing;

private:
    kvsim::SimFileManager files_;
    std::map<int32_t, std::size_t> byHandle_;
};

// Blocks cut from large chunks and given back all at once: a document's
// records and nodes live exactly as long as the document, which the tool
// destroys before it reads again. A free only counts, so a block freed
// twice or never handed out shows in the counts rather than corrupting.
class ArenaMemory : public kv::MemoryInterface {
public:
    ArenaMemory() = default;
    ~ArenaMemory() { releaseAll(); }
    ArenaMemory(const ArenaMemory&) = delete;
    ArenaMemory& operator=(const ArenaMemory&) = delete;

    void* memAlloc(int32_t size, int32_t, int32_t, const char*) override {
        if (size < 0) return nullptr;
        // The module's records hold pointers and 32-bit values only.
        const std::size_t need = (static_cast<std::size_t>(size) + 7) & ~static_cast<std::size_t>(7);
        if (need > left_) {
            const std::size_t chunk = need > kChunk ? need : kChunk;
            char* memory = static_cast<char*>(std::malloc(chunk));
            if (!memory) return nullptr;
            chunks_.push_back(memory);
            next_ = memory;
            left_ = chunk;
        }
        char* block = next_;
        next_ += need;
        left_ -= need;
        ++live;
        return block;
    }
    void memFree(void* block) override {
        if (block) --live;
    }
    void memReleaseOwner(const char*) override {}
    void memCheckpoint(const char*) override {}

    // Gives every chunk back; blocks handed out before are gone.
    void releaseAll() {
        for (char* chunk : chunks_) std::free(chunk);
        chunks_.clear();
        next_ = nullptr;
        left_ = 0;
        live = 0;
    }

    // Blocks handed out and not freed.
    int64_t live = 0;

private:
    static constexpr std::size_t kChunk = 4 << 20;
    std::vector<char*> chunks_;
    char* next_ = nullptr;
    std::size_t left_ = 0;
};

}  // namespace kvtool
