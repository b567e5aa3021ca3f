// A stand-in for a game in end-to-end tests and benchmarks, copied into a throw-away folder
// under a game's file name ("Game.EXE", "Brenik OSD.exe"): it opens a visible window titled
// with its own file name, brings it to the front, and runs until the window is closed
// (WM_CLOSE). Game detection knows a game only by its program's file name, so any program
// will do; this one is small and starts fast.

#include "stand_in_window_win32.h"

#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const std::string name = brenik::test::OwnFileName();
    return brenik::test::RunStandInWindow(instance, {"BrenikGameStandIn", name.c_str(), 200, 150, 400, 300, true});
}
