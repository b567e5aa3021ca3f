#include "monitor_connection_win32.h"

#include "config_ini_keys.h"
#include "debug_output.h"
#include "ini_file.h"
#include "monitor_inbox.h"
#include "program_folder.h"
#include "program_windows.h"

#include <shellapi.h>

namespace brenik::option {

MonitorConnection::MonitorConnection(std::string programFolder) : folder_(std::move(programFolder)) {}

std::string MonitorConnection::ConfigPath() const { return ConfigIniPathIn(folder_); }

bool MonitorConnection::Running() const { return FindWindowA(nullptr, kTitleMonitor) != nullptr; }

bool MonitorConnection::KeyboardAttached() const {
    const ini::CIniFile config(ConfigPath());
    return config.ReadInt(kConfigSettingSection, kConfigDeviceKey, 0) == 1;
}

bool MonitorConnection::Announce(WPARAM jobArgument) const {
    const HWND monitor = FindWindowA(nullptr, kTitleMonitor);
    if (monitor == nullptr) return false;
    if (!PostMessageA(monitor, kMsgSettingsChanged, jobArgument, 0)) {
        DebugPrintf("Brenik Option: 1224 could not be posted to the monitor (error %lu)\n", GetLastError());
        return false;
    }
    return true;
}

bool MonitorConnection::Start() const {
    const std::string path = folder_ + kProgramMonitor;
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", path.c_str(), nullptr, folder_.c_str(), SW_SHOWNORMAL));
    if (result <= 32) DebugPrintf("Brenik Option: %s did not start (%ld)\n", path.c_str(), static_cast<long>(result));
    return result > 32;
}

}  // namespace brenik::option
