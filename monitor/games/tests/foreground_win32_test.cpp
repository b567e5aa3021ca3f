// The Windows side of game detection under Wine: the platform's answers about a window of
// this test in front, and the foreground notice. Wine never raises EVENT_SYSTEM_FOREGROUND
// itself, but it delivers one that another program raises (NotifyWinEvent), so the installed
// hook is tested with such an event, and its callback also by a direct call.

#include "foreground_event_hook_win32.h"
#include "foreground_process_win32.h"
#include "process_list.h"
#include "program_name.h"
#include "program_windows.h"
#include "wine_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace brenik::monitor::games {
namespace {

constexpr DWORD kTimeoutMs = 10000;
constexpr DWORD kQuietMs = 1000;
constexpr const char* kRaiseArgument = "--raise-foreground-event=";
constexpr const char* kExitArgument = "--exit-at-once";
constexpr UINT kProbe = WM_USER + 77;

std::string g_self;  // this test program, run again as the other process

std::string OwnFileName() { return std::string(ProgramFileName(g_self)); }

// A top-level window of this thread; destroyed at the end.
class TestWindow {
public:
    TestWindow(const char* title, bool visible) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "BrenikGamesTestWindow";
        RegisterClassA(&windowClass);  // fails harmlessly when registered already
        window_ = CreateWindowExA(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, 50, 50, 200, 100, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
        if (visible) ShowWindow(window_, SW_SHOW);
    }
    ~TestWindow() { DestroyWindow(window_); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND Handle() const { return window_; }

private:
    HWND window_ = nullptr;
};

// Pumps this thread's messages (hook callbacks run meanwhile) until `message` is taken from
// the queue of `window` or the time is up; true when it came. `alsoWaitFor` must end first.
bool TakePosted(HWND window, UINT message, DWORD timeoutMs, HANDLE alsoWaitFor = nullptr) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    bool taken = false;
    for (;;) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (m.hwnd == window && m.message == message) {
                taken = true;
            } else {
                DispatchMessageA(&m);
            }
        }
        const bool otherDone = alsoWaitFor == nullptr || WaitForSingleObject(alsoWaitFor, 0) == WAIT_OBJECT_0;
        if ((taken && otherDone) || GetTickCount64() >= end) return taken;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// Another process raises EVENT_SYSTEM_FOREGROUND for `window`, as the system does when a
// window comes to the front; this thread pumps meanwhile. True when the look was posted.
bool LookPostedAfterAnotherProcessRaisesTheEvent(HWND window, DWORD timeoutMs) {
    test::ChildProcess raiser;
    const std::string argument = kRaiseArgument + std::to_string(reinterpret_cast<std::uintptr_t>(window));
    if (!raiser.Start(g_self, argument)) return false;
    const bool posted = TakePosted(window, kMsgForegroundChanged, timeoutMs, raiser.Handle());
    EXPECT_EQ(raiser.Wait(kTimeoutMs), 0);
    return posted;
}

TEST(Win32ForegroundProcess, NamesTheProgramOfTheWindowInFront) {
    TestWindow window("game detection test", true);
    SetForegroundWindow(window.Handle());
    ASSERT_TRUE(test::WaitUntil([&] { return GetForegroundWindow() == window.Handle(); }, kTimeoutMs));

    Win32ForegroundProcess processes;
    const ProcessId self = GetCurrentProcessId();
    EXPECT_EQ(processes.ForegroundProcessId(), self);
    std::string name;
    ASSERT_TRUE(processes.MainModuleName(self, name));
    EXPECT_TRUE(SameProgramName(name, OwnFileName())) << name;
    std::string path;
    ASSERT_TRUE(processes.ImagePath(self, path));
    EXPECT_TRUE(SameProgramName(ProgramFileName(path), OwnFileName())) << path;
    EXPECT_GT(path.size(), name.size()) << "the full path, with its folder";
}

TEST(Win32ForegroundProcess, ListsTheRunningProcessesAndFillsASmallBufferToItsEnd) {
    Win32ForegroundProcess processes;
    const ProcessId self = GetCurrentProcessId();
    std::vector<ProcessId> ids(kFirstProcessListEntries);
    std::size_t written = 0;
    ASSERT_TRUE(processes.EnumerateProcesses(ids.data(), ids.size(), written));
    ASSERT_GE(written, 2u);
    ASSERT_LT(written, ids.size());
    EXPECT_NE(std::find(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(written), self),
              ids.begin() + static_cast<std::ptrdiff_t>(written));

    ProcessId one[1] = {};
    ASSERT_TRUE(processes.EnumerateProcesses(one, 1, written));
    EXPECT_EQ(written, 1u) << "a list that does not fit fills the buffer";

    std::vector<ProcessId> scratch;
    EXPECT_TRUE(IsProcessListed(processes, self, scratch));
}

TEST(Win32ForegroundProcess, AProcessThatHasEndedIsNotListed) {
    ProcessId ended = kNoProcess;
    {
        test::ChildProcess child;
        ASSERT_TRUE(child.Start(g_self, kExitArgument));
        std::vector<ProcessId> scratch;
        Win32ForegroundProcess processes;
        EXPECT_TRUE(IsProcessListed(processes, GetProcessId(child.Handle()), scratch) || !child.Running());
        ASSERT_EQ(child.Wait(kTimeoutMs), 0);
        ended = GetProcessId(child.Handle());
    }  // its last handle is closed here
    Win32ForegroundProcess processes;
    std::vector<ProcessId> scratch;
    EXPECT_FALSE(IsProcessListed(processes, ended, scratch));
}

TEST(ForegroundEventHook, TheCallbackPostsOneLookToTheMonitorsWindowOfItsOwnThread) {
    TestWindow monitor(kTitleMonitor, false);
    // Made later, so it comes first among the windows of that title: it must be passed over.
    test::PeerWindows elsewhere({kTitleMonitor});
    const HWND other = FindWindowA(nullptr, kTitleMonitor);
    ASSERT_NE(other, monitor.Handle());

    ForegroundEventHook::OnEvent(nullptr, EVENT_SYSTEM_FOREGROUND, other, OBJID_WINDOW, CHILDID_SELF, 0, 0);
    ForegroundEventHook::OnEvent(nullptr, EVENT_OBJECT_CREATE, other, OBJID_WINDOW, CHILDID_SELF, 0, 0);
    EXPECT_TRUE(TakePosted(monitor.Handle(), kMsgForegroundChanged, 0));
    EXPECT_FALSE(TakePosted(monitor.Handle(), kMsgForegroundChanged, 0)) << "one look for one foreground event";

    // Messages to one window arrive in order: once the probe is there, so is anything before it.
    PostMessageA(other, kProbe, 0, 0);
    ASSERT_TRUE(elsewhere.WaitFor(kTitleMonitor, kProbe, 1, kTimeoutMs));
    EXPECT_EQ(elsewhere.Count(kTitleMonitor, kMsgForegroundChanged), 0);
}

TEST(ForegroundEventHook, AnEventRaisedByAnotherProcessReachesTheHookWhileItIsInstalled) {
    TestWindow monitor(kTitleMonitor, false);
    ForegroundEventHook hook;
    ASSERT_TRUE(hook.Install());
    ASSERT_TRUE(hook.Install()) << "a second install keeps the first";
    EXPECT_TRUE(LookPostedAfterAnotherProcessRaisesTheEvent(monitor.Handle(), kTimeoutMs));

    hook.Remove();
    EXPECT_FALSE(hook.Installed());
    EXPECT_FALSE(LookPostedAfterAnotherProcessRaisesTheEvent(monitor.Handle(), kQuietMs));
}

// The other process's parts: true when `argument` named one, which has then run.
bool RunAsOtherProcess(const std::string& argument) {
    if (argument == kExitArgument) return true;
    if (argument.rfind(kRaiseArgument, 0) != 0) return false;
    const auto window = std::strtoull(argument.c_str() + std::strlen(kRaiseArgument), nullptr, 10);
    NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)), OBJID_WINDOW,
                   CHILDID_SELF);
    return true;
}

}  // namespace
}  // namespace brenik::monitor::games

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (brenik::monitor::games::RunAsOtherProcess(argv[i])) return 0;
    }
    char self[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    brenik::monitor::games::g_self = self;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
