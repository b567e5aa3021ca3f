// The real KeyFwFlash.exe under Wine, installed as it ships (in a subfolder of the monitor's
// folder, with its own kbhid.dll, kbhid.ini and config.ini), against the virtual keyboard
// and the real Monitor.exe or a stand-in window with the monitor's titles. The dialogs are
// found as a user sees them and clicked; each dialog is photographed in its normal, hover
// and pressed looks into the folder given as --shots.

#include "monitor_window_win32.h"
#include "running_monitor_win32.h"
#include "updater_installation_win32.h"
#include "updater_ui_driver.h"
#include "wine_test_support.h"
#include "window_capture.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace brenik::updater {
namespace {

using test::ChildProcess;
using test::kMonitorWindowTitle;
using test::MonitorWindow;
using test::PeerWindows;
using namespace updater::ui;

const test::UpdaterPrograms g_programs = test::UpdaterPrograms::FromArguments();
const std::string g_stallingKbhid = test::ArgumentPath("stalling-kbhid");  // its SetFeature never returns
const std::string g_shots = test::OutputFolder("shots");

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kDialogTimeoutMs = 30000;
constexpr const char* kOldMonitorTitle = "TorvaneGamingKeyboardMonitor";

std::vector<std::uint8_t> Pattern(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 131 + i / 1024 * 7 + 3) & 0xFF);
    return bytes;
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The shared server helper on a pipe named for these tests.
class KeyboardServer : public test::VirtualKeyboardServer {
public:
    explicit KeyboardServer(const char* tag) : VirtualKeyboardServer(g_programs.tools, std::string("BrenikFwE2E-") + tag) {}
};

class Installation : public test::UpdaterInstallation {
public:
    Installation(const std::string& pipe, bool withMonitor, bool withUpdaterLibrary = true,
                 const std::string& imageName = "firmware.bin")
        : UpdaterInstallation("fw-e2e", g_programs, pipe, {withMonitor, withUpdaterLibrary, imageName}) {}
};

std::string Shot(const std::string& name) { return g_shots + name + ".bmp"; }

// The window is cut to its picture: the white corner is outside it, and the point there
// belongs to whatever is behind; the middle is inside.
void ExpectShapedWindow(HWND dialog, const std::string& name) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(dialog, region), ERROR) << name << ": no window region";
    const SIZE size = ClientSize(dialog);
    EXPECT_FALSE(PtInRegion(region, 0, 0)) << name;
    EXPECT_FALSE(PtInRegion(region, size.cx - 1, size.cy - 1)) << name;
    EXPECT_TRUE(PtInRegion(region, size.cx / 2, 100)) << name;
    DeleteObject(region);
    RECT rect;
    GetWindowRect(dialog, &rect);
    EXPECT_NE(WindowFromPoint(POINT{rect.left, rect.top}), dialog) << name << ": the corner belongs to what is behind";
    EXPECT_EQ(WindowFromPoint(POINT{rect.left + size.cx / 2, rect.top + 100}), dialog) << name;
}

// Photographs a dialog with nothing lit, then with the mouse over each button, then with
// each button held down (the mouse leaves the button before it is let go, so nothing is
// clicked).
void PhotographLooks(HWND dialog, const std::string& name) {
    MoveMouseAway();
    Sleep(300);
    EXPECT_TRUE(test::SaveWindowImage(dialog, Shot(name + "-normal"))) << name;
    const std::vector<HWND> buttons = SkinButtons(dialog);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const std::string suffix = buttons.size() > 1 ? "-" + std::to_string(i + 1) : "";
        HoverOver(buttons[i]);
        Sleep(300);
        EXPECT_TRUE(test::SaveWindowImage(dialog, Shot(name + "-hover" + suffix))) << name;
        PressWithoutClick(buttons[i], [&] { test::SaveWindowImage(dialog, Shot(name + "-pressed" + suffix)); });
    }
    MoveMouseAway();
    Sleep(200);
}

TEST(UpdaterEndToEnd, UpdateClosesTheMonitorSendsTheImageAndStartsTheMonitorAgain) {
    KeyboardServer keyboard("ok");
    ASSERT_TRUE(keyboard.Start());
    ASSERT_EQ(keyboard.Command("set dfu-version 105"), 0);
    Installation install(keyboard.Pipe(), true);
    const std::vector<std::uint8_t> image = Pattern(3 * 1024 + 500);
    ASSERT_TRUE(WriteBytes(install.Image(), image));

    test::RunningMonitor monitor;
    ASSERT_TRUE(monitor.Start(install.Monitor())) << "monitor up";

    ChildProcess updater;
    ASSERT_TRUE(updater.Start(install.Updater(), "x"));
    EXPECT_EQ(monitor.Wait(kDialogTimeoutMs), 0) << "the monitor was closed and ended";
    HWND main = WaitForDialog(DialogKind::kMain, kDialogTimeoutMs);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ClientSize(main).cx, 450);
    EXPECT_EQ(ClientSize(main).cy, 209);
    EXPECT_TRUE(test::SaveWindowImage(main, Shot("main-transferring")));

    HWND success = WaitForDialog(DialogKind::kSuccess, kDialogTimeoutMs);
    ASSERT_NE(success, nullptr) << "success dialog";
    EXPECT_EQ(ClientSize(success).cx, 340);
    EXPECT_EQ(ClientSize(success).cy, 209);
    EXPECT_EQ(ProgressPosition(main), 3) << "3,572 bytes: range 0 to 3, last block index 3";
    EXPECT_TRUE(test::SaveScreenImage(Shot("screen-success")));
    ExpectShapedWindow(success, "success");
    PhotographLooks(success, "success");

    const std::string kept = install.Scratch("kept.bin");
    ASSERT_EQ(keyboard.Command("image " + kept), 0);
    EXPECT_EQ(ReadBytes(kept), image) << "the keyboard keeps the file's bytes";

    Click(SkinButtons(success).at(0));
    EXPECT_EQ(updater.Wait(kDialogTimeoutMs), 0);
    EXPECT_TRUE(test::WaitForMonitorWindow(kStartTimeoutMs)) << "monitor started again";
    test::CloseMonitorWindow(kStartTimeoutMs);
}

TEST(UpdaterEndToEnd, KeyboardLostMidwayShowsFailureAndLeavesTheMonitorClosed) {
    KeyboardServer keyboard("fail");
    ASSERT_TRUE(keyboard.Start());
    Installation install(keyboard.Pipe(), true);
    ASSERT_TRUE(WriteBytes(install.Image(), Pattern(50 * 1024)));

    test::RunningMonitor monitor;
    ASSERT_TRUE(monitor.Start(install.Monitor()));
    ChildProcess updater;
    ASSERT_TRUE(updater.Start(install.Updater(), "5"));
    ASSERT_EQ(monitor.Wait(kDialogTimeoutMs), 0);
    // The updater waits a second after the monitor has gone; 19 reports later (the version
    // read, start, size, prepare and three blocks when the fault comes in time, a few blocks
    // more when it does not) the keyboard is pulled out, well before the 50th block.
    ASSERT_EQ(keyboard.Command("fault unplug-after 19"), 0);

    HWND fail = WaitForDialog(DialogKind::kFail, kDialogTimeoutMs);
    ASSERT_NE(fail, nullptr) << "failure dialog";
    HWND main = WaitForDialog(DialogKind::kMain, 1000);
    ASSERT_NE(main, nullptr);
    EXPECT_GE(ProgressPosition(main), 1);
    EXPECT_LT(ProgressPosition(main), 49);
    PhotographLooks(fail, "fail");

    // Escape and Enter do nothing in a message dialog.
    PressKey(fail, VK_ESCAPE);
    PressKey(fail, VK_RETURN);
    Sleep(500);
    EXPECT_TRUE(IsWindowVisible(fail));

    Click(SkinButtons(fail).at(0));
    ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(fail); }, 5000));
    // No new attempt; Escape does not close the main dialog; its exit cross does.
    PressKey(main, VK_ESCAPE);
    Sleep(1500);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_EQ(FindDialog(DialogKind::kSuccess), nullptr);
    Click(SkinButtons(main).at(0));
    EXPECT_EQ(updater.Wait(kDialogTimeoutMs), 0);
    Sleep(1500);
    EXPECT_EQ(MonitorWindow(), nullptr) << "no restart after a failure";
}

TEST(UpdaterEndToEnd, ArgumentsChooseTheFirstDialogAndASecondCopyEndsAtOnce) {
    KeyboardServer keyboard("args");
    ASSERT_TRUE(keyboard.Start());
    Installation install(keyboard.Pipe(), false);
    PeerWindows monitors({kMonitorWindowTitle, kOldMonitorTitle});

    struct Case {
        const char* argument;
        DialogKind kind;
        std::size_t button;  // clicked: 1 Abort / exit cross as listed below
        const char* shots;   // photographed looks, or null
    };
    const Case cases[] = {
        {"", DialogKind::kConfirm, 1, "confirm"},  // Abort
        {"1", DialogKind::kConfirm, 2, nullptr},   // exit cross
        {"2", DialogKind::kConfirm, 1, nullptr},
        {"0", DialogKind::kDriver, 0, "driver"},   // OK
        {"0", DialogKind::kDriver, 1, nullptr},    // exit cross
    };
    for (std::size_t row = 0; row < std::size(cases); ++row) {
        monitors.Clear();
        ChildProcess updater;
        ASSERT_TRUE(updater.Start(install.Updater(), cases[row].argument)) << "row " << row;
        HWND dialog = WaitForDialog(cases[row].kind, kDialogTimeoutMs);
        ASSERT_NE(dialog, nullptr) << "row " << row;
        EXPECT_EQ(ClientSize(dialog).cx, 340) << "row " << row;
        EXPECT_EQ(ClientSize(dialog).cy, 209) << "row " << row;
        if (row == 0) {
            std::string output;
            EXPECT_EQ(test::RunToEnd(install.Updater(), "x", &output, 5000), 0) << "a second copy ends at once";
            EXPECT_EQ(FindDialog(DialogKind::kMain), nullptr) << "and shows nothing";
        }
        if (cases[row].shots != nullptr) {
            ExpectShapedWindow(dialog, cases[row].shots);
            PhotographLooks(dialog, cases[row].shots);
        }
        Click(SkinButtons(dialog).at(cases[row].button));
        EXPECT_EQ(updater.Wait(kDialogTimeoutMs), 0) << "row " << row;
        EXPECT_EQ(FindDialog(DialogKind::kMain), nullptr) << "row " << row << ": no update";
        EXPECT_TRUE(monitors.WaitFor(kMonitorWindowTitle, WM_CLOSE, 1, 5000)) << "row " << row;
        EXPECT_TRUE(monitors.WaitFor(kOldMonitorTitle, WM_CLOSE, 1, 5000)) << "row " << row;
    }
}

TEST(UpdaterEndToEnd, OkInTheConfirmationStartsTheUpdateAndClosingMidwayEndsCleanly) {
    KeyboardServer keyboard("close");
    ASSERT_TRUE(keyboard.Start());
    ASSERT_EQ(keyboard.Command("set dfu-version 99"), 0);
    Installation install(keyboard.Pipe(), false);
    ASSERT_TRUE(WriteBytes(install.Image(), Pattern(200 * 1024)));
    PeerWindows monitors({kOldMonitorTitle});

    ChildProcess updater;
    ASSERT_TRUE(updater.Start(install.Updater(), "1"));
    HWND confirm = WaitForDialog(DialogKind::kConfirm, kDialogTimeoutMs);
    ASSERT_NE(confirm, nullptr);
    Click(SkinButtons(confirm).at(0));
    HWND main = WaitForDialog(DialogKind::kMain, kDialogTimeoutMs);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(monitors.WaitFor(kOldMonitorTitle, WM_CLOSE, 1, 5000)) << "closed under its old title too";
    ASSERT_TRUE(test::WaitUntil([&] { return ProgressPosition(main) >= 2; }, kDialogTimeoutMs));
    ExpectShapedWindow(main, "main");
    PhotographLooks(main, "main");

    // The About item of the system menu does nothing.
    PostMessageW(main, WM_SYSCOMMAND, 0x0010, 0);
    // Dragged by a plain point of its picture, the dialog moves.
    RECT before;
    GetWindowRect(main, &before);
    MoveMouseTo(POINT{before.left + 200, before.top + 120});
    PressAndDragBy(60, 40);
    RECT after;
    GetWindowRect(main, &after);
    EXPECT_EQ(after.left - before.left, 60) << "dragged by its picture";
    EXPECT_EQ(after.top - before.top, 40) << "dragged by its picture";
    EXPECT_TRUE(IsWindowVisible(main));

    const DWORD closing = GetTickCount();
    Click(SkinButtons(main).at(0));
    EXPECT_EQ(updater.Wait(kDialogTimeoutMs), 0);
    EXPECT_LT(GetTickCount() - closing, 5000u) << "the worker stops between reports";
    std::string state;
    ASSERT_EQ(keyboard.Command("dump", &state), 0);
    EXPECT_NE(state.find("\"finishedUpdates\": 0"), std::string::npos) << state;
    EXPECT_EQ(FindDialog(DialogKind::kFail), nullptr);
}

TEST(UpdaterEndToEnd, MissingLibraryOrImageEndsWithTheFailureDialog) {
    KeyboardServer keyboard("missing");
    ASSERT_TRUE(keyboard.Start());
    struct Case {
        bool library;
        bool image;
        const char* name;
        const char* imageName;
    };
    // The long name is drawn broken at words, with an ellipsis where it does not fit.
    const Case cases[] = {
        {false, true, "no kbhid.dll", "firmware.bin"},
        {true, false, "no image file", "Brenik keyboard firmware image with a name far too long to fit its box.bin"}};
    for (const Case& c : cases) {
        Installation install(keyboard.Pipe(), false, c.library, c.imageName);
        if (c.image) {
            ASSERT_TRUE(WriteBytes(install.Image(), Pattern(2048))) << c.name;
        }
        ChildProcess updater;
        ASSERT_TRUE(updater.Start(install.Updater(), "x")) << c.name;
        HWND fail = WaitForDialog(DialogKind::kFail, kDialogTimeoutMs);
        ASSERT_NE(fail, nullptr) << c.name;
        HWND main = FindDialog(DialogKind::kMain);
        ASSERT_NE(main, nullptr) << c.name;
        if (!c.library) {
            EXPECT_TRUE(test::SaveWindowImage(main, Shot("main-no-library"))) << c.name;
        }
        Click(SkinButtons(fail).at(1));  // the exit cross ends it too
        ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(fail); }, 5000)) << c.name;
        if (!c.image) {
            Sleep(300);
            EXPECT_TRUE(test::SaveWindowImage(main, Shot("main-long-name"))) << c.name;
        }
        PressKey(main, VK_RETURN);  // Enter ends the main dialog
        EXPECT_EQ(updater.Wait(kDialogTimeoutMs), 0) << c.name;
    }
}

TEST(UpdaterEndToEnd, ClosingWhileKbhidDoesNotReturnEndsWithoutFreeingItUnderTheWorker) {
    KeyboardServer keyboard("stall");
    ASSERT_TRUE(keyboard.Start());
    Installation install(keyboard.Pipe(), false, false);
    ASSERT_TRUE(CopyFileA(g_stallingKbhid.c_str(), (install.Folder() + "kbhid.dll").c_str(), FALSE));
    ASSERT_TRUE(WriteBytes(install.Image(), Pattern(4096)));

    ChildProcess updater;
    ASSERT_TRUE(updater.Start(install.Updater(), "x"));
    HWND main = WaitForDialog(DialogKind::kMain, kDialogTimeoutMs);
    ASSERT_NE(main, nullptr);
    const std::string stalled = install.Folder() + "stalled.txt";
    ASSERT_TRUE(test::WaitUntil([&] { return GetFileAttributesA(stalled.c_str()) != INVALID_FILE_ATTRIBUTES; },
                                kDialogTimeoutMs))
        << "the worker is inside SetFeature";

    Click(SkinButtons(main).at(0));
    // The dialog waits for its worker for a bounded time, then ends the program on purpose,
    // with the library still loaded: exit code 3, not a crash and not a hang.
    EXPECT_EQ(updater.Wait(kDialogTimeoutMs), 3);
    EXPECT_EQ(FindDialog(DialogKind::kFail), nullptr);
    EXPECT_EQ(MonitorWindow(), nullptr) << "no monitor is started after an update that did not finish";
}

}  // namespace
}  // namespace brenik::updater
