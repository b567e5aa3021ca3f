#pragma once
// A throw-away install of the monitor for end-to-end tests, as it ships: Monitor.exe,
// kbhid.dll with a kbhid.ini that points it at the virtual keyboard's pipe, and the empty
// "config" folder; removed with everything in it at the end.

#include "wine_test_support.h"

#include <windows.h>

#include <string>

namespace brenik::test {

// The programs a monitor test installs.
struct MonitorPrograms {
    std::string monitor;  // Monitor.exe
    std::string kbhid;    // kbhid.dll
    std::string tools;    // folder of vkbd.exe and vkbd-server.exe, with a trailing backslash
};

// As CMake hands them over on the test's command line (--monitor=, --kbhid=, --tools=).
inline MonitorPrograms MonitorProgramsFromArguments() {
    return {ArgumentPath("monitor"), ArgumentPath("kbhid"), ArgumentFolder("tools")};
}

class MonitorInstallation {
public:
    MonitorInstallation(const std::string& tag, const std::string& monitorExe, const std::string& kbhidDll,
                        const std::string& pipe)
        : folder_(tag) {
        CopyInto(monitorExe, folder_.Path());
        CopyInto(kbhidDll, folder_.Path());
        WriteTextFile(folder_.File("kbhid.ini"), VirtualKbhidIni(pipe));
        CreateDirectoryA(folder_.File("config").c_str(), nullptr);
    }
    const std::string& Folder() const { return folder_.Path(); }  // ends in a backslash
    std::string Monitor() const { return folder_.File("Monitor.exe"); }
    std::string ConfigIni() const { return folder_.File("config.ini"); }
    std::string ProfileFile(int n) const { return folder_.File("config\\Default" + std::to_string(n) + ".cmp"); }
    // "Device" of config.ini as the companions read it; -7 while it is missing.
    int DeviceKey() const { return static_cast<int>(GetPrivateProfileIntA("Setting", "Device", -7, ConfigIni().c_str())); }

private:
    TempFolder folder_;
};

}  // namespace brenik::test
