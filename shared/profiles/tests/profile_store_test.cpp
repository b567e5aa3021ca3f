#include "profile_store.h"

#include "debug_capture.h"
#include "memory_ini_storage.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace brenik {
namespace {

const std::string kFolder = "D:\\Games\\Kb\\";
const std::string kConfigIni = kFolder + "config.ini";

std::string ProfilePath(int n) { return kFolder + "config\\Default" + std::to_string(n) + ".cmp"; }

class RecordingRepeat final : public IKeyboardRepeatSink {
public:
    void SetKeyboardDelay(int delay) override { calls.emplace_back("delay", delay); }
    void SetKeyboardSpeed(int speed) override { calls.emplace_back("speed", speed); }
    std::vector<std::pair<std::string, int>> calls;
};

// The record is 434360 bytes; keep it off the stack.
std::unique_ptr<StateRecord> ClearedState() {
    auto state = std::make_unique<StateRecord>();
    std::memset(state.get(), 0x5A, sizeof *state);
    ClearState(*state);
    return state;
}

// Offsets of every integer field that the file carries, with its key.
struct IntegerField {
    const char* key;
    std::size_t offset;
};
#define FIELD(name) IntegerField { #name, offsetof(ProfileRecord, name) }
const IntegerField kIntegerFields[] = {
    FIELD(MediaOption), FIELD(HDDKeyboard), FIELD(ExtendedMode), FIELD(LtOption), FIELD(LtColor), FIELD(LtControl),
    FIELD(LtSaving), FIELD(LtTimeout), FIELD(ColorSettingType), FIELD(LightEffectType),
    FIELD(ExtendedLayerEffectType), FIELD(LightColorFlow), FIELD(KeyLightType), FIELD(LtColorRed),
    FIELD(LtColorGreen), FIELD(LtColorBlue), FIELD(LogoColorRed), FIELD(LogoColorGreen), FIELD(LogoColorBlue),
    FIELD(LogoLightCtl), FIELD(LogoLightFLow), FIELD(LogoLightSpeed), FIELD(MacroLiveRecordSound),
    FIELD(ProfileSwitchSound), FIELD(LayerSwitchSound), FIELD(CountdownTimerSound), FIELD(KeyboardDelay),
    FIELD(KeyboardSpeed), FIELD(LeftWin), FIELD(RightWin), FIELD(App), FIELD(CapsLock), FIELD(Tab), FIELD(LeftShift),
    FIELD(FnStatus)};
#undef FIELD

std::int32_t IntegerAt(const ProfileRecord& record, std::size_t offset) {
    std::int32_t value;
    std::memcpy(&value, reinterpret_cast<const char*>(&record) + offset, sizeof value);
    return value;
}

// A record with every byte of every field set, different per seed: strings of printable
// characters (the INI format cannot keep outer blanks or quotes), integers of both signs,
// macro entries full. Alignment bytes are zero, as they are never stored.
void FillProfile(ProfileRecord& record, int seed) {
    auto* bytes = reinterpret_cast<unsigned char*>(&record);
    std::uint32_t x = 2463534242u + static_cast<std::uint32_t>(seed);
    for (std::size_t i = 0; i < sizeof record; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes[i] = static_cast<unsigned char>(x);
    }
    auto fillText = [seed](char* field, std::size_t size, std::size_t length) {
        std::memset(field, 0, size);
        for (std::size_t i = 0; i < length; ++i) field[i] = static_cast<char>('a' + (i * 7 + seed) % 26);
    };
    fillText(record.ProFileName, sizeof record.ProFileName, 249);
    fillText(record.GameFile, sizeof record.GameFile, 37 + seed);
    fillText(record.PictureFile, sizeof record.PictureFile, 499);
    std::memset(record.Alignment1, 0, sizeof record.Alignment1);
    std::memset(record.Alignment2, 0, sizeof record.Alignment2);
    record.KeyboardDelay = -1;
    record.LtColorRed = -2147483647 - 1;
}

// The key names of section "Setting" in file order.
std::vector<std::string> KeysInOrder(const std::string& text) {
    std::vector<std::string> keys;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t equals = line.find('=');
        if (equals != line.npos) keys.push_back(line.substr(0, equals));
    }
    return keys;
}

class ProfileStoreTest : public ::testing::Test {
protected:
    void SetUp() override { test::ClearDebugLines(); }

    ini::test::MemoryIniStorage storage;
    RecordingRepeat repeat;
    ProfileStore store{kFolder, storage, repeat};
};

TEST_F(ProfileStoreTest, FirstStartWithAnEmptyConfigFolderGivesDefaultsAndTheFirstSaveCreatesTheFiles) {
    auto state = ClearedState();
    ASSERT_TRUE(store.LoadProfiles(*state));
    EXPECT_EQ(state->CurrentProfile, -1);
    for (int n = 0; n < kProfileCount; ++n) {
        EXPECT_STREQ(state->Profiles[n].ProFileName, ("Default" + std::to_string(n + 1)).c_str());
        EXPECT_EQ(state->Profiles[n].KeyboardSpeed, 31) << n;
        EXPECT_FALSE(store.IsProtected(n));
    }

    ASSERT_TRUE(store.SaveProfiles(*state));
    EXPECT_TRUE(repeat.calls.empty()) << "no current profile, nothing to push";
    for (int n = 0; n < kProfileCount; ++n) {
        ASSERT_EQ(storage.files.count(ProfilePath(n)), 1u) << n;
        EXPECT_NE(storage.files[ProfilePath(n)].find("\r\nProFileName=Default" + std::to_string(n + 1) + "\r\n"),
                  std::string::npos);
    }
    EXPECT_EQ(storage.files[kConfigIni], "[Setting]\r\nCurrentProfile=-1\r\n");
}

TEST_F(ProfileStoreTest, ASavedProfileLoadsBackWholeExceptExtendedModeAndLogoOption) {
    auto saved = ClearedState();
    for (int n = 0; n < kProfileCount; ++n) FillProfile(saved->Profiles[n], n);
    saved->CurrentProfile = 3;
    ASSERT_TRUE(store.SaveProfiles(*saved));
    // A file that already holds "ExtendedMode" keeps it and loads it.
    storage.files[ProfilePath(1)] += "ExtendedMode=1\r\n";

    auto loaded = ClearedState();
    ProfileStore second(kFolder, storage, repeat);
    ASSERT_TRUE(second.LoadProfiles(*loaded));
    EXPECT_EQ(loaded->CurrentProfile, 3);
    for (int n = 0; n < kProfileCount; ++n) {
        ProfileRecord& expected = saved->Profiles[n];
        expected.ExtendedMode = n == 1 ? 1 : -1;  // never written: the file's own key, else missing
        expected.LogoOption = 0;                  // never read: stays as ClearState left it
        EXPECT_EQ(std::memcmp(&expected, &loaded->Profiles[n], sizeof(ProfileRecord)), 0) << "profile " << n;
    }
}

TEST_F(ProfileStoreTest, AFreshSaveWritesTheKeysInTheirOrder) {
    auto state = ClearedState();
    SetDefaultProfile(state->Profiles[0], 0);
    ASSERT_TRUE(SaveProfileFile(state->Profiles[0], ProfilePath(0), storage));

    std::vector<std::string> expected = {
        "ProFileName", "GameFile", "PictureFile", "MediaOption", "HDDKeyboard", "KeyboardDelay", "KeyboardSpeed",
        "LtOption", "LtColor", "LtColorRed", "LtColorGreen", "LtColorBlue", "LtControl", "LtSaving", "LtTimeout",
        "LogoColorRed", "LogoColorGreen", "LogoColorBlue", "LogoOption", "LogoLightCtl", "LogoLightFLow",
        "LogoLightSpeed", "MacroLiveRecordSound", "ProfileSwitchSound", "LayerSwitchSound", "CountdownTimerSound",
        "ColorSettingType", "LightEffectType", "ExtendedLayerEffectType", "LightColorFlow", "KeyLightType", "LeftWin",
        "RightWin", "App", "CapsLock", "Tab", "LeftShift", "FnStatus", "standardkey"};
    for (int k = 0; k < kKeyEntryCount; ++k) expected.push_back("MacroKeyInfo" + std::to_string(k));

    const std::string& text = storage.files[ProfilePath(0)];
    EXPECT_EQ(text.rfind("[Setting]\r\nProFileName=Default1\r\nGameFile=\r\nPictureFile=\r\nMediaOption=0\r\n"
                         "HDDKeyboard=1\r\nKeyboardDelay=0\r\nKeyboardSpeed=31\r\nLtOption=0\r\n",
                         0),
              0u)
        << text.substr(0, 200);
    EXPECT_EQ(KeysInOrder(text), expected);
    EXPECT_EQ(storage.writes, 1) << "one file, one write";
}

TEST_F(ProfileStoreTest, AFileWithOnlyAProfileNameGivesMinusOneAndZeroBytes) {
    storage.files[ProfilePath(0)] = "[Setting]\r\nProFileName=Racing\r\n";
    auto state = ClearedState();
    ASSERT_TRUE(store.LoadProfiles(*state));

    const ProfileRecord& record = state->Profiles[0];
    EXPECT_STREQ(record.ProFileName, "Racing");
    EXPECT_STREQ(record.GameFile, "");
    for (const IntegerField& field : kIntegerFields) EXPECT_EQ(IntegerAt(record, field.offset), -1) << field.key;
    EXPECT_EQ(record.LogoOption, 0) << "never read";
    const auto* from = reinterpret_cast<const unsigned char*>(&record.standardkey);
    const auto* to = reinterpret_cast<const unsigned char*>(&record.FnStatus);
    for (const unsigned char* p = from; p < to; ++p) ASSERT_EQ(*p, 0) << "byte " << (p - from) << " after standardkey";
    // The other profiles, without files, have their defaults.
    EXPECT_STREQ(state->Profiles[1].ProFileName, "Default2");
}

TEST_F(ProfileStoreTest, TheKeyTableIsWrittenAsStandardkeyAndReadAsStandardKey) {
    auto state = ClearedState();
    SetDefaultProfile(state->Profiles[2], 2);
    state->Profiles[2].standardkey[5] = 0x99;
    ASSERT_TRUE(SaveProfileFile(state->Profiles[2], ProfilePath(2), storage));
    EXPECT_NE(storage.files[ProfilePath(2)].find("\r\nstandardkey="), std::string::npos);

    ProfileRecord& loaded = state->Profiles[3];
    std::memset(&loaded, 0, sizeof loaded);
    ASSERT_TRUE(LoadProfileFile(loaded, ProfilePath(2), storage));
    EXPECT_EQ(loaded.standardkey[5], 0x99);
    EXPECT_EQ(std::memcmp(loaded.standardkey, state->Profiles[2].standardkey, kStandardKeyCount), 0);

    // A file that spells it another way is read, and a save replaces that line in place.
    std::string& text = storage.files[ProfilePath(2)];
    text.replace(text.find("standardkey="), 11, "STANDARDKEY");
    std::memset(&loaded, 0, sizeof loaded);
    ASSERT_TRUE(LoadProfileFile(loaded, ProfilePath(2), storage));
    EXPECT_EQ(loaded.standardkey[5], 0x99);
    ASSERT_TRUE(SaveProfileFile(state->Profiles[2], ProfilePath(2), storage));
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(lower.find("standardkey="), lower.rfind("standardkey=")) << "no second line for the same key";
}

TEST_F(ProfileStoreTest, EverySavePushesTheCurrentProfilesRepeatSettings) {
    auto state = ClearedState();
    store.LoadProfiles(*state);
    state->CurrentProfile = 2;
    state->Profiles[2].KeyboardDelay = 3;
    state->Profiles[2].KeyboardSpeed = 17;
    state->Profiles[4].KeyboardSpeed = 5;  // only another profile changed

    store.SaveProfiles(*state);
    state->Profiles[4].LtColor = 7;
    store.SaveProfiles(*state);
    const std::vector<std::pair<std::string, int>> expected = {
        {"delay", 3}, {"speed", 17}, {"delay", 3}, {"speed", 17}};
    EXPECT_EQ(repeat.calls, expected);
    EXPECT_EQ(storage.files[kConfigIni], "[Setting]\r\nCurrentProfile=2\r\n");
}

TEST_F(ProfileStoreTest, AnIndexOutsideTheProfilesIsStoredAsItStandsAndPushesNothing) {
    storage.files[kConfigIni] = "[Setting]\r\nCurrentProfile=7\r\nDevice=1\r\n";
    auto state = ClearedState();
    store.LoadProfiles(*state);
    EXPECT_EQ(state->CurrentProfile, 7) << "no range check at load";
    EXPECT_FALSE(ApplyKeyboardRepeat(*state, repeat));

    state->CurrentProfile = -1;
    ASSERT_TRUE(store.SaveProfiles(*state));
    EXPECT_TRUE(repeat.calls.empty());
    EXPECT_EQ(storage.files[kConfigIni], "[Setting]\r\nCurrentProfile=-1\r\nDevice=1\r\n");
    EXPECT_EQ(storage.files.count(ProfilePath(4)), 1u) << "the profiles are saved all the same";
}

TEST_F(ProfileStoreTest, KeysThatASaveDoesNotWriteStayInTheFile) {
    storage.files[ProfilePath(0)] =
        "; written by the settings program\r\n[Setting]\r\nExtendedMode=1\r\nProFileName=Old\r\nCustom=kept\r\n"
        "[Other]\r\nX=1\r\n";
    auto state = ClearedState();
    store.LoadProfiles(*state);
    EXPECT_EQ(state->Profiles[0].ExtendedMode, 1);
    std::strcpy(state->Profiles[0].ProFileName, "New");
    state->Profiles[0].ExtendedMode = 0;
    store.SaveProfiles(*state);

    const std::string& text = storage.files[ProfilePath(0)];
    EXPECT_EQ(text.rfind("; written by the settings program\r\n[Setting]\r\nExtendedMode=1\r\nProFileName=New\r\n"
                         "Custom=kept\r\nGameFile=\r\n",
                         0),
              0u)
        << text.substr(0, 200);
    EXPECT_NE(text.find("[Other]\r\nX=1\r\n"), std::string::npos);
}

TEST_F(ProfileStoreTest, StringsLongerThanTheirFieldsAreCutOnLoad) {
    const std::string name(300, 'n'), game(600, 'g'), picture(2047, 'p');
    storage.files[ProfilePath(0)] =
        "[Setting]\r\nProFileName=" + name + "\r\nGameFile=" + game + "\r\nPictureFile=" + picture + "\r\n";
    auto state = std::make_unique<StateRecord>();
    ProfileRecord& record = state->Profiles[0];
    std::memset(&record, 'x', sizeof record);
    ASSERT_TRUE(LoadProfileFile(record, ProfilePath(0), storage));

    EXPECT_EQ(std::string(record.ProFileName), name.substr(0, 249));
    EXPECT_EQ(std::string(record.GameFile), game.substr(0, 499));
    EXPECT_EQ(std::string(record.PictureFile), picture.substr(0, 499));
    EXPECT_EQ(record.Alignment1[0], 'x') << "the bytes after the last string are not touched";
}

TEST_F(ProfileStoreTest, UnterminatedStringsFromTheSharedBlockAreWrittenCutToTheirFields) {
    auto state = ClearedState();
    ProfileRecord& record = state->Profiles[1];
    SetDefaultProfile(record, 1);
    std::memset(record.ProFileName, 'A', sizeof record.ProFileName);
    std::memset(record.GameFile, 'B', sizeof record.GameFile);
    std::memset(record.PictureFile, 'C', sizeof record.PictureFile);
    ASSERT_TRUE(SaveProfileFile(record, ProfilePath(1), storage));

    const std::string& text = storage.files[ProfilePath(1)];
    EXPECT_NE(text.find("\r\nProFileName=" + std::string(249, 'A') + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nGameFile=" + std::string(499, 'B') + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nPictureFile=" + std::string(499, 'C') + "\r\n"), std::string::npos);
    EXPECT_TRUE(test::DebugLinesContain("ProFileName"));

    ProfileRecord& loaded = state->Profiles[2];
    ASSERT_TRUE(LoadProfileFile(loaded, ProfilePath(1), storage));
    EXPECT_EQ(loaded.ProFileName[248], 'A');
    EXPECT_EQ(loaded.ProFileName[249], '\0');
}

TEST_F(ProfileStoreTest, AFileThatCannotBeReadGetsDefaultsAndIsNeverOverwritten) {
    const std::string original = "[Setting]\r\nProFileName=Precious\r\nKeyboardSpeed=9\r\n";
    storage.files[ProfilePath(2)] = original;
    storage.unreadable.insert(ProfilePath(2));
    auto state = ClearedState();
    ASSERT_TRUE(store.LoadProfiles(*state));
    EXPECT_STREQ(state->Profiles[2].ProFileName, "Default3");
    EXPECT_TRUE(store.IsProtected(2));
    EXPECT_TRUE(test::DebugLinesContain("Default2.cmp"));

    storage.unreadable.clear();  // readable again later, while the monitor runs
    ASSERT_TRUE(store.SaveProfiles(*state));
    EXPECT_EQ(storage.files[ProfilePath(2)], original);
    EXPECT_EQ(storage.files.count(ProfilePath(3)), 1u);

    storage.unreadable.insert(ProfilePath(0));
    ProfileRecord& record = state->Profiles[0];
    const ProfileRecord before = record;
    EXPECT_FALSE(LoadProfileFile(record, ProfilePath(0), storage));
    EXPECT_EQ(std::memcmp(&before, &record, sizeof record), 0) << "an unreadable file leaves the record";
}

TEST_F(ProfileStoreTest, LoadAndSaveTouchEachFileOnce) {
    auto state = ClearedState();
    store.LoadProfiles(*state);
    store.SaveProfiles(*state);
    ProfileStore second(kFolder, storage, repeat);
    storage.reads = storage.writes = 0;
    second.LoadProfiles(*state);
    EXPECT_EQ(storage.reads, 1 + kProfileCount);
    storage.reads = storage.writes = 0;
    state->CurrentProfile = 0;
    second.SaveProfiles(*state);
    EXPECT_EQ(storage.reads, 1 + kProfileCount);
    EXPECT_EQ(storage.writes, 1) << "only config.ini changed";
}

TEST_F(ProfileStoreTest, SavesThatCannotBeWrittenAreLostQuietly) {
    auto state = ClearedState();
    store.LoadProfiles(*state);
    storage.failWrites = true;
    EXPECT_TRUE(store.SaveProfiles(*state));
    EXPECT_TRUE(storage.files.empty());
    EXPECT_FALSE(SaveProfileFile(state->Profiles[0], ProfilePath(0), storage));
}

TEST(SetDefaultProfile, GivesEveryFieldItsDefaultAndLeavesLtOption) {
    auto state = std::make_unique<StateRecord>();
    ProfileRecord& record = state->Profiles[4];
    std::memset(&record, 0xEE, sizeof record);
    record.LtOption = 77;
    SetDefaultProfile(record, 4);

    EXPECT_STREQ(record.ProFileName, "Default5");
    EXPECT_EQ(record.ProFileName[9], '\0');
    EXPECT_EQ(record.ProFileName[249], '\0');
    EXPECT_STREQ(record.GameFile, "");
    EXPECT_EQ(record.PictureFile[499], '\0');
    EXPECT_EQ(record.LtOption, 77);
    const struct {
        const char* key;
        std::int32_t value;
    } kDefaults[] = {{"MediaOption", 0}, {"HDDKeyboard", 1}, {"ExtendedMode", 0}, {"LtColor", 1},
                     {"LtControl", 8}, {"LtSaving", 5}, {"LtTimeout", 5}, {"ColorSettingType", 2},
                     {"LightEffectType", 2}, {"ExtendedLayerEffectType", 3}, {"LightColorFlow", 0},
                     {"KeyLightType", 0}, {"LtColorRed", 255}, {"LtColorGreen", 0}, {"LtColorBlue", 0},
                     {"LogoColorRed", 0}, {"LogoColorGreen", 0}, {"LogoColorBlue", 0}, {"LogoLightCtl", 1},
                     {"LogoLightFLow", 0}, {"LogoLightSpeed", 2}, {"MacroLiveRecordSound", 1},
                     {"ProfileSwitchSound", 1}, {"LayerSwitchSound", 1}, {"CountdownTimerSound", 1},
                     {"KeyboardDelay", 0}, {"KeyboardSpeed", 31}, {"LeftWin", 1}, {"RightWin", 1}, {"App", 1},
                     {"CapsLock", 1}, {"Tab", 1}, {"LeftShift", 1}, {"FnStatus", 0}};
    for (const IntegerField& field : kIntegerFields) {
        if (std::string(field.key) == "LtOption") continue;
        bool found = false;
        for (const auto& row : kDefaults) {
            if (std::string(row.key) != field.key) continue;
            found = true;
            EXPECT_EQ(IntegerAt(record, field.offset), row.value) << field.key;
        }
        EXPECT_TRUE(found) << field.key << " has no row";
    }
    EXPECT_EQ(record.LogoOption, 0);
    EXPECT_EQ(record.Alignment1[0] | record.Alignment1[1] | record.Alignment2[0] | record.Alignment2[2], 0);

    // The key table, as published for the keyboard's 97 standard keys.
    std::istringstream published(
        "35 1E 1F 20 21 22 23 24 25 26 27 2D 2E 89 2A 2B 14 1A 08 15 17 1C 18 0C 12 13 2F 30 31 39 04 16 07 09 0A 0B "
        "0D 0E 0F 33 34 32 28 E1 64 1D 1B 06 19 05 11 10 36 37 38 87 E5 E0 BF E2 2C E6 E7 65 E4 49 4C 50 4A 4D 52 51 "
        "4B 4E 4F 53 5F 5C 59 54 60 5D 5A 62 55 61 5E 5B 63 56 57 85 58 29 46 47 48");
    int key = 0;
    unsigned code = 0;
    while (published >> std::hex >> code) {
        ASSERT_LT(key, kStandardKeyCount);
        EXPECT_EQ(record.standardkey[key], code) << "standard key " << key;
        ++key;
    }
    EXPECT_EQ(key, kStandardKeyCount);

    for (int k = 0; k < kKeyEntryCount; ++k) {
        const MacroKeyInfo& entry = record.MacroKeyInfo[k];
        EXPECT_EQ(entry.KeyIndex, k);
        EXPECT_EQ(entry.FunctionType, kFunctionStandard);
        const auto* bytes = reinterpret_cast<const unsigned char*>(&entry);
        for (std::size_t i = 2; i < sizeof entry; ++i) ASSERT_EQ(bytes[i], 0) << "entry " << k << " byte " << i;
    }
}

TEST(ClearState, EmptiesEverythingButTheVolumeAndTheOtherProgramsBytes) {
    auto state = std::make_unique<StateRecord>();
    std::memset(state.get(), 0xAB, sizeof *state);
    ClearState(*state);
    EXPECT_EQ(state->CurrentProfile, -1);
    const auto* bytes = reinterpret_cast<const unsigned char*>(state.get());
    for (std::size_t i = 4; i < sizeof *state; ++i) {
        const bool kept = (i >= 434248 && i < 434252) || (i >= 434336 && i < 434356);
        ASSERT_EQ(bytes[i], kept ? 0xAB : 0x00) << "byte " << i;
    }
}

}  // namespace
}  // namespace brenik
