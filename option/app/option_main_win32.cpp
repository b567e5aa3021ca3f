// Brenik Option.exe: the settings program the monitor's tray starts. One window per session:
// a second start brings the first forward (restored if minimised) and ends.
#include "main_window_win32.h"
#include "option_resources.h"

#include "debug_output.h"
#include "program_folder.h"
#include "program_windows.h"
#include "scoped_handle.h"

#include <commctrl.h>

namespace brenik::option {
namespace {

// Our window, not the settings tool's hidden one of the same title.
HWND FindRunningWindow() {
    wchar_t title[128];
    MultiByteToWideChar(CP_ACP, 0, kTitleSettings, -1, title, 128);
    return FindWindowW(kMainWindowClass, title);
}

void BringForward(HWND window) {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

bool RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefDlgProcW;
    windowClass.cbWndExtra = DLGWINDOWEXTRA;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PRODUCT));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassExW(&windowClass) != 0;
}

int Run(HINSTANCE instance, int showCommand) {
    win32::ScopedHandle instanceMutex(CreateMutexA(nullptr, FALSE, kSettingsInstanceMutex));
    if (instanceMutex.Valid() && GetLastError() == ERROR_ALREADY_EXISTS) {
        // The first copy may still be making its window: look for it a little while.
        for (int tries = 0; tries < 50; ++tries) {
            if (const HWND running = FindRunningWindow()) {
                BringForward(running);
                return 0;
            }
            Sleep(100);
        }
        DebugPrintf("Brenik Option: another copy runs without a window; this one ends\n");
        return 0;
    }
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS |
                                                             ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (!RegisterWindowClass(instance)) return 1;
    CMainWindow window(ProgramFolder());
    if (!window.Create(showCommand)) return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace
}  // namespace brenik::option

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    return brenik::option::Run(instance, showCommand);
}
