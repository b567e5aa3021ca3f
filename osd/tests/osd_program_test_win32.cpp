// The real "Brenik OSD.exe" under Wine, installed in a throw-away folder with a config.ini of
// its own and a shared block the test makes as the monitor would: every kind of notice shows
// near the bottom centre for its time and goes, above everything and without ever taking the
// focus or the mouse from the test's own window; a second start ends at once and WM_CLOSE
// ends the program. Pictures of each notice go to the folder given as --shots.

#include "config_ini_keys.h"
#include "ini_file.h"
#include "notice_layout.h"
#include "osd_placement.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "scoped_gdi.h"
#include "scoped_handle.h"
#include "shared_state_block_win32.h"
#include "state_record.h"
#include "window_capture.h"
#include "foreground_window_win32.h"
#include "wine_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

namespace brenik::osd {
namespace {

using test::ChildProcess;
using test::TempFolder;

struct Programs {
    std::string osd;    // Brenik OSD.exe
    std::string shots;  // ends in a backslash
};
const Programs g_programs{test::ArgumentPath("osd"), test::OutputFolder("shots")};

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kShowTimeoutMs = 3000;
// Wine's timers and the polling add to the notice's own time; a notice that never goes, or
// goes at once, still fails.
constexpr DWORD kLateSlackMs = 1500;
constexpr DWORD kEarlySlackMs = 500;
constexpr int kPictureMargin = 28;
constexpr COLORREF kBackdropColour = RGB(228, 232, 238);
const char* const kLongProfileName = "Evening raid with the whole guild";

constexpr const char* kConfigText =
    "[OSDData]\r\nMessage=Firmware 1.08 is ready: open the settings to update the keyboard\r\n"
    "[MacroOSD]\r\nNumber=4\r\nMacroName=Reload and duck\r\n";

// The display as the monitor installs it: beside a config.ini that holds the texts and a
// stored distance of 120 pixels from the bottom (time left at its default).
class OsdInstallation {
public:
    OsdInstallation() : folder_("osd-program") {
        test::CopyInto(g_programs.osd, folder_.Path());
        test::WriteTextFile(ConfigIni(), kConfigText);
        OsdSettings settings{};
        settings.DisplayParam2 = 120;  // the distance
        ini::CIniFile(ConfigIni()).WriteStruct(kOsdSettingsSection, kOsdSettingsKey, &settings, sizeof settings);
    }
    std::string Program() const { return folder_.File(kProgramOsd); }
    std::string ConfigIni() const { return folder_.File(kConfigFileName); }

private:
    TempFolder folder_;
};

// The monitor's side of the shared block, with the profile names the notices show.
class MonitorBlock {
public:
    bool Create() {
        auto state = std::make_unique<StateRecord>();
        std::memset(state.get(), 0, sizeof *state);
        std::strcpy(state->Profiles[2].ProFileName, kLongProfileName);
        std::memset(state->Profiles[3].ProFileName, 'W', sizeof state->Profiles[3].ProFileName);  // no terminator
        return block_.CreateLock() && block_.Create() && block_.Publish(*state);
    }
    void Close() { block_.Close(); }

private:
    SharedStateBlock block_;
};


// Watches the foreground window every few milliseconds for as long as it lives.
class ForegroundWatch {
public:
    explicit ForegroundWatch(HWND osd) : osd_(osd), thread_([this] { Run(); }) {}
    ~ForegroundWatch() {
        stop_ = true;
        thread_.join();
    }
    bool OsdWasForeground() const { return osdSeen_; }
    HWND Foreground() const { return GetForegroundWindow(); }

private:
    void Run() {
        while (!stop_) {
            if (GetForegroundWindow() == osd_) osdSeen_ = true;
            Sleep(5);
        }
    }
    HWND osd_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> osdSeen_{false};
    std::thread thread_;
};

HWND OsdWindow() { return FindWindowA(nullptr, kTitleOsd); }

RECT WorkArea() {
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

bool IsDark(COLORREF colour) { return GetRValue(colour) < 80 && GetGValue(colour) < 80 && GetBValue(colour) < 80; }

COLORREF ScreenPixel(int x, int y) {
    const HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
}

struct Shown {
    bool appeared = false;
    RECT rect{};
    DWORD visibleMs = 0;  // from appearing to going; 0 if it did not go in time
};

// Posts one notice, waits for it, checks it is drawn on top, takes its picture (with a margin
// of the window below) and times it until it goes.
Shown PostAndWatch(HWND osd, UINT message, WPARAM wParam, LPARAM lParam, const std::string& picture,
                   DWORD expectedMs) {
    Shown shown;
    PostMessageA(osd, message, wParam, lParam);
    shown.appeared = test::WaitUntil([&] { return IsWindowVisible(osd) != FALSE; }, kShowTimeoutMs, 5);
    const ULONGLONG appearedAt = GetTickCount64();
    if (!shown.appeared) return shown;
    GetWindowRect(osd, &shown.rect);
    Sleep(150);  // let the X server draw it
    // Drawn, and above the test's window: a point inside the panel shows the dark panel.
    EXPECT_TRUE(IsDark(ScreenPixel(shown.rect.left + 12, (shown.rect.top + shown.rect.bottom) / 2))) << picture;
    // The mouse goes through it to the window below.
    const POINT centre{(shown.rect.left + shown.rect.right) / 2, (shown.rect.top + shown.rect.bottom) / 2};
    EXPECT_NE(WindowFromPoint(centre), osd) << picture;
    if (!picture.empty()) {
        const RECT around{shown.rect.left - kPictureMargin, shown.rect.top - kPictureMargin,
                          shown.rect.right + kPictureMargin, shown.rect.bottom + kPictureMargin};
        EXPECT_TRUE(test::SaveScreenRect(around, g_programs.shots + picture + ".bmp")) << picture;
    }
    if (test::WaitUntil([&] { return IsWindowVisible(osd) == FALSE; }, expectedMs + kLateSlackMs, 10)) {
        shown.visibleMs = static_cast<DWORD>(GetTickCount64() - appearedAt);
    }
    return shown;
}

void ExpectBottomCentre(const RECT& rect, int distance) {
    const RECT area = WorkArea();
    const int centre = (rect.left + rect.right) / 2;
    EXPECT_NEAR(centre, (area.left + area.right) / 2, 1);
    EXPECT_EQ(rect.bottom, area.bottom - distance);
}

void ExpectShownFor(const Shown& shown, DWORD expectedMs, const std::string& what) {
    ASSERT_TRUE(shown.appeared) << what;
    EXPECT_GT(shown.visibleMs, 0u) << what << " did not go";
    EXPECT_GE(shown.visibleMs + kEarlySlackMs, expectedMs) << what;
}

// Nothing shows for a while after the message.
bool StaysHidden(HWND osd, UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageA(osd, message, wParam, lParam);
    return !test::WaitUntil([&] { return IsWindowVisible(osd) != FALSE; }, 600, 5);
}

TEST(OsdProgram, ShowsEveryNoticeBrieflyAtTheBottomWithoutTakingFocusOrMouse) {
    OsdInstallation install;
    MonitorBlock block;
    ASSERT_TRUE(block.Create());
    test::ForegroundWindow user("OsdTestForeground", kBackdropColour);
    ASSERT_NE(user.Handle(), nullptr);
    ASSERT_EQ(GetForegroundWindow(), user.Handle());

    ChildProcess osd;
    ASSERT_TRUE(osd.Start(install.Program(), ""));
    ASSERT_TRUE(test::WaitUntil([] { return OsdWindow() != nullptr; }, kStartTimeoutMs));
    const HWND window = OsdWindow();
    EXPECT_FALSE(IsWindowVisible(window)) << "nothing shows before the first notice";
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
    const DWORD flags[] = {WS_EX_LAYERED, WS_EX_TRANSPARENT, WS_EX_NOACTIVATE, WS_EX_TOOLWINDOW, WS_EX_TOPMOST};
    for (const DWORD flag : flags) {
        EXPECT_EQ(style & flag, flag) << std::hex << flag;
    }

    const ForegroundWatch watch(window);
    const DWORD normal = 1500;
    const int storedDistance = 120;  // from config.ini, read at start

    const Shown profile = PostAndWatch(window, kMsgOsdShow, kOsdKindProfile, 2 << 16, "profile", normal);
    ExpectShownFor(profile, normal, "profile");
    ExpectBottomCentre(profile.rect, storedDistance);

    const Shown uncut = PostAndWatch(window, kMsgOsdShow, kOsdKindProfile, 3 << 16, "profile-long-name", normal);
    ExpectShownFor(uncut, normal, "profile without terminator");
    // A name without its end is cut; the panel stays inside the work area.
    EXPECT_GE(uncut.rect.left, WorkArea().left + osd::kScreenMargin);
    EXPECT_LE(uncut.rect.right, WorkArea().right - osd::kScreenMargin);

    const Shown message = PostAndWatch(window, kMsgOsdShow, kOsdKindMessage, 0, "message", normal);
    ExpectShownFor(message, normal, "text message");
    ExpectBottomCentre(message.rect, storedDistance);

    ExpectShownFor(PostAndWatch(window, kMsgOsdShow, kOsdKindMacro, 0, "macro", normal), normal, "macro");
    ExpectShownFor(PostAndWatch(window, kMsgOsdShow, kOsdKindWindowsKey, 255 << 16, "windows-key-locked", normal), normal,
                   "Windows key locked");
    ExpectShownFor(PostAndWatch(window, kMsgOsdShow, kOsdKindWindowsKey, 1 << 16, "windows-key-free", normal), normal,
                   "Windows key free");
    ExpectShownFor(PostAndWatch(window, kMsgOsdShow, kOsdKindVolume, 65, "volume", normal), normal, "volume");

    // 1326: three seconds, 200 pixels up; then back to the defaults.
    PostMessageA(window, kMsgOsdSettings, 0, (30 << 16) | 200);
    const Shown placed = PostAndWatch(window, kMsgOsdShow, kOsdKindVolume, 20, "", 3000);
    ExpectShownFor(placed, 3000, "volume after 1326");
    ExpectBottomCentre(placed.rect, 200);
    PostMessageA(window, kMsgOsdSettings, 0, 0);
    const Shown defaults = PostAndWatch(window, kMsgOsdShow, kOsdKindVolume, 100, "", normal);
    ExpectShownFor(defaults, normal, "volume at the defaults");
    EXPECT_LT(defaults.visibleMs, 3000u);
    ExpectBottomCentre(defaults.rect, osd::kDefaultBottomDistance);

    // What the monitor never sends shows nothing.
    EXPECT_TRUE(StaysHidden(window, kMsgOsdShow, kOsdKindVolume, 101));
    EXPECT_TRUE(StaysHidden(window, kMsgOsdShow, 41, 0));
    EXPECT_TRUE(StaysHidden(window, kMsgOsdShow, kOsdKindWindowsKey, 7 << 16));
    EXPECT_TRUE(StaysHidden(window, kMsgOsdShow, kOsdKindProfile, 5 << 16));

    EXPECT_FALSE(watch.OsdWasForeground()) << "the display took the focus";
    EXPECT_EQ(GetForegroundWindow(), user.Handle()) << "the user's window lost the focus";

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(osd.Wait(5000), 0) << "WM_CLOSE ends the program";
}

TEST(OsdProgram, ProfileNameFallsBackToTheNumberWhenTheBlockCannotBeRead) {
    OsdInstallation install;
    MonitorBlock block;
    ASSERT_TRUE(block.Create());
    test::ForegroundWindow user("OsdTestForeground", kBackdropColour);
    ChildProcess osd;
    ASSERT_TRUE(osd.Start(install.Program(), ""));
    ASSERT_TRUE(test::WaitUntil([] { return OsdWindow() != nullptr; }, kStartTimeoutMs));
    const HWND window = OsdWindow();
    PostMessageA(window, kMsgOsdSettings, 0, 5 << 16);  // half a second, to keep the test short

    const Shown named = PostAndWatch(window, kMsgOsdShow, kOsdKindProfile, 2 << 16, "", 500);
    ASSERT_TRUE(named.appeared);

    // The lock busy on another thread: the display waits briefly, then shows the number.
    {
        win32::ScopedHandle taken(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        win32::ScopedHandle release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        std::thread holder([&] {
            win32::ScopedHandle lock(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kSharedBlockLockName));
            WaitForSingleObject(lock.Get(), INFINITE);
            SetEvent(taken.Get());
            WaitForSingleObject(release.Get(), 10000);
            ReleaseMutex(lock.Get());
        });
        ASSERT_EQ(WaitForSingleObject(taken.Get(), 5000), WAIT_OBJECT_0);
        const Shown busy = PostAndWatch(window, kMsgOsdShow, kOsdKindProfile, 2 << 16, "profile-lock-busy", 500);
        SetEvent(release.Get());
        holder.join();
        ASSERT_TRUE(busy.appeared) << "a busy lock still gives a notice";
        EXPECT_LT(busy.rect.right - busy.rect.left, named.rect.right - named.rect.left)
            << "\"Profile 3\" is narrower than the stored name";
    }

    // No block at all (the monitor has gone): the same.
    block.Close();
    const Shown noBlock = PostAndWatch(window, kMsgOsdShow, kOsdKindProfile, 2 << 16, "profile-no-block", 500);
    ASSERT_TRUE(noBlock.appeared);
    EXPECT_LT(noBlock.rect.right - noBlock.rect.left, named.rect.right - named.rect.left);
    EXPECT_TRUE(osd.Running());
}

TEST(OsdProgram, ASecondStartEndsAtOnceAndTheFirstRunsOn) {
    OsdInstallation install;
    ChildProcess first;
    ASSERT_TRUE(first.Start(install.Program(), ""));
    ASSERT_TRUE(test::WaitUntil([] { return OsdWindow() != nullptr; }, kStartTimeoutMs));
    const HWND window = OsdWindow();

    ChildProcess second;
    ASSERT_TRUE(second.Start(install.Program(), ""));
    EXPECT_EQ(second.Wait(kStartTimeoutMs), 0);
    EXPECT_TRUE(first.Running());
    EXPECT_EQ(OsdWindow(), window);

    // The instance mutex has the agreed name, for the installer.
    win32::ScopedHandle mutex(OpenMutexA(SYNCHRONIZE, FALSE, kOsdInstanceMutex));
    EXPECT_TRUE(mutex.Valid());

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.Wait(5000), 0);
    EXPECT_EQ(OsdWindow(), nullptr);
}

}  // namespace
}  // namespace brenik::osd
