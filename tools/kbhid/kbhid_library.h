#pragma once
// What the seven exports of kbhid.dll do, apart from the Windows calls: argument checks,
// the open state of the feature device, and one monitor at a time. A call with a null
// buffer, a length of 0 or below, or after Close_FeatureDevice fails with a debugger line
// and never reaches the backend.
//
// Both of the monitor's threads call in; one lock serialises the feature calls, so a
// report is always sent and answered whole before the next one starts.

#include "device_backend.h"

#include <memory>
#include <mutex>

namespace brenik::kbhid {

class KbhidLibrary {
public:
    explicit KbhidLibrary(std::unique_ptr<IDeviceBackend> backend);
    ~KbhidLibrary();
    KbhidLibrary(const KbhidLibrary&) = delete;
    KbhidLibrary& operator=(const KbhidLibrary&) = delete;

    // A second call replaces the first monitor (its thread is stopped first).
    void OpenDevMonitor(std::shared_ptr<IEventSink> sink);
    void CloseDevMonitor();

    bool OpenFeatureDevice();
    void CloseFeatureDevice();
    bool SetFeature(std::uint8_t* buffer, int length);
    bool GetFeature(std::uint8_t* buffer, int length);

private:
    bool CheckCall(const char* name, const std::uint8_t* buffer, int length) const;

    std::unique_ptr<IDeviceBackend> backend_;
    std::mutex monitorLock_;
    bool monitoring_ = false;
    std::mutex featureLock_;
    bool featureOpen_ = false;
};

}  // namespace brenik::kbhid
