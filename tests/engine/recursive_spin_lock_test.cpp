#include "engine/recursive_spin_lock.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "platform/thread.h"

namespace {

TEST(RecursiveSpinLock, RecursiveForTheOwnerAndReleaseNeverGoesBelowZero) {
    kv::RecursiveSpinLock lock;
    lock.init();
    EXPECT_EQ(lock.sleepTime, 5);
    lock.acquire();
    lock.acquire();  // the owner comes back in at once
    EXPECT_EQ(lock.count, 2);
    EXPECT_EQ(lock.owner, kv::currentThreadId());
    EXPECT_EQ(lock.lockWord.load(), 0);  // never held between calls
    lock.release();
    EXPECT_EQ(lock.count, 1);
    EXPECT_EQ(lock.owner, kv::currentThreadId());
    lock.release();
    EXPECT_EQ(lock.count, 0);
    EXPECT_EQ(lock.owner, 0u);
    lock.release();  // one release too many
    EXPECT_EQ(lock.count, 0);
    EXPECT_EQ(lock.owner, 0u);
    lock.acquire();
    EXPECT_EQ(lock.count, 1);
    lock.release();
}

TEST(RecursiveSpinLock, AnotherThreadWaitsUntilTheOwnerLetsGo) {
    kv::RecursiveSpinLock lock;
    lock.init();
    lock.acquire();
    lock.acquire();

    std::atomic<bool> entered{false};
    std::atomic<uint32_t> ownerSeen{0};
    std::thread other([&] {
        lock.acquire();
        entered = true;
        ownerSeen = lock.owner;
        lock.release();
    });

    // Long enough for several of the other thread's 5 ms retries.
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_FALSE(entered.load());
    lock.release();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(entered.load());  // one level still held
    lock.release();

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!entered && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    other.join();
    EXPECT_TRUE(entered.load());
    EXPECT_NE(ownerSeen.load(), 0u);
    EXPECT_NE(ownerSeen.load(), kv::currentThreadId());
    EXPECT_EQ(lock.count, 0);
    EXPECT_EQ(lock.owner, 0u);
}

}  // namespace
