// The real Monitor.exe under Wine, against the virtual keyboard: its tray icon, the icon's
// menu and callback, and the companion programs it starts, tells and closes. The companions
// are stand-ins: windows of the test with their titles that record what they receive, and
// the stand-in program copied into the installation under each companion's file name, which
// logs every start (and, as the settings program, opens the settings program's window).
//
// Whether the shell holds the monitor's icon is asked the shell itself: changing nothing about
// an icon (NIM_MODIFY without flags) succeeds only while an icon with that owner and id exists.

#include "monitor_inbox.h"
#include "monitor_installation_win32.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "running_monitor_win32.h"
#include "tray_messages.h"
#include "window_capture.h"
#include "wine_test_support.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace brenik::monitor::tray {
namespace {

using test::MonitorWindow;
using test::PeerWindows;

const test::MonitorPrograms g_programs = test::MonitorProgramsFromArguments();
const std::string g_standIn = test::ArgumentPath("stand-in");  // the companion stand-in
const std::string g_shots = test::OutputFolder("shots");       // pictures

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kMessageTimeoutMs = 10000;
constexpr DWORD kArrivalTimeoutMs = 20000;  // the monitor waits 5000 ms after an arrival
// How long something that must not happen is given to happen anyway.
constexpr DWORD kQuietMs = 1500;
constexpr const char* kLogVariable = "BRENIK_STAND_IN_LOG";
constexpr const char* kMenuClass = "#32768";

// The display settings' fields the applets follow (byte offsets in the 344-byte record).
constexpr std::size_t kDisplaySettingsBytes = 344;
constexpr std::size_t kFieldCpu = 0;
constexpr std::size_t kFieldRam = 4;
constexpr std::size_t kFieldCall = 20;

// The stand-in's file names, as the monitor starts them.
constexpr const char* kStandInSettings = "Brenik Option.exe";
constexpr const char* kStandInOsd = "Brenik OSD.exe";
constexpr const char* kStandInVolumeBar = "VolumeBar.exe";
constexpr const char* kStandInGauge = "SysGauge.exe";
constexpr const char* kStandInCall = "CallOsd.exe";

// A throw-away installation with the stand-in under every companion's name, and the log of
// the stand-ins' starts beside it.
class Installation : public test::MonitorInstallation {
public:
    Installation(const std::string& tag, const std::string& pipe)
        : MonitorInstallation(tag, g_programs.monitor, g_programs.kbhid, pipe) {
        const std::string folder = Folder();
        CreateDirectoryA((folder + "Applets").c_str(), nullptr);
        for (const char* name : {"Brenik Option.exe", "Brenik OSD.exe", "Applets\\VolumeBar.exe", "Applets\\SysGauge.exe",
                                 "Applets\\CallOsd.exe"}) {
            CopyFileA(g_standIn.c_str(), (folder + name).c_str(), FALSE);
        }
        SetEnvironmentVariableA(kLogVariable, StartLog().c_str());
    }
    ~Installation() { SetEnvironmentVariableA(kLogVariable, nullptr); }

    std::string StartLog() const { return Folder() + "starts.log"; }

    // The display settings as the settings program stores them, with the applets' three switches.
    void WriteAppletSwitches(int cpu, int ram, int call) const {
        std::array<std::uint8_t, kDisplaySettingsBytes> settings{};
        const auto put = [&](std::size_t offset, int value) {
            for (int b = 0; b < 4; ++b) settings[offset + b] = static_cast<std::uint8_t>(static_cast<unsigned>(value) >> (8 * b));
        };
        put(kFieldCpu, cpu);
        put(kFieldRam, ram);
        put(kFieldCall, call);
        WritePrivateProfileStructA("OSDSetting", "config", settings.data(), static_cast<UINT>(settings.size()),
                                   ConfigIni().c_str());
    }
};

struct Start {
    std::string name;
    unsigned long long created;
};

// The stand-ins' starts, in the order the monitor made them (by process creation time).
std::vector<Start> Starts(const Installation& install) {
    std::vector<Start> starts;
    std::ifstream log(install.StartLog());
    std::string line;
    while (std::getline(log, line)) {
        const std::size_t blank = line.find_last_of(' ');
        if (blank == std::string::npos) continue;
        starts.push_back({line.substr(0, blank), std::stoull(line.substr(blank + 1))});
    }
    std::stable_sort(starts.begin(), starts.end(), [](const Start& a, const Start& b) { return a.created < b.created; });
    return starts;
}

std::vector<std::string> StartNames(const Installation& install) {
    std::vector<std::string> names;
    for (const Start& s : Starts(install)) names.push_back(s.name);
    return names;
}

int StartCount(const Installation& install, const std::string& name) {
    const std::vector<std::string> names = StartNames(install);
    return static_cast<int>(std::count(names.begin(), names.end(), name));
}

NOTIFYICONDATAA IconRecord(HWND monitor) {
    NOTIFYICONDATAA record{};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE;
    record.hWnd = monitor;
    record.uID = kTrayIconId;
    return record;
}

bool TrayIconPresent(HWND monitor) {
    NOTIFYICONDATAA record = IconRecord(monitor);
    return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

// What the shell does to every icon when Explorer restarts.
bool DropTrayIcon(HWND monitor) {
    NOTIFYICONDATAA record = IconRecord(monitor);
    return Shell_NotifyIconA(NIM_DELETE, &record) != FALSE;
}

void BroadcastTaskbarCreated() {
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA(kTaskbarCreatedName), 0, 0);
}

// The shell telling the monitor of a mouse message on its icon.
void ClickIcon(HWND monitor, UINT mouseMessage) { PostMessageA(monitor, kMsgTrayCallback, kTrayIconId, mouseMessage); }

// The visible pop-up menu of the given process, if one is open.
HWND OpenMenuOf(DWORD processId) {
    struct Search {
        DWORD process;
        HWND found;
    } search{processId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* s = reinterpret_cast<Search*>(parameter);
            char name[32] = {};
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            GetClassNameA(window, name, sizeof name);
            if (owner == s->process && std::string(name) == kMenuClass && IsWindowVisible(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Opens the icon's menu with a right click and waits until it shows.
HWND OpenIconMenu(HWND monitor, DWORD processId) {
    ClickIcon(monitor, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    test::WaitUntil([&] { return (menu = OpenMenuOf(processId)) != nullptr; }, kMessageTimeoutMs);
    return menu;
}

// Keys to an open menu: its loop takes every keyboard message of the thread.
void MenuKey(HWND menu, WPARAM key) { PostMessageA(menu, WM_KEYDOWN, key, 0); }
void MenuEnter(HWND menu) { PostMessageA(menu, WM_CHAR, '\r', 0); }

bool WaitMenuClosed(DWORD processId) {
    return test::WaitUntil([&] { return OpenMenuOf(processId) == nullptr; }, kMessageTimeoutMs);
}

// The settings window of the stand-in (or of a test's peer), minimised.
bool Minimise(HWND window) {
    ShowWindow(window, SW_MINIMIZE);
    return test::WaitUntil([&] { return IsIconic(window) != FALSE; }, kMessageTimeoutMs);
}

bool WaitRestored(HWND window) {
    return test::WaitUntil([&] { return IsIconic(window) == FALSE; }, kMessageTimeoutMs);
}

// Wine shows tray icons in a small window of its own when the X desktop has no tray.
HWND WineTrayWindow() { return FindWindowA("__winex11_standalone_tray", nullptr); }

// Our icon's lit keys are red (232, 36, 24), a colour that neither the tray nor a blank or
// generic icon has: count such pixels on the screen within the window.
int RedKeyPixels(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const HDC screen = GetDC(nullptr);
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            const COLORREF c = GetPixel(screen, x, y);
            count += GetRValue(c) > 200 && GetGValue(c) < 80 && GetBValue(c) < 80;
        }
    }
    ReleaseDC(nullptr, screen);
    return count;
}

std::string Shot(const std::string& name) { return g_shots + name + ".bmp"; }

// Started without the keyboard and with "1": no icon, no companions, and the shell's restart
// brings no icon either. Then the keyboard follows in and out, the shell restarts, and the
// icon's callback and menu are used, ending with the menu's Exit.
TEST(TrayEndToEnd, FollowsTheKeyboardTheShellAndTheUser) {
    test::VirtualKeyboardServer keyboard(g_programs.tools, "BrenikTrayE2E-main");
    ASSERT_TRUE(keyboard.Start()) << "virtual keyboard server";
    ASSERT_EQ(keyboard.Command("unplug"), 0);
    Installation install("tray-e2e", keyboard.Pipe());
    install.WriteAppletSwitches(0, 1, 1);  // gauge on through its second field, call display on
    PeerWindows peers({kTitleOsd, kTitleCallDisplay, kTitlePopup, kTitleVolumeController});

    test::RunningMonitor monitor;
    ASSERT_TRUE(monitor.Launch(install.Monitor(), "1"));
    const DWORD monitorId = GetProcessId(monitor.Handle());
    ASSERT_TRUE(test::WaitUntil([&] { return install.DeviceKey() == 0; }, kStartTimeoutMs));
    const HWND window = MonitorWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(TrayIconPresent(window)) << "no icon without the keyboard";
    BroadcastTaskbarCreated();
    Sleep(kQuietMs);
    EXPECT_FALSE(TrayIconPresent(window)) << "the shell's restart brings no icon before the keyboard came";
    EXPECT_TRUE(StartNames(install).empty()) << "nothing is started without the keyboard, not even by \"1\"";

    // Arrival: the icon is there by the time "Device" = 1 is written; then the display, the
    // volume bar and the gauge (on, not running) are started, the call display (on, running)
    // is told to reload. "1" does not open the settings program on a later arrival.
    ASSERT_EQ(keyboard.Command("plug"), 0);
    ASSERT_TRUE(test::WaitUntil([&] { return install.DeviceKey() == 1; }, kArrivalTimeoutMs));
    EXPECT_TRUE(TrayIconPresent(window));
    EXPECT_TRUE(test::WaitUntil([&] { return Starts(install).size() >= 3; }, kMessageTimeoutMs));
    EXPECT_TRUE(peers.WaitFor(kTitleCallDisplay, kMsgAppletReload, 1, kMessageTimeoutMs));
    Sleep(kQuietMs);
    EXPECT_EQ(StartNames(install), (std::vector<std::string>{kStandInOsd, kStandInVolumeBar, kStandInGauge}));
    EXPECT_EQ(peers.Count(kTitleCallDisplay, WM_CLOSE), 0);
    for (const PeerWindows::Received& r : peers.Log()) {
        if (r.message == kMsgAppletReload) {
            EXPECT_EQ(r.wParam, 0u) << r.title;
            EXPECT_EQ(r.lParam, 0) << r.title;
        }
    }

    // Settings changed with both applets switched off: the call display is told to reload,
    // then closed; the gauge has no window (the stand-in ended) and is left alone.
    peers.Clear();
    install.WriteAppletSwitches(0, 0, 0);
    PostMessageA(window, kMsgSettingsChanged, 0, 0);
    EXPECT_TRUE(peers.WaitFor(kTitleCallDisplay, WM_CLOSE, 1, kMessageTimeoutMs));
    std::vector<UINT> toCall;
    for (const PeerWindows::Received& r : peers.Log()) {
        if (r.title == kTitleCallDisplay) toCall.push_back(r.message);
    }
    EXPECT_EQ(toCall, (std::vector<UINT>{kMsgAppletReload, WM_CLOSE}));
    EXPECT_EQ(StartCount(install, kStandInGauge), 1);

    // Explorer restarts: the icon it lost comes back.
    ASSERT_TRUE(DropTrayIcon(window));
    ASSERT_FALSE(TrayIconPresent(window));
    BroadcastTaskbarCreated();
    EXPECT_TRUE(test::WaitUntil([&] { return TrayIconPresent(window); }, kMessageTimeoutMs)) << "icon back after TaskbarCreated";

    // Double-click with the settings program minimised: restored, not started again.
    {
        PeerWindows settings({kTitleSettings});
        const HWND settingsWindow = FindWindowA(nullptr, kTitleSettings);
        ASSERT_NE(settingsWindow, nullptr);
        ASSERT_TRUE(Minimise(settingsWindow));
        // A single click brings forward only the monitor's own pop-ups; other mouse messages do nothing.
        ClickIcon(window, WM_LBUTTONDOWN);
        ClickIcon(window, WM_MOUSEMOVE);
        Sleep(500);
        EXPECT_TRUE(IsIconic(settingsWindow));
        ClickIcon(window, WM_LBUTTONDBLCLK);
        EXPECT_TRUE(WaitRestored(settingsWindow)) << "the minimised settings window is restored";
        Sleep(kQuietMs);
        EXPECT_EQ(StartCount(install, kStandInSettings), 0) << "no second settings program";
    }
    // Double-click with none: the settings program is started and opens its window.
    ClickIcon(window, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(test::WaitUntil([&] { return FindWindowA(nullptr, kTitleSettings) != nullptr; }, kStartTimeoutMs));
    EXPECT_EQ(StartCount(install, kStandInSettings), 1);

    // The tray shows our icon (its red keys), not a blank or generic one.
    const HWND tray = WineTrayWindow();
    ASSERT_NE(tray, nullptr) << "Wine's tray window";
    RECT client{};
    GetClientRect(tray, &client);
    MapWindowPoints(tray, nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_TRUE(test::SaveScreenRect(client, Shot("tray-icon")));
    EXPECT_GE(RedKeyPixels(tray), 3) << "our keyboard icon in the tray";

    // Right click: the menu, by the tray; Escape closes it and nothing else happens.
    RECT trayRect{};
    GetWindowRect(tray, &trayRect);
    SetCursorPos(trayRect.right - 8, trayRect.bottom - 8);  // where the user would click
    HWND menu = OpenIconMenu(window, monitorId);
    ASSERT_NE(menu, nullptr) << "the icon's menu shows";
    Sleep(300);  // drawn
    EXPECT_TRUE(test::SaveScreenImage(Shot("tray-menu-screen")));
    EXPECT_TRUE(test::SaveWindowImage(menu, Shot("tray-menu")));
    MenuKey(menu, VK_ESCAPE);
    EXPECT_TRUE(WaitMenuClosed(monitorId));
    EXPECT_TRUE(monitor.Running());

    // "Configuration" (the first item) behaves as the double-click: the minimised settings
    // program's window is restored, no second copy is started.
    const HWND settingsWindow = FindWindowA(nullptr, kTitleSettings);
    ASSERT_NE(settingsWindow, nullptr);
    ASSERT_TRUE(Minimise(settingsWindow));
    menu = OpenIconMenu(window, monitorId);
    ASSERT_NE(menu, nullptr);
    MenuKey(menu, VK_DOWN);
    MenuEnter(menu);
    EXPECT_TRUE(WaitMenuClosed(monitorId));
    EXPECT_TRUE(WaitRestored(settingsWindow)) << "Configuration brings the settings program up";
    EXPECT_EQ(StartCount(install, kStandInSettings), 1);

    // Removal: the icon is gone by the time "Device" = 0 is written, the settings program is
    // closed, and the shell's restart does not bring the icon back.
    ASSERT_EQ(keyboard.Command("unplug"), 0);
    ASSERT_TRUE(test::WaitUntil([&] { return install.DeviceKey() == 0; }, kMessageTimeoutMs));
    EXPECT_FALSE(TrayIconPresent(window));
    EXPECT_TRUE(test::WaitUntil([&] { return FindWindowA(nullptr, kTitleSettings) == nullptr; }, kMessageTimeoutMs))
        << "the settings program was closed";
    BroadcastTaskbarCreated();
    Sleep(kQuietMs);
    EXPECT_FALSE(TrayIconPresent(window)) << "no icon after removal, whatever the shell does";

    // Back again; then "Exit" (the last item) ends the monitor and takes the icon with it.
    peers.Clear();
    ASSERT_EQ(keyboard.Command("plug"), 0);
    ASSERT_TRUE(test::WaitUntil([&] { return install.DeviceKey() == 1; }, kArrivalTimeoutMs));
    EXPECT_TRUE(TrayIconPresent(window));
    // The call display, switched off since, is closed again once the companions are started.
    EXPECT_TRUE(peers.WaitFor(kTitleCallDisplay, WM_CLOSE, 1, kMessageTimeoutMs));
    peers.Clear();
    menu = OpenIconMenu(window, monitorId);
    ASSERT_NE(menu, nullptr);
    MenuKey(menu, VK_UP);
    MenuEnter(menu);
    EXPECT_EQ(monitor.Wait(kStartTimeoutMs), 0) << "Exit ends the monitor";
    EXPECT_FALSE(TrayIconPresent(window));
    for (const char* title : {kTitleOsd, kTitleCallDisplay, kTitlePopup, kTitleVolumeController}) {
        EXPECT_EQ(peers.Count(title, WM_CLOSE), 1) << title;
    }
}

// Started with the keyboard and "1": the icon, then the settings program, then the display,
// the volume bar and the applets, in that order; running applets are told or closed.
TEST(TrayEndToEnd, StartsTheCompanionsInOrderWithTheKeyboardPresent) {
    test::VirtualKeyboardServer keyboard(g_programs.tools, "BrenikTrayE2E-start");
    ASSERT_TRUE(keyboard.Start()) << "virtual keyboard server";
    Installation install("tray-e2e-start", keyboard.Pipe());
    install.WriteAppletSwitches(1, 0, 0);  // gauge on through its first field, call display off
    PeerWindows peers({kTitleSystemGauge, kTitleCallDisplay});

    test::RunningMonitor monitor;
    ASSERT_TRUE(monitor.Launch(install.Monitor(), "1"));
    ASSERT_TRUE(test::WaitUntil([&] { return install.DeviceKey() == 1; }, kStartTimeoutMs));
    const HWND window = MonitorWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(TrayIconPresent(window));
    EXPECT_TRUE(test::WaitUntil([&] { return Starts(install).size() >= 3; }, kMessageTimeoutMs));
    EXPECT_TRUE(peers.WaitFor(kTitleCallDisplay, WM_CLOSE, 1, kMessageTimeoutMs));
    Sleep(kQuietMs);
    EXPECT_EQ(StartNames(install), (std::vector<std::string>{kStandInSettings, kStandInOsd, kStandInVolumeBar}));
    EXPECT_EQ(peers.Count(kTitleSystemGauge, kMsgAppletReload), 1);
    EXPECT_EQ(peers.Count(kTitleSystemGauge, WM_CLOSE), 0) << "a running gauge that is on stays";
    EXPECT_EQ(peers.Count(kTitleCallDisplay, kMsgAppletReload), 1);
    EXPECT_EQ(StartCount(install, kStandInGauge), 0) << "a running gauge is not started again";
    EXPECT_EQ(StartCount(install, kStandInCall), 0);

    // The menu's Exit, as a command: the companions are closed, the monitor ends, the icon goes.
    PostMessageA(window, WM_COMMAND, kCmdExit, 0);
    EXPECT_EQ(monitor.Wait(kStartTimeoutMs), 0);
    EXPECT_FALSE(TrayIconPresent(window));
    EXPECT_TRUE(test::WaitUntil([&] { return FindWindowA(nullptr, kTitleSettings) == nullptr; }, kMessageTimeoutMs))
        << "the settings program was closed";
    EXPECT_EQ(peers.Count(kTitleSystemGauge, WM_CLOSE), 1);
}

}  // namespace
}  // namespace brenik::monitor::tray
