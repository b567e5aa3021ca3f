#include "profile_fields.h"
#include "profile_store.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>

namespace brenik::editing {
namespace {

std::unique_ptr<ProfileRecord> DefaultProfile() {
    auto record = std::make_unique<ProfileRecord>();
    SetDefaultProfile(*record, 0);
    return record;
}

// A field the test names; a missing one fails the test and stands in as the first field
// rather than being dereferenced.
const ProfileField& Field(const char* name) {
    const ProfileField* field = FindProfileField(name);
    if (field != nullptr) return *field;
    ADD_FAILURE() << "no field " << name;
    return ProfileFields().front();
}

// The value of a text the test expects to be taken.
FieldValue Value(const char* name, std::string_view text) {
    std::string error;
    const auto value = ParseFieldValue(Field(name), text, error);
    EXPECT_TRUE(value) << name << " " << text << ": " << error;
    return value.value_or(FieldValue{});
}

TEST(ProfileFields, NamesAreUniqueAndEveryFlaggedFieldIsAnInteger) {
    std::set<std::string> names, keys;
    for (const ProfileField& field : ProfileFields()) {
        EXPECT_TRUE(names.insert(field.name).second) << field.name;
        EXPECT_TRUE(keys.insert(field.key).second) << field.key;
        if (field.flag != FlagGroup::kNone) {
            EXPECT_NE(field.integer, nullptr) << field.name;
        }
    }
    EXPECT_EQ(FindProfileField("no-such-field"), nullptr);
}

TEST(ProfileFields, FlagGroupsAreTheLightingReportsFieldsAndTheSixLocks) {
    // The lighting report carries these fields (and the key light type); the locked-key
    // report these six. Anything else must raise no flag.
    const std::set<std::string> lighting = {"LtColorRed",     "LtColorGreen",   "LtColorBlue",  "LtControl",
                                            "LtSaving",       "LtTimeout",      "LightColorFlow", "LogoOption",
                                            "LogoColorRed",   "LogoColorGreen", "LogoColorBlue", "LogoLightCtl",
                                            "LogoLightFLow",  "LightEffectType", "ExtendedLayerEffectType", "KeyLightType"};
    const std::set<std::string> locks = {"LeftWin", "RightWin", "App", "CapsLock", "Tab", "LeftShift"};
    for (const ProfileField& field : ProfileFields()) {
        const FlagGroup expected = lighting.count(field.key)  ? FlagGroup::kLighting
                                   : locks.count(field.key) ? FlagGroup::kLockKeys
                                                            : FlagGroup::kNone;
        EXPECT_EQ(field.flag, expected) << field.key;
    }
}

TEST(ProfileFields, ParsesValuesAtTheEdgesOfTheirRanges) {
    std::string error;
    EXPECT_EQ(Value("key-red", "0").integer, 0);
    EXPECT_EQ(Value("key-red", "255").integer, 255);
    EXPECT_EQ(Value("key-red", "0xFF").integer, 255);
    EXPECT_EQ(Value("repeat-delay", "3").integer, 3);
    EXPECT_EQ(Value("repeat-speed", "31").integer, 31);
    EXPECT_EQ(Value("lock-tab", "on").integer, 1);
    EXPECT_EQ(Value("lock-tab", "off").integer, 0);
    EXPECT_EQ(Value("media-player", "winamp").integer, 3);
    EXPECT_EQ(Value("media-player", "wmp").integer, 0);
    EXPECT_EQ(Value("name", std::string(249, 'n')).text.size(), 249u);
    EXPECT_EQ(Value("game", "").text, "") << "a game can be cleared";
    EXPECT_EQ(Value("name", "My \"best\" one").text, "My \"best\" one") << "inner quotes stay";
    EXPECT_EQ(Value("name", "\"half").text, "\"half") << "one quote is not a pair";

    const struct {
        const char* field;
        std::string value;
    } refused[] = {{"key-red", "256"},       {"key-red", "-1"},         {"key-red", "12a"},  {"key-red", ""},
                   {"repeat-delay", "4"},    {"repeat-speed", "32"},    {"key-light-type", "5"},
                   {"lock-tab", "yes"},      {"lock-tab", "2"},         {"media-player", "Winamp"},
                   {"media-player", "4"},    {"name", std::string(250, 'n')}, {"game", std::string(500, 'g')},
                   {"name", "two\nlines"},     {"name", " lead"},         {"name", "trail\t"},
                   {"game", "\"C:\\g.exe\""},   {"picture", "'p.jpg'"}};
    for (const auto& r : refused) {
        error.clear();
        EXPECT_FALSE(ParseFieldValue(Field(r.field), r.value, error)) << r.field << " " << r.value;
        EXPECT_NE(error.find(r.field), std::string::npos) << "the message names the field: " << error;
    }
}

TEST(ProfileFields, StoresAndFormatsValuesReadably) {
    auto record = DefaultProfile();
    std::memset(record->GameFile, 'x', sizeof record->GameFile);  // a full field: the store must clear the rest
    StoreFieldValue(Field("game"), Value("game", "C:\\g.exe"), *record);
    EXPECT_STREQ(record->GameFile, "C:\\g.exe");
    for (std::size_t i = 9; i < sizeof record->GameFile; ++i) ASSERT_EQ(record->GameFile[i], 0) << i;

    StoreFieldValue(Field("media-player"), Value("media-player", "vlc"), *record);
    EXPECT_EQ(record->MediaOption, 2);
    EXPECT_EQ(FormatFieldValue(Field("media-player"), *record), "vlc");
    EXPECT_EQ(FormatFieldValue(Field("lock-app"), *record), "on");
    EXPECT_EQ(FormatFieldValue(Field("name"), *record), "Default1");
    record->LeftWin = -1;  // a missing key in a profile file
    record->MediaOption = 9;
    EXPECT_EQ(FormatFieldValue(Field("lock-left-win"), *record), "-1");
    EXPECT_EQ(FormatFieldValue(Field("media-player"), *record), "9");
    // A name filling its whole field without a terminator is shown up to the field's end only.
    std::memset(record->ProFileName, 'z', sizeof record->ProFileName);
    EXPECT_EQ(FormatFieldValue(Field("name"), *record), std::string(250, 'z'));
}

}  // namespace
}  // namespace brenik::editing
