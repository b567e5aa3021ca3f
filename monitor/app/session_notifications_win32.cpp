#include "session_notifications_win32.h"

#include <cstring>

namespace brenik::monitor {
namespace {

using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterFn = BOOL(WINAPI*)(HWND);

constexpr int kRegisterAttempts = 10;
constexpr DWORD kRegisterRetryMs = 1000;
constexpr DWORD kThisSessionOnly = 0;  // NOTIFY_FOR_THIS_SESSION

template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
    const FARPROC proc = GetProcAddress(module, name);
    Fn fn = nullptr;
    static_assert(sizeof fn == sizeof proc);
    std::memcpy(&fn, &proc, sizeof fn);
    return fn;
}

}  // namespace

bool SessionNotifications::Register(HWND window) {
    library_.Reset(LoadLibraryA("wtsapi32.dll"));
    if (!library_.Valid()) return false;
    const auto registerFn = Lookup<RegisterFn>(library_.Get(), "WTSRegisterSessionNotification");
    if (!registerFn) return false;
    for (int attempt = 0; attempt < kRegisterAttempts; ++attempt) {
        if (attempt > 0) Sleep(kRegisterRetryMs);
        if (registerFn(window, kThisSessionOnly)) {
            window_ = window;
            return true;
        }
    }
    return false;
}

void SessionNotifications::Unregister() {
    if (!library_.Valid()) return;
    if (window_ != nullptr) {
        if (const auto unregisterFn = Lookup<UnregisterFn>(library_.Get(), "WTSUnRegisterSessionNotification")) {
            unregisterFn(window_);
        }
        window_ = nullptr;
    }
    library_.Reset();
}

}  // namespace brenik::monitor
