#include "device_jobs.h"

#include <memory>

#include <cstring>

namespace brenik::monitor::device {
void DeviceJobs::Run(int job, std::intptr_t argument) {
    switch (job) {
        case kJobApplyChanges:
            if (argument == kApplyWholeKeyboard) {
                ApplyWholeKeyboard();
            } else {
                ApplyChanges();
            }
            break;
        case kJobSynchronise:
            if (SynchroniseKeyboard()) {
                commands_.SetHostState(kHostSynchronised);
                synced_.store(1);
            }
            break;
        case kJobWriteCurrentProfile: commands_.WriteCurrentProfile(); break;
        case kJobReadRecordedMacro: ReadRecordedMacro(static_cast<int>(argument & 0xFF)); break;
        default: break;
    }
}

bool DeviceJobs::HddKeyboard(int profile) {
    bool on = false;
    state_.Read([&](const StateRecord& s) { on = s.Profiles[profile].HDDKeyboard != 0; });
    return on;
}

bool DeviceJobs::KeyFlagged(int profile, int key) {
    bool flagged = false;
    state_.Read([&](const StateRecord& s) { flagged = s.KeyChanged[profile][key] == 1; });
    return flagged;
}

std::uint8_t DeviceJobs::FunctionTypeOf(int profile, int key) {
    std::uint8_t type = 0;
    state_.Read([&](const StateRecord& s) { type = s.Profiles[profile].MacroKeyInfo[key].FunctionType; });
    return type;
}

// ---- Apply changes

bool DeviceJobs::WriteFlaggedProfiles(std::int32_t const (StateRecord::*flags)[kProfileCount], ProfileCommand write) {
    for (int p = 0; p < kProfileCount; ++p) {
        bool flagged = false;
        state_.Read([&](const StateRecord& s) { flagged = (s.*flags)[p] != 0; });
        if (!flagged) continue;
        (commands_.*write)(p);
        Pause(kStepPauseMs);
        if (Aborted()) return false;
    }
    return true;
}

bool DeviceJobs::WriteFlaggedKeyBlocks(int firstKey, int keyCount, ProfileCommand write) {
    for (int p = 0; p < kProfileCount; ++p) {
        if (!HddKeyboard(p)) continue;
        bool flagged = false;
        for (int key = firstKey; key < firstKey + keyCount && !flagged; ++key) flagged = KeyFlagged(p, key);
        if (!flagged) continue;
        (commands_.*write)(p);
        Pause(kStepPauseMs);
        if (Aborted()) return false;
    }
    return true;
}

bool DeviceJobs::WriteEntryPass(int profile, EntryCommand write) {
    bool last = true;
    for (int key = 0; key < kProgrammableKeys; ++key) {
        if (!KeyFlagged(profile, key)) continue;
        last = (commands_.*write)(profile, key);
        if (Aborted()) return false;
        Pause(kBetweenKeysMs);
    }
    return last;
}

bool DeviceJobs::WriteMacroPass(int profile) { return WriteEntryPass(profile, &DeviceCommands::WriteMacro); }

bool DeviceJobs::WriteLaunchPass(int profile) { return WriteEntryPass(profile, &DeviceCommands::WriteLaunchEntry); }

bool DeviceJobs::ApplyChanges() {
    // A failed command does not end the job: the later steps still carry their changes.
    bool profileChanged = false;
    state_.Read([&](const StateRecord& s) { profileChanged = s.ProfileChanged == 1; });
    if (profileChanged) {
        commands_.WriteCurrentProfile();
        Pause(kStepPauseMs);
        if (Aborted()) return false;
    }
    if (!WriteFlaggedProfiles(&StateRecord::StandardKeyChanged, &DeviceCommands::WriteStandardKeys)) return false;
    if (!WriteFlaggedProfiles(&StateRecord::LockKeysChanged, &DeviceCommands::WriteLockKeys)) return false;
    if (!WriteFlaggedKeyBlocks(kKeyBlockA.firstKey, kKeyBlockA.keyCount, &DeviceCommands::WriteKeyBlockA)) return false;
    if (!WriteFlaggedKeyBlocks(kKeyBlockB.firstKey, kKeyBlockB.keyCount, &DeviceCommands::WriteKeyBlockB)) return false;
    if (!WriteFlaggedKeyBlocks(kKeyBlockC.firstKey, kKeyBlockC.keyCount, &DeviceCommands::WriteKeyBlockC)) return false;
    for (int p = 0; p < kProfileCount; ++p) {
        if (!HddKeyboard(p)) continue;
        WriteMacroPass(p);
        if (Aborted()) return false;
    }
    Pause(kStepPauseMs);
    if (Aborted()) return false;
    if (!WriteFlaggedProfiles(&StateRecord::LightingChanged, &DeviceCommands::WriteLighting)) return false;
    for (int p = 0; p < kProfileCount; ++p) {
        if (!HddKeyboard(p)) continue;
        WriteLaunchPass(p);
        if (Aborted()) return false;
    }
    Pause(kStepPauseMs);
    if (Aborted()) return false;
    commands_.IssueSyncToken();
    return true;
}

void DeviceJobs::ApplyWholeKeyboard() { commands_.SendWholeKeyboardCommand(); }

// ---- Synchronise

bool DeviceJobs::ReadAllProfiles(ProfileCommand read, bool& last) {
    for (int p = 0; p < kProfileCount; ++p) {
        last = (commands_.*read)(p);  // a failed read does not end the loop
        Pause(kStepPauseMs);
        if (Aborted()) return false;
    }
    return true;
}

bool DeviceJobs::ReadKeyBlocks(ProfileCommand read, bool& last) {
    for (int p = 0; p < kProfileCount; ++p) {
        if (!HddKeyboard(p)) continue;
        last = (commands_.*read)(p);
        if (!last) break;
        Pause(kStepPauseMs);
        if (Aborted()) return false;
    }
    return true;
}

void DeviceJobs::ReadEntryPasses(bool (DeviceJobs::*pass)(int), bool& last) {
    for (int p = 0; p < kProfileCount; ++p) {
        if (!HddKeyboard(p)) continue;
        last = (this->*pass)(p);
        if (!last) break;
        Pause(kStepPauseMs);
        if (Aborted()) break;  // the job goes on with the next step
    }
}

bool DeviceJobs::ReadEverythingBack(bool& last) {
    if (!ReadAllProfiles(&DeviceCommands::ReadStandardKeys, last)) return false;
    if (!ReadAllProfiles(&DeviceCommands::ReadLockKeys, last)) return false;
    if (!ReadKeyBlocks(&DeviceCommands::ReadKeyBlockA, last)) return false;
    if (!ReadKeyBlocks(&DeviceCommands::ReadKeyBlockB, last)) return false;
    if (!ReadKeyBlocks(&DeviceCommands::ReadKeyBlockC, last)) return false;
    ReadEntryPasses(&DeviceJobs::ReadMacroPass, last);
    ReadEntryPasses(&DeviceJobs::ReadLaunchPass, last);
    return ReadAllProfiles(&DeviceCommands::ReadLighting, last);
}

bool DeviceJobs::SynchroniseKeyboard() {
    synced_.store(0);
    int firmware = 0;
    bool last = commands_.ReadDeviceInfo(firmware);
    Pause(kStepPauseMs);
    if (Aborted() || !last) return false;

    Pause(kBeforeCurrentProfileMs);
    last = commands_.ReadCurrentProfile();
    Pause(kStepPauseMs);
    if (Aborted()) return false;

    const bool tokensMatch = commands_.TokenMatches();
    std::unique_ptr<StateRecord> before;  // the profiles the read-back replaces, once kept
    if (!tokensMatch && host_.KeepProfilesBeforeReadBack()) {
        before = std::make_unique<StateRecord>();
        state_.Read([&](const StateRecord& s) { *before = s; });
    }
    if (!tokensMatch && !ReadEverythingBack(last)) return false;

    state_.Update([](StateRecord& s) { std::memset(s.KeyChanged, 0, sizeof s.KeyChanged); });
    if (last && !tokensMatch) commands_.IssueSyncToken();
    if (!last) return false;

    host_.SaveProfiles();
    host_.PublishState();
    host_.NotifySynchronised();
    if (before && ProfilesDiffer(*before)) host_.NotifyProfilesReadBack();
    return true;
}

bool DeviceJobs::ProfilesDiffer(const StateRecord& before) {
    bool differ = false;
    state_.Read([&](const StateRecord& s) { differ = std::memcmp(before.Profiles, s.Profiles, sizeof s.Profiles) != 0; });
    return differ;
}

bool DeviceJobs::ReadEntryPass(int profile, std::uint8_t functionType, EntryCommand read) {
    for (int key = 0; key < kKeyEntryCount; ++key) {
        if (FunctionTypeOf(profile, key) != functionType) continue;
        bool readOk = false;
        for (int attempt = 0; attempt < kEntryAttempts; ++attempt) {
            readOk = (commands_.*read)(profile, key);
            if (attempt + 1 < kEntryAttempts) Pause(kBetweenAttemptsMs);
            if (readOk) break;
        }
        if (Aborted() || !readOk) return false;
    }
    return true;
}

bool DeviceJobs::ReadMacroPass(int profile) { return ReadEntryPass(profile, kFunctionMacro, &DeviceCommands::ReadMacro); }

bool DeviceJobs::ReadLaunchPass(int profile) {
    return ReadEntryPass(profile, kFunctionLaunchEntry, &DeviceCommands::ReadLaunchEntry);
}

// ---- Recorded macro

void DeviceJobs::ReadRecordedMacro(int keyNumber) {
    Pause(kRecordedMacroSettleMs);
    int current = -1;
    state_.Read([&](const StateRecord& s) { current = s.CurrentProfile; });
    if (!IsCommandProfile(current) || keyNumber < kFirstRecordedKey || keyNumber > kLastRecordedKey) return;
    const int key = keyNumber - 1;
    if (!commands_.ReadMacro(current, key)) return;
    host_.PublishState();
    host_.NotifyMacroReadBack(current, key);
    commands_.IssueSyncToken();
    host_.SaveProfiles();
}

}  // namespace brenik::monitor::device
