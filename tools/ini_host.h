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

#include <korvane/shell.h>
#include "sim/modules/sim_shell.h"
#include "sim/modules/sim_state.h"

namespace kvtool {

// The command line names a file the POSIX way; the module takes backslash
// paths, and takes a name without one as relative to ".\". No supported
// code page has '/' as a trail byte, so mapping byte by byte cannot split a
// character.
inline std::string toModulePath(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

// One file the document opened and the bytes it got from it.
struct FileRead {
    std::string name;
    int64_t bytes = 0;
    // Where the document read it to (its pool) and, when the files are
    // kept, the bytes as read, before the parser ends lines and trims.
    const char* buffer = nullptr;
    std::string text;
};

// One name the document asked the file manager to open: the pointer it
// passed (for an include, into the pool where the directive stands) and
// the file it got, an index into the files read, or -1.
struct OpenAttempt {
    const char* name = nullptr;
    int file = -1;
};

// Passes every call to the stand-in file manager and notes opens and reads.
class WatchedFiles : public kv::FileManagerInterface {
public:
    explicit WatchedFiles(kvsim::SimState& state) : files_(state) {}

    int32_t fmgOpenFile(const char* name, int32_t mode) override {
        const int32_t handle = files_.fmgOpenFile(name, mode);
        if (handle == -1) {
            missing.emplace_back(name ? name : "");
            attempts.push_back({name, -1});
        } else {
            byHandle_[handle] = read.size();
            attempts.push_back({name, static_cast<int>(read.size())});
            read.push_back({name ? name : "", 0, nullptr, {}});
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
        if (it != byHandle_.end() && got > 0) {
            FileRead& file = read[it->second];
            if (!file.buffer) file.buffer = static_cast<const char*>(buffer);
            if (keepText) file.text.append(static_cast<const char*>(buffer), static_cast<std::size_t>(got));
            file.bytes += got;
        }
        return got;
    }
    int32_t fmgFileExists(const char* name, int32_t mode) override { return files_.fmgFileExists(name, mode); }
    int32_t fmgGetFileSize(const char* name) override { return files_.fmgGetFileSize(name); }
    void fmgPushDirectory() override { files_.fmgPushDirectory(); }
    void fmgPopDirectory() override { files_.fmgPopDirectory(); }

    void restart() {
        read.clear();
        missing.clear();
        attempts.clear();
    }

    // Files opened, in order (an include read twice is listed twice), and
    // names that could not be opened.
    std::vector<FileRead> read;
    std::vector<std::string> missing;
    // Every open, in order.
    std::vector<OpenAttempt> attempts;
    // Keep a copy of each file's bytes as read.
    bool keepText = false;

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
