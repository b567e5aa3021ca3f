#include "foreground_event_hook_win32.h"

#include "debug_output.h"
#include "program_windows.h"

namespace brenik::monitor::games {
namespace {

// The window with the monitor's title that belongs to this thread: an out-of-context callback
// runs on the thread that installed the hook, the monitor's window thread. A window of
// another program with the same title is passed over.
HWND OwnMonitorWindow() {
    const DWORD thread = GetCurrentThreadId();
    for (HWND window = FindWindowExA(nullptr, nullptr, nullptr, kTitleMonitor); window != nullptr;
         window = FindWindowExA(nullptr, window, nullptr, kTitleMonitor)) {
        if (GetWindowThreadProcessId(window, nullptr) == thread) return window;
    }
    return nullptr;
}

}  // namespace

bool ForegroundEventHook::Install() {
    if (Installed()) return true;
    // The monitor's own windows coming forward (the tray menu) are no games: skipped.
    hook_.Reset(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &ForegroundEventHook::OnEvent,
                                0, 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS));
    if (!Installed()) {
        DebugPrintf("ForegroundEventHook: SetWinEventHook refused (%lu); the game timer looks alone\n", GetLastError());
    }
    return Installed();
}

void CALLBACK ForegroundEventHook::OnEvent(HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD) {
    if (event != EVENT_SYSTEM_FOREGROUND) return;
    // Posted, not looked at here: the callback also runs while this thread waits for the
    // answer to a SendMessage, in the middle of another handler. A posted look waits until a
    // message loop dispatches it, as the timer's looks do, and runs in order with them.
    const HWND window = OwnMonitorWindow();
    if (window != nullptr) PostMessageA(window, kMsgForegroundChanged, 0, 0);
}

}  // namespace brenik::monitor::games
