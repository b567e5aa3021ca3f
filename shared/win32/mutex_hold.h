#pragma once
// Releases a mutex that a wait gave us when it goes out of scope, whatever happens between.

#include <windows.h>

namespace brenik::win32 {

class MutexHold {
public:
    explicit MutexHold(HANDLE mutex) : mutex_(mutex) {}
    ~MutexHold() { ReleaseMutex(mutex_); }
    MutexHold(const MutexHold&) = delete;
    MutexHold& operator=(const MutexHold&) = delete;

private:
    HANDLE mutex_;
};

}  // namespace brenik::win32
