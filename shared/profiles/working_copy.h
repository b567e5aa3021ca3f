#pragma once
// The monitor's working copy of the state record, shared by the main thread and the job
// thread. Every access holds a lock for the length of the access only: the job thread copies
// what it needs before it talks to the keyboard, so the window thread never waits for a
// keyboard exchange.

#include "state_record.h"

#include <memory>
#include <mutex>
#include <utility>

namespace brenik {

class WorkingCopy {
public:
    WorkingCopy() : state_(std::make_unique<StateRecord>()) {}

    // Runs f(StateRecord&) under the lock and returns what it returns. f must not block.
    template <typename F>
    decltype(auto) Use(F&& f) {
        std::lock_guard<std::mutex> hold(lock_);
        return std::forward<F>(f)(*state_);
    }

    // A copy of the whole record, for work that takes longer (saving files, publishing).
    std::unique_ptr<StateRecord> Snapshot() {
        std::lock_guard<std::mutex> hold(lock_);
        return std::make_unique<StateRecord>(*state_);
    }

private:
    std::mutex lock_;
    std::unique_ptr<StateRecord> state_;  // 434 KB: on the heap, not in the window object
};

}  // namespace brenik
