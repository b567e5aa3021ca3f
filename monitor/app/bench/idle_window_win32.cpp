// The baseline for the monitor's memory figures: a program built the same way (static
// runtime) that only creates one hidden window and waits for WM_CLOSE.

#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "BrenikIdleBaseline";
    RegisterClassA(&windowClass);
    if (!CreateWindowExA(WS_EX_TOOLWINDOW, "BrenikIdleBaseline", "BrenikIdleBaseline", WS_POPUP, 0, 0, 10, 10, nullptr,
                         nullptr, instance, nullptr)) {
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
