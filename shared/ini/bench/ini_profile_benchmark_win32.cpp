// Saves and loads five full profile files through CIniFile and through the platform's
// private-profile functions, in the same run, and prints both times and their ratio.
// Each side's files are read back by the other, so a wrong value ends the run with 1.

#include "ini_file.h"

#include "bench_timer.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kProfiles = 5;
constexpr int kRounds = 5;
constexpr std::size_t kKeyTableBytes = 97;
constexpr std::size_t kMacroEntryBytes = 1936;
constexpr int kMacroEntries = 44;
constexpr const char* kSection = "Setting";

const char* const kStringKeys[] = {"ProFileName", "GameFile", "PictureFile"};
const char* const kIntKeys[] = {
    "MediaOption", "HDDKeyboard", "KeyboardDelay", "KeyboardSpeed", "LtOption", "LtColor", "LtColorRed",
    "LtColorGreen", "LtColorBlue", "LtControl", "LtSaving", "LtTimeout", "LogoColorRed", "LogoColorGreen",
    "LogoColorBlue", "LogoOption", "LogoLightCtl", "LogoLightFLow", "LogoLightSpeed", "MacroLiveRecordSound",
    "ProfileSwitchSound", "LayerSwitchSound", "CountdownTimerSound", "ColorSettingType", "LightEffectType",
    "ExtendedLayerEffectType", "LightColorFlow", "KeyLightType", "LeftWin", "RightWin", "App", "CapsLock", "Tab",
    "LeftShift", "FnStatus", "ExtendedMode"};
constexpr int kIntCount = static_cast<int>(std::size(kIntKeys));

struct Profile {
    std::array<std::string, 3> strings;
    std::array<int, kIntCount> ints{};
    std::vector<std::uint8_t> keyTable = std::vector<std::uint8_t>(kKeyTableBytes);
    std::vector<std::vector<std::uint8_t>> macros =
        std::vector<std::vector<std::uint8_t>>(kMacroEntries, std::vector<std::uint8_t>(kMacroEntryBytes));
    bool operator==(const Profile& o) const {
        return strings == o.strings && ints == o.ints && keyTable == o.keyTable && macros == o.macros;
    }
};

Profile MakeProfile(int n) {
    Profile p;
    p.strings = {"Default" + std::to_string(n + 1), "C:\\Games\\Game" + std::to_string(n) + "\\game.exe", "pic.jpg"};
    for (int i = 0; i < kIntCount; ++i) p.ints[i] = (i * 7 + n) % 300 - 1;
    for (std::size_t i = 0; i < kKeyTableBytes; ++i) p.keyTable[i] = static_cast<std::uint8_t>(i + n);
    for (int k = 0; k < kMacroEntries; ++k) {
        for (std::size_t i = 0; i < kMacroEntryBytes; ++i) p.macros[k][i] = static_cast<std::uint8_t>(i * 31 + k + n);
    }
    return p;
}

std::string MacroKey(int k) { return "MacroKeyInfo" + std::to_string(k); }

void SaveOurs(const std::string& path, const Profile& p) {
    brenik::ini::CIniFile ini(path);
    ini.BeginBatch();
    for (int i = 0; i < 3; ++i) ini.WriteString(kSection, kStringKeys[i], p.strings[i]);
    for (int i = 0; i < kIntCount; ++i) ini.WriteInt(kSection, kIntKeys[i], p.ints[i]);
    ini.WriteStruct(kSection, "standardkey", p.keyTable.data(), p.keyTable.size());
    for (int k = 0; k < kMacroEntries; ++k) ini.WriteStruct(kSection, MacroKey(k), p.macros[k].data(), kMacroEntryBytes);
    ini.EndBatch();
}

Profile LoadOurs(const std::string& path) {
    Profile p;
    brenik::ini::CIniFile ini(path);
    ini.BeginBatch();
    for (int i = 0; i < 3; ++i) p.strings[i] = ini.ReadString(kSection, kStringKeys[i], "");
    for (int i = 0; i < kIntCount; ++i) p.ints[i] = ini.ReadInt(kSection, kIntKeys[i], -1);
    ini.ReadStruct(kSection, "standardKey", p.keyTable.data(), p.keyTable.size());
    for (int k = 0; k < kMacroEntries; ++k) ini.ReadStruct(kSection, MacroKey(k), p.macros[k].data(), kMacroEntryBytes);
    ini.EndBatch();
    return p;
}

void SavePlatform(const std::string& path, const Profile& p) {
    const char* file = path.c_str();
    for (int i = 0; i < 3; ++i) WritePrivateProfileStringA(kSection, kStringKeys[i], p.strings[i].c_str(), file);
    for (int i = 0; i < kIntCount; ++i) {
        char text[256];
        std::snprintf(text, sizeof text, "%d", p.ints[i]);
        WritePrivateProfileStringA(kSection, kIntKeys[i], text, file);
    }
    WritePrivateProfileStructA(kSection, "standardkey", const_cast<std::uint8_t*>(p.keyTable.data()), kKeyTableBytes, file);
    for (int k = 0; k < kMacroEntries; ++k) {
        WritePrivateProfileStructA(kSection, MacroKey(k).c_str(), const_cast<std::uint8_t*>(p.macros[k].data()),
                                   kMacroEntryBytes, file);
    }
}

Profile LoadPlatform(const std::string& path) {
    Profile p;
    const char* file = path.c_str();
    for (int i = 0; i < 3; ++i) {
        char text[2048];
        GetPrivateProfileStringA(kSection, kStringKeys[i], "", text, sizeof text, file);
        p.strings[i] = text;
    }
    for (int i = 0; i < kIntCount; ++i) p.ints[i] = static_cast<int>(GetPrivateProfileIntA(kSection, kIntKeys[i], -1, file));
    GetPrivateProfileStructA(kSection, "standardKey", p.keyTable.data(), kKeyTableBytes, file);
    for (int k = 0; k < kMacroEntries; ++k) {
        GetPrivateProfileStructA(kSection, MacroKey(k).c_str(), p.macros[k].data(), kMacroEntryBytes, file);
    }
    return p;
}

}  // namespace

int main() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "brenik-ini-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<Profile> profiles;
    std::vector<std::string> ours, theirs;
    for (int n = 0; n < kProfiles; ++n) {
        profiles.push_back(MakeProfile(n));
        ours.push_back(folder + "ours" + std::to_string(n) + ".cmp");
        theirs.push_back(folder + "platform" + std::to_string(n) + ".cmp");
    }

    const double ourSave = brenik::test::BestSeconds(kRounds, [&] { for (int n = 0; n < kProfiles; ++n) SaveOurs(ours[n], profiles[n]); });
    const double platformSave = brenik::test::BestSeconds(kRounds, [&] { for (int n = 0; n < kProfiles; ++n) SavePlatform(theirs[n], profiles[n]); });
    std::vector<Profile> loaded(kProfiles);
    const double ourLoad = brenik::test::BestSeconds(kRounds, [&] { for (int n = 0; n < kProfiles; ++n) loaded[n] = LoadOurs(theirs[n]); });
    bool same = loaded == profiles;
    const double platformLoad = brenik::test::BestSeconds(kRounds, [&] { for (int n = 0; n < kProfiles; ++n) loaded[n] = LoadPlatform(ours[n]); });
    same = same && loaded == profiles;

    WIN32_FILE_ATTRIBUTE_DATA info{};
    GetFileAttributesExA(ours[0].c_str(), GetFileExInfoStandard, &info);
    std::printf("INI profile benchmark: %d profile files of %lu bytes (3 strings, %d integers, a %zu-byte struct, "
                "%d structs of %zu bytes); best of %d rounds\n",
                kProfiles, static_cast<unsigned long>(info.nFileSizeLow), kIntCount, kKeyTableBytes, kMacroEntries,
                kMacroEntryBytes, kRounds);
    std::printf("  save: CIniFile %8.2f ms   platform %8.2f ms   ratio %6.1fx\n", ourSave * 1e3, platformSave * 1e3,
                platformSave / ourSave);
    std::printf("  load: CIniFile %8.2f ms   platform %8.2f ms   ratio %6.1fx\n", ourLoad * 1e3, platformLoad * 1e3,
                platformLoad / ourLoad);
    std::printf("  each side read the other's files back %s\n", same ? "unchanged" : "WRONG");

    for (int n = 0; n < kProfiles; ++n) {
        DeleteFileA(ours[n].c_str());
        DeleteFileA(theirs[n].c_str());
    }
    RemoveDirectoryA(folder.c_str());
    return same ? 0 : 1;
}
