#pragma once
// A stand-in game in front, for the end-to-end tests and benchmarks of game detection:
// game_stand_in.exe copied under a game's file name, started, and waited for until its window
// is the foreground window. Closed (WM_CLOSE, then ended) when it goes out of scope.

#include "wine_test_support.h"

#include <windows.h>

#include <string>

namespace brenik::monitor::games {

class GameInFront {
public:
    // folder ends in a backslash; the copy is made once and left for the folder's owner.
    GameInFront(const std::string& standIn, const std::string& folder, const std::string& fileName)
        : program_(folder + fileName), fileName_(fileName) {
        if (!test::FileExists(program_)) CopyFileA(standIn.c_str(), program_.c_str(), FALSE);
    }
    ~GameInFront() { Close(); }
    GameInFront(const GameInFront&) = delete;
    GameInFront& operator=(const GameInFront&) = delete;

    // Starts it and waits until its window is in front; false when it did not come.
    bool Start(DWORD timeoutMs) {
        if (!process_.Start(program_, "")) return false;
        return test::WaitUntil([&] { return InFront(); }, timeoutMs, 5);
    }
    bool InFront() const {
        DWORD id = 0;
        const HWND window = GetForegroundWindow();
        if (window != nullptr) GetWindowThreadProcessId(window, &id);
        return process_.Running() && id == GetProcessId(process_.Handle());
    }
    // Its window (class and title as game_stand_in_win32.cpp makes it), in front or not.
    HWND Window() const { return FindWindowA("BrenikGameStandIn", fileName_.c_str()); }
    void Close() {
        if (!process_.Running()) return;
        const HWND window = Window();
        if (window != nullptr) PostMessageA(window, WM_CLOSE, 0, 0);
        process_.Wait(5000);  // the child's own end, or it is ended with the ChildProcess
    }

private:
    std::string program_;
    std::string fileName_;
    test::ChildProcess process_;
};

}  // namespace brenik::monitor::games
