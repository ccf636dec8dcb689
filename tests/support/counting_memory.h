// A MEM for tests: hands out heap blocks, remembers each one's owner,
// refuses to free what it never handed out, and counts every call. Binding
// it sets the module's owner name as the shell binding does.
#pragma once

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <korvane/shell.h>
#include "services/shell_binding.h"

namespace kvtest {

class CountingMemory : public kv::MemoryInterface {
public:
    CountingMemory() {
        std::strcpy(kv::moduleName, "FLT");
        kv::ownerName = kv::moduleName;
        kv::MEM = this;
    }
    ~CountingMemory() {
        kv::MEM = nullptr;
        for (auto& block : live) std::free(block.first);
    }
    CountingMemory(const CountingMemory&) = delete;
    CountingMemory& operator=(const CountingMemory&) = delete;

    void* memAlloc(int32_t size, int32_t reserved1, int32_t reserved2, const char* owner) override {
        ++allocCalls;
        lastReserved1 = reserved1;
        lastReserved2 = reserved2;
        if (failAfter == 0 || size < 0 || allocCalls == refuseCall) return nullptr;
        if (failAfter > 0) --failAfter;
        void* block = std::malloc(size > 0 ? static_cast<std::size_t>(size) : 1);
        live[block] = owner ? owner : "(null)";
        return block;
    }
    void memFree(void* block) override {
        ++freeCalls;
        auto it = live.find(block);
        if (it == live.end()) {
            ++foreignFrees;
            return;
        }
        std::free(block);
        live.erase(it);
    }
    void memReleaseOwner(const char* owner) override { released.push_back(owner ? owner : ""); }
    void memCheckpoint(const char* label) override { checkpoints.push_back(label ? label : ""); }

    int liveBlocks(const std::string& owner = "FLT") const {
        int n = 0;
        for (const auto& block : live) n += block.second == owner;
        return n;
    }
    bool owns(const void* block) const { return live.count(const_cast<void*>(block)) != 0; }

    // Number of allocations still granted; -1 for no limit.
    int failAfter = -1;
    // The one call (counted from 1) that is refused; 0 for none.
    int refuseCall = 0;
    int allocCalls = 0;
    int freeCalls = 0;
    int foreignFrees = 0;
    int lastReserved1 = -1;
    int lastReserved2 = -1;
    std::map<void*, std::string> live;
    std::vector<std::string> released;
    std::vector<std::string> checkpoints;
};

}  // namespace kvtest
