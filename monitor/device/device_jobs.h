#pragma once
// DeviceJobs: the four jobs of the job thread, built from the device commands with the
// keyboard's pauses between them. Each job checks the abort flag at its stop points and
// returns there; the caller (the job thread) sets the job flags around Run and sends the
// notifications that follow every job 1 and job 2.

#include "device_commands.h"
#include "device_job_host.h"
#include "job_codes.h"
#include "state_access.h"

#include <atomic>
#include <cstdint>

namespace brenik::monitor::device {


class DeviceJobs {
public:
    DeviceJobs(DeviceCommands& commands, IStateAccess& state, IDeviceJobHost& host, std::atomic<int>& synced)
        : commands_(commands), channel_(commands.Channel()), state_(state), host_(host), synced_(synced) {}

    // One job as the job thread takes it; unknown numbers do nothing.
    void Run(int job, std::intptr_t argument);

    bool ApplyChanges();
    void ApplyWholeKeyboard();
    bool SynchroniseKeyboard();
    void ReadRecordedMacro(int keyNumber);
    bool WriteMacroPass(int profile);
    bool WriteLaunchPass(int profile);
    bool ReadMacroPass(int profile);
    bool ReadLaunchPass(int profile);

private:
    using ProfileCommand = bool (DeviceCommands::*)(int);
    using EntryCommand = bool (DeviceCommands::*)(int, int);

    void Pause(unsigned milliseconds) { channel_.SleepAbortable(milliseconds); }
    bool Aborted() const { return channel_.IsJobAborted(); }

    // Apply: one flagged command per profile, each followed by a pause; false on abort.
    bool WriteFlaggedProfiles(std::int32_t const (StateRecord::*flags)[kProfileCount], ProfileCommand write);
    bool WriteFlaggedKeyBlocks(int firstKey, int keyCount, ProfileCommand write);
    bool WriteEntryPass(int profile, EntryCommand write);
    bool ReadEntryPass(int profile, std::uint8_t functionType, EntryCommand read);

    // Synchronise: the read-back when the tokens differ; false when an abort stops the job.
    bool ReadEverythingBack(bool& last);
    // Whether the working copy's profiles are no longer those of `before`.
    bool ProfilesDiffer(const StateRecord& before);
    bool ReadAllProfiles(ProfileCommand read, bool& last);
    bool ReadKeyBlocks(ProfileCommand read, bool& last);
    void ReadEntryPasses(bool (DeviceJobs::*pass)(int), bool& last);

    bool HddKeyboard(int profile);
    bool KeyFlagged(int profile, int key);
    std::uint8_t FunctionTypeOf(int profile, int key);

    DeviceCommands& commands_;
    ReportChannel& channel_;
    IStateAccess& state_;
    IDeviceJobHost& host_;
    std::atomic<int>& synced_;
};

}  // namespace brenik::monitor::device
