// The real KeyFwFlash.exe under Wine against a faulty virtual keyboard, installed as it ships
// below the real Monitor.exe: resend storms, the keyboard pulled out in the middle of the
// image, and a finish the keyboard never takes. Each case shows in the keyboard's decoded
// trace where the transfer stopped, that the failure dialog came at once, and that the
// monitor is started again only after a success.
//
// The faults that count reports are armed before the updater starts, with no monitor
// running, so that the count starts at the updater's first report (its version read).

#include "keyboard_trace_win32.h"
#include "monitor_window_win32.h"
#include "running_monitor_win32.h"
#include "scoped_handle.h"
#include "updater_installation_win32.h"
#include "updater_ui_driver.h"
#include "wine_test_support.h"

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace brenik::updater {
namespace {

using test::ChildProcess;
using test::TraceEntry;
using namespace updater::ui;

const test::UpdaterPrograms g_programs = test::UpdaterPrograms::FromArguments();

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kDialogTimeoutMs = 30000;
// The updater starts the monitor before it ends; a little longer for the process to show.
constexpr DWORD kNoRestartWatchMs = 500;
// From the keyboard's last answer to the failure dialog: the worker's next report fails at
// once (refused, or the bound on resends reached), then a posted message and a dialog.
constexpr std::int64_t kFailureShownUs = 2000000;
constexpr std::size_t kBlockBytes = 1024;

// Whether a process runs this install's Monitor.exe: the one the updater would start, told
// apart from any other test's monitor.
bool MonitorRunsFrom(const std::string& exe) {
    win32::ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid()) return false;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry)) {
        if (lstrcmpiA(entry.szExeFile, "Monitor.exe") != 0) continue;
        win32::ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        char path[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        if (process.Valid() && QueryFullProcessImageNameA(process.Get(), 0, path, &size) && lstrcmpiA(path, exe.c_str()) == 0) {
            return true;
        }
    }
    return false;
}

bool WriteImage(const std::string& path, std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

class Keyboard : public test::VirtualKeyboardServer {
public:
    Keyboard() : VirtualKeyboardServer(g_programs.tools, "BrenikFwFaults") {}
    void Tell(const std::string& words) { ASSERT_EQ(Command(words), 0) << "vkbd " << words; }
    // The updater's reports from `since` on: update commands and their status polls, the
    // version read, and whatever was refused.
    std::vector<TraceEntry> UpdateTrace(std::int64_t since) {
        std::vector<TraceEntry> entries;
        for (TraceEntry& entry : test::ReadKeyboardTrace(*this)) {
            const bool updater = entry.text.find("DFU_") != std::string::npos || entry.StartsWith("GET update-status") ||
                                 entry.text.find("update-command") != std::string::npos;
            if (entry.microseconds >= since && updater) entries.push_back(std::move(entry));
        }
        return entries;
    }
    int FinishedUpdates() {
        std::string json;
        Command("dump", &json);
        const std::string key = "\"finishedUpdates\": ";
        const std::size_t at = json.find(key);
        return at == std::string::npos ? -1 : std::atoi(json.c_str() + at + key.size());
    }
};

// The updater below a monitor's folder, as it ships.
class Installation : public test::UpdaterInstallation {
public:
    explicit Installation(const std::string& pipe) : UpdaterInstallation("fw-faults", g_programs, pipe, {}) {}
};

std::string Lines(const std::vector<TraceEntry>& trace) {
    std::string text;
    for (const TraceEntry& entry : trace) text += "\n  " + entry.text;
    return text;
}

// The reports of an update up to and including command n (a write and a status read each),
// after the version read; start, size and prepare are commands 1 to 3, block k's header and
// data 4 + 2k and 5 + 2k.
constexpr int ReportsThrough(int command) { return 1 + 2 * command; }

struct FaultCase {
    int unplugAfter;      // reports before the keyboard is pulled out (0: stays in)
    const char* midway;   // fault armed once the progress bar has passed block 1 ("" none)
    std::size_t blocks;   // image size in blocks
    const char* stopsAt;  // the last command the keyboard took
    int progress;         // where the progress bar stays (-1: not looked at)
    const char* shows;
};

const FaultCase kFailures[] = {
    {0, "resend forever", 8, "", -1,
     "a resend storm mid-image: one command written nine times (the bound), then the failure dialog, no finish"},
    {ReportsThrough(6), "", 3, "SET DFU_BLOCK_HEADER block=1", 0,
     "pulled out between block 1's header and its data: the data is refused, the failure dialog, no finish"},
    {ReportsThrough(7), "", 2, "SET DFU_BLOCK_DATA block=1", 1,
     "pulled out after the last block: the finish is refused, and that is a failure too"},
};

TEST(UpdaterFaults, ResendStormsUnplugAndARefusedFinishEndInTheFailureDialogWithoutARestart) {
    Keyboard keyboard;
    ASSERT_TRUE(keyboard.Start());
    for (const FaultCase& c : kFailures) {
        SCOPED_TRACE(std::string(c.unplugAfter > 0 ? "unplug-after " + std::to_string(c.unplugAfter) : c.midway) + ": " +
                     c.shows);
        keyboard.Tell("fault clear");
        keyboard.Tell("plug");
        Installation install(keyboard.Pipe());
        ASSERT_TRUE(WriteImage(install.Image(), c.blocks * kBlockBytes));
        if (c.unplugAfter > 0) keyboard.Tell("fault unplug-after " + std::to_string(c.unplugAfter));
        const int finishedBefore = keyboard.FinishedUpdates();
        const std::int64_t since = test::NowMicroseconds();

        ChildProcess updater;
        ASSERT_TRUE(updater.Start(install.Updater(), "x"));
        HWND main = WaitForDialog(DialogKind::kMain, kDialogTimeoutMs);
        ASSERT_NE(main, nullptr);
        if (*c.midway) {
            ASSERT_TRUE(test::WaitUntil([&] { return ProgressPosition(main) >= 1; }, kDialogTimeoutMs));
            keyboard.Tell(std::string("fault ") + c.midway);
        }
        ASSERT_TRUE(test::WaitUntil([] { return FindDialog(DialogKind::kFail) != nullptr; }, kDialogTimeoutMs))
            << "failure dialog";
        const std::int64_t shown = test::NowMicroseconds();
        HWND fail = WaitForDialog(DialogKind::kFail, 1000);
        ASSERT_NE(fail, nullptr);

        const std::vector<TraceEntry> trace = keyboard.UpdateTrace(since);
        ASSERT_FALSE(trace.empty());
        EXPECT_EQ(test::CountStartingWith(trace, "SET DFU_FINISH"), 0) << Lines(trace);
        std::vector<TraceEntry> taken;
        for (const TraceEntry& entry : trace) {
            if (!entry.Refused()) taken.push_back(entry);
        }
        ASSERT_FALSE(taken.empty()) << Lines(trace);
        EXPECT_LT(shown - taken.back().microseconds, kFailureShownUs) << "from the keyboard's last answer to the dialog";
        if (*c.midway) {
            // The last nine writes are one command, each answered resend, and nothing follows.
            ASSERT_GE(taken.size(), 19u) << Lines(trace);
            const std::string command = taken[taken.size() - 18].text.substr(0, taken[taken.size() - 18].text.find(" -> "));
            for (std::size_t i = taken.size() - 18; i < taken.size(); i += 2) {
                EXPECT_EQ(taken[i].text, command + " -> status 4: resend injected") << Lines(trace);
                EXPECT_EQ(taken[i + 1].text, "GET update-status=4") << Lines(trace);
            }
            EXPECT_NE(taken[taken.size() - 19].text, "GET update-status=4") << "exactly nine writes";
        } else {
            ASSERT_GE(taken.size(), 2u);
            EXPECT_TRUE(taken[taken.size() - 2].StartsWith(c.stopsAt)) << Lines(trace);
            EXPECT_EQ(taken.back().text, "GET update-status=1");
            ASSERT_TRUE(trace.back().Refused()) << Lines(trace);
            EXPECT_EQ(trace.back().text, "SET update-command length=1026 refused: keyboard unplugged");
            EXPECT_EQ(ProgressPosition(main), c.progress);
        }
        EXPECT_EQ(keyboard.FinishedUpdates(), finishedBefore) << "the keyboard kept no image";

        Click(SkinButtons(fail).at(0));
        ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(fail); }, 5000));
        Click(SkinButtons(main).at(0));
        EXPECT_EQ(updater.Wait(kDialogTimeoutMs), 0);
        EXPECT_FALSE(test::WaitUntil([&] { return MonitorRunsFrom(install.Monitor()); }, kNoRestartWatchMs))
            << "no monitor after a failed update";
    }
}

TEST(UpdaterFaults, ResendStormWithinTheBoundStillUpdatesAndTheMonitorIsStartedAgain) {
    Keyboard keyboard;
    ASSERT_TRUE(keyboard.Start());
    Installation install(keyboard.Pipe());
    ASSERT_TRUE(WriteImage(install.Image(), 2 * kBlockBytes));
    test::RunningMonitor monitor;
    ASSERT_TRUE(monitor.Start(install.Monitor()));
    // Resend applies to update commands only; the monitor's reports are not touched.
    keyboard.Tell("fault resend 8");
    const std::int64_t since = test::NowMicroseconds();

    ChildProcess updater;
    ASSERT_TRUE(updater.Start(install.Updater(), "x"));
    EXPECT_EQ(monitor.Wait(kDialogTimeoutMs), 0) << "the monitor was closed";
    HWND success = WaitForDialog(DialogKind::kSuccess, kDialogTimeoutMs);
    ASSERT_NE(success, nullptr) << "success dialog";
    const std::vector<std::string> commands = test::AcceptedCommands(keyboard.UpdateTrace(since));
    ASSERT_GE(commands.size(), 9u + 7u);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(commands[i], "SET DFU_START") << i;
    EXPECT_EQ(commands[9], "SET DFU_SIZE size=2048");
    EXPECT_EQ(commands.back(), "SET DFU_FINISH");
    EXPECT_EQ(keyboard.FinishedUpdates(), 1);

    Click(SkinButtons(success).at(0));
    EXPECT_EQ(updater.Wait(kDialogTimeoutMs), 0);
    EXPECT_TRUE(MonitorRunsFrom(install.Monitor())) << "monitor started again";
    EXPECT_TRUE(test::WaitForMonitorWindow(kStartTimeoutMs));
    EXPECT_TRUE(test::CloseMonitorWindow(kStartTimeoutMs));
}

}  // namespace
}  // namespace brenik::updater
