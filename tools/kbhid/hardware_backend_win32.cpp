#include "hardware_backend_win32.h"

#include "debug_output.h"
#include "feature_report_buffer.h"
#include "input_report_decoder.h"
#include "monitor_thread_win32.h"
#include "scoped_handle.h"

#include <windows.h>

#include <dbt.h>
#include <setupapi.h>
// MinGW's HID headers declare C functions without saying so.
extern "C" {
#include <hidsdi.h>
}

#include <mutex>
#include <string>
#include <vector>

namespace brenik::kbhid {
namespace {

class ScopedDeviceList {
public:
    explicit ScopedDeviceList(HDEVINFO list) : list_(list) {}
    ~ScopedDeviceList() {
        if (Valid()) SetupDiDestroyDeviceInfoList(list_);
    }
    ScopedDeviceList(const ScopedDeviceList&) = delete;
    ScopedDeviceList& operator=(const ScopedDeviceList&) = delete;
    bool Valid() const { return list_ != INVALID_HANDLE_VALUE; }
    HDEVINFO Get() const { return list_; }

private:
    HDEVINFO list_;
};

class ScopedPreparsedData {
public:
    explicit ScopedPreparsedData(HANDLE device) {
        if (!HidD_GetPreparsedData(device, &data_)) data_ = nullptr;
    }
    ~ScopedPreparsedData() {
        if (data_ != nullptr) HidD_FreePreparsedData(data_);
    }
    ScopedPreparsedData(const ScopedPreparsedData&) = delete;
    ScopedPreparsedData& operator=(const ScopedPreparsedData&) = delete;
    PHIDP_PREPARSED_DATA Get() const { return data_; }

private:
    PHIDP_PREPARSED_DATA data_ = nullptr;
};

class ScopedNotification {
public:
    explicit ScopedNotification(HDEVNOTIFY notification) : notification_(notification) {}
    ~ScopedNotification() {
        if (notification_ != nullptr) UnregisterDeviceNotification(notification_);
    }
    ScopedNotification(const ScopedNotification&) = delete;
    ScopedNotification& operator=(const ScopedNotification&) = delete;

private:
    HDEVNOTIFY notification_;
};

class ScopedWindow {
public:
    explicit ScopedWindow(HWND window) : window_(window) {}
    ~ScopedWindow() {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    ScopedWindow(const ScopedWindow&) = delete;
    ScopedWindow& operator=(const ScopedWindow&) = delete;
    HWND Get() const { return window_; }

private:
    HWND window_;
};

struct FoundDevice {
    std::wstring path;
    win32::ScopedHandle handle;
    std::size_t featureLength = 0;
    std::size_t inputLength = 0;
};

// Keyboard collections are opened exclusively by the system; a vendor collection is not,
// but asking for no access at all still allows feature reports if it ever is.
win32::ScopedHandle OpenCollection(const std::wstring& path, bool forReading) {
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    const DWORD flags = forReading ? FILE_FLAG_OVERLAPPED : 0;
    win32::ScopedHandle handle(
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_EXISTING, flags, nullptr));
    if (!handle.Valid() && !forReading) {
        handle.Reset(CreateFileW(path.c_str(), 0, share, nullptr, OPEN_EXISTING, flags, nullptr));
    }
    return handle;
}

bool Matches(const HardwareSettings& settings, HANDLE handle, FoundDevice& device) {
    HIDD_ATTRIBUTES attributes{};
    attributes.Size = sizeof attributes;
    if (!HidD_GetAttributes(handle, &attributes)) return false;
    if (attributes.VendorID != settings.vendorId || attributes.ProductID != settings.productId) return false;
    ScopedPreparsedData data(handle);
    HIDP_CAPS caps{};
    if (data.Get() == nullptr || HidP_GetCaps(data.Get(), &caps) != HIDP_STATUS_SUCCESS) return false;
    if (caps.UsagePage != settings.usagePage || caps.FeatureReportByteLength == 0) return false;
    device.featureLength = caps.FeatureReportByteLength;
    device.inputLength = caps.InputReportByteLength;
    return true;
}

std::wstring InterfacePath(HDEVINFO list, SP_DEVICE_INTERFACE_DATA& item) {
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailW(list, &item, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return L"";
    std::vector<std::uint8_t> storage(size);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(list, &item, detail, size, nullptr, nullptr)) return L"";
    return detail->DevicePath;
}

// The keyboard's configuration collection, opened; false when no present device matches.
bool FindDevice(const HardwareSettings& settings, FoundDevice& found) {
    if (settings.vendorId == 0) return false;
    GUID hidGuid{};
    HidD_GetHidGuid(&hidGuid);
    ScopedDeviceList list(SetupDiGetClassDevsW(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (!list.Valid()) return false;
    SP_DEVICE_INTERFACE_DATA item{};
    item.cbSize = sizeof item;
    for (DWORD index = 0; SetupDiEnumDeviceInterfaces(list.Get(), nullptr, &hidGuid, index, &item); ++index) {
        const std::wstring path = InterfacePath(list.Get(), item);
        if (path.empty()) continue;
        win32::ScopedHandle handle = OpenCollection(path, false);
        if (!handle.Valid() || !Matches(settings, handle.Get(), found)) continue;
        found.path = path;
        found.handle = std::move(handle);
        return true;
    }
    return false;
}

bool SamePath(const std::wstring& a, const wchar_t* b) { return b != nullptr && lstrcmpiW(a.c_str(), b) == 0; }

constexpr const wchar_t* kWatchClass = L"BrenikKbhidDeviceWatch";

// The monitor thread: a message-only window receives the device notifications, and the
// keyboard's input reports are read overlapped in the same wait.
class DeviceWatch {
public:
    DeviceWatch(const HardwareSettings& settings, IEventSink& sink) : settings_(settings), sink_(sink) {}

    void Run(HANDLE stop) {
        const HINSTANCE instance = InstanceOfThisModule();
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &DeviceWatch::WindowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kWatchClass;
        RegisterClassW(&windowClass);  // fails harmlessly when a previous watch registered it
        // Classes a DLL registers outlive its unloading; this one goes with the thread.
        struct ClassRegistration {
            HINSTANCE instance;
            ~ClassRegistration() { UnregisterClassW(kWatchClass, instance); }
        } registration{instance};
        ScopedWindow window(CreateWindowExW(0, kWatchClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr));
        if (window.Get() == nullptr) {
            DebugPrintf("kbhid: no window for device notifications (error %lu)\n", static_cast<unsigned long>(GetLastError()));
            return;
        }
        SetWindowLongPtrW(window.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        HidD_GetHidGuid(&filter.dbcc_classguid);
        ScopedNotification notification(RegisterDeviceNotificationW(window.Get(), &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
        readEvent_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        present_ = OpenReader();
        Loop(stop);
        CloseReader();
        SetWindowLongPtrW(window.Get(), GWLP_USERDATA, 0);
    }

private:
    static HINSTANCE InstanceOfThisModule() {
        HMODULE module = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&DeviceWatch::WindowProc), &module);
        return module;
    }

    void Loop(HANDLE stop) {
        for (;;) {
            HANDLE handles[2] = {stop, readEvent_.Get()};
            const DWORD count = reading_ ? 2 : 1;
            const DWORD woke = MsgWaitForMultipleObjects(count, handles, FALSE, INFINITE, QS_ALLINPUT);
            if (woke == WAIT_OBJECT_0) return;
            if (woke == WAIT_OBJECT_0 + 1 && reading_) {
                FinishRead();
                continue;
            }
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        }
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<DeviceWatch*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_DEVICECHANGE && self != nullptr) {
            self->OnDeviceChange(wParam, reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam));
            return TRUE;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    void OnDeviceChange(WPARAM change, const DEV_BROADCAST_HDR* header) {
        if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return;
        const auto* item = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
        if (change == DBT_DEVICEARRIVAL && !present_ && OpenReader()) {
            present_ = true;
            sink_.DeviceChanged(true);
        } else if (change == DBT_DEVICEREMOVECOMPLETE && present_ && SamePath(path_, item->dbcc_name)) {
            CloseReader();
            present_ = false;
            sink_.DeviceChanged(false);
        }
    }

    bool OpenReader() {
        FoundDevice device;
        if (!FindDevice(settings_, device)) return false;
        path_ = device.path;
        reader_ = OpenCollection(device.path, true);
        report_.assign(device.inputLength, 0);
        StartRead();
        return true;
    }

    void CloseReader() {
        if (reading_) {
            CancelIo(reader_.Get());
            DWORD ignored = 0;
            GetOverlappedResult(reader_.Get(), &overlapped_, &ignored, TRUE);
            reading_ = false;
        }
        reader_.Reset();
    }

    void StartRead() {
        reading_ = false;
        if (!reader_.Valid() || report_.empty()) return;  // no input reports: arrival and removal only
        overlapped_ = OVERLAPPED{};
        overlapped_.hEvent = readEvent_.Get();
        ResetEvent(readEvent_.Get());
        if (ReadFile(reader_.Get(), report_.data(), static_cast<DWORD>(report_.size()), nullptr, &overlapped_) ||
            GetLastError() == ERROR_IO_PENDING) {
            reading_ = true;
        }
    }

    void FinishRead() {
        DWORD got = 0;
        const bool ok = GetOverlappedResult(reader_.Get(), &overlapped_, &got, FALSE) != 0;
        reading_ = false;
        KeyEvent event;
        if (ok && DecodeEventReport(report_.data(), got, settings_.eventReportId, event)) {
            sink_.KeyEvent(event.eventClass, event.subCode);
        }
        if (ok) StartRead();  // a failed read is the device going; the notification follows
    }

    const HardwareSettings& settings_;
    IEventSink& sink_;
    bool present_ = false;
    std::wstring path_;
    win32::ScopedHandle reader_;
    win32::ScopedHandle readEvent_;
    OVERLAPPED overlapped_{};
    std::vector<std::uint8_t> report_;
    bool reading_ = false;
};

class HardwareBackend final : public IDeviceBackend {
public:
    explicit HardwareBackend(const HardwareSettings& settings) : settings_(settings) {}
    ~HardwareBackend() override { StopMonitor(); }

    bool StartMonitor(std::shared_ptr<IEventSink> sink) override {
        return thread_.Start([this, sink](HANDLE stop) {
            DeviceWatch watch(settings_, *sink);
            watch.Run(stop);
        });
    }

    void StopMonitor() override { thread_.Stop(); }

    bool OpenFeature() override {
        CloseFeature();
        if (!FindDevice(settings_, device_)) {
            DebugPrintf("kbhid: no keyboard %04X:%04X with usage page %04X\n", settings_.vendorId, settings_.productId,
                        settings_.usagePage);
            return false;
        }
        return true;
    }

    void CloseFeature() override { device_ = FoundDevice{}; }

    bool SetFeature(const std::uint8_t* report, std::size_t length) override {
        std::vector<std::uint8_t> padded;
        if (!device_.handle.Valid() || !PadFeatureReport(report, length, device_.featureLength, padded)) return false;
        return HidD_SetFeature(device_.handle.Get(), padded.data(), static_cast<ULONG>(padded.size())) != 0;
    }

    bool GetFeature(std::uint8_t* report, std::size_t length) override {
        std::vector<std::uint8_t> reply;
        if (!device_.handle.Valid() || !PrepareFeatureRead(report[0], length, device_.featureLength, reply)) return false;
        if (!HidD_GetFeature(device_.handle.Get(), reply.data(), static_cast<ULONG>(reply.size()))) return false;
        return CopyFeatureReply(reply, report, length);
    }

private:
    HardwareSettings settings_;
    FoundDevice device_;
    MonitorThread thread_;
};

}  // namespace

std::unique_ptr<IDeviceBackend> MakeHardwareBackend(const HardwareSettings& settings) {
    return std::make_unique<HardwareBackend>(settings);
}

}  // namespace brenik::kbhid
