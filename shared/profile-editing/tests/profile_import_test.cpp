#include "profile_import.h"

#include "debug_capture.h"
#include "ini_file.h"
#include "memory_ini_storage.h"
#include "profile_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace brenik::editing {
namespace {

constexpr const char* kPath = "C:\\export\\p.cmp";

class ProfileImport : public ::testing::Test {
protected:
    void SetUp() override {
        exported = std::make_unique<ProfileRecord>();
        SetDefaultProfile(*exported, 2);
        std::strcpy(exported->ProFileName, "Exported");
        std::strcpy(exported->GameFile, "C:\\Games\\g.exe");
        exported->LtColorBlue = 200;
        exported->LogoOption = 3;
        exported->MediaOption = 2;
        exported->FnStatus = -5;
        exported->standardkey[0] = 0x04;
        exported->MacroKeyInfo[5].FunctionType = kFunctionMacro;
        exported->MacroKeyInfo[5].ActionCount = 2;
        exported->MacroKeyInfo[5].Actions[1] = {0x04, 2, 30};
        ASSERT_TRUE(SaveProfileFile(*exported, kPath, storage));
        target = std::make_unique<ProfileRecord>();
        SetDefaultProfile(*target, 0);
        target->ExtendedMode = 1;  // the keyboard's layer right now
    }

    void SetKey(const char* key, const std::string& value) {
        ini::CIniFile(kPath, storage).WriteString("Setting", key, value);
    }
    void RemoveKey(const std::string& key) {
        std::string& text = storage.files[kPath];
        const std::size_t at = text.find("\n" + key + "=");
        ASSERT_NE(at, std::string::npos) << key;
        text.erase(at + 1, text.find('\n', at + 1) - at);
    }
    // Import must fail, name the key in its message, and leave the target as it was.
    void ExpectRefused(const std::string& mentions) {
        const auto untouched = std::make_unique<ProfileRecord>(*target);
        std::string error;
        EXPECT_FALSE(ImportProfileFile(kPath, storage, *target, error));
        EXPECT_NE(error.find(mentions), std::string::npos) << error;
        EXPECT_EQ(std::memcmp(untouched.get(), target.get(), sizeof *target), 0);
    }

    ini::test::MemoryIniStorage storage;
    std::unique_ptr<ProfileRecord> exported;
    std::unique_ptr<ProfileRecord> target;
};

TEST_F(ProfileImport, GivesBackWhatWasExportedButKeepsTheLiveLayer) {
    std::string error;
    ASSERT_TRUE(ImportProfileFile(kPath, storage, *target, error)) << error;
    EXPECT_EQ(target->ExtendedMode, 1);
    target->ExtendedMode = exported->ExtendedMode;
    EXPECT_EQ(std::memcmp(target.get(), exported.get(), sizeof *target), 0) << "LogoOption included";
    EXPECT_EQ(storage.writes, 1) << "only the export wrote";
}

TEST_F(ProfileImport, RefusesMissingKeysNamingThem) {
    RemoveKey("LtColorRed");
    ExpectRefused("LtColorRed is missing");
}

TEST_F(ProfileImport, RefusesMissingLogoOptionAndTables) {
    RemoveKey("LogoOption");
    ExpectRefused("LogoOption");
    SetUp();
    RemoveKey("standardkey");
    ExpectRefused("standardkey");
    SetUp();
    RemoveKey("MacroKeyInfo43");
    ExpectRefused("MacroKeyInfo43");
}

TEST_F(ProfileImport, RefusesValuesOutOfRange) {
    const struct {
        const char* key;
        const char* value;
    } cases[] = {{"LtColorRed", "256"}, {"KeyboardDelay", "4"}, {"KeyboardSpeed", "-1"}, {"MediaOption", "4"},
                 {"CapsLock", "2"},     {"KeyLightType", "5"},  {"HDDKeyboard", "-1"},   {"LtOption", "300"}};
    for (const auto& c : cases) {
        SetUp();
        SetKey(c.key, c.value);
        ExpectRefused(c.key);
    }
}

TEST_F(ProfileImport, RefusesNumbersThePlatformsReaderWouldBend) {
    // "abc" would load as 0, "12abc" as 12 and 4294967551 would wrap to 255: each in range.
    const struct {
        const char* key;
        const char* value;
        const char* says;
    } cases[] = {{"LtColorRed", "abc", "not a whole number"},
                 {"LtColorGreen", "12abc", "not a whole number"},
                 {"LtColorBlue", "4294967551", "out of range"},
                 {"FnStatus", "4294967551", "out of range"},
                 {"Tab", "0x1", "not a whole number"},
                 {"KeyboardDelay", "+1", "not a whole number"},
                 {"KeyboardSpeed", "-", "not a whole number"},
                 {"FnStatus", "-2147483649", "out of range"}};
    for (const auto& c : cases) {
        SetUp();
        SetKey(c.key, c.value);
        ExpectRefused(std::string(c.key) + " = ");
        std::string error;
        ImportProfileFile(kPath, storage, *target, error);
        EXPECT_NE(error.find(c.says), std::string::npos) << c.key << "=" << c.value << ": " << error;
    }
    SetUp();
    SetKey("FnStatus", "-2147483648");
    SetKey("LtColorRed", "007");
    std::string error;
    ASSERT_TRUE(ImportProfileFile(kPath, storage, *target, error)) << error;
    EXPECT_EQ(target->FnStatus, -2147483647 - 1);
    EXPECT_EQ(target->LtColorRed, 7);
}

TEST_F(ProfileImport, RefusesTextsThatWouldChangeWhenTheMonitorReloadsThem) {
    // The reader strips one pair of outer quotes; what is left must survive a save and reload.
    SetKey("ProFileName", "\"\"Quoted\"\"");
    ExpectRefused("ProFileName: a pair of outer quotes");
    SetUp();
    SetKey("GameFile", "\"  padded.exe\"");
    ExpectRefused("GameFile: blanks at the start or end");
    SetUp();
    SetKey("PictureFile", "\"it's\"");  // inner quotes alone are fine
    std::string error;
    EXPECT_TRUE(ImportProfileFile(kPath, storage, *target, error)) << error;
    EXPECT_STREQ(target->PictureFile, "it's");
}

TEST_F(ProfileImport, RefusesTooLongStringsAndDamagedEntries) {
    SetKey("ProFileName", std::string(250, 'n'));
    ExpectRefused("ProFileName has 250 characters");
    SetUp();
    SetKey("GameFile", std::string(499, 'g'));
    std::string error;
    EXPECT_TRUE(ImportProfileFile(kPath, storage, *target, error)) << "499 fit: " << error;

    SetUp();
    auto entry = std::make_unique<MacroKeyInfo>(exported->MacroKeyInfo[9]);
    entry->ActionCount = 401;
    ini::CIniFile(kPath, storage).WriteStruct("Setting", "MacroKeyInfo9", entry.get(), sizeof *entry);
    ExpectRefused("MacroKeyInfo9 holds 401 actions");

    SetUp();
    entry = std::make_unique<MacroKeyInfo>(exported->MacroKeyInfo[3]);
    std::memset(entry->ProgramPath, 'p', sizeof entry->ProgramPath);
    ini::CIniFile(kPath, storage).WriteStruct("Setting", "MacroKeyInfo3", entry.get(), sizeof *entry);
    ExpectRefused("MacroKeyInfo3 has a program path");

    SetUp();
    std::string& text = storage.files[kPath];
    const std::size_t at = text.find("MacroKeyInfo7=") + 20;
    text[at] = text[at] == '0' ? '1' : '0';  // the checksum no longer matches
    ExpectRefused("MacroKeyInfo7 is missing or damaged");
}

TEST_F(ProfileImport, RefusesFilesThatCannotBeRead) {
    storage.unreadable.insert(kPath);
    ExpectRefused("cannot be read");
    std::string error;
    EXPECT_FALSE(ImportProfileFile("C:\\nowhere.cmp", storage, *target, error));
    EXPECT_NE(error.find("does not exist"), std::string::npos);
    storage.files["C:\\empty.cmp"] = "";
    EXPECT_FALSE(ImportProfileFile("C:\\empty.cmp", storage, *target, error));
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

TEST_F(ProfileImport, ARefusalIsReportedToTheDebugger) {
    test::ClearDebugLines();
    SetKey("Tab", "9");
    ExpectRefused("Tab");
    EXPECT_TRUE(test::DebugLinesContain("refused to import"));
}

}  // namespace
}  // namespace brenik::editing
