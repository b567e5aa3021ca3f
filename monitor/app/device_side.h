#pragma once
// The keyboard as the device sequences open and close it: the HID library's device messages
// (1325 and 1326 to the main window) and its feature device, the token check once it is open,
// and its presence in config.ini ("Device" in "Setting", which the settings tool reads).
// CMonitorDevice on Windows, a recorder in the tests.

namespace brenik::monitor {

class IDeviceSide {
public:
    virtual ~IDeviceSide() = default;
    virtual void OpenDevMonitor() = 0;
    virtual void CloseDevMonitor() = 0;
    virtual bool OpenFeatureDevice() = 0;
    virtual void CloseFeatureDevice() = 0;
    virtual void CheckSyncToken() = 0;
    virtual void WriteDeviceKey(int present) = 0;  // 1 present, 0 absent
};

}  // namespace brenik::monitor
