// Works KeyFwFlash as a user would for the main job's demo: starts it without an argument,
// answers its confirmation with a mouse click on OK, watches the transfer, clicks OK on the
// success dialog, and waits for the monitor to come back. Saves what the user saw, step by
// step, as BMP pictures, and prints what happened.
//
// Usage: update-demo-driver.exe --updater=PATH --shots=FOLDER

#include "program_windows.h"
#include "updater_ui_driver.h"
#include "wine_test_support.h"
#include "window_capture.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

using namespace brenik::updater::ui;
using brenik::test::ChildProcess;

constexpr DWORD kDialogTimeoutMs = 30000;
constexpr DWORD kTransferTimeoutMs = 180000;

std::string g_shots;

void Save(HWND window, const std::string& name) {
    const std::string path = g_shots + name + ".bmp";
    const bool saved = window != nullptr ? brenik::test::SaveWindowImage(window, path) : brenik::test::SaveScreenImage(path);
    std::printf("  picture %s%s\n", name.c_str(), saved ? "" : " (not saved)");
}

int Fail(const char* what) {
    std::printf("update demo: %s\n", what);
    brenik::test::SaveScreenImage(g_shots + "failure-screen.bmp");
    return 1;
}

bool MonitorRunning() { return FindWindowA(nullptr, brenik::kTitleMonitor) != nullptr; }

}  // namespace

int main(int argc, char** argv) {
    const std::string updaterPath = brenik::test::ArgumentPath(argc, argv, "updater");
    g_shots = brenik::test::ArgumentPath(argc, argv, "shots") + "\\";
    if (updaterPath.empty()) return Fail("usage: update-demo-driver --updater=PATH --shots=FOLDER");
    CreateDirectoryA(g_shots.c_str(), nullptr);

    std::printf("monitor running before the update: %s\n", MonitorRunning() ? "yes" : "no");
    ChildProcess updater;
    if (!updater.Start(updaterPath, "")) return Fail("KeyFwFlash.exe did not start");
    std::printf("KeyFwFlash.exe started without an argument\n");

    HWND confirm = WaitForDialog(DialogKind::kConfirm, kDialogTimeoutMs);
    if (confirm == nullptr) return Fail("no confirmation dialog");
    std::printf("the confirmation dialog asks first\n");
    MoveMouseAway();
    Save(confirm, "1-confirm");
    HoverOver(SkinButtons(confirm).at(0));
    Save(confirm, "2-confirm-mouse-on-ok");
    MouseClick(SkinButtons(confirm).at(0));
    std::printf("clicked OK\n");

    HWND main = WaitForDialog(DialogKind::kMain, kDialogTimeoutMs);
    if (main == nullptr) return Fail("no main dialog");
    std::printf("the main dialog is up; monitor running now: %s\n", MonitorRunning() ? "yes" : "no");
    MoveMouseAway();
    if (!brenik::test::WaitUntil([&] { return ProgressPosition(main) >= 1; }, kDialogTimeoutMs)) {
        return Fail("the transfer did not start");
    }
    Save(main, "3-transferring");
    std::printf("transferring: progress at block %d\n", ProgressPosition(main));

    HWND success = nullptr;
    brenik::test::WaitUntil([&] { return (success = FindDialog(DialogKind::kSuccess)) != nullptr ||
                                         FindDialog(DialogKind::kFail) != nullptr; },
                            kTransferTimeoutMs, 100);
    if (success == nullptr) return Fail("no success dialog (the update failed or hung)");
    Sleep(300);
    std::printf("\"Firmware upgrade success\" is shown; the progress bar ended at %d\n", ProgressPosition(main));
    Save(nullptr, "4-screen-success");
    Save(success, "5-success");
    MouseClick(SkinButtons(success).at(0));
    std::printf("clicked OK\n");

    const long code = updater.Wait(kDialogTimeoutMs);
    std::printf("KeyFwFlash.exe ended with %ld\n", code);
    const bool back = brenik::test::WaitUntil(MonitorRunning, 20000, 100);
    std::printf("the monitor was started again: %s\n", back ? "yes" : "no");
    Save(nullptr, "6-screen-after");
    return code == 0 && back ? 0 : 1;
}
