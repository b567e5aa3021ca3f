#include "turn_lock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace brenik::monitor::device {
namespace {

bool WaitForQueued(TurnLock& lock, std::uint64_t count) {
    for (int i = 0; i < 2000; ++i) {
        if (lock.Queued() == count) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

TEST(TurnLockTest, AWaiterGoesBeforeTheHolderComesBack) {
    TurnLock lock;
    std::mutex logLock;
    std::vector<std::string> order;
    const auto note = [&](const char* who) {
        std::lock_guard<std::mutex> hold(logLock);
        order.push_back(who);
    };
    lock.lock();  // the job thread, in the middle of a command
    std::thread window([&] {
        std::lock_guard<TurnLock> hold(lock);
        note("window");
    });
    ASSERT_TRUE(WaitForQueued(lock, 2)) << "the window thread is waiting";
    lock.unlock();
    lock.lock();  // the job thread's next command, at once
    note("job");
    lock.unlock();
    window.join();
    EXPECT_EQ(order, (std::vector<std::string>{"window", "job"}));
    EXPECT_EQ(lock.Queued(), 0u);
}

TEST(TurnLockTest, ManyThreadsNeverHoldItTogether) {
    TurnLock lock;
    int inside = 0;
    int most = 0;
    int total = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 500; ++i) {
                std::lock_guard<TurnLock> hold(lock);
                most = std::max(most, ++inside);
                ++total;
                --inside;
            }
        });
    }
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(most, 1);
    EXPECT_EQ(total, 2000);
}

}  // namespace
}  // namespace brenik::monitor::device
