#include "engine/recursive_spin_lock.h"

#include "platform/thread.h"

namespace kv {

namespace {
const uint32_t kSpinSleepMilliseconds = 1;
const int32_t kOwnerWaitMilliseconds = 5;
}  // namespace

void RecursiveSpinLock::init() {
    atomicExchange(lockWord, 0);
    sleepTime = kOwnerWaitMilliseconds;
    count = 0;
    owner = 0;
}

void RecursiveSpinLock::spinOnLockWord() {
    while (atomicExchange(lockWord, 1) != 0) sleepMilliseconds(kSpinSleepMilliseconds);
}

void RecursiveSpinLock::acquire() {
    spinOnLockWord();
    const uint32_t self = currentThreadId();
    if (owner != 0 && owner != self && count > 0) {
        do {
            atomicExchange(lockWord, 0);
            sleepMilliseconds(static_cast<uint32_t>(sleepTime));
            spinOnLockWord();
        } while (count > 0);
    }
    ++count;
    owner = self;
    atomicExchange(lockWord, 0);
}

void RecursiveSpinLock::release() {
    spinOnLockWord();
    if (--count <= 0) {
        count = 0;
        owner = 0;
    }
    atomicExchange(lockWord, 0);
}

}  // namespace kv
