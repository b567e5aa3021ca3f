#include "profile_store.h"

#include "config_ini_keys.h"
#include "debug_output.h"
#include "ini_file.h"
#include "program_folder.h"
#include "state_change_flags.h"

#include <cstdio>
#include <cstring>
#include <string_view>
#include <utility>

namespace brenik {
namespace {

constexpr const char* kProfileFolder = "config\\";
constexpr const char* kMacroKeyPrefix = "MacroKeyInfo";
constexpr int kMissingInteger = -1;

struct IntegerKey {
    const char* key;
    std::int32_t ProfileRecord::*field;
};

// Every integer key has its field's name.
#define BRENIK_INTEGER_KEY(name) IntegerKey { #name, &ProfileRecord::name }

// The order in which a profile file is written. "ExtendedMode" is live state of the keyboard
// and never written; an "ExtendedMode" already in the file stays there.
constexpr IntegerKey kWrittenIntegers[] = {
    BRENIK_INTEGER_KEY(MediaOption),       BRENIK_INTEGER_KEY(HDDKeyboard),
    BRENIK_INTEGER_KEY(KeyboardDelay),     BRENIK_INTEGER_KEY(KeyboardSpeed),
    BRENIK_INTEGER_KEY(LtOption),          BRENIK_INTEGER_KEY(LtColor),
    BRENIK_INTEGER_KEY(LtColorRed),        BRENIK_INTEGER_KEY(LtColorGreen),
    BRENIK_INTEGER_KEY(LtColorBlue),       BRENIK_INTEGER_KEY(LtControl),
    BRENIK_INTEGER_KEY(LtSaving),          BRENIK_INTEGER_KEY(LtTimeout),
    BRENIK_INTEGER_KEY(LogoColorRed),      BRENIK_INTEGER_KEY(LogoColorGreen),
    BRENIK_INTEGER_KEY(LogoColorBlue),     BRENIK_INTEGER_KEY(LogoOption),
    BRENIK_INTEGER_KEY(LogoLightCtl),      BRENIK_INTEGER_KEY(LogoLightFLow),
    BRENIK_INTEGER_KEY(LogoLightSpeed),    BRENIK_INTEGER_KEY(MacroLiveRecordSound),
    BRENIK_INTEGER_KEY(ProfileSwitchSound), BRENIK_INTEGER_KEY(LayerSwitchSound),
    BRENIK_INTEGER_KEY(CountdownTimerSound), BRENIK_INTEGER_KEY(ColorSettingType),
    BRENIK_INTEGER_KEY(LightEffectType),   BRENIK_INTEGER_KEY(ExtendedLayerEffectType),
    BRENIK_INTEGER_KEY(LightColorFlow),    BRENIK_INTEGER_KEY(KeyLightType),
    BRENIK_INTEGER_KEY(LeftWin),           BRENIK_INTEGER_KEY(RightWin),
    BRENIK_INTEGER_KEY(App),               BRENIK_INTEGER_KEY(CapsLock),
    BRENIK_INTEGER_KEY(Tab),               BRENIK_INTEGER_KEY(LeftShift),
    BRENIK_INTEGER_KEY(FnStatus)};

// The order in which a profile file is read. "LogoOption" is never read: the field keeps what
// it had (zero after ClearState).
constexpr IntegerKey kReadIntegers[] = {
    BRENIK_INTEGER_KEY(MediaOption),       BRENIK_INTEGER_KEY(HDDKeyboard),
    BRENIK_INTEGER_KEY(ExtendedMode),      BRENIK_INTEGER_KEY(LtOption),
    BRENIK_INTEGER_KEY(KeyboardDelay),     BRENIK_INTEGER_KEY(KeyboardSpeed),
    BRENIK_INTEGER_KEY(LtColor),           BRENIK_INTEGER_KEY(LtColorRed),
    BRENIK_INTEGER_KEY(LtColorGreen),      BRENIK_INTEGER_KEY(LtColorBlue),
    BRENIK_INTEGER_KEY(LtControl),         BRENIK_INTEGER_KEY(LtSaving),
    BRENIK_INTEGER_KEY(LtTimeout),         BRENIK_INTEGER_KEY(LogoColorRed),
    BRENIK_INTEGER_KEY(LogoColorGreen),    BRENIK_INTEGER_KEY(LogoColorBlue),
    BRENIK_INTEGER_KEY(LogoLightCtl),      BRENIK_INTEGER_KEY(LogoLightFLow),
    BRENIK_INTEGER_KEY(LogoLightSpeed),    BRENIK_INTEGER_KEY(MacroLiveRecordSound),
    BRENIK_INTEGER_KEY(ProfileSwitchSound), BRENIK_INTEGER_KEY(LayerSwitchSound),
    BRENIK_INTEGER_KEY(CountdownTimerSound), BRENIK_INTEGER_KEY(ColorSettingType),
    BRENIK_INTEGER_KEY(LightEffectType),   BRENIK_INTEGER_KEY(ExtendedLayerEffectType),
    BRENIK_INTEGER_KEY(LightColorFlow),    BRENIK_INTEGER_KEY(KeyLightType),
    BRENIK_INTEGER_KEY(LeftWin),           BRENIK_INTEGER_KEY(RightWin),
    BRENIK_INTEGER_KEY(App),               BRENIK_INTEGER_KEY(CapsLock),
    BRENIK_INTEGER_KEY(Tab),               BRENIK_INTEGER_KEY(LeftShift),
    BRENIK_INTEGER_KEY(FnStatus)};

#undef BRENIK_INTEGER_KEY

// Written "standardkey", read "standardKey": one key, since key names ignore case.
constexpr const char* kStandardKeyWritten = "standardkey";
constexpr const char* kStandardKeyRead = "standardKey";

std::string MacroKeyName(int k) { return kMacroKeyPrefix + std::to_string(k); }

// The text of a string field, never reading past the field. A field that is not terminated
// inside itself (the shared block is written by other programs) is cut to leave room for the
// terminator, as a load would cut it.
std::string_view FieldText(const char* field, std::size_t size, const char* key) {
    const void* terminator = std::memchr(field, '\0', size);
    std::size_t length = terminator ? static_cast<std::size_t>(static_cast<const char*>(terminator) - field) : size;
    if (!terminator) {
        DebugPrintf("ProfileStore cut %s to %zu characters: not terminated inside its field\n", key, size - 1);
        length = size - 1;
    }
    return std::string_view(field, length);
}

// Copies a value into a string field, cut to fit, zero-terminated, the rest of the field zero.
void StoreFieldText(char* field, std::size_t size, std::string_view text) {
    const std::size_t length = text.size() < size ? text.size() : size - 1;
    std::memcpy(field, text.data(), length);
    std::memset(field + length, 0, size - length);
}

template <std::size_t N>
void ReadStringKey(const ini::CIniFile& ini, const char* key, char (&field)[N]) {
    StoreFieldText(field, N, ini.ReadString(kProfileSection, key, ""));
}

template <std::size_t N>
bool WriteStringKey(ini::CIniFile& ini, const char* key, const char (&field)[N]) {
    return ini.WriteString(kProfileSection, key, FieldText(field, N, key));
}

void ReadProfileKeys(const ini::CIniFile& ini, ProfileRecord& record) {
    ReadStringKey(ini, "ProFileName", record.ProFileName);
    ReadStringKey(ini, "GameFile", record.GameFile);
    ReadStringKey(ini, "PictureFile", record.PictureFile);
    for (const IntegerKey& integer : kReadIntegers) {
        record.*integer.field = ini.ReadInt(kProfileSection, integer.key, kMissingInteger);
    }
    // A missing or damaged struct leaves its bytes as they were.
    ini.ReadStruct(kProfileSection, kStandardKeyRead, record.standardkey, sizeof record.standardkey);
    for (int k = 0; k < kKeyEntryCount; ++k) {
        ini.ReadStruct(kProfileSection, MacroKeyName(k), &record.MacroKeyInfo[k], sizeof(MacroKeyInfo));
    }
}

bool WriteProfileKeys(ini::CIniFile& ini, const ProfileRecord& record) {
    bool stored = WriteStringKey(ini, "ProFileName", record.ProFileName);
    stored &= WriteStringKey(ini, "GameFile", record.GameFile);
    stored &= WriteStringKey(ini, "PictureFile", record.PictureFile);
    for (const IntegerKey& integer : kWrittenIntegers) stored &= ini.WriteInt(kProfileSection, integer.key, record.*integer.field);
    stored &= ini.WriteStruct(kProfileSection, kStandardKeyWritten, record.standardkey, sizeof record.standardkey);
    for (int k = 0; k < kKeyEntryCount; ++k) {
        stored &= ini.WriteStruct(kProfileSection, MacroKeyName(k), &record.MacroKeyInfo[k], sizeof(MacroKeyInfo));
    }
    return stored;
}

// Serves a file that was already read, so that finding out whether a profile file can be
// read and then loading it cost one read, not two. Everything else goes to the real storage.
class AlreadyRead final : public ini::IIniStorage {
public:
    AlreadyRead(ini::IIniStorage& storage, const std::string& path, ini::ReadOutcome outcome, std::string bytes)
        : storage_(storage), path_(path), outcome_(outcome), bytes_(std::move(bytes)) {}

    ini::ReadOutcome ReadAll(const std::string& path, std::string& bytes) override {
        if (path != path_ || served_) return storage_.ReadAll(path, bytes);
        served_ = true;
        bytes = std::move(bytes_);
        return outcome_;
    }
    bool ReplaceAll(const std::string& path, std::string_view bytes) override { return storage_.ReplaceAll(path, bytes); }

private:
    ini::IIniStorage& storage_;
    const std::string& path_;
    ini::ReadOutcome outcome_;
    std::string bytes_;
    bool served_ = false;
};

void LoadFromRead(ProfileRecord& record, const std::string& path, ini::ReadOutcome outcome, std::string bytes,
                  ini::IIniStorage& storage) {
    AlreadyRead served(storage, path, outcome, std::move(bytes));
    ini::CIniFile ini(path, served);
    ini.BeginBatch();
    ReadProfileKeys(ini, record);
    ini.EndBatch();
}

}  // namespace

void ClearState(StateRecord& state) {
    state.CurrentProfile = -1;
    state.DeviceValue = 0;
    std::memset(state.Profiles, 0, sizeof state.Profiles);
    ClearChangeFlags(state);
    state.Cleared = 0;
    // VolumeLevel and Unused stay as they are.
}

void SetDefaultProfile(ProfileRecord& record, int index) {
    const std::int32_t ltOption = record.LtOption;
    std::memset(&record, 0, sizeof record);  // strings, alignment, macro area and every zero default
    record.LtOption = ltOption;

    std::snprintf(record.ProFileName, sizeof record.ProFileName, "Default%d", index + 1);
    record.HDDKeyboard = 1;
    record.LtColor = 1;
    record.LtControl = 8;
    record.LtSaving = 5;
    record.LtTimeout = 5;
    record.ColorSettingType = 2;
    record.LightEffectType = 2;
    record.ExtendedLayerEffectType = 3;
    record.LtColorRed = 255;
    record.LogoLightCtl = 1;
    record.LogoLightSpeed = 2;
    record.MacroLiveRecordSound = 1;
    record.ProfileSwitchSound = 1;
    record.LayerSwitchSound = 1;
    record.CountdownTimerSound = 1;
    record.KeyboardSpeed = 31;
    record.LeftWin = 1;
    record.RightWin = 1;
    record.App = 1;
    record.CapsLock = 1;
    record.Tab = 1;
    record.LeftShift = 1;
    std::memcpy(record.standardkey, kDefaultStandardKeys.data(), kDefaultStandardKeys.size());
    for (int k = 0; k < kKeyEntryCount; ++k) {
        record.MacroKeyInfo[k].KeyIndex = static_cast<std::uint8_t>(k);
        record.MacroKeyInfo[k].FunctionType = kFunctionStandard;
    }
}

bool LoadProfileFile(ProfileRecord& record, const std::string& path, ini::IIniStorage& storage) {
    std::string bytes;
    const ini::ReadOutcome outcome = storage.ReadAll(path, bytes);
    if (outcome == ini::ReadOutcome::kFailed) return false;
    LoadFromRead(record, path, outcome, std::move(bytes), storage);
    return true;
}

bool SaveProfileFile(const ProfileRecord& record, const std::string& path, ini::IIniStorage& storage) {
    ini::CIniFile ini(path, storage);
    ini.BeginBatch();
    const bool stored = WriteProfileKeys(ini, record);
    return ini.EndBatch() && stored;
}

bool ApplyKeyboardRepeat(const StateRecord& state, IKeyboardRepeatSink& sink) {
    const ProfileRecord* current = CurrentProfileRecord(state);
    if (!current) return false;
    sink.SetKeyboardDelay(current->KeyboardDelay);
    sink.SetKeyboardSpeed(current->KeyboardSpeed);
    return true;
}

std::string ProfileFilePath(const std::string& programFolder, int n) {
    return programFolder + kProfileFolder + "Default" + std::to_string(n) + ".cmp";
}

ProfileStore::ProfileStore(std::string programFolder, ini::IIniStorage& storage, IKeyboardRepeatSink& repeat)
    : programFolder_(std::move(programFolder)), storage_(storage), repeat_(repeat) {}

bool ProfileStore::LoadProfiles(StateRecord& state) {
    std::lock_guard<std::mutex> lock(saving_);
    state.CurrentProfile = ini::CIniFile(ConfigIniPathIn(programFolder_), storage_).ReadInt(kConfigSettingSection, kCurrentProfileKey, -1);
    for (int n = 0; n < kProfileCount; ++n) {
        const std::string path = ProfileFilePath(programFolder_, n);
        std::string bytes;
        const ini::ReadOutcome outcome = storage_.ReadAll(path, bytes);
        unreadable_[n] = outcome == ini::ReadOutcome::kFailed;
        if (outcome == ini::ReadOutcome::kRead) {
            LoadFromRead(state.Profiles[n], path, outcome, std::move(bytes), storage_);
            continue;
        }
        if (unreadable_[n]) {
            DebugPrintf("ProfileStore could not read %s: profile %d has its defaults and the file is left alone\n",
                        path.c_str(), n);
        }
        SetDefaultProfile(state.Profiles[n], n);
    }
    return true;
}

bool ProfileStore::SaveProfiles(const StateRecord& state) {
    std::lock_guard<std::mutex> lock(saving_);
    ApplyKeyboardRepeat(state, repeat_);
    ini::CIniFile(ConfigIniPathIn(programFolder_), storage_).WriteInt(kConfigSettingSection, kCurrentProfileKey, state.CurrentProfile);
    for (int n = 0; n < kProfileCount; ++n) {
        if (unreadable_[n]) continue;
        SaveProfileFile(state.Profiles[n], ProfileFilePath(programFolder_, n), storage_);
    }
    return true;
}

bool ProfileStore::IsProtected(int n) const {
    std::lock_guard<std::mutex> lock(saving_);
    return IsProfileIndex(n) && unreadable_[n];
}

}  // namespace brenik
