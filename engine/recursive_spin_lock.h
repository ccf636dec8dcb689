// The engine lock: recursive for its owning thread, polling for others.
//
// The lock word guards only the other three fields for the few steps that
// inspect them; it is never held between acquire and release. Another
// thread that finds an owner drops the word, sleeps sleepTime milliseconds
// and looks again.
#pragma once

#include <atomic>
#include <cstdint>

namespace kv {

class RecursiveSpinLock {
public:
    // Lock word 0, sleep time 5, count 0, owner 0. Must not be in use.
    void init();
    void acquire();
    // Does not check that the caller owns the lock.
    void release();

    std::atomic<int32_t> lockWord{0};
    int32_t sleepTime = 0;
    int32_t count = 0;
    uint32_t owner = 0;

private:
    void spinOnLockWord();
};

// Holds a lock for the scope it is made in, for short sections with more
// than one way out.
class LockHeld {
public:
    explicit LockHeld(RecursiveSpinLock& lock) : lock_(lock) { lock_.acquire(); }
    ~LockHeld() { lock_.release(); }
    LockHeld(const LockHeld&) = delete;
    LockHeld& operator=(const LockHeld&) = delete;

private:
    RecursiveSpinLock& lock_;
};

}  // namespace kv
