// The real SysGauge.exe under Wine, installed as the monitor installs it: <folder>\config.ini
// with the display settings and <folder>\Applets\SysGauge.exe. It shows the processor's use in
// the top-right corner above everything without taking the focus from the user's window, the
// number follows a processor kept busy by the test, a second start leaves one gauge, 1224 after
// switching memory on shows both lines, WM_CLOSE ends it. Pictures go to --shots.

#include "config_ini_keys.h"
#include "foreground_window_win32.h"
#include "gauge_layout.h"
#include "ini_file.h"
#include "osd_settings_record.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "scoped_gdi.h"
#include "scoped_handle.h"
#include "keyboard_trace_win32.h"
#include "window_capture.h"
#include "wine_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace brenik::sysgauge {
namespace {

using test::ChildProcess;

struct Programs {
    std::string gauge;  // SysGauge.exe
    std::string shots;  // ends in a backslash
};
const Programs g_programs{test::ArgumentPath("gauge"), test::OutputFolder("shots")};

constexpr DWORD kStartTimeoutMs = 15000;
constexpr int kPictureMargin = 24;
constexpr COLORREF kBackdropColour = RGB(228, 232, 238);

class GaugeInstallation {
public:
    GaugeInstallation() : folder_("system-gauge") {
        CreateDirectoryA(folder_.File("Applets").c_str(), nullptr);
        EXPECT_TRUE(test::CopyInto(g_programs.gauge, folder_.File("Applets\\")));
    }
    void Switch(std::int32_t cpu, std::int32_t ram) const {
        OsdSettings settings{};
        settings.GaugeCpu = cpu;
        settings.GaugeRam = ram;
        settings.VolumeNotice = 1;  // a switch of the display's, which the gauge leaves alone
        ASSERT_TRUE(ini::CIniFile(folder_.File(kConfigFileName))
                        .WriteStruct(kOsdSettingsSection, kOsdSettingsKey, &settings, sizeof settings));
    }
    std::string Program() const { return folder_.File(kProgramSystemGauge); }

private:
    test::TempFolder folder_;
};


HWND GaugeWindow() { return FindWindowA(nullptr, kTitleSystemGauge); }

// The texts of the gauge's visible lines, top to bottom.
std::vector<std::string> Lines(HWND gauge) {
    struct Line {
        LONG top;
        std::string text;
    };
    std::vector<Line> lines;
    EnumChildWindows(
        gauge,
        [](HWND child, LPARAM found) -> BOOL {
            if (!IsWindowVisible(child)) return TRUE;
            char text[64] = {};
            GetWindowTextA(child, text, sizeof text);
            RECT rect{};
            GetWindowRect(child, &rect);
            reinterpret_cast<std::vector<Line>*>(found)->push_back({rect.top, text});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&lines));
    std::sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.top < b.top; });
    std::vector<std::string> texts;
    for (const Line& line : lines) texts.push_back(line.text);
    return texts;
}

// The processor's percent the gauge shows, or -1 when it shows none.
int CpuShown(HWND gauge) {
    for (const std::string& line : Lines(gauge)) {
        int percent = -1;
        if (std::sscanf(line.c_str(), "CPU %d %%", &percent) == 1) return percent;
    }
    return -1;
}

// Every processor kept busy for as long as it lives.
class BusyProcessors {
public:
    BusyProcessors() {
        SYSTEM_INFO system{};
        GetSystemInfo(&system);
        for (DWORD index = 0; index < system.dwNumberOfProcessors; ++index) {
            threads_.emplace_back([this] {
                volatile unsigned long long spin = 0;
                while (!stop_) ++spin;
            });
        }
    }
    ~BusyProcessors() {
        stop_ = true;
        for (std::thread& thread : threads_) thread.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

void Picture(HWND gauge, const std::string& name) {
    Sleep(200);  // let the X server draw it
    RECT rect{};
    GetWindowRect(gauge, &rect);
    // The gauge sits near the screen's corner: the margin around it stops at the screen's edges,
    // as a capture reaching past them comes out black.
    const RECT around{std::max(0L, rect.left - kPictureMargin), std::max(0L, rect.top - kPictureMargin),
                      std::min<LONG>(GetSystemMetrics(SM_CXSCREEN), rect.right + kPictureMargin),
                      std::min<LONG>(GetSystemMetrics(SM_CYSCREEN), rect.bottom + kPictureMargin)};
    EXPECT_TRUE(test::SaveScreenRect(around, g_programs.shots + name + ".bmp")) << name;
}

TEST(SystemGauge, ShowsTheReadingsOnTopWithoutTheFocusFollowsTheProcessorAndTheSettings) {
    GaugeInstallation install;
    install.Switch(1, 0);
    test::ForegroundWindow user("GaugeTestUser", kBackdropColour);
    ASSERT_NE(user.Handle(), nullptr);

    ChildProcess gauge;
    ASSERT_TRUE(gauge.Start(install.Program(), ""));
    ASSERT_TRUE(test::WaitUntil([] { return GaugeWindow() != nullptr; }, kStartTimeoutMs));
    const HWND window = GaugeWindow();
    ASSERT_TRUE(test::WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, kStartTimeoutMs));

    // Above everything, never the focus, out of the mouse's way, in the work area's top-right corner.
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
    const DWORD flags[] = {WS_EX_LAYERED, WS_EX_TRANSPARENT, WS_EX_NOACTIVATE, WS_EX_TOOLWINDOW, WS_EX_TOPMOST};
    for (const DWORD flag : flags) {
        EXPECT_EQ(style & flag, flag) << std::hex << flag;
    }
    EXPECT_NE(GetForegroundWindow(), window);
    EXPECT_EQ(GetForegroundWindow(), user.Handle()) << "the user's window lost the focus";
    RECT rect{};
    GetWindowRect(window, &rect);
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(rect.right, area.right - kScreenMargin);
    EXPECT_EQ(rect.top, area.top + kScreenMargin);
    const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    EXPECT_NE(WindowFromPoint(centre), window) << "the mouse goes through to the window below";

    // Processor only; a number within two seconds of the start.
    ASSERT_TRUE(test::WaitUntil([&] { return CpuShown(window) >= 0; }, 3000, 50)) << test::Joined(Lines(window));
    EXPECT_EQ(Lines(window).size(), 1u);
    Picture(window, "cpu");

    // Every processor busy: the number climbs; once they rest, it falls again.
    int busiest = 0;
    {
        const BusyProcessors busy;
        test::WaitUntil([&] { busiest = std::max(busiest, CpuShown(window)); return busiest >= 90; }, 5000, 100);
        Picture(window, "cpu-busy");
    }
    EXPECT_GE(busiest, 75) << "with every processor busy";
    int rested = 100;
    EXPECT_TRUE(test::WaitUntil([&] { rested = CpuShown(window); return rested < busiest - 20; }, 5000, 100))
        << "busiest " << busiest << ", after resting " << rested;

    // A second start ends at once and leaves the one gauge.
    ChildProcess second;
    ASSERT_TRUE(second.Start(install.Program(), ""));
    EXPECT_EQ(second.Wait(kStartTimeoutMs), 0);
    EXPECT_TRUE(gauge.Running());
    EXPECT_EQ(GaugeWindow(), window);
    EXPECT_EQ(FindWindowExA(nullptr, window, nullptr, kTitleSystemGauge), nullptr) << "a second window";
    EXPECT_TRUE(win32::ScopedHandle(OpenMutexA(SYNCHRONIZE, FALSE, kSystemGaugeInstanceMutex)).Valid());

    // Memory switched on, then 1224: both lines, processor first, the panel taller.
    install.Switch(1, 1);
    PostMessageA(window, kMsgAppletReload, 0, 0);
    ASSERT_TRUE(test::WaitUntil([&] { return Lines(window).size() == 2; }, 3000, 50));
    const std::vector<std::string> both = Lines(window);
    int ram = -1;
    EXPECT_EQ(both[0].rfind("CPU ", 0), 0u) << both[0];
    EXPECT_EQ(std::sscanf(both[1].c_str(), "RAM %d %%", &ram), 1) << both[1];
    EXPECT_GT(ram, 0);
    EXPECT_LE(ram, 100);
    RECT taller{};
    GetWindowRect(window, &taller);
    EXPECT_EQ(taller.bottom - taller.top, (rect.bottom - rect.top) + kLineHeight);
    Picture(window, "cpu-and-ram");

    // Processor off: memory alone.
    install.Switch(0, 1);
    PostMessageA(window, kMsgAppletReload, 0, 0);
    ASSERT_TRUE(test::WaitUntil([&] { return Lines(window).size() == 1; }, 3000, 50));
    EXPECT_EQ(Lines(window).front().rfind("RAM ", 0), 0u) << test::Joined(Lines(window));
    EXPECT_EQ(GetForegroundWindow(), user.Handle()) << "the user's window lost the focus";

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(gauge.Wait(5000), 0) << "WM_CLOSE ends the program";
    EXPECT_EQ(GaugeWindow(), nullptr);
}

TEST(SystemGauge, EndsWhenTheSettingsSwitchBothReadingsOff) {
    GaugeInstallation install;
    install.Switch(0, 0);
    ChildProcess unwanted;
    ASSERT_TRUE(unwanted.Start(install.Program(), ""));
    EXPECT_EQ(unwanted.Wait(kStartTimeoutMs), 0) << "nothing to show at the start";

    install.Switch(0, 1);
    ChildProcess gauge;
    ASSERT_TRUE(gauge.Start(install.Program(), ""));
    ASSERT_TRUE(test::WaitUntil([] { return GaugeWindow() != nullptr; }, kStartTimeoutMs));
    install.Switch(2, -1);  // neither holds exactly 1
    PostMessageA(GaugeWindow(), kMsgAppletReload, 0, 0);
    EXPECT_EQ(gauge.Wait(5000), 0) << "both off after a reload";
}

}  // namespace
}  // namespace brenik::sysgauge
