#include "device_commands.h"

#include "debug_output.h"
#include "report_codec.h"

#include <algorithm>
#include <array>

namespace brenik::monitor::device {
namespace {

template <std::size_t N>
using Report = std::array<std::uint8_t, N>;

std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(value); }

}  // namespace

bool IsCommandProfile(int profile) { return profile >= 0 && profile < kProfileCount; }
bool IsKeyEntry(int key) { return key >= 0 && key < kKeyEntryCount; }

bool DeviceCommands::CurrentProfileIndex(int& index) {
    state_.Read([&](const StateRecord& state) { index = state.CurrentProfile; });
    return IsCommandProfile(index);
}

bool DeviceCommands::WriteCurrentProfile() {
    int current = -1;
    if (!CurrentProfileIndex(current)) return false;
    Report<kCurrentProfileLength> report = {kReportCurrentProfile, Byte(kCurrentProfileLength), Byte(current)};
    return channel_.WriteCommand(report.data(), report.size(), 0, kShortFirstDelayMs);
}

bool DeviceCommands::ReadCurrentProfile() {
    Report<kCurrentProfileLength> reply{};
    if (!channel_.ReadDirect(kReportCurrentProfile, reply.data(), reply.size())) return false;
    const int profile = reply[kProfileByte];
    if (!IsCommandProfile(profile)) {
        DebugPrintf("Device refused current profile %d from the keyboard\n", profile);
        return true;  // the read itself succeeded
    }
    state_.Update([&](StateRecord& state) { state.CurrentProfile = profile; });
    return true;
}

bool DeviceCommands::WriteStandardKeys(int profile) {
    if (!IsCommandProfile(profile)) return false;
    Report<kStandardKeysLength> report{};
    state_.Read([&](const StateRecord& s) { EncodeStandardKeys(s.Profiles[profile], Byte(profile), report.data()); });
    return channel_.WriteCommand(report.data(), report.size(), 0, kBlockFirstDelayMs);
}

bool DeviceCommands::ReadStandardKeys(int profile) {
    if (!IsCommandProfile(profile)) return false;
    Report<kStandardKeysLength> reply{};
    if (!channel_.SelectAndRead(Byte(profile), kSelectStandardKeys, kReportStandardKeys, reply.data(), reply.size(),
                                kSelectBlockFirstDelayMs)) {
        return false;
    }
    state_.Update([&](StateRecord& s) { DecodeStandardKeys(reply.data(), s.Profiles[profile]); });
    return true;
}

bool DeviceCommands::WriteLockKeys(int profile) {
    if (!IsCommandProfile(profile)) return false;
    Report<kLockKeysLength> report{};
    state_.Read([&](const StateRecord& s) { EncodeLockKeys(s.Profiles[profile], Byte(profile), report.data()); });
    return channel_.WriteCommand(report.data(), report.size(), 0, kBlockFirstDelayMs);
}

bool DeviceCommands::ReadLockKeys(int profile) {
    if (!IsCommandProfile(profile)) return false;
    Report<kLockKeysLength> reply{};
    if (!channel_.SelectAndRead(Byte(profile), kSelectLockKeys, kReportLockKeys, reply.data(), reply.size(),
                                kSelectBlockFirstDelayMs)) {
        return false;
    }
    state_.Update([&](StateRecord& s) { DecodeLockKeys(reply.data(), s.Profiles[profile]); });
    return true;
}

bool DeviceCommands::WriteKeyBlock(const KeyBlockLayout& block, int profile) {
    if (!IsCommandProfile(profile)) return false;
    Report<kKeyBlockALength> report{};  // the longest of the three blocks
    state_.Read([&](const StateRecord& s) { EncodeKeyBlock(block, s.Profiles[profile], Byte(profile), report.data()); });
    return channel_.WriteCommand(report.data(), block.length, 0, kBlockFirstDelayMs);
}

bool DeviceCommands::ReadKeyBlock(const KeyBlockLayout& block, int profile) {
    if (!IsCommandProfile(profile)) return false;
    Report<kKeyBlockALength> reply{};
    if (!channel_.SelectAndRead(Byte(profile), block.selector, block.reportId, reply.data(), block.length,
                                kSelectBlockFirstDelayMs)) {
        return false;
    }
    state_.Update([&](StateRecord& s) { DecodeKeyBlock(block, reply.data(), s.Profiles[profile]); });
    return true;
}

bool DeviceCommands::WriteLighting(int profile) {
    if (!IsCommandProfile(profile)) return false;
    Report<kLightingLength> report{};
    state_.Read([&](const StateRecord& s) { EncodeLighting(s.Profiles[profile], Byte(profile), report.data()); });
    return channel_.WriteCommand(report.data(), report.size(), 0, kBlockFirstDelayMs);
}

bool DeviceCommands::ReadLighting(int profile) {
    if (!IsCommandProfile(profile)) return false;
    Report<kLightingLength> reply{};
    if (!channel_.SelectAndRead(Byte(profile), kSelectLighting, kReportLighting, reply.data(), reply.size(),
                                kSelectBlockFirstDelayMs)) {
        return false;
    }
    state_.Update([&](StateRecord& s) { DecodeLighting(reply.data(), s.Profiles[profile]); });
    return true;
}

bool DeviceCommands::WriteMacro(int profile, int key) {
    if (!IsCommandProfile(profile) || !IsKeyEntry(key)) return false;
    Report<kMacroLength> report{};
    bool isMacro = false;
    bool built = false;
    state_.Read([&](const StateRecord& s) {
        const MacroKeyInfo& entry = s.Profiles[profile].MacroKeyInfo[key];
        isMacro = entry.FunctionType == kFunctionMacro;
        if (isMacro) built = EncodeMacro(entry, Byte(profile), Byte(key), report.data());
    });
    if (!isMacro) return true;
    if (!built) {
        DebugPrintf("Device refused to send macro of profile %d key %d: more than 400 actions\n", profile, key);
        return false;
    }
    return channel_.WriteCommand(report.data(), report.size(), kEntrySettleMs, kEntryFirstDelayMs);
}

bool DeviceCommands::ReadMacro(int profile, int key) {
    if (!IsCommandProfile(profile) || !IsKeyEntry(key)) return false;
    Report<kMacroLength> reply{};
    if (!channel_.SelectAndRead(Byte(profile), Byte(key), kReportMacro, reply.data(), reply.size(),
                                kSelectEntryFirstDelayMs)) {
        return false;
    }
    // The entry is stored by the index asked for: a reply about another key would put that
    // key's macro in this one's place.
    if (reply[macro::kKeyByte] != key) {
        DebugPrintf("Device refused macro reply for key %u when key %d was selected\n", reply[macro::kKeyByte], key);
        return false;
    }
    bool stored = false;
    state_.Update([&](StateRecord& s) { stored = DecodeMacro(reply.data(), s.Profiles[profile].MacroKeyInfo[key]); });
    if (!stored) DebugPrintf("Device refused macro reply of profile %d key %d: more than 400 actions\n", profile, key);
    return stored;
}

bool DeviceCommands::WriteLaunchEntry(int profile, int key) {
    if (!IsCommandProfile(profile) || !IsKeyEntry(key)) return false;
    Report<kLaunchLength> report{};
    bool isLaunch = false;
    state_.Read([&](const StateRecord& s) {
        const MacroKeyInfo& entry = s.Profiles[profile].MacroKeyInfo[key];
        isLaunch = entry.FunctionType == kFunctionLaunchEntry;
        if (isLaunch) EncodeLaunch(entry, Byte(profile), Byte(key), report.data());
    });
    if (!isLaunch) return true;
    return channel_.WriteCommand(report.data(), report.size(), kEntrySettleMs, kEntryFirstDelayMs);
}

bool DeviceCommands::ReadLaunchEntry(int profile, int key) {
    if (!IsCommandProfile(profile) || !IsKeyEntry(key)) return false;
    Report<kLaunchLength> reply{};
    if (!channel_.SelectAndRead(Byte(profile), Byte(kSelectLaunchBase + key), kReportLaunch, reply.data(), reply.size(),
                                kSelectEntryFirstDelayMs)) {
        return false;
    }
    if (reply[launch::kSelectorByte] != kSelectLaunchBase + key) {
        DebugPrintf("Device refused launch reply with selector %u when key %d was selected\n",
                    reply[launch::kSelectorByte], key);
        return false;
    }
    state_.Update([&](StateRecord& s) { DecodeLaunch(reply.data(), s.Profiles[profile].MacroKeyInfo[key]); });
    return true;
}

bool DeviceCommands::SendWholeKeyboardCommand() {
    Report<kWholeKeyboardLength> report = {kReportWholeKeyboard, Byte(kWholeKeyboardLength), kWholeKeyboardCode};
    if (!channel_.WriteCommand(report.data(), report.size(), kWholeKeyboardSettleMs, kShortFirstDelayMs)) return false;
    IssueSyncToken();
    return true;
}

bool DeviceCommands::ReadDeviceInfo(int& firmwareVersion) {
    Report<kDeviceInfoLength> reply{};
    if (!channel_.ReadDirect(kReportDeviceInfo, reply.data(), reply.size())) return false;
    firmwareVersion = reply[kFirmwareVersionByte];
    settings_.StoreFirmwareVersion(firmwareVersion);
    state_.Update([&](StateRecord& s) {
        s.DeviceValue = reply[kDeviceValueByte];
        if (ProfileRecord* current = CurrentProfileRecord(s)) {
            current->ExtendedMode = (reply[kExtendedModeByte] & kExtendedModeBit) ? 1 : 0;
        }
    });
    return true;
}

bool DeviceCommands::SetHostState(std::uint8_t value) {
    Report<kHostStateLength> report = {kReportHostState, Byte(kHostStateLength), value};
    return channel_.WriteCommand(report.data(), report.size(), 0, kShortFirstDelayMs);
}

bool DeviceCommands::WriteSyncToken(const SyncToken& token) {
    Report<kSyncTokenLength> report = {kReportSyncToken, Byte(kSyncTokenLength)};
    std::copy(token.begin(), token.end(), report.begin() + kTokenOffset);
    return channel_.WriteCommand(report.data(), report.size(), 0, kBlockFirstDelayMs);
}

bool DeviceCommands::ReadSyncToken(SyncToken& token) {
    Report<kSyncTokenLength> reply{};
    if (!channel_.ReadDirect(kReportSyncToken, reply.data(), reply.size())) return false;
    std::copy_n(reply.begin() + kTokenOffset, kTokenBytes, token.begin());
    return true;
}

bool DeviceCommands::WriteVolume(int profile, int volume) {
    Report<kVolumeLength> report{};
    if (!IsCommandProfile(profile)) return false;
    if (!EncodeVolume(Byte(profile), volume, report.data())) {
        DebugPrintf("Device refused volume %d: outside 0..100\n", volume);
        return false;
    }
    return channel_.WriteCommand(report.data(), report.size(), 0, kVolumeFirstDelayMs);
}

bool DeviceCommands::IssueSyncToken() {
    const SyncToken token = MakeSyncToken(channel_.Clock().NowUnixSeconds());
    const bool accepted = WriteSyncToken(token);
    // Stored whatever the keyboard said: a token it did not take shows as a mismatch at the
    // next open, and the keyboard is read back then.
    settings_.StoreSyncToken(token);
    return accepted;
}

bool DeviceCommands::CheckSyncToken() {
    SyncToken keyboard{};
    SyncToken stored{};
    const bool match = ReadSyncToken(keyboard) && settings_.LoadSyncToken(stored) && keyboard == stored;
    tokenMatch_.store(match ? 1 : 0);
    return match;
}

}  // namespace brenik::monitor::device
