#include "shared_block_lock_win32.h"

#include "program_windows.h"

namespace brenik::test {
namespace {

constexpr DWORD kThreadTimeoutMs = 5000;
// How long a holder hangs with the lock at the most, should its test never release it.
constexpr DWORD kLongestHoldMs = 30000;

win32::ScopedHandle OpenLock() {
    return win32::ScopedHandle(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kSharedBlockLockName));
}

DWORD WINAPI TakeTheLockAndGiveItBack(void*) {
    win32::ScopedHandle lock = OpenLock();
    if (!lock.Valid() || WaitForSingleObject(lock.Get(), 0) != WAIT_OBJECT_0) return 1;
    ReleaseMutex(lock.Get());
    return 0;
}

}  // namespace

bool AnotherThreadGetsTheLock() {
    win32::ScopedHandle thread(CreateThread(nullptr, 0, TakeTheLockAndGiveItBack, nullptr, 0, nullptr));
    DWORD exitCode = 99;
    return thread.Valid() && WaitForSingleObject(thread.Get(), kThreadTimeoutMs) == WAIT_OBJECT_0 &&
           GetExitCodeThread(thread.Get(), &exitCode) && exitCode == 0;
}

bool LockHolder::Start() {
    thread_.Reset(CreateThread(nullptr, 0, Main, this, 0, nullptr));
    return thread_.Valid() && WaitForSingleObject(holding_.Get(), kThreadTimeoutMs) == WAIT_OBJECT_0;
}

DWORD LockHolder::Finish() {
    SetEvent(release_.Get());
    DWORD exitCode = 99;
    if (thread_.Valid() && WaitForSingleObject(thread_.Get(), kThreadTimeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeThread(thread_.Get(), &exitCode);
    }
    thread_.Reset();
    return exitCode;
}

DWORD WINAPI LockHolder::Main(void* self) {
    auto* holder = static_cast<LockHolder*>(self);
    win32::ScopedHandle lock = OpenLock();
    if (!lock.Valid() || WaitForSingleObject(lock.Get(), kThreadTimeoutMs) != WAIT_OBJECT_0) return 1;
    SetEvent(holder->holding_.Get());
    if (holder->end_ == End::kAbandonAtOnce) return 0;  // ends owning it
    WaitForSingleObject(holder->release_.Get(), kLongestHoldMs);
    ReleaseMutex(lock.Get());
    return 0;
}

}  // namespace brenik::test
