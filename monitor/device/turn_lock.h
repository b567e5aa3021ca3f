#pragma once
// A lock that serves its waiters in the order they came. The job thread runs command after
// command and would win an ordinary mutex back within microseconds of letting it go, so a
// command from the window thread (the volume, the token check, the host state at shutdown)
// could wait through many of the job's commands; with turns it waits for one at most.
// Usable with std::lock_guard.

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace brenik::monitor::device {

class TurnLock {
public:
    void lock() {
        std::unique_lock<std::mutex> hold(guard_);
        const std::uint64_t mine = nextTurn_++;
        turnChanged_.wait(hold, [&] { return serving_ == mine; });
    }
    void unlock() {
        {
            std::lock_guard<std::mutex> hold(guard_);
            ++serving_;
        }
        turnChanged_.notify_all();
    }
    // How many are waiting or holding the lock; for tests.
    std::uint64_t Queued() {
        std::lock_guard<std::mutex> hold(guard_);
        return nextTurn_ - serving_;
    }

private:
    std::mutex guard_;
    std::condition_variable turnChanged_;
    std::uint64_t nextTurn_ = 0;
    std::uint64_t serving_ = 0;
};

}  // namespace brenik::monitor::device
