#pragma once
// The media keys' platform on Windows: SendInput for the system keys, the players' windows
// (FindWindow, the z-order, SendMessageTimeout, the foreground), the registry read through
// CRegistryKey, and ShellExecute. One object for the monitor's window thread; Platform()
// hands its parts to MediaKeys.

#include "media_platform.h"
#include "system_sleep_clock_win32.h"

namespace brenik::monitor::media {

class Win32KeyboardInput final : public IKeyboardInput {
public:
    void TapSystemKey(std::uint8_t virtualKey) override;
};

class Win32PlayerWindows final : public IPlayerWindows {
public:
    WindowId Find(const char* className, const char* title) override;
    WindowId NextInZOrder(WindowId window) override;
    std::string ClassName(WindowId window) override;
    std::string Title(WindowId window) override;
    void Post(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    bool SendBounded(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void BringToForeground(WindowId window) override;
    void BringForwardAttached(WindowId window) override;
};

// Reads below HKEY_LOCAL_MACHINE with read access only. The monitor is a 64-bit program and
// sees the registry's 64-bit view; a 32-bit player registers in the 32-bit view, so a value
// missing in the first is looked for in the second.
class Win32PlayerRegistry final : public IPlayerRegistry {
public:
    std::optional<std::string> ReadString(const char* keyPath, const char* valueName, std::size_t maxBytes) override;
};

class Win32ProgramStarter final : public IProgramStarter {
public:
    std::optional<std::string> ExpandEnvironment(const std::string& text) override;
    bool Start(const std::string& path) override;
};

class Win32MediaPlatform {
public:
    MediaPlatform Platform() { return {keyboard_, windows_, registry_, programs_, clock_}; }

private:
    Win32KeyboardInput keyboard_;
    Win32PlayerWindows windows_;
    Win32PlayerRegistry registry_;
    Win32ProgramStarter programs_;
    SystemSleepClock clock_;
};

}  // namespace brenik::monitor::media
