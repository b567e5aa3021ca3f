#pragma once
// What the device jobs ask of the monitor around them: saving the profile files, publishing
// the state to the shared block, and telling the settings program what came back.

namespace brenik::monitor::device {

class IDeviceJobHost {
public:
    virtual ~IDeviceJobHost() = default;
    virtual void SaveProfiles() = 0;
    virtual void PublishState() = 0;
    virtual void NotifySynchronised() = 0;                  // job 2 read the keyboard back
    virtual void NotifyMacroReadBack(int profile, int key) = 0;  // job 4 stored a recorded macro
};

}  // namespace brenik::monitor::device
