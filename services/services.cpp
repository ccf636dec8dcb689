#include "services/services.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "services/shell_binding.h"
#include "platform/host_trace.h"

namespace kv {

namespace {

// Blocks taken from the heap while MEM was unbound. MemFree must recognise
// them: handing one to MEM would free memory MEM never gave out, and
// dropping it would leak. An open-addressing set in C heap memory, so that
// remembering a block can fail as a null rather than throw, and so that it
// needs no constructor: static construction of other module objects may
// already allocate.
struct HeapBlocks {
    std::mutex lock;
    void** slots = nullptr;  // null for a free slot, kGone for a removed one
    std::size_t capacity = 0;  // a power of two, or 0
    std::size_t used = 0;      // live blocks and removed marks
    std::size_t live = 0;
};

char goneMark;
void* const kGone = &goneMark;  // an address no heap block can have

std::size_t slotOf(const void* block, std::size_t capacity) {
    // Heap blocks are aligned: the low bits say nothing.
    const auto bits = reinterpret_cast<uintptr_t>(block) >> 4;
    return static_cast<std::size_t>(bits * 0x9E3779B97F4A7C15ull >> 16) & (capacity - 1);
}

// Rebuilds the table with room for one more block; false when the heap
// refuses, leaving the old table as it was.
bool makeRoom(HeapBlocks& heap) {
    if ((heap.used + 1) * 2 <= heap.capacity) return true;
    std::size_t capacity = heap.capacity ? heap.capacity : 16;
    while ((heap.live + 1) * 2 > capacity) capacity *= 2;
    auto** slots = static_cast<void**>(std::calloc(capacity, sizeof(void*)));
    if (!slots) return false;
    for (std::size_t i = 0; i < heap.capacity; ++i) {
        void* block = heap.slots[i];
        if (!block || block == kGone) continue;
        std::size_t at = slotOf(block, capacity);
        while (slots[at]) at = (at + 1) & (capacity - 1);
        slots[at] = block;
    }
    std::free(heap.slots);
    heap.slots = slots;
    heap.capacity = capacity;
    heap.used = heap.live;
    return true;
}

// How many there are, read without the lock: while there are none, a free
// goes straight to MEM. Constant-initialised, so it is valid before any
// static constructor runs and costs no guard on the way.
std::atomic<std::size_t> heapBlockCount{0};

HeapBlocks& heapBlocks() {
    static HeapBlocks instance;
    return instance;
}

bool remember(void* block) {
    HeapBlocks& heap = heapBlocks();
    std::lock_guard<std::mutex> guard(heap.lock);
    if (!makeRoom(heap)) return false;
    std::size_t at = slotOf(block, heap.capacity);
    while (heap.slots[at] && heap.slots[at] != kGone) at = (at + 1) & (heap.capacity - 1);
    if (!heap.slots[at]) ++heap.used;
    heap.slots[at] = block;
    ++heap.live;
    heapBlockCount.store(heap.live, std::memory_order_release);
    return true;
}

// True when block was a remembered heap block, now forgotten.
bool forget(void* block) {
    HeapBlocks& heap = heapBlocks();
    std::lock_guard<std::mutex> guard(heap.lock);
    if (!heap.capacity) return false;
    for (std::size_t at = slotOf(block, heap.capacity); heap.slots[at]; at = (at + 1) & (heap.capacity - 1)) {
        if (heap.slots[at] != block) continue;
        heap.slots[at] = kGone;
        --heap.live;
        heapBlockCount.store(heap.live, std::memory_order_release);
        return true;
    }
    return false;
}

// The lock guards only the sink and its context as a pair; it is let go
// before the sink runs, so a sink may trace or swap sinks itself.
std::mutex sinkLock;
TraceSink traceSink = nullptr;
void* traceContext = nullptr;
// Where texts go while no sink is installed: the host program's own hook.
std::atomic<HostTraceFunction> hostTrace{nullptr};

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
    // A block MemFree could not recognise would go to MEM later: refuse it.
    if (!remember(block)) {
        std::free(block);
        return nullptr;
    }
    return block;
}

void MemFree(void* block) {
    if (!block) return;
    if (heapBlockCount.load(std::memory_order_acquire) != 0 && forget(block)) {
        std::free(block);
        return;
    }
    if (MEM) MEM->memFree(block);
}

void MemCheckpoint(const char* label) {
    if (MEM) MEM->memCheckpoint(label);
}

void TraceMessage(const char* format, ...) {
    TraceSink sink;
    void* context;
    {
        std::lock_guard<std::mutex> guard(sinkLock);
        sink = traceSink;
        context = traceContext;
    }
    const HostTraceFunction host = sink ? nullptr : hostTrace.load(std::memory_order_acquire);
    if ((!sink && !host) || !format) return;
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (sink)
        sink(line, context);
    else
        host(line);
}

void bindHostTrace() { hostTrace.store(findHostTraceFunction(), std::memory_order_release); }

void unbindHostTrace() { hostTrace.store(nullptr, std::memory_order_release); }

TraceSink setTraceSink(TraceSink sink, void* context, void** previousContext) {
    std::lock_guard<std::mutex> guard(sinkLock);
    TraceSink previous = traceSink;
    if (previousContext) *previousContext = traceContext;
    traceSink = sink;
    traceContext = context;
    return previous;
}

std::size_t heapBlocksOutstanding() { return heapBlockCount.load(std::memory_order_acquire); }

}  // namespace kv
