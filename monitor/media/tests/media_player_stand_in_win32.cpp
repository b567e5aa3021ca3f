// A stand-in media player for end-to-end tests and demonstrations: it opens the window a real
// player has (exact class and title) and writes one line for everything that player would be
// told. It is one program for all four players:
//
//   media_player_stand_in.exe [--player=itunes|vlc|winamp|wmp] [--log=FILE] [--minimised]
//                             [--lifetime=SECONDS]
//
// Without --player the player is taken from the program's own file name, so a copy named
// "winamp.exe", "vlc.exe", "iTunes.exe" or "wmplayer.exe" placed at a registered path is that
// player when the monitor starts it. Lines go to stdout and, when given, are appended to the
// log file (--log=, or else the environment variable BRENIK_MEDIA_LOG, which the monitor passes
// on to what it starts):
//
//   <ms> <player> started <process id>
//   <ms> <player> WM_KEYDOWN <virtual key> 0x<lParam> <key name>   (and WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP)
//   <ms> <player> WM_COMMAND <wParam> 0x<lParam> <Winamp's name for the command>
//   <ms> <player> activated
//   <ms> <player> hang <milliseconds>
//
// <ms> is the system's tick count, comparable between processes. The windows:
//   itunes  class "iTunes", title "iTunes"
//   vlc     class "QWidget", title "Stand-in - VLC media player", with a second "QWidget"
//           window titled "Qt tool window" above it in z-order (the monitor must walk past it)
//   winamp  class "Winamp v1.x", title "Winamp"
//   wmp     class "WMPlayerApp", title "Windows Media Player"
// Message 0x8001 (WM_APP + 1) to the player's window makes it stop answering for wParam
// milliseconds, as a hung player does. It ends on WM_CLOSE, or by itself after --lifetime
// seconds (600 unless given), so a forgotten stand-in does not stay.

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr UINT kMsgHang = WM_APP + 1;
constexpr UINT_PTR kLifetimeTimer = 1;
constexpr unsigned kDefaultLifetimeSeconds = 600;
constexpr const char* kLogVariable = "BRENIK_MEDIA_LOG";

struct PlayerLook {
    const char* name;
    const char* className;
    const char* title;
};
constexpr PlayerLook kPlayers[] = {
    {"itunes", "iTunes", "iTunes"},
    {"vlc", "QWidget", "Stand-in - VLC media player"},
    {"winamp", "Winamp v1.x", "Winamp"},
    {"wmp", "WMPlayerApp", "Windows Media Player"},
};
constexpr const char* kVlcDecoyTitle = "Qt tool window";

const PlayerLook* g_player = nullptr;
HWND g_decoy = nullptr;
std::string g_logPath;

void Record(HWND window, const std::string& what) {
    const std::string who = window != nullptr && window == g_decoy ? std::string(g_player->name) + "-decoy" : g_player->name;
    const std::string line = std::to_string(GetTickCount64()) + " " + who + " " + what + "\r\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
    if (g_logPath.empty()) return;
    for (int attempt = 0; attempt < 50; ++attempt) {
        const HANDLE file = CreateFileA(g_logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            Sleep(10);  // another stand-in is writing
            continue;
        }
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
        return;
    }
}

std::string Hex(LPARAM value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(value & 0xFFFFFFFF));
    return text;
}

// Names for reading along; "?" for anything else.
const char* KeyName(WPARAM virtualKey) {
    switch (virtualKey) {
        case VK_CONTROL: return "Ctrl";
        case VK_SPACE: return "Space";
        case VK_LEFT: return "Left";
        case VK_RIGHT: return "Right";
        case 'N': return "N";
        case 'P': return "P";
        case 'S': return "S";
        case VK_VOLUME_MUTE: return "Mute";
        case VK_VOLUME_DOWN: return "VolumeDown";
        case VK_VOLUME_UP: return "VolumeUp";
        case VK_MEDIA_NEXT_TRACK: return "NextTrack";
        case VK_MEDIA_PREV_TRACK: return "PrevTrack";
        case VK_MEDIA_STOP: return "Stop";
        case VK_MEDIA_PLAY_PAUSE: return "PlayPause";
        default: return "?";
    }
}

const char* WinampCommandName(WPARAM command) {
    switch (command) {
        case 40044: return "previous";
        case 40045: return "play";
        case 40046: return "pause";
        case 40047: return "stop";
        case 40048: return "next";
        default: return "?";
    }
}

const char* KeyMessageName(UINT message) {
    switch (message) {
        case WM_KEYDOWN: return "WM_KEYDOWN";
        case WM_KEYUP: return "WM_KEYUP";
        case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
        case WM_SYSKEYUP: return "WM_SYSKEYUP";
        default: return nullptr;
    }
}

LRESULT CALLBACK PlayerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (const char* name = KeyMessageName(message)) {
        Record(hwnd, std::string(name) + " " + std::to_string(wParam) + " " + Hex(lParam) + " " + KeyName(wParam));
        return 0;
    }
    switch (message) {
        case WM_COMMAND:
            Record(hwnd, "WM_COMMAND " + std::to_string(wParam) + " " + Hex(lParam) + " " + WinampCommandName(wParam));
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) Record(hwnd, "activated");
            break;
        case kMsgHang:
            Record(hwnd, "hang " + std::to_string(wParam));
            Sleep(static_cast<DWORD>(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == kLifetimeTimer) DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            if (hwnd != g_decoy) PostQuitMessage(0);
            return 0;
        default: break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

std::string Argument(const char* name) {
    const std::string prefix = std::string("--") + name + "=";
    for (int i = 1; i < __argc; ++i) {
        if (std::strncmp(__argv[i], prefix.c_str(), prefix.size()) == 0) return __argv[i] + prefix.size();
    }
    return {};
}

bool HasFlag(const char* name) {
    for (int i = 1; i < __argc; ++i) {
        if (std::strcmp(__argv[i], name) == 0) return true;
    }
    return false;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

const PlayerLook* ChoosePlayer() {
    std::string wanted = Lower(Argument("player"));
    if (wanted.empty()) {
        char path[MAX_PATH + 1] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        const char* file = std::strrchr(path, '\\');
        wanted = Lower(file != nullptr ? file + 1 : path);
        if (wanted.find("wmplayer") != std::string::npos) wanted = "wmp";
    }
    for (const PlayerLook& look : kPlayers) {
        if (wanted.find(look.name) != std::string::npos) return &look;
    }
    return nullptr;
}

HWND MakeWindow(HINSTANCE instance, const char* className, const char* title, WNDPROC proc, int x) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);  // a second window of the same class finds it registered
    return CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, x, 100, 360, 160, nullptr, nullptr, instance, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    g_player = ChoosePlayer();
    if (g_player == nullptr) {
        std::fprintf(stderr, "media_player_stand_in: name the player with --player=itunes|vlc|winamp|wmp\n");
        return 2;
    }
    g_logPath = Argument("log");
    if (g_logPath.empty()) {
        char path[MAX_PATH + 1] = {};
        if (GetEnvironmentVariableA(kLogVariable, path, MAX_PATH) > 0) g_logPath = path;
    }
    const std::string lifetime = Argument("lifetime");
    const unsigned lifetimeSeconds = lifetime.empty() ? kDefaultLifetimeSeconds : std::strtoul(lifetime.c_str(), nullptr, 10);

    const HWND window = MakeWindow(instance, g_player->className, g_player->title, &PlayerProc, 120);
    if (window == nullptr) return 1;
    SetTimer(window, kLifetimeTimer, lifetimeSeconds * 1000, nullptr);
    ShowWindow(window, HasFlag("--minimised") ? SW_SHOWMINNOACTIVE : SW_SHOWNOACTIVATE);
    if (std::strcmp(g_player->name, "vlc") == 0) {
        // Same class, above the player's window; what it receives is written as "vlc-decoy".
        g_decoy = MakeWindow(instance, g_player->className, kVlcDecoyTitle, &PlayerProc, 520);
        if (g_decoy != nullptr) {
            ShowWindow(g_decoy, SW_SHOWNOACTIVATE);
            SetWindowPos(g_decoy, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    Record(window, "started " + std::to_string(GetCurrentProcessId()));

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
