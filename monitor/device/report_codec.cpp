#include "report_codec.h"

#include "report_checksum.h"
#include "standard_key_positions.h"

#include <algorithm>
#include <cstring>

namespace brenik::monitor::device {
namespace {

std::uint8_t LowByte(std::int32_t value) { return static_cast<std::uint8_t>(value & 0xFF); }

void Header(std::uint8_t* report, std::uint8_t id, std::size_t length, std::uint8_t profile) {
    report[0] = id;
    report[kLengthByte] = static_cast<std::uint8_t>(length);
    report[kProfileByte] = profile;
}

// A name field of the record as text: at most its 32 bytes, up to the first 0.
std::size_t NameLength(const char* name) {
    const void* end = std::memchr(name, 0, kNameBytes);
    return end == nullptr ? kNameBytes : static_cast<std::size_t>(static_cast<const char*>(end) - name);
}

// A name from the wire into a 32-byte field: the 32nd byte is always 0 (31 characters at
// most), and trailing spaces and zeros are dropped.
void ReadName(const std::uint8_t* wire, char* name) {
    std::memcpy(name, wire, kNameBytes);
    name[kNameBytes - 1] = 0;
    for (std::size_t i = kNameBytes - 1; i-- > 0;) {
        if (name[i] != ' ' && name[i] != 0) break;
        name[i] = 0;
    }
}

std::uint16_t ReadLe16(const std::uint8_t* bytes) { return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)); }

void WriteLe16(std::uint8_t* bytes, std::uint16_t value) {
    bytes[0] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
}

struct LockBit {
    std::int32_t ProfileRecord::*field;
    std::uint8_t bit;
};

constexpr LockBit kLockBits[] = {
    {&ProfileRecord::Tab, kLockTab},       {&ProfileRecord::CapsLock, kLockCapsLock},
    {&ProfileRecord::LeftWin, kLockLeftWin}, {&ProfileRecord::RightWin, kLockRightWin},
    {&ProfileRecord::App, kLockApp},       {&ProfileRecord::LeftShift, kLockLeftShift},
};

struct LightingByte {
    std::size_t position;
    std::int32_t ProfileRecord::*field;
};

// Bytes written from their field and read back into it.
constexpr LightingByte kLightingFields[] = {
    {lighting::kRed, &ProfileRecord::LtColorRed},
    {lighting::kGreen, &ProfileRecord::LtColorGreen},
    {lighting::kBlue, &ProfileRecord::LtColorBlue},
    {lighting::kControl, &ProfileRecord::LtControl},
    {lighting::kSaving, &ProfileRecord::LtSaving},
    {lighting::kTimeout, &ProfileRecord::LtTimeout},
    {lighting::kColorFlow, &ProfileRecord::LightColorFlow},
    {lighting::kLogoOption, &ProfileRecord::LogoOption},
    {lighting::kLogoRed, &ProfileRecord::LogoColorRed},
    {lighting::kLogoGreen, &ProfileRecord::LogoColorGreen},
    {lighting::kLogoBlue, &ProfileRecord::LogoColorBlue},
    {lighting::kLogoControl, &ProfileRecord::LogoLightCtl},
    {lighting::kLogoFlow, &ProfileRecord::LogoLightFLow},
    {lighting::kEffectType, &ProfileRecord::LightEffectType},
    {lighting::kLayerEffectType, &ProfileRecord::ExtendedLayerEffectType},
};

// Bytes written with a fixed value but read back into a field.
constexpr LightingByte kLightingReadOnly[] = {
    {lighting::kOption, &ProfileRecord::LtOption},
    {lighting::kColorSettingType, &ProfileRecord::ColorSettingType},
    {lighting::kColor, &ProfileRecord::LtColor},
    {lighting::kLogoSpeed, &ProfileRecord::LogoLightSpeed},
};

}  // namespace

void EncodeStandardKeys(const ProfileRecord& record, std::uint8_t profile, std::uint8_t* report) {
    Header(report, kReportStandardKeys, kStandardKeysLength, profile);
    std::copy(KeyMatrixDefaults.begin(), KeyMatrixDefaults.end(), report + kKeyMatrixOffset);
    for (std::size_t i = 0; i < StandardKeyPositions.size(); ++i) {
        if (StandardKeyPositions[i] != kNoPosition) report[kKeyMatrixOffset + StandardKeyPositions[i]] = record.standardkey[i];
    }
}

void DecodeStandardKeys(const std::uint8_t* report, ProfileRecord& record) {
    for (std::size_t i = 0; i < StandardKeyPositions.size(); ++i) {
        if (StandardKeyPositions[i] != kNoPosition) record.standardkey[i] = report[kKeyMatrixOffset + StandardKeyPositions[i]];
    }
}

void EncodeLockKeys(const ProfileRecord& record, std::uint8_t profile, std::uint8_t* report) {
    Header(report, kReportLockKeys, kLockKeysLength, profile);
    std::uint8_t flags = 0;
    for (const LockBit& lock : kLockBits) {
        if (record.*lock.field == 1) flags |= lock.bit;
    }
    report[kLockFlagsByte] = flags;
}

void DecodeLockKeys(const std::uint8_t* report, ProfileRecord& record) {
    for (const LockBit& lock : kLockBits) record.*lock.field = (report[kLockFlagsByte] & lock.bit) ? 1 : 0;
}

void EncodeKeyBlock(const KeyBlockLayout& block, const ProfileRecord& record, std::uint8_t profile,
                    std::uint8_t* report) {
    Header(report, block.reportId, block.length, profile);
    for (int j = 0; j < block.keyCount; ++j) {
        const MacroKeyInfo& entry = record.MacroKeyInfo[block.firstKey + j];
        std::uint8_t* out = report + block.recordOffset + kKeyRecordBytes * static_cast<std::size_t>(j);
        out[0] = entry.FunctionType == kFunctionStandard ? static_cast<std::uint8_t>(block.firstDefault + j) : entry.FunctionType;
        if (entry.FunctionType == kFunctionSingleKey) {
            out[1] = entry.Actions[0].EventType;  // the modifier byte
            out[2] = entry.Actions[0].KeyCode;
        }
    }
}

void DecodeKeyBlock(const KeyBlockLayout& block, const std::uint8_t* report, ProfileRecord& record) {
    for (int j = 0; j < block.keyCount; ++j) {
        MacroKeyInfo& entry = record.MacroKeyInfo[block.firstKey + j];
        const std::uint8_t* in = report + block.recordOffset + kKeyRecordBytes * static_cast<std::size_t>(j);
        const bool isDefault = in[0] >= block.firstDefault && in[0] < block.firstDefault + block.keyCount;
        entry.FunctionType = isDefault ? kFunctionStandard : in[0];
        if (in[0] == kFunctionSingleKey) {
            entry.ActionCount = 1;
            entry.Actions[0].EventType = in[1];
            entry.Actions[0].KeyCode = in[2];
        }
    }
}

void EncodeKeyLightType(std::int32_t keyLightType, std::uint8_t* flags) {
    std::fill(flags, flags + lighting::kKeyLightFlags, std::uint8_t{0});
    switch (keyLightType) {
        case 1: flags[1] = 1; break;
        case 2: flags[2] = 1; break;
        case 3: flags[0] = 1; flags[2] = 1; break;
        case 4: break;
        default: std::fill(flags, flags + lighting::kKeyLightFlags, std::uint8_t{1}); break;
    }
}

std::int32_t DecodeKeyLightType(const std::uint8_t* flags) {
    if (flags[3] == 1) return 0;
    if (flags[0] == 1) return 3;
    if (flags[1] == 1) return 1;
    if (flags[2] == 1) return 2;
    if (flags[0] == 0 && flags[1] == 0 && flags[2] == 0 && flags[3] == 0) return 2;
    return 0;
}

void EncodeLighting(const ProfileRecord& record, std::uint8_t profile, std::uint8_t* report) {
    Header(report, kReportLighting, kLightingLength, profile);
    report[lighting::kOption] = lighting::kOptionWritten;
    report[lighting::kColorSettingType] = lighting::kColorSettingTypeWritten;
    report[lighting::kColor] = lighting::kColorWritten;
    report[lighting::kFixedTwo] = lighting::kFixedTwoWritten;
    report[lighting::kLogoSpeed] = lighting::kLogoSpeedWritten;
    for (const LightingByte& byte : kLightingFields) report[byte.position] = LowByte(record.*byte.field);
    EncodeKeyLightType(record.KeyLightType, report + lighting::kKeyLightFirst);
}

void DecodeLighting(const std::uint8_t* report, ProfileRecord& record) {
    for (const LightingByte& byte : kLightingFields) record.*byte.field = report[byte.position];
    for (const LightingByte& byte : kLightingReadOnly) record.*byte.field = report[byte.position];
    record.KeyLightType = DecodeKeyLightType(report + lighting::kKeyLightFirst);
}

bool EncodeMacro(const MacroKeyInfo& entry, std::uint8_t profile, std::uint8_t key, std::uint8_t* report) {
    if (entry.ActionCount > kMaxMacroActions) return false;
    report[0] = kReportMacro;
    WriteLe16(report + 1, static_cast<std::uint16_t>(kMacroLength));
    report[macro::kProfileByte] = profile;
    report[macro::kKeyByte] = key;
    if (entry.ActionCount > 0) {
        report[macro::kOptionByte] = entry.MacroOption;
        std::fill(report + macro::kEntryNameOffset, report + macro::kCountOffset, macro::kNameFill);
        std::memcpy(report + macro::kEntryNameOffset, entry.EntryName, NameLength(entry.EntryName));
        std::memcpy(report + macro::kMacroNameOffset, entry.MacroName, NameLength(entry.MacroName));
        WriteLe16(report + macro::kCountOffset, entry.ActionCount);
        std::memcpy(report + macro::kActionsOffset, entry.Actions, entry.ActionCount * macro::kActionBytes);
    }
    StoreChecksum(report, kMacroLength);
    return true;
}

bool DecodeMacro(const std::uint8_t* report, MacroKeyInfo& entry) {
    const std::uint16_t count = ReadLe16(report + macro::kCountOffset);
    if (count > kMaxMacroActions) return false;
    entry.KeyIndex = report[macro::kKeyByte];
    entry.FunctionType = kFunctionMacro;
    entry.MacroOption = report[macro::kOptionByte];
    std::fill(std::begin(entry.Reserved), std::end(entry.Reserved), std::uint8_t{0});
    ReadName(report + macro::kEntryNameOffset, entry.EntryName);
    ReadName(report + macro::kMacroNameOffset, entry.MacroName);
    entry.ActionCount = count;
    std::memset(entry.Actions, 0, sizeof entry.Actions);
    std::memcpy(entry.Actions, report + macro::kActionsOffset, count * macro::kActionBytes);
    return true;
}

void EncodeLaunch(const MacroKeyInfo& entry, std::uint8_t profile, std::uint8_t key, std::uint8_t* report) {
    Header(report, kReportLaunch, kLaunchLength, profile);
    report[launch::kSelectorByte] = static_cast<std::uint8_t>(kSelectLaunchBase + key);
    std::memcpy(report + launch::kNameOffset, entry.MacroName, NameLength(entry.MacroName));
    for (std::size_t i = 0; i < 4; ++i) report[launch::kValueOffset + i] = static_cast<std::uint8_t>(entry.LaunchValue >> (8 * i));
}

void DecodeLaunch(const std::uint8_t* report, MacroKeyInfo& entry) {
    entry.KeyIndex = static_cast<std::uint8_t>(report[launch::kSelectorByte] - kSelectLaunchBase);
    entry.FunctionType = kFunctionLaunchEntry;
    ReadName(report + launch::kNameOffset, entry.MacroName);
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(report[launch::kValueOffset + i]) << (8 * i);
    entry.LaunchValue = value;
}

int VolumeLevelFor(int volume) {
    for (std::size_t level = 0; level < kVolumeLevelTops.size(); ++level) {
        if (volume <= kVolumeLevelTops[level]) return static_cast<int>(level);
    }
    return static_cast<int>(kVolumeLevelTops.size()) - 1;
}

bool EncodeVolume(std::uint8_t profile, int volume, std::uint8_t* report) {
    if (volume < 0 || volume > kVolumeMax) return false;
    Header(report, kReportVolume, kVolumeLength, profile);
    // Bytes 3..5 would come from key entries 45..47, which no profile record has: they are
    // sent as 0, the value a zeroed entry would give, and nothing past the record is read.
    std::fill(report + kVolumeSpareFirst, report + kVolumeSpareFirst + kVolumeSpareBytes, std::uint8_t{0});
    report[kVolumeLevelByte] = static_cast<std::uint8_t>(VolumeLevelFor(volume));
    report[kVolumeValueByte] = static_cast<std::uint8_t>(volume);
    return true;
}

SyncToken MakeSyncToken(std::uint32_t unixSeconds) {
    SyncToken token{};
    for (std::size_t i = 0; i < 4; ++i) token[i] = static_cast<std::uint8_t>(unixSeconds >> (8 * i));
    return token;
}

}  // namespace brenik::monitor::device
