#pragma once
// What the monitor does when the keyboard arrives or goes, and when the console session
// connects or disconnects. The steps run in a fixed order; IDeviceHost carries them out.

#include "desktop.h"

#include <cstdint>

namespace brenik {

class IDeviceHost {
public:
    virtual ~IDeviceHost() = default;
    virtual void WaitMs(unsigned milliseconds) = 0;  // blocks the main thread
    virtual void OpenDevMonitor() = 0;               // device messages to the main window
    virtual void CloseDevMonitor() = 0;
    virtual bool OpenFeatureDevice() = 0;
    virtual void CloseFeatureDevice() = 0;
    virtual void CheckSyncToken() = 0;
    virtual void QueueJob(int job, std::intptr_t argument) = 0;
    virtual void AddTrayIcon() = 0;
    virtual void RemoveTrayIcon() = 0;
    virtual void WriteDeviceKey(int present) = 0;  // "Device" in config.ini
    virtual void StartGameTimer() = 0;
    virtual void StopGameTimer() = 0;
    virtual void StartCompanions() = 0;  // on-screen display, volume bar, applets
};

// Session-change codes of interest (WTS_CONSOLE_CONNECT, WTS_CONSOLE_DISCONNECT).
constexpr unsigned kSessionConsoleConnect = 1;
constexpr unsigned kSessionConsoleDisconnect = 2;

class DeviceSequences {
public:
    DeviceSequences(IDeviceHost& host, IDesktop& desktop) : host_(host), desktop_(desktop) {}

    void Arrival();   // only when not already attached
    void Removal();   // only when not already removed
    void SessionChange(unsigned code);

private:
    void SessionConnect();
    void SessionDisconnect();

    IDeviceHost& host_;
    IDesktop& desktop_;
};

}  // namespace brenik
