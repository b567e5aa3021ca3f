#pragma once
// Another program's thread and the shared block's lock, for the tests of its owners and
// readers. A mutex admits its owner again, so only a thread other than the test's own can
// tell whether the lock is held; these are such threads.

#include "scoped_handle.h"

#include <windows.h>

namespace brenik::test {

// Whether a thread other than the caller takes the lock at once (and gives it back).
bool AnotherThreadGetsTheLock();

// A thread that takes the lock and either holds it until released, as a program hanging with
// it would, or ends while holding it, as a program that dies would.
class LockHolder {
public:
    enum class End { kOnRelease, kAbandonAtOnce };

    explicit LockHolder(End end) : end_(end) {}
    ~LockHolder() { Finish(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    // Starts the thread and waits until it holds the lock.
    bool Start();
    // Releases the lock (or lets the thread end) and returns the thread's exit code: 0 when it
    // held the lock as asked.
    DWORD Finish();

private:
    static DWORD WINAPI Main(void* self);

    End end_;
    win32::ScopedHandle holding_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    win32::ScopedHandle release_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    win32::ScopedHandle thread_;
};

}  // namespace brenik::test
