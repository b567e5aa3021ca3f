// A stand-in for a game in end-to-end tests and benchmarks, copied into a throw-away folder
// under a game's file name ("Game.EXE", "Brenik OSD.exe"): it opens a visible window titled
// with its own file name, brings it to the front, and runs until the window is closed
// (WM_CLOSE). Game detection knows a game only by its program's file name, so any program
// will do; this one is small and starts fast.

#include <windows.h>

#include <string>

namespace {

constexpr const char* kClass = "BrenikGameStandIn";

std::string OwnFileName() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string full(path, length);
    const std::size_t slash = full.find_last_of("\\/");
    return slash == std::string::npos ? full : full.substr(slash + 1);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClass;
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, kClass, OwnFileName().c_str(), WS_OVERLAPPEDWINDOW, 200, 150, 400, 300,
                                        nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 1;
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
