#include "foreground_process_win32.h"

#include "scoped_handle.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>

namespace brenik::monitor::games {
namespace {

static_assert(sizeof(ProcessId) == sizeof(DWORD), "the process list is filled by the platform in place");

// A path of the long form ("\\?\...") may be longer than MAX_PATH; the platform says so by
// failing with ERROR_INSUFFICIENT_BUFFER, and this many characters hold any path it can name.
constexpr DWORD kLongestPath = 32768;

}  // namespace

ProcessId Win32ForegroundProcess::ForegroundProcessId() {
    const HWND window = GetForegroundWindow();
    if (window == nullptr) return kNoProcess;
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    return id;
}

bool Win32ForegroundProcess::EnumerateProcesses(ProcessId* ids, std::size_t capacity, std::size_t& written) {
    const std::size_t entries = std::min<std::size_t>(capacity, MAXDWORD / sizeof(DWORD));
    DWORD bytes = 0;
    if (!EnumProcesses(reinterpret_cast<DWORD*>(ids), static_cast<DWORD>(entries * sizeof(DWORD)), &bytes)) return false;
    written = bytes / sizeof(DWORD);
    return true;
}

bool Win32ForegroundProcess::MainModuleName(ProcessId id, std::string& name) {
    const win32::ScopedHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id));
    if (!process.Valid()) return false;
    // Without a module handle the platform names the module the process was created from, the
    // first of its module list: the same name as EnumProcessModules' first entry gives, without
    // copying the list out of the other process first (half the cost under Wine).
    char base[MAX_PATH + 1] = {};
    const DWORD length = GetModuleBaseNameA(process.Get(), nullptr, base, MAX_PATH);
    if (length == 0) return false;
    name.assign(base, length);
    return true;
}

bool Win32ForegroundProcess::ImagePath(ProcessId id, std::string& path) {
    const win32::ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process.Valid()) return false;
    for (DWORD capacity : {DWORD{MAX_PATH + 1}, kLongestPath}) {
        path.assign(capacity, '\0');
        DWORD length = capacity;
        if (QueryFullProcessImageNameA(process.Get(), 0, path.data(), &length)) {
            path.resize(length);
            return true;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
    }
    path.clear();
    return false;
}

}  // namespace brenik::monitor::games
