// A kbhid.dll whose SetFeature never returns, as a library stuck in a driver call would:
// the keyboard is there (it opens, and it answers the version read), but the first report
// the updater sends never comes back. SetFeature calls are counted in a file beside the DLL
// ("stalled.txt" once the call is stuck), so the test knows the worker is inside.

#include <windows.h>

#include <cstring>
#include <string>

namespace {

constexpr unsigned char kDeviceInfoReportId = 0x0E;
constexpr int kDfuVersionByte = 3;
constexpr unsigned char kDfuVersion = 105;

std::string BesideThisLibrary(const char* name) {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&BesideThisLibrary), &self);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

}  // namespace

extern "C" {

__declspec(dllexport) int __cdecl Open_DevMonitor(void*, unsigned int, unsigned int) { return 1; }
__declspec(dllexport) int __cdecl Close_DevMonitor() { return 1; }
__declspec(dllexport) int __cdecl Open_FeatureDevice() { return 1; }
__declspec(dllexport) int __cdecl Close_FeatureDevice() { return 1; }
__declspec(dllexport) int __cdecl GetMousePID() { return 0; }

__declspec(dllexport) int __cdecl GetFeature(unsigned char* buffer, int length) {
    if (buffer == nullptr || length <= kDfuVersionByte || buffer[0] != kDeviceInfoReportId) return 0;
    std::memset(buffer + 1, 0, static_cast<std::size_t>(length) - 1);
    buffer[kDfuVersionByte] = kDfuVersion;
    return 1;
}

__declspec(dllexport) int __cdecl SetFeature(unsigned char*, int) {
    HANDLE marker = CreateFileA(BesideThisLibrary("stalled.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    Sleep(INFINITE);
    return 0;
}

}  // extern "C"
