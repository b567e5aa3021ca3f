// A stand-in for the companion programs in end-to-end tests, copied into a throw-away
// installation under each companion's file name ("Brenik Option.exe", "Applets\SysGauge.exe"
// ...). Every start appends one line to the file named by the environment variable
// BRENIK_STAND_IN_LOG (the monitor passes its environment on to what it starts):
//
//   <file name> <creation time of the process, 100 ns units>
//
// The creation time is taken when the starting process creates this one, so the lines can be
// put in the order the monitor started them even when the stand-ins run late. Started as the
// settings program it opens a window with the settings program's title and runs until that
// window is closed (WM_CLOSE); under any other name it ends at once.

#include "program_windows.h"
#include "stand_in_window_win32.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {

constexpr const char* kLogVariable = "BRENIK_STAND_IN_LOG";

unsigned long long OwnCreationTime() {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// One write of the whole line to the end of the file, so stand-ins started together do not mix.
void RecordStart(const std::string& name) {
    char logPath[MAX_PATH + 1] = {};
    if (GetEnvironmentVariableA(kLogVariable, logPath, MAX_PATH) == 0) return;
    const std::string line = name + " " + std::to_string(OwnCreationTime()) + "\r\n";
    for (int attempt = 0; attempt < 50; ++attempt) {
        const HANDLE file = CreateFileA(logPath, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            Sleep(20);  // another stand-in is writing
            continue;
        }
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
        return;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const std::string name = brenik::test::OwnFileName();
    RecordStart(name);
    if (_stricmp(name.c_str(), brenik::kProgramSettings) == 0) {
        return brenik::test::RunStandInWindow(instance,
                                              {"BrenikCompanionStandIn", brenik::kTitleSettings, 560, 120, 320, 200, false});
    }
    return 0;
}
