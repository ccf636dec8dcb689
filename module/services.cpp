#include "module/services.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <atomic>
#include <mutex>
#include <unordered_set>

#include "module/shell_interfaces.h"

namespace kv {

namespace {

// Blocks taken from the heap while MEM was unbound. MemFree must recognise
// them: handing one to MEM would free memory MEM never gave out, and
// dropping it would leak. Function-local so that static construction of
// other module objects may already allocate.
struct HeapBlocks {
    std::mutex lock;
    std::unordered_set<void*> blocks;
};
// How many there are, read without the lock: while there are none, a free
// goes straight to MEM. Constant-initialised, so it is valid before any
// static constructor runs and costs no guard on the way.
std::atomic<std::size_t> heapBlockCount{0};

HeapBlocks& heapBlocks() {
    static HeapBlocks instance;
    return instance;
}

// Tools install the sink once before any flight; the lock keeps a sink and
// its context together if a test swaps them while another thread traces.
std::mutex sinkLock;
TraceSink traceSink = nullptr;
void* traceContext = nullptr;

}  // namespace

void* MemAlloc(int32_t size) {
    if (!MEM) return nullptr;
    return MEM->memAlloc(size, 0, 0, ownerName);
}

void* ModuleAlloc(int32_t size) {
    if (MEM) return MemAlloc(size);
    if (size < 0) return nullptr;
    void* block = std::malloc(size > 0 ? static_cast<std::size_t>(size) : 1);
    if (!block) return nullptr;
    HeapBlocks& heap = heapBlocks();
    std::lock_guard<std::mutex> guard(heap.lock);
    heap.blocks.insert(block);
    heapBlockCount.store(heap.blocks.size(), std::memory_order_release);
    return block;
}

void MemFree(void* block) {
    if (!block) return;
    if (heapBlockCount.load(std::memory_order_acquire) != 0) {
        HeapBlocks& heap = heapBlocks();
        std::lock_guard<std::mutex> guard(heap.lock);
        if (heap.blocks.erase(block) != 0) {
            heapBlockCount.store(heap.blocks.size(), std::memory_order_release);
            std::free(block);
            return;
        }
    }
    if (MEM) MEM->memFree(block);
}

void MemCheckpoint(const char* label) {
    if (MEM) MEM->memCheckpoint(label);
}

void TraceMessage(const char* format, ...) {
    std::lock_guard<std::mutex> guard(sinkLock);
    if (!traceSink || !format) return;
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    traceSink(line, traceContext);
}

TraceSink setTraceSink(TraceSink sink, void* context) {
    std::lock_guard<std::mutex> guard(sinkLock);
    TraceSink previous = traceSink;
    traceSink = sink;
    traceContext = context;
    return previous;
}

std::size_t heapBlocksOutstanding() {
    HeapBlocks& heap = heapBlocks();
    std::lock_guard<std::mutex> guard(heap.lock);
    return heap.blocks.size();
}

}  // namespace kv
