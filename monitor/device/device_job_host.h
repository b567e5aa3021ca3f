#pragma once
// What the device jobs ask of the monitor around them: saving the profile files (and keeping
// the profiles' history before the keyboard's settings replace them), publishing the state to
// the shared block, and telling the settings program and the user what came back.

namespace brenik::monitor::device {

class IDeviceJobHost {
public:
    virtual ~IDeviceJobHost() = default;
    virtual void SaveProfiles() = 0;
    virtual void PublishState() = 0;
    virtual void NotifySynchronised() = 0;                  // job 2 read the keyboard back
    virtual void NotifyMacroReadBack(int profile, int key) = 0;  // job 4 stored a recorded macro
    // Job 2 is about to read every setting back (the tokens differ): the profile files as
    // they stand go to the history first. True when the history holds them now (kept, or
    // its newest copy holds them already). Never fails the job.
    virtual bool KeepProfilesBeforeReadBack() = 0;
    // Job 2 saved the keyboard's settings over profiles the history holds, and they differ:
    // the user is told, once.
    virtual void NotifyProfilesReadBack() = 0;
};

}  // namespace brenik::monitor::device
