// Module-wide services over the shell-level interfaces: the allocator,
// the memory checkpoint and the trace routine.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kv {

// A block from MEM under the module's owner name; null when MEM is not
// bound or the host refuses.
void* MemAlloc(int32_t size);
// MemAlloc while MEM is bound; otherwise a block from the C runtime heap,
// remembered so that MemFree can give it back to the heap (null when it
// cannot be remembered).
void* ModuleAlloc(int32_t size);
// Gives a block back where it came from: heap blocks of ModuleAlloc to the
// heap, everything else to MEM while it is bound. Null does nothing.
void MemFree(void* block);
// A labelled milestone for the host's memory statistics; nothing while MEM
// is not bound.
void MemCheckpoint(const char* label);

// printf-style diagnostics. Writes nothing itself and nothing depends on
// it; a tool or test may install a sink that receives each formatted line.
void TraceMessage(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

using TraceSink = void (*)(const char* text, void* context);
// Installs sink (null removes it) and returns the one it replaces, with
// that one's context in *previousContext when given. The sink is called
// without any lock held, so it may trace or swap sinks itself; a trace
// already under way on another thread may still reach the old sink.
TraceSink setTraceSink(TraceSink sink, void* context, void** previousContext = nullptr);

// While no sink is installed, texts go to the host program's exported
// trace hook, if it has one (platform/host_trace.h): looked up when the
// module is bound, forgotten when it is unbound.
void bindHostTrace();
void unbindHostTrace();

// Heap blocks that ModuleAlloc handed out and MemFree has not taken back.
std::size_t heapBlocksOutstanding();

}  // namespace kv
