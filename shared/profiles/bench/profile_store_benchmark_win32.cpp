// SaveProfiles and LoadProfiles of five full profiles (every macro entry filled) against the
// same save and load done key by key through the platform's private-profile functions, in the
// same run; prints both times and their ratio. Each side reads the other's files, and a
// record that does not come back ends the run with 1.

#include "profile_store.h"
#include "program_folder.h"

#include "bench_timer.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

using brenik::ProfileRecord;
using brenik::StateRecord;

constexpr int kRounds = 3;
constexpr const char* kSection = "Setting";

// The benchmark must not change the keyboard settings of whoever runs it.
class NoRepeat final : public brenik::IKeyboardRepeatSink {
public:
    void SetKeyboardDelay(int) override {}
    void SetKeyboardSpeed(int) override {}
};

struct IntegerKey {
    const char* key;
    std::int32_t ProfileRecord::*field;
};
#define KEY(name) IntegerKey { #name, &ProfileRecord::name }
// As written: no "ExtendedMode". LogoOption is written but never read.
const IntegerKey kIntegers[] = {
    KEY(MediaOption), KEY(HDDKeyboard), KEY(KeyboardDelay), KEY(KeyboardSpeed), KEY(LtOption), KEY(LtColor),
    KEY(LtColorRed), KEY(LtColorGreen), KEY(LtColorBlue), KEY(LtControl), KEY(LtSaving), KEY(LtTimeout),
    KEY(LogoColorRed), KEY(LogoColorGreen), KEY(LogoColorBlue), KEY(LogoOption), KEY(LogoLightCtl),
    KEY(LogoLightFLow), KEY(LogoLightSpeed), KEY(MacroLiveRecordSound), KEY(ProfileSwitchSound),
    KEY(LayerSwitchSound), KEY(CountdownTimerSound), KEY(ColorSettingType), KEY(LightEffectType),
    KEY(ExtendedLayerEffectType), KEY(LightColorFlow), KEY(KeyLightType), KEY(LeftWin), KEY(RightWin), KEY(App),
    KEY(CapsLock), KEY(Tab), KEY(LeftShift), KEY(FnStatus)};
#undef KEY

std::string MacroKey(int k) { return "MacroKeyInfo" + std::to_string(k); }

void FillProfile(ProfileRecord& record, int n) {
    brenik::SetDefaultProfile(record, n);
    auto* bytes = reinterpret_cast<unsigned char*>(record.MacroKeyInfo);
    for (std::size_t i = 0; i < sizeof record.MacroKeyInfo; ++i) bytes[i] = static_cast<unsigned char>(i * 31 + n);
    for (std::size_t i = 0; i < sizeof record.standardkey; ++i) record.standardkey[i] = static_cast<std::uint8_t>(i + n);
    std::snprintf(record.GameFile, sizeof record.GameFile, "C:\\Games\\Game%d\\game.exe", n);
    std::snprintf(record.PictureFile, sizeof record.PictureFile, "C:\\Pictures\\profile%d.jpg", n);
    int value = n;
    for (const IntegerKey& integer : kIntegers) record.*integer.field = (value++ * 7) % 300 - 1;
}

// What a load gives back: ExtendedMode is never written (-1 as a missing key), LogoOption
// never read (zero, as ClearState left it).
std::unique_ptr<StateRecord> AsLoaded(const StateRecord& saved) {
    auto expected = std::make_unique<StateRecord>(saved);
    for (ProfileRecord& record : expected->Profiles) {
        record.ExtendedMode = -1;
        record.LogoOption = 0;
    }
    return expected;
}

void SavePlatform(const std::string& folder, const StateRecord& state) {
    char text[256];
    std::snprintf(text, sizeof text, "%d", state.CurrentProfile);
    WritePrivateProfileStringA(kSection, "CurrentProfile", text, brenik::ConfigIniPathIn(folder).c_str());
    for (int n = 0; n < brenik::kProfileCount; ++n) {
        const ProfileRecord& record = state.Profiles[n];
        const std::string path = brenik::ProfileFilePath(folder, n);
        const char* file = path.c_str();
        WritePrivateProfileStringA(kSection, "ProFileName", record.ProFileName, file);
        WritePrivateProfileStringA(kSection, "GameFile", record.GameFile, file);
        WritePrivateProfileStringA(kSection, "PictureFile", record.PictureFile, file);
        for (const IntegerKey& integer : kIntegers) {
            std::snprintf(text, sizeof text, "%d", record.*integer.field);
            WritePrivateProfileStringA(kSection, integer.key, text, file);
        }
        WritePrivateProfileStructA(kSection, "standardkey", const_cast<std::uint8_t*>(record.standardkey),
                                   sizeof record.standardkey, file);
        for (int k = 0; k < brenik::kKeyEntryCount; ++k) {
            WritePrivateProfileStructA(kSection, MacroKey(k).c_str(), const_cast<brenik::MacroKeyInfo*>(&record.MacroKeyInfo[k]),
                                       sizeof(brenik::MacroKeyInfo), file);
        }
    }
}

void LoadPlatform(const std::string& folder, StateRecord& state) {
    state.CurrentProfile =
        static_cast<std::int32_t>(GetPrivateProfileIntA(kSection, "CurrentProfile", -1, brenik::ConfigIniPathIn(folder).c_str()));
    for (int n = 0; n < brenik::kProfileCount; ++n) {
        ProfileRecord& record = state.Profiles[n];
        const std::string path = brenik::ProfileFilePath(folder, n);
        const char* file = path.c_str();
        GetPrivateProfileStringA(kSection, "ProFileName", "", record.ProFileName, sizeof record.ProFileName, file);
        GetPrivateProfileStringA(kSection, "GameFile", "", record.GameFile, sizeof record.GameFile, file);
        GetPrivateProfileStringA(kSection, "PictureFile", "", record.PictureFile, sizeof record.PictureFile, file);
        record.ExtendedMode = static_cast<std::int32_t>(GetPrivateProfileIntA(kSection, "ExtendedMode", -1, file));
        for (const IntegerKey& integer : kIntegers) {
            if (integer.field == &ProfileRecord::LogoOption) continue;
            record.*integer.field = static_cast<std::int32_t>(GetPrivateProfileIntA(kSection, integer.key, -1, file));
        }
        GetPrivateProfileStructA(kSection, "standardKey", record.standardkey, sizeof record.standardkey, file);
        for (int k = 0; k < brenik::kKeyEntryCount; ++k) {
            GetPrivateProfileStructA(kSection, MacroKey(k).c_str(), &record.MacroKeyInfo[k], sizeof(brenik::MacroKeyInfo), file);
        }
    }
}

// A fresh folder under the temporary directory with its "config" folder.
std::string MakeFolder(const char* name) {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder =
        std::string(temp) + "brenik-profile-bench-" + std::to_string(GetCurrentProcessId()) + "-" + name + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "config").c_str(), nullptr);
    return folder;
}

void RemoveFolder(const std::string& folder) {
    for (int n = 0; n < brenik::kProfileCount; ++n) DeleteFileA(brenik::ProfileFilePath(folder, n).c_str());
    DeleteFileA(brenik::ConfigIniPathIn(folder).c_str());
    RemoveDirectoryA((folder + "config").c_str());
    RemoveDirectoryA(folder.c_str());
}

bool Same(const StateRecord& expected, const StateRecord& loaded, const char* what) {
    if (expected.CurrentProfile != loaded.CurrentProfile) {
        std::printf("  %s: CurrentProfile %d, expected %d\n", what, loaded.CurrentProfile, expected.CurrentProfile);
        return false;
    }
    for (int n = 0; n < brenik::kProfileCount; ++n) {
        if (std::memcmp(&expected.Profiles[n], &loaded.Profiles[n], sizeof(ProfileRecord)) != 0) {
            std::printf("  %s: profile %d differs\n", what, n);
            return false;
        }
    }
    return true;
}

}  // namespace

int main() {
    auto saved = std::make_unique<StateRecord>();
    brenik::ClearState(*saved);
    saved->CurrentProfile = 2;
    for (int n = 0; n < brenik::kProfileCount; ++n) FillProfile(saved->Profiles[n], n);

    const std::string ours = MakeFolder("store");
    const std::string theirs = MakeFolder("platform");
    NoRepeat repeat;
    brenik::ProfileStore store(ours, brenik::ini::SystemIniStorage(), repeat);
    brenik::ProfileStore reader(theirs, brenik::ini::SystemIniStorage(), repeat);

    // Every round changes every profile, so that every round writes every file: a save that
    // changes nothing writes nothing.
    auto touch = [&] {
        for (ProfileRecord& record : saved->Profiles) ++record.FnStatus;
    };
    const double ourSave = brenik::test::BestSeconds(kRounds, [&] {
        touch();
        store.SaveProfiles(*saved);
    });
    const double platformSave = brenik::test::BestSeconds(kRounds, [&] {
        touch();
        SavePlatform(theirs, *saved);
    });
    store.SaveProfiles(*saved);  // both sides now hold the same
    const auto expected = AsLoaded(*saved);

    // Each side loads the files the other wrote.
    auto loaded = std::make_unique<StateRecord>();
    const double ourLoad = brenik::test::BestSeconds(kRounds, [&] {
        brenik::ClearState(*loaded);
        reader.LoadProfiles(*loaded);
    });
    bool same = Same(*expected, *loaded, "LoadProfiles of the platform's files");
    const double platformLoad = brenik::test::BestSeconds(kRounds, [&] {
        brenik::ClearState(*loaded);
        LoadPlatform(ours, *loaded);
    });
    same = Same(*expected, *loaded, "the platform's load of SaveProfiles' files") && same;

    WIN32_FILE_ATTRIBUTE_DATA info{};
    GetFileAttributesExA(brenik::ProfileFilePath(ours, 0).c_str(), GetFileExInfoStandard, &info);
    std::printf("Profile store benchmark: 5 profile files of %lu bytes (44 macro entries filled) and config.ini; "
                "best of %d rounds\n",
                static_cast<unsigned long>(info.nFileSizeLow), kRounds);
    std::printf("  SaveProfiles %8.2f ms   key by key through the platform %8.2f ms   ratio %6.1fx\n", ourSave * 1e3,
                platformSave * 1e3, platformSave / ourSave);
    std::printf("  LoadProfiles %8.2f ms   key by key through the platform %8.2f ms   ratio %6.1fx\n", ourLoad * 1e3,
                platformLoad * 1e3, platformLoad / ourLoad);
    std::printf("  target 20x: %s; each side read the other's files back %s\n",
                platformSave / ourSave >= 20 && platformLoad / ourLoad >= 20 ? "met" : "NOT met",
                same ? "unchanged" : "WRONG");

    RemoveFolder(ours);
    RemoveFolder(theirs);
    return same ? 0 : 1;
}
