#pragma once
// ForegroundEventHook: the system's notice that another window came to the foreground
// (EVENT_SYSTEM_FOREGROUND), so a game is recognised the moment it comes to the front rather
// than at the next tick of the game timer. The timer stays: where the notice never comes (Wine
// installs the hook but does not raise this event for its own windows) it does the work alone.
//
// The hook is out of context: its callback runs on the thread that installed it, while that
// thread waits for messages. It does no work there: it posts kMsgForegroundChanged to the
// monitor's window, which hands it to GameWatch for one look (GameDetection::DetectGame).

#include "scoped_owner.h"

#include <windows.h>

namespace brenik::monitor::games {

// Posted to the monitor's window for every foreground notice; wParam and lParam 0. Private to
// the monitor, in its own range (WM_APP and up): no other program has a reason to send it.
constexpr unsigned kMsgForegroundChanged = WM_APP + 1;

struct WinEventHookTraits {
    static HWINEVENTHOOK Empty() { return nullptr; }
    static bool Valid(HWINEVENTHOOK hook) { return hook != nullptr; }
    static void Free(HWINEVENTHOOK hook) { UnhookWinEvent(hook); }
};

class ForegroundEventHook {
public:
    // Installs the hook on the calling thread, which must own the monitor's window; false
    // (with a debugger line) when the system refuses it. Installing twice keeps the first.
    bool Install();
    void Remove() { hook_.Reset(); }
    bool Installed() const { return hook_.Valid(); }

    // The hook's callback, public so that a test can hand it an event where the system will
    // not raise one.
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                 DWORD eventThread, DWORD eventTime);

private:
    win32::ScopedOwner<HWINEVENTHOOK, WinEventHookTraits> hook_;
};

}  // namespace brenik::monitor::games
