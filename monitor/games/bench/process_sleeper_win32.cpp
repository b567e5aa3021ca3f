// One of the idle processes game_detection_benchmark starts so that the machine has a few
// hundred: it waits for the process named by its argument (its parent) to end, then ends.

#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    const DWORD parent = static_cast<DWORD>(std::strtoul(commandLine, nullptr, 10));
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, parent);
    if (process == nullptr) return 1;
    WaitForSingleObject(process, INFINITE);
    CloseHandle(process);
    return 0;
}
