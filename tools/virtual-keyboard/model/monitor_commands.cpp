#include "monitor_commands.h"

#include "keyboard_device_constants.h"
#include "wire_bytes.h"

#include <algorithm>
#include <cstddef>

namespace brenik::vkb {
namespace {

using namespace report;

constexpr std::uint8_t kLockedKeyBits = 0x3F;  // Tab, Caps Lock, both Windows keys, App, left Shift
constexpr std::uint8_t kWholeKeyboardCode = 12;

CommandResult Fail(std::string why) { return {kStatusFailed, std::move(why)}; }
CommandResult Done() { return {}; }

bool ValidProfile(std::uint8_t profile) { return profile < kProfileCount; }

// Byte 1 of every write report but the select request and the macro report is its length.
bool LengthByteMatches(const std::uint8_t* report) { return report[1] == LengthOf(report[0]); }

bool ValidSelector(std::uint8_t selector) {
    if (selector < kKeyEntryCount) return true;
    if (selector >= kLaunchSelectorBase && selector < kLaunchSelectorBase + kKeyEntryCount) return true;
    return selector == kSelectStandardKeys || selector == kSelectLockedKeys || selector == kSelectLighting ||
           KeyFunctionBlockBySelector(selector) != nullptr;
}

CommandResult Select(KeyboardState& state, const std::uint8_t* report) {
    state.selection = Selection{};
    if (!ValidProfile(report[1])) return Fail("profile out of range");
    if (!ValidSelector(report[2])) return Fail("unknown selector");
    state.selection = Selection{true, report[1], report[2]};
    return Done();
}

// The host moving to another profile also returns the keyboard to the standard layer, as
// the profile key does.
CommandResult WriteCurrentProfile(KeyboardState& state, const std::uint8_t* report) {
    if (!ValidProfile(report[2])) return Fail("profile out of range");
    if (state.currentProfile != report[2]) state.extendedLayer = false;
    state.currentProfile = report[2];
    return Done();
}

CommandResult WriteStandardKeys(ProfileMemory& profile, const std::uint8_t* report) {
    std::copy_n(report + kKeyMatrixOffset, kKeyMatrixSize, profile.keyMatrix.begin());
    return Done();
}

CommandResult WriteLockedKeys(ProfileMemory& profile, const std::uint8_t* report) {
    if ((report[3] & ~kLockedKeyBits) != 0) return Fail("locked-key bits 6-7 set");
    profile.lockedKeys = report[3];
    return Done();
}

CommandResult WriteKeyFunctions(ProfileMemory& profile, const KeyFunctionBlock& block, const std::uint8_t* report) {
    for (int j = 0; j < block.keyCount; ++j) {
        const std::uint8_t* record = report + block.recordOffset + 3 * static_cast<std::size_t>(j);
        std::copy_n(record, 3, profile.keyFunctions[static_cast<std::size_t>(block.firstKey + j)].begin());
    }
    return Done();
}

// Bytes 3..31 are kept as they came, the fixed markers included.
CommandResult WriteLighting(ProfileMemory& profile, const std::uint8_t* report) {
    std::copy(report + 3, report + kLightingLength, profile.lighting.begin() + 3);
    return Done();
}

// Restores the factory settings of all five profiles: key matrix, locked keys, key
// functions, lighting, macros and launch entries. The current profile, the sync token, the
// volume and the device information stay; the host issues a new token afterwards.
CommandResult WholeKeyboard(KeyboardState& state, const std::uint8_t* report) {
    if (report[2] != kWholeKeyboardCode) return Fail("whole-keyboard command without its code 12");
    for (ProfileMemory& profile : state.profiles) profile = FactoryProfile();
    ++state.wholeKeyboardCommands;
    return Done();
}

CommandResult WriteHostState(KeyboardState& state, const std::uint8_t* report) {
    if (report[2] > 1) return Fail("host state other than 0 or 1");
    state.hostState = report[2];
    return Done();
}

CommandResult WriteSyncToken(KeyboardState& state, const std::uint8_t* report) {
    std::copy_n(report + 2, kTokenSize, state.token.begin());
    return Done();
}

// The level must be the one that goes with the volume.
CommandResult WriteVolume(KeyboardState& state, const std::uint8_t* report) {
    if (!ValidProfile(report[2])) return Fail("profile out of range");
    const int level = report[6];
    const int volume = report[7];
    if (volume > 100) return Fail("volume above 100");
    if (level != VolumeLevelOf(volume)) return Fail("level does not go with the volume");
    state.volume = volume;
    state.volumeLevel = level;
    std::copy_n(report + 3, 3, state.volumeKeyBytes.begin());
    return Done();
}

CommandResult WriteMacro(KeyboardState& state, const std::uint8_t* report) {
    if (ReadLe16(report + 1) != kMacroLength) return Fail("macro length bytes not 0x8A 0x06");
    if (!ValidProfile(report[3])) return Fail("profile out of range");
    if (report[4] >= kKeyEntryCount) return Fail("key index out of range");
    if (Sum16(report, kMacroChecksumOffset) != ReadLe16(report + kMacroChecksumOffset)) return Fail("macro checksum wrong");
    const std::uint16_t count = ReadLe16(report + kMacroCountOffset);
    if (count > kMaxMacroActions) return Fail("more than 400 macro actions");
    MacroEntry& entry = state.profiles[report[3]].macros[report[4]];
    entry.option = report[5];
    std::copy_n(report + kMacroNamesOffset, kMacroNamesSize, entry.names.begin());
    entry.actionCount = count;
    entry.actions.fill(0);
    std::copy_n(report + kMacroActionsOffset, count * kMacroActionSize, entry.actions.begin());
    return Done();
}

CommandResult WriteLaunch(KeyboardState& state, const std::uint8_t* report) {
    if (!ValidProfile(report[2])) return Fail("profile out of range");
    if (report[3] < kLaunchSelectorBase || report[3] >= kLaunchSelectorBase + kKeyEntryCount) {
        return Fail("launch key out of range");
    }
    LaunchEntry& entry = state.profiles[report[2]].launches[report[3] - kLaunchSelectorBase];
    std::copy_n(report + kLaunchNameOffset, kLaunchNameSize, entry.name.begin());
    entry.value = ReadLe32(report + kLaunchValueOffset);
    return Done();
}

// Writes of one profile's block: length byte, then a valid profile in byte 2.
CommandResult WriteProfileBlock(KeyboardState& state, const std::uint8_t* report) {
    if (!ValidProfile(report[2])) return Fail("profile out of range");
    ProfileMemory& profile = state.profiles[report[2]];
    switch (report[0]) {
        case kStandardKeys: return WriteStandardKeys(profile, report);
        case kLockedKeys: return WriteLockedKeys(profile, report);
        case kLighting: return WriteLighting(profile, report);
        default: break;
    }
    if (const KeyFunctionBlock* block = KeyFunctionBlockById(report[0])) return WriteKeyFunctions(profile, *block, report);
    return Fail("not a profile block");
}

// ---- Replies

void ReplyHeader(std::uint8_t* reply, std::uint8_t profile) {
    reply[1] = static_cast<std::uint8_t>(LengthOf(reply[0]));
    reply[2] = profile;
}

void ReplyKeyFunctions(const ProfileMemory& profile, const KeyFunctionBlock& block, std::uint8_t* reply) {
    for (int j = 0; j < block.keyCount; ++j) {
        const auto& record = profile.keyFunctions[static_cast<std::size_t>(block.firstKey + j)];
        std::copy(record.begin(), record.end(), reply + block.recordOffset + 3 * static_cast<std::size_t>(j));
    }
}

void ReplyMacro(const KeyboardState& state, std::uint8_t profile, std::uint8_t key, std::uint8_t* reply) {
    const MacroEntry& entry = state.profiles[profile].macros[key];
    WriteLe16(reply + 1, static_cast<std::uint16_t>(kMacroLength));
    reply[3] = profile;
    reply[4] = key;
    reply[5] = entry.option;
    std::copy(entry.names.begin(), entry.names.end(), reply + kMacroNamesOffset);
    WriteLe16(reply + kMacroCountOffset, entry.actionCount);
    std::copy_n(entry.actions.begin(), entry.actionCount * kMacroActionSize, reply + kMacroActionsOffset);
    WriteLe16(reply + kMacroChecksumOffset, Sum16(reply, kMacroChecksumOffset));
}

void ReplyLaunch(const KeyboardState& state, std::uint8_t profile, std::uint8_t key, std::uint8_t* reply) {
    const LaunchEntry& entry = state.profiles[profile].launches[key];
    ReplyHeader(reply, profile);
    reply[3] = static_cast<std::uint8_t>(kLaunchSelectorBase + key);
    std::copy(entry.name.begin(), entry.name.end(), reply + kLaunchNameOffset);
    WriteLe32(reply + kLaunchValueOffset, entry.value);
}

// The selector that a data report needs, or false if the selection is for another report.
bool SelectionServes(const Selection& selection, std::uint8_t reportId) {
    if (!selection.valid) return false;
    const std::uint8_t s = selection.selector;
    switch (reportId) {
        case kStandardKeys: return s == kSelectStandardKeys;
        case kLockedKeys: return s == kSelectLockedKeys;
        case kLighting: return s == kSelectLighting;
        case kMacro: return s < kKeyEntryCount;
        case kLaunch: return s >= kLaunchSelectorBase && s < kLaunchSelectorBase + kKeyEntryCount;
        default: break;
    }
    const KeyFunctionBlock* block = KeyFunctionBlockById(reportId);
    return block != nullptr && block->selector == s;
}

bool ReplySelected(const KeyboardState& state, std::uint8_t* reply, std::string& why) {
    const Selection& selection = state.selection;
    if (!SelectionServes(selection, reply[0])) {
        why = "no select request for this report";
        return false;
    }
    const ProfileMemory& profile = state.profiles[selection.profile];
    switch (reply[0]) {
        case kStandardKeys:
            ReplyHeader(reply, selection.profile);
            std::copy(profile.keyMatrix.begin(), profile.keyMatrix.end(), reply + kKeyMatrixOffset);
            return true;
        case kLockedKeys:
            ReplyHeader(reply, selection.profile);
            reply[3] = profile.lockedKeys;
            return true;
        case kLighting:
            std::copy(profile.lighting.begin() + 3, profile.lighting.end(), reply + 3);
            ReplyHeader(reply, selection.profile);
            return true;
        case kMacro: ReplyMacro(state, selection.profile, selection.selector, reply); return true;
        case kLaunch:
            ReplyLaunch(state, selection.profile, static_cast<std::uint8_t>(selection.selector - kLaunchSelectorBase), reply);
            return true;
        default: break;
    }
    ReplyHeader(reply, selection.profile);
    ReplyKeyFunctions(profile, *KeyFunctionBlockById(reply[0]), reply);
    return true;
}

}  // namespace

CommandResult ApplyMonitorWrite(KeyboardState& state, const std::uint8_t* report) {
    const std::uint8_t id = report[0];
    if (id == kSelect) return Select(state, report);
    if (id != kMacro && !LengthByteMatches(report)) return Fail("length byte wrong");
    switch (id) {
        case kCurrentProfile: return WriteCurrentProfile(state, report);
        case kStandardKeys:
        case kLockedKeys:
        case kKeyFunctionsA:
        case kKeyFunctionsB:
        case kKeyFunctionsC:
        case kLighting: return WriteProfileBlock(state, report);
        case kWholeKeyboard: return WholeKeyboard(state, report);
        case kHostState: return WriteHostState(state, report);
        case kSyncToken: return WriteSyncToken(state, report);
        case kVolume: return WriteVolume(state, report);
        case kMacro: return WriteMacro(state, report);
        case kLaunch: return WriteLaunch(state, report);
        default: return Fail("not a write command");
    }
}

bool BuildMonitorReply(const KeyboardState& state, std::uint8_t* reply, std::string& why) {
    switch (reply[0]) {
        case kCurrentProfile:
            ReplyHeader(reply, static_cast<std::uint8_t>(state.currentProfile));
            return true;
        case device::kDeviceInfoReportId:
            reply[1] = static_cast<std::uint8_t>(device::kDeviceInfoReportLength);
            reply[2] = state.firmwareVersion;
            reply[3] = state.dfuVersion;
            reply[4] = state.deviceValue;
            reply[7] = state.extendedLayer ? kExtendedLayerBit : 0;
            return true;
        case kSyncToken:
            reply[1] = static_cast<std::uint8_t>(kSyncTokenLength);
            std::copy(state.token.begin(), state.token.end(), reply + 2);
            return true;
        case kStandardKeys:
        case kLockedKeys:
        case kKeyFunctionsA:
        case kKeyFunctionsB:
        case kKeyFunctionsC:
        case kLighting:
        case kMacro:
        case kLaunch: return ReplySelected(state, reply, why);
        default:
            why = "not a readable report";
            return false;
    }
}

}  // namespace brenik::vkb
