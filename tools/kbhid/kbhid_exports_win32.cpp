// The seven exports of kbhid.dll (names and order in kbhid.def). Each one is a thin shell
// over KbhidLibrary: it catches everything, so nothing thrown ever crosses into the calling
// program, and turns results into the 1 and 0 the callers test.

#include "hardware_backend_win32.h"
#include "kbhid_library.h"
#include "kbhid_settings.h"
#include "virtual_backend_win32.h"
#include "window_event_sink_win32.h"

#include "debug_output.h"
#include "ini_file.h"
#include "kbhid_api.h"
#include "program_folder.h"

#include <windows.h>

#include <string>
#include <type_traits>

namespace brenik::kbhid {
namespace {

std::string LibraryFolder() {
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&LibraryFolder), &self)) {
        return "";
    }
    char path[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    return FolderOfPath(std::string_view(path, length));
}

KbhidLibrary* CreateLibrary() {
    ini::CIniFile ini(LibraryFolder() + kSettingsFileName);
    const KbhidSettings settings = LoadKbhidSettings(ini);
    if (settings.backend == BackendType::kVirtual) {
        DebugPrintf("kbhid: virtual keyboard on pipe %s\n", settings.pipeName.c_str());
        return new KbhidLibrary(MakeVirtualBackend(settings.pipeName));
    }
    DebugPrintf("kbhid: hardware %04X:%04X usage page %04X\n", settings.hardware.vendorId, settings.hardware.productId,
                settings.hardware.usagePage);
    return new KbhidLibrary(MakeHardwareBackend(settings.hardware));
}

// The one library object of the process, made on first use. It is never deleted: its
// destructor would stop a monitor thread, which must not be waited for while the loader
// unloads the DLL; a program closes the monitor before unloading, as both of ours do.
KbhidLibrary& Library() {
    static KbhidLibrary* const library = CreateLibrary();
    return *library;
}

template <typename Body>
int Guarded(const char* name, Body body) {
    try {
        return body() ? 1 : 0;
    } catch (...) {
        DebugPrintf("kbhid %s failed inside the library\n", name);
        return 0;
    }
}

}  // namespace
}  // namespace brenik::kbhid

using brenik::kbhid::Guarded;
using brenik::kbhid::Library;

extern "C" {

__declspec(dllexport) int KBHID_CALL Open_DevMonitor(void* window, unsigned int keyMessage, unsigned int deviceMessage) {
    return Guarded("Open_DevMonitor", [&] {
        const HWND target = static_cast<HWND>(window);
        std::shared_ptr<brenik::kbhid::IEventSink> sink;
        if (target != nullptr && IsWindow(target)) {
            sink = std::make_shared<brenik::kbhid::WindowEventSink>(target, keyMessage, deviceMessage);
        }
        Library().OpenDevMonitor(sink);
        return sink != nullptr;
    });
}

__declspec(dllexport) int KBHID_CALL Close_DevMonitor(void) {
    return Guarded("Close_DevMonitor", [] {
        Library().CloseDevMonitor();
        return true;
    });
}

__declspec(dllexport) int KBHID_CALL Open_FeatureDevice(void) {
    return Guarded("Open_FeatureDevice", [] { return Library().OpenFeatureDevice(); });
}

__declspec(dllexport) int KBHID_CALL Close_FeatureDevice(void) {
    return Guarded("Close_FeatureDevice", [] {
        Library().CloseFeatureDevice();
        return true;
    });
}

__declspec(dllexport) int KBHID_CALL SetFeature(unsigned char* buffer, int length) {
    return Guarded("SetFeature", [&] { return Library().SetFeature(buffer, length); });
}

__declspec(dllexport) int KBHID_CALL GetFeature(unsigned char* buffer, int length) {
    return Guarded("GetFeature", [&] { return Library().GetFeature(buffer, length); });
}

// Our keyboards pair with no mouse; the monitor binds this name but never calls it.
__declspec(dllexport) int KBHID_CALL GetMousePID(void) { return 0; }

}  // extern "C"

// The exports have exactly the types the binding calls them through.
static_assert(std::is_same_v<decltype(&Open_DevMonitor), KbhidOpenDevMonitorFn>);
static_assert(std::is_same_v<decltype(&Close_DevMonitor), KbhidCloseDevMonitorFn>);
static_assert(std::is_same_v<decltype(&Open_FeatureDevice), KbhidOpenFeatureDeviceFn>);
static_assert(std::is_same_v<decltype(&Close_FeatureDevice), KbhidCloseFeatureDeviceFn>);
static_assert(std::is_same_v<decltype(&SetFeature), KbhidSetFeatureFn>);
static_assert(std::is_same_v<decltype(&GetFeature), KbhidGetFeatureFn>);
static_assert(std::is_same_v<decltype(&GetMousePID), KbhidGetMousePidFn>);
