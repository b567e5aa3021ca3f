#pragma once
// What a program that runs once per session does first and last: take its named instance
// mutex (held until the owner goes, so that it closes after everything else), and run the
// thread's message loop until WM_QUIT.

#include "scoped_handle.h"

#include <windows.h>

namespace brenik::win32 {

// The mutex, or an invalid owner when another instance holds it already (or it could not be
// made): the program then ends at once.
inline ScopedHandle TakeInstanceMutex(const char* name) {
    ScopedHandle mutex(CreateMutexA(nullptr, FALSE, name));
    if (GetLastError() == ERROR_ALREADY_EXISTS) mutex.Reset();
    return mutex;
}

// Until WM_QUIT; its exit code.
inline int RunMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace brenik::win32
