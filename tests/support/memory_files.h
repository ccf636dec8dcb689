// An FMG for tests, the fuzzer and the benchmark that serves files from
// memory by exact name, and counts what was opened. Building it makes it
// the module's file manager.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <korvane/shell.h>
#include "services/shell_binding.h"

namespace kvtest {

class MemoryFiles : public kv::FileManagerInterface {
public:
    MemoryFiles() { kv::FMG = this; }
    ~MemoryFiles() { kv::FMG = nullptr; }
    MemoryFiles(const MemoryFiles&) = delete;
    MemoryFiles& operator=(const MemoryFiles&) = delete;

    int32_t fmgOpenFile(const char* name, int32_t /*mode*/) override {
        opened.push_back(name ? name : "(null)");
        auto it = find(name);
        if (it == files.end()) return -1;
        open_[next_] = Reader{&it->second, 0};
        return next_++;
    }
    void fmgCloseFile(int32_t handle) override { misuses += open_.erase(handle) == 1 ? 0 : 1; }
    int32_t fmgReadFile(int32_t handle, void* buffer, int32_t count) override {
        auto it = open_.find(handle);
        if (it == open_.end()) ++misuses;
        if (it == open_.end() || count <= 0) return 0;
        Reader& reader = it->second;
        const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count),
                                                    reader.text->size() - reader.at);
        std::memcpy(buffer, reader.text->data() + reader.at, n);
        reader.at += n;
        return static_cast<int32_t>(n);
    }
    int32_t fmgFileExists(const char* name, int32_t) override { return find(name) != files.end() ? 1 : 0; }
    int32_t fmgGetFileSize(const char* name) override {
        auto it = find(name);
        return it == files.end() ? 0 : static_cast<int32_t>(it->second.size());
    }
    void fmgPushDirectory() override {}
    void fmgPopDirectory() override {}

    int openCount() const { return static_cast<int>(open_.size()); }

    std::map<std::string, std::string> files;
    std::vector<std::string> opened;
    // Closes and reads of a handle that is not open.
    int misuses = 0;

private:
    // A name relative to the current folder (".\\name") finds "name" too.
    std::map<std::string, std::string>::iterator find(const char* name) {
        if (!name) return files.end();
        auto it = files.find(name);
        while (it == files.end() && std::strncmp(name, ".\\", 2) == 0) it = files.find(name += 2);
        return it;
    }

    struct Reader {
        const std::string* text;
        std::size_t at;
    };
    std::map<int32_t, Reader> open_;
    int32_t next_ = 1;
};

}  // namespace kvtest
