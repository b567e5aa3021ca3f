#pragma once
// What kbhid.dll needs from a keyboard: the virtual keyboard's server or real hardware.
// The exports check their arguments before a backend sees them (kbhid_library.h).

#include <cstddef>
#include <cstdint>
#include <memory>

namespace brenik::kbhid {

// Where a backend's monitor thread delivers what the keyboard reports. The Windows layer
// posts the two window messages the caller chose.
class IEventSink {
public:
    virtual ~IEventSink() = default;
    virtual void KeyEvent(std::uint16_t eventClass, std::uint16_t subCode) = 0;
    virtual void DeviceChanged(bool arrived) = 0;
};

class IDeviceBackend {
public:
    virtual ~IDeviceBackend() = default;
    // Starts the backend's own thread, which calls the sink until StopMonitor returns.
    virtual bool StartMonitor(std::shared_ptr<IEventSink> sink) = 0;
    virtual void StopMonitor() = 0;
    // True when a keyboard was found and can carry feature reports.
    virtual bool OpenFeature() = 0;
    virtual void CloseFeature() = 0;
    // report[0] is the report id; length counts it and is never 0 here.
    virtual bool SetFeature(const std::uint8_t* report, std::size_t length) = 0;
    virtual bool GetFeature(std::uint8_t* report, std::size_t length) = 0;
};

}  // namespace brenik::kbhid
