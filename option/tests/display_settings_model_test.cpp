#include "display_settings_model.h"

#include "memory_ini_storage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace brenik::option {
namespace {

constexpr const char* kPath = "C:\\Brenik\\config.ini";
// Where the monitor and the display read the record: pinned as they spell it.
constexpr const char* kSection = "OSDSetting";
constexpr const char* kKey = "config";

const DisplayField& Field(const char* name) {
    const DisplayField* field = FindDisplayField(name);
    EXPECT_NE(field, nullptr) << name;
    return *field;
}

OsdSettings StoredRecord() {
    OsdSettings record{};
    record.GaugeCpu = 1;
    record.GaugeRam = -1;      // how an unset switch usually reads
    record.ProfileNotice = 2;  // not 1: off
    record.MacroNotice = 0;
    record.LockKeyNotice = 1;
    record.DisplayParam1 = 30;
    record.DisplayParam2 = 0xFFFF;  // the display's "default"
    for (std::size_t i = 0; i < sizeof record.Unread; ++i) record.Unread[i] = static_cast<std::uint8_t>(i * 7 + 1);
    return record;
}

class DisplaySettingsModelTest : public ::testing::Test {
protected:
    void Store(const OsdSettings& record) {
        ini::CIniFile config(kPath, storage);
        ASSERT_TRUE(config.WriteStruct(kSection, kKey, &record, sizeof record));
        storage.writes = 0;
    }
    OsdSettings ReadBack() {
        OsdSettings record{};
        EXPECT_TRUE(ini::CIniFile(kPath, storage).ReadStruct(kSection, kKey, &record, sizeof record));
        return record;
    }
    bool Shows(const OsdSettings& expected) const {
        return std::memcmp(&model.Shown(), &expected, sizeof expected) == 0;
    }
    bool Load() { return model.Load(ini::CIniFile(kPath, storage)); }

    ini::test::MemoryIniStorage storage;
    DisplaySettingsModel model;
};

TEST_F(DisplaySettingsModelTest, AMissingOrDamagedRecordLoadsAsZeroAndIsSaid) {
    EXPECT_FALSE(Load()) << "no file";
    storage.files[kPath] = "[OSDSetting]\r\nconfig=00\r\n";
    EXPECT_FALSE(Load()) << "no such record";
    const OsdSettings good = StoredRecord();
    Store(good);
    ASSERT_TRUE(Load());
    // A record of another length, and one whose checksum is wrong.
    ASSERT_TRUE(ini::CIniFile(kPath, storage).WriteStruct(kSection, kKey, &good, sizeof good - 4));
    EXPECT_FALSE(Load());
    EXPECT_TRUE(Shows(OsdSettings{})) << "nothing of the last load";
    Store(good);
    std::string& text = storage.files[kPath];
    const std::size_t checksum = text.rfind("\r\n") - 1;  // the checksum's last digit
    text[checksum] = text[checksum] == '0' ? '1' : '0';
    EXPECT_FALSE(Load());
    EXPECT_FALSE(model.HasEdits());
}

TEST_F(DisplaySettingsModelTest, SaveWritesTheEditsAndKeepsEveryByteNotEdited) {
    const OsdSettings stored = StoredRecord();
    Store(stored);
    ASSERT_TRUE(Load());
    std::string error;
    ASSERT_TRUE(model.Set(Field("macro-notice"), 1, error)) << error;
    ASSERT_TRUE(model.Set(Field("notice-distance"), 120, error)) << error;
    EXPECT_TRUE(model.IsEdited(Field("macro-notice")));
    EXPECT_FALSE(model.IsEdited(Field("gauge-ram")));
    ini::CIniFile config(kPath, storage);
    ASSERT_TRUE(model.Save(config));
    EXPECT_FALSE(model.HasEdits()) << "the saved values are the loaded ones now";

    OsdSettings expected = stored;
    expected.MacroNotice = 1;
    expected.DisplayParam2 = 120;
    const OsdSettings written = ReadBack();
    EXPECT_EQ(std::memcmp(&written, &expected, sizeof expected), 0);
    EXPECT_EQ(written.GaugeRam, -1) << "an odd switch nobody touched stays as it was";
    EXPECT_EQ(written.ProfileNotice, 2);
    EXPECT_EQ(std::memcmp(written.Unread, stored.Unread, sizeof stored.Unread), 0);
}

TEST_F(DisplaySettingsModelTest, AnOddSwitchIsOffAndRewrittenOnlyWhenTurnedOn) {
    Store(StoredRecord());
    ASSERT_TRUE(Load());
    std::string error;
    EXPECT_FALSE(SwitchIsOn(model.Shown().ProfileNotice));
    ASSERT_TRUE(model.Set(Field("profile-notice"), 0, error));
    EXPECT_FALSE(model.HasEdits()) << "off is what it shows already";
    EXPECT_EQ(model.Shown().ProfileNotice, 2);
    ASSERT_TRUE(model.Set(Field("profile-notice"), 1, error));
    EXPECT_TRUE(model.IsEdited(Field("profile-notice")));
    ASSERT_TRUE(model.Set(Field("profile-notice"), 0, error));
    EXPECT_FALSE(model.HasEdits()) << "back to off is back to what was loaded";
    ASSERT_TRUE(model.Set(Field("gauge-cpu"), 0, error));
    ASSERT_TRUE(model.Set(Field("gauge-ram"), 1, error));
    model.Discard();
    EXPECT_FALSE(model.HasEdits());
    EXPECT_TRUE(Shows(StoredRecord()));
}

TEST_F(DisplaySettingsModelTest, ValuesOutsideTheirRangeAreRefusedAndChangeNothing) {
    Store(StoredRecord());
    ASSERT_TRUE(Load());
    struct Row {
        const char* field;
        std::int32_t value;
        bool accepted;
    };
    const Row rows[] = {
        {"notice-time", 0, true},    {"notice-time", 1, false},    {"notice-time", 4, false},
        {"notice-time", 5, true},    {"notice-time", 100, true},   {"notice-time", 101, false},
        {"notice-time", -1, false},  {"notice-distance", 0, true}, {"notice-distance", 2000, true},
        {"notice-distance", 2001, false}, {"notice-distance", -1, false}, {"volume-notice", 2, false},
        {"call-display", -1, false}, {"call-display", 1, true},
    };
    for (const Row& row : rows) {
        model.Discard();
        std::string error;
        EXPECT_EQ(model.Set(Field(row.field), row.value, error), row.accepted) << row.field << " " << row.value;
        if (row.accepted) continue;
        EXPECT_NE(error.find(row.field), std::string::npos) << error;
        EXPECT_NE(error.find(std::to_string(row.value)), std::string::npos) << error;
        EXPECT_FALSE(model.HasEdits()) << row.field << " " << row.value;
    }
    DisplayField stranger{"stranger", &OsdSettings::GaugeCpu, 0, 5, false};  // not a row of the table
    std::string error;
    EXPECT_FALSE(model.Set(stranger, 3, error)) << "checked by the table's range, not its own";
}

TEST_F(DisplaySettingsModelTest, AFailedSaveKeepsTheEditsAndNoEditWritesNothing) {
    Store(StoredRecord());
    ASSERT_TRUE(Load());
    ini::CIniFile config(kPath, storage);
    ASSERT_TRUE(model.Save(config));
    EXPECT_EQ(storage.writes, 0) << "nothing edited, nothing written";
    std::string error;
    ASSERT_TRUE(model.Set(Field("notice-time"), 50, error));
    storage.failWrites = true;
    EXPECT_FALSE(model.Save(config));
    EXPECT_TRUE(model.IsEdited(Field("notice-time")));
    storage.failWrites = false;
    EXPECT_TRUE(model.Save(config));
    EXPECT_EQ(ReadBack().DisplayParam1, 50);
}

}  // namespace
}  // namespace brenik::option
