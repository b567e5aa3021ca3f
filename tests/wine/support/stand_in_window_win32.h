#pragma once
// What the small stand-in programs of the end-to-end tests share (a game, the companion
// programs): their own file name, by which the monitor tells them apart, and one plain
// window they run until it is closed (WM_CLOSE).

#include <windows.h>

#include <string>

namespace brenik::test {

// The file name this program was started as ("Game.EXE", "Brenik Option.exe").
inline std::string OwnFileName() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string full(path, length);
    const std::size_t slash = full.find_last_of("\\/");
    return slash == std::string::npos ? full : full.substr(slash + 1);
}

struct StandInWindow {
    const char* className;
    const char* title;
    int x, y, width, height;
    bool inFront;  // brought to the front once shown
};

inline LRESULT CALLBACK StandInWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Shows the window and runs until it is closed: 0, or 1 when it could not be made.
inline int RunStandInWindow(HINSTANCE instance, const StandInWindow& window) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &StandInWindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = window.className;
    RegisterClassA(&windowClass);
    const HWND hwnd = CreateWindowExA(0, window.className, window.title, WS_OVERLAPPEDWINDOW, window.x, window.y,
                                      window.width, window.height, nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr) return 1;
    ShowWindow(hwnd, SW_SHOW);
    if (window.inFront) SetForegroundWindow(hwnd);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}

}  // namespace brenik::test
