#include "volume_bar_wnd_win32.h"

#include "debug_output.h"
#include "endpoint_volume_win32.h"
#include "monitor_inbox.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "stand_in_volume_win32.h"
#include "volume_bar_messages.h"
#include "window_procedure.h"

namespace brenik::volumebar {
namespace {

constexpr const char* kWindowClass = "BrenikVolumeController";

// 1332 to the monitor's window, found by its title each time.
class MonitorLevel final : public IMonitorLevel {
public:
    bool PostLevel(int level) override {
        const HWND monitor = FindWindowA(nullptr, kTitleMonitor);
        return monitor != nullptr && PostMessageA(monitor, kMsgVolumeLevel, static_cast<WPARAM>(level), 0);
    }
};

}  // namespace

CVolumeBarWnd::CVolumeBarWnd(std::string standInFile) : standInFile_(std::move(standInFile)) {}

CVolumeBarWnd::~CVolumeBarWnd() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);  // WM_DESTROY lets the endpoint go first
}

bool CVolumeBarWnd::Create(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &win32::WindowProcedure<CVolumeBarWnd, &CVolumeBarWnd::hwnd_, &CVolumeBarWnd::OnMessage>;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);
    // A hidden top-level window (not a message-only one): the monitor finds it by its title.
    if (CreateWindowExA(WS_EX_TOOLWINDOW, kWindowClass, kTitleVolumeController, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                        instance, this) == nullptr) {
        DebugPrintf("VolumeBar could not create its window (error %lu)\n", static_cast<unsigned long>(GetLastError()));
        return false;
    }
    if (standInFile_.empty()) system_ = std::make_unique<EndpointVolume>(hwnd_);
    else system_ = std::make_unique<StandInVolume>(standInFile_, hwnd_);
    monitor_ = std::make_unique<MonitorLevel>();
    follower_ = std::make_unique<VolumeFollower>(*system_, *monitor_);
    return true;
}

LRESULT CVolumeBarWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kMsgVolumeEvent:
            if (follower_) follower_->OnKeyboardVolume(static_cast<std::intptr_t>(wParam));
            return 0;
        case kMsgVolumeSyncDone:
            if (follower_) follower_->OnSynchronised();
            return 0;
        case kMsgSystemVolumeChanged:
            if (follower_) follower_->OnSystemVolume(static_cast<int>(wParam), lParam != 0);
            return 0;
        case kMsgStandInChanged:
            if (follower_ && system_) {
                if (const std::optional<int> level = system_->Level()) follower_->OnSystemVolume(*level);
            }
            return 0;
        case WM_CLOSE: DestroyWindow(hwnd_); return 0;
        case WM_DESTROY:
            // The endpoint stops notifying while the window its notices go to still exists.
            follower_.reset();
            system_.reset();
            PostQuitMessage(0);
            return 0;
        default: return DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

}  // namespace brenik::volumebar
