#pragma once
// Helpers for end-to-end tests that run our real programs under Wine: paths handed over by
// CMake, a throw-away install folder, child processes, and windows that stand in for the
// companion programs and record what they receive.

#include "scoped_handle.h"
#include "window_thread_win32.h"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace brenik::test {

// A path as CMake gives it (a Unix path under Wine) in the form Windows programs take.
std::string ToWindowsPath(const std::string& path);

// The value of "--name=value" among the arguments, as a Windows path; "" when absent.
std::string ArgumentPath(int argc, char** argv, const std::string& name);
// The same among this process's own arguments, which is how CMake hands a test the paths of
// the programs it runs. The C runtime holds them before any constructor runs, so a test's
// globals may take their paths where they are defined; GoogleTest's own main runs the test.
std::string ArgumentPath(const std::string& name);
// A folder among this process's arguments, with a trailing backslash.
std::string ArgumentFolder(const std::string& name);
// A folder among this process's arguments that a test writes into (pictures), made when it is
// missing; with a trailing backslash.
std::string OutputFolder(const std::string& name);

// Polls until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs = 20);

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    explicit TempFolder(const std::string& tag);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }  // ends in a backslash
    std::string File(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

bool CopyInto(const std::string& file, const std::string& folder);
// Copies a folder with everything in it (`to` is made); false when anything was not copied.
bool CopyTree(const std::string& from, const std::string& to);
bool WriteTextFile(const std::string& path, const std::string& text);
bool FileExists(const std::string& path);
// The files of a folder (ending in a backslash) that match a pattern ("*.bkh"), as full
// paths in name order.
std::vector<std::string> FilesIn(const std::string& folder, const std::string& pattern);

// A child process; ended (and waited for) at the end if it is still running.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(ChildProcess&&) = default;
    ChildProcess& operator=(ChildProcess&&) = default;

    bool Start(const std::string& program, const std::string& arguments);
    bool Started() const { return process_.Valid(); }
    bool Running() const;
    // The exit code, or -1 when it did not end in time.
    long Wait(DWORD timeoutMs);
    HANDLE Handle() const { return process_.Get(); }

private:
    win32::ScopedHandle process_;
};

// Where a program run to its end writes its standard error: into its standard output, or apart.
enum class ErrorStream { kWithOutput, kApart };

// What a program run to its end returned and printed.
struct ProgramRun {
    long status = -1;    // its exit code; -1 if it could not run or did not end in time
    std::string output;  // its standard output (with its standard error when kWithOutput)
    std::string errors;  // its standard error when kApart
};

// Runs a program to its end, a hung one ended after the time-out.
ProgramRun RunProgram(const std::string& program, const std::string& arguments, ErrorStream errors,
                      DWORD timeoutMs = 20000);

// Runs a program to its end and returns its exit code (-1 if it could not run or hung) and
// what it printed.
long RunToEnd(const std::string& program, const std::string& arguments, std::string* output = nullptr,
              DWORD timeoutMs = 20000);

// The virtual keyboard's server on a pipe of its own ("<tag>-<process id>"), driven through
// vkbd.exe from the tools folder; stopped at the end.
class VirtualKeyboardServer {
public:
    VirtualKeyboardServer(std::string toolsFolder, const std::string& tag);
    ~VirtualKeyboardServer();
    VirtualKeyboardServer(const VirtualKeyboardServer&) = delete;
    VirtualKeyboardServer& operator=(const VirtualKeyboardServer&) = delete;

    // Starts the server and waits until it answers.
    bool Start(DWORD timeoutMs = 15000);
    // Runs "vkbd --pipe <pipe> <words>"; its exit code, and what it printed.
    long Command(const std::string& words, std::string* output = nullptr);
    const std::string& Pipe() const { return pipe_; }

private:
    std::string tools_;
    std::string pipe_;
    ChildProcess server_;
};

// The text of a kbhid.ini that sends kbhid.dll to the virtual keyboard on that pipe.
std::string VirtualKbhidIni(const std::string& pipe);

// Top-level windows with given titles, on a thread of their own, that record every message
// from WM_USER up and WM_CLOSE (and stay open when asked to close).
class PeerWindows {
public:
    struct Received {
        std::string title;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::int64_t microseconds;  // on the machine's performance counter, comparable across processes
    };

    explicit PeerWindows(const std::vector<std::string>& titles);
    PeerWindows(const PeerWindows&) = delete;
    PeerWindows& operator=(const PeerWindows&) = delete;

    std::vector<Received> Log() const;
    void Clear();
    int Count(const std::string& title, UINT message) const;
    // Waits until `title` has received `message` at least `count` times.
    bool WaitFor(const std::string& title, UINT message, int count, DWORD timeoutMs) const;

private:
    bool Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    mutable std::mutex lock_;
    std::vector<Received> log_;
    WindowThread windows_;  // last: its thread ends before what it records into goes
};

std::int64_t NowMicroseconds();

}  // namespace brenik::test
