#include "media_platform_win32.h"

#include "debug_output.h"
#include "registry_key_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

namespace brenik::monitor::media {
namespace {

// Class names and titles are read up to 260 characters.
constexpr int kWindowTextChars = 260;
// The longest path environment expansion may give, terminator included.
constexpr DWORD kExpandedChars = 1024;

HWND Hwnd(WindowId window) { return reinterpret_cast<HWND>(window); }
WindowId Id(HWND hwnd) { return reinterpret_cast<WindowId>(hwnd); }

}  // namespace

void Win32KeyboardInput::TapSystemKey(std::uint8_t virtualKey) {
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = virtualKey;
    inputs[0].ki.wScan = 0;
    inputs[0].ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
    inputs[0].ki.dwExtraInfo = 0;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP;
    if (SendInput(2, inputs, sizeof(INPUT)) != 2) DebugPrintf("MediaKeys: system key %u not synthesised\n", virtualKey);
}

WindowId Win32PlayerWindows::Find(const char* className, const char* title) { return Id(FindWindowA(className, title)); }

WindowId Win32PlayerWindows::NextInZOrder(WindowId window) { return Id(GetWindow(Hwnd(window), GW_HWNDNEXT)); }

std::string Win32PlayerWindows::ClassName(WindowId window) {
    char text[kWindowTextChars + 1] = {};
    const int length = GetClassNameA(Hwnd(window), text, sizeof text);
    return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

// Another process's title is read without a message to it, so a hung player cannot stop this.
std::string Win32PlayerWindows::Title(WindowId window) {
    char text[kWindowTextChars + 1] = {};
    const int length = GetWindowTextA(Hwnd(window), text, sizeof text);
    return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

void Win32PlayerWindows::Post(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    PostMessageA(Hwnd(window), message, wParam, lParam);
}

// SMTO_BLOCK: the window thread handles nothing else meanwhile, so no event is taken up in the
// middle of another. SMTO_ABORTIFHUNG: a window the system already counts as hung fails at once.
bool Win32PlayerWindows::SendBounded(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(Hwnd(window), message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG, kPlayerAnswerTimeoutMs,
                               &answer) != 0;
}

void Win32PlayerWindows::BringToForeground(WindowId window) { SetForegroundWindow(Hwnd(window)); }

void Win32PlayerWindows::BringForwardAttached(WindowId window) {
    const HWND hwnd = Hwnd(window);
    const DWORD own = GetCurrentThreadId();
    const HWND foreground = GetForegroundWindow();
    const DWORD foregroundThread = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    const bool attached = foregroundThread != 0 && foregroundThread != own && AttachThreadInput(foregroundThread, own, TRUE);
    // Asynchronous: ShowWindow on another program's window waits for that program.
    if (IsIconic(hwnd)) ShowWindowAsync(hwnd, SW_RESTORE);
    SetForegroundWindow(hwnd);
    if (attached) AttachThreadInput(foregroundThread, own, FALSE);
}

std::optional<std::string> Win32PlayerRegistry::ReadString(const char* keyPath, const char* valueName, std::size_t maxBytes) {
    for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        CRegistryKey key;
        if (!key.Open(keyPath, KEY_READ | view, CRegistryKey::IfMissing::kFail)) continue;
        std::vector<char> buffer(maxBytes);
        if (key.ReadValue(valueName, buffer.data(), buffer.size())) return std::string(buffer.data());
    }
    return std::nullopt;
}

std::optional<std::string> Win32ProgramStarter::ExpandEnvironment(const std::string& text) {
    std::vector<char> expanded(kExpandedChars);
    const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), kExpandedChars);
    if (needed == 0 || needed > kExpandedChars) {
        DebugPrintf("MediaKeys: \"%s\" not expanded\n", text.c_str());
        return std::nullopt;
    }
    return std::string(expanded.data());
}

bool Win32ProgramStarter::Start(const std::string& path) {
    // ShellExecute reports success as a value above 32.
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace brenik::monitor::media
