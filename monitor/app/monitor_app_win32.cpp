// CMonitorApp: Brenik Monitor's application object. One monitor per session (the instance
// mutex); the main window does the rest, and the program ends when it is destroyed.

#include "monitor_wnd_win32.h"
#include "program_windows.h"
#include "scoped_handle.h"

#include <windows.h>
#include <objbase.h>

#include <memory>

namespace brenik::monitor {

class CMonitorApp {
public:
    int Run(HINSTANCE instance, const char* commandLine);

private:
    static int MessageLoop();
};

int CMonitorApp::Run(HINSTANCE instance, const char* commandLine) {
    const HANDLE mutex = CreateMutexA(nullptr, FALSE, kMonitorInstanceMutex);
    const DWORD error = GetLastError();
    win32::ScopedHandle instanceMutex(mutex);
    if (!instanceMutex.Valid() || error == ERROR_ALREADY_EXISTS) return 0;

    const bool comInitialised = SUCCEEDED(CoInitialize(nullptr));
    // Only the first character counts: "12" opens the settings program too.
    const bool openSettings = commandLine != nullptr && commandLine[0] == '1';
    auto window = std::make_unique<CMonitorWnd>(openSettings);
    const int result = window->Create(instance) ? MessageLoop() : 0;

    if (comInitialised) CoUninitialize();
    window.reset();
    return result;  // the instance mutex closes last
}

int CMonitorApp::MessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace brenik::monitor

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    brenik::monitor::CMonitorApp app;
    return app.Run(instance, commandLine);
}
