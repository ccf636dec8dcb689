// The few thread primitives the engine lock needs.
#pragma once

#include <atomic>
#include <cstdint>

namespace kv {

// Stores value in word and returns what it held, as one atomic step.
int32_t atomicExchange(std::atomic<int32_t>& word, int32_t value);
// Gives up the processor for at least ms milliseconds.
void sleepMilliseconds(uint32_t ms);
// A nonzero identity of the calling thread, distinct between live threads.
uint32_t currentThreadId();

}  // namespace kv
