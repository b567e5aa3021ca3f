#pragma once
// DeviceCommands: every command the monitor exchanges with the keyboard, one operation each.
// Writes build their report from the state record (inside a short Read), reads store the
// reply into it (inside a short Update), so the record is never held during an exchange.
// Each returns true on success; a failed read leaves the record as it was.

#include "device_protocol.h"
#include "device_settings_store.h"
#include "report_channel.h"
#include "state_access.h"

#include <atomic>
#include <cstdint>

namespace brenik::monitor::device {

class DeviceCommands {
public:
    DeviceCommands(ReportChannel& channel, IStateAccess& state, IDeviceSettingsStore& settings)
        : channel_(channel), state_(state), settings_(settings) {}

    // With no current profile (index outside 0..4) these send nothing and return false.
    bool WriteCurrentProfile();
    bool ReadCurrentProfile();  // a reply outside 0..4 leaves CurrentProfile as it is

    bool WriteStandardKeys(int profile);
    bool ReadStandardKeys(int profile);
    bool WriteLockKeys(int profile);
    bool ReadLockKeys(int profile);
    bool WriteKeyBlockA(int profile) { return WriteKeyBlock(kKeyBlockA, profile); }
    bool ReadKeyBlockA(int profile) { return ReadKeyBlock(kKeyBlockA, profile); }
    bool WriteKeyBlockB(int profile) { return WriteKeyBlock(kKeyBlockB, profile); }
    bool ReadKeyBlockB(int profile) { return ReadKeyBlock(kKeyBlockB, profile); }
    bool WriteKeyBlockC(int profile) { return WriteKeyBlock(kKeyBlockC, profile); }
    bool ReadKeyBlockC(int profile) { return ReadKeyBlock(kKeyBlockC, profile); }
    bool WriteLighting(int profile);
    bool ReadLighting(int profile);
    // Nothing is sent, and true returned, unless the entry is a macro (0xBE) / launch (0xBC).
    bool WriteMacro(int profile, int key);
    bool ReadMacro(int profile, int key);
    bool WriteLaunchEntry(int profile, int key);
    bool ReadLaunchEntry(int profile, int key);

    bool SendWholeKeyboardCommand();  // and a new sync token on success
    bool ReadDeviceInfo(int& firmwareVersion);
    bool SetHostState(std::uint8_t value);
    bool WriteSyncToken(const SyncToken& token);
    bool ReadSyncToken(SyncToken& token);
    bool WriteVolume(int profile, int volume);  // nothing sent for a volume outside 0..100
    bool IssueSyncToken();
    bool CheckSyncToken();  // sets the token-match flag; returns it

    bool TokenMatches() const { return tokenMatch_.load() == 1; }
    ReportChannel& Channel() { return channel_; }

private:
    bool WriteKeyBlock(const KeyBlockLayout& block, int profile);
    bool ReadKeyBlock(const KeyBlockLayout& block, int profile);
    bool CurrentProfileIndex(int& index);

    ReportChannel& channel_;
    IStateAccess& state_;
    IDeviceSettingsStore& settings_;
    // Set on the window thread at device open, read by the synchronisation job.
    std::atomic<int> tokenMatch_{0};
};

// Whether a profile or key index from a caller names an entry of the record.
bool IsCommandProfile(int profile);
bool IsKeyEntry(int key);

}  // namespace brenik::monitor::device
