#pragma once
// What message 1326 starts, as the event dispatch sees it (DeviceSequences in the monitor, a
// recorder in the tests).

namespace brenik::monitor {

class IDeviceEvents {
public:
    virtual ~IDeviceEvents() = default;
    virtual void Arrival() = 0;
    virtual void Removal() = 0;
};

}  // namespace brenik::monitor
