#include "settings_model.h"

#include "edit_history.h"

#include "change_flags.h"
#include "profile_store.h"
#include "record_editor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace brenik::option {
namespace {

using editing::ProfileField;
using Flags = std::vector<std::string>;
using Items = std::vector<EditItem>;

std::unique_ptr<StateRecord> DefaultBlock() {
    auto block = std::make_unique<StateRecord>();
    std::memset(block.get(), 0, sizeof *block);
    for (int p = 0; p < kProfileCount; ++p) SetDefaultProfile(block->Profiles[p], p);
    block->CurrentProfile = 0;
    return block;
}

const ProfileField& F(const char* name) {
    const ProfileField* field = editing::FindProfileField(name);
    EXPECT_NE(field, nullptr) << name;
    return *field;
}

EditItem Item(int profile, const char* name) { return EditItem::Field(profile, F(name)); }

void Set(SettingsModel& model, int profile, const char* name, std::string_view text) {
    std::string error;
    ASSERT_TRUE(model.SetField(profile, F(name), text, error)) << name << ": " << error;
}

MacroKeyInfo SingleKeyEntry(int key, std::uint8_t code) {
    MacroKeyInfo entry{};
    entry.KeyIndex = static_cast<std::uint8_t>(key);
    entry.FunctionType = kFunctionSingleKey;
    entry.ActionCount = 1;
    entry.Actions[0].KeyCode = code;
    return entry;
}

bool SameProfiles(const StateRecord& a, const StateRecord& b) {
    return a.CurrentProfile == b.CurrentProfile && std::memcmp(a.Profiles, b.Profiles, sizeof a.Profiles) == 0;
}

class SettingsModelTest : public ::testing::Test {
protected:
    void SetUp() override { model.Load(*block); }

    std::unique_ptr<StateRecord> block = DefaultBlock();
    SettingsModel model;
};

// ---- Applying: one ProfileEdit, through the editing core's RecordEditor, writes what is shown
// and raises exactly the flags of what differs.

TEST_F(SettingsModelTest, AnApplyWritesWhatIsShownWithExactlyTheFlagsOfWhatDiffers) {
    struct Row {
        const char* what;
        std::function<void(SettingsModel&)> edit;
        Flags flags;
    };
    const Row rows[] = {
        {"a colour of profile 3", [](SettingsModel& m) { Set(m, 2, "key-green", "77"); }, {"LightingChanged[2]"}},
        {"a logo colour", [](SettingsModel& m) { Set(m, 4, "logo-blue", "9"); }, {"LightingChanged[4]"}},
        {"a switch of profile", [](SettingsModel& m) { m.SetCurrentProfile(3); }, {"ProfileChanged"}},
        {"a sound", [](SettingsModel& m) { Set(m, 1, "sound-countdown", "off"); }, {}},
        {"key repeat and the media player",
         [](SettingsModel& m) {
             Set(m, 0, "repeat-delay", "3");
             Set(m, 0, "media-player", "winamp");
         },
         {}},
        {"a name", [](SettingsModel& m) { Set(m, 3, "name", "Racing"); }, {}},
        {"a key lock", [](SettingsModel& m) { Set(m, 4, "lock-tab", "off"); }, {"LockKeysChanged[4]"}},
        {"the standard keys",
         [](SettingsModel& m) {
             std::uint8_t keys[kStandardKeyCount];
             std::memcpy(keys, m.ShownProfile(0).standardkey, sizeof keys);
             keys[10] = 0x3A;
             m.SetStandardKeys(0, keys);
         },
         {"StandardKeyChanged[0]"}},
        {"a key entry the keyboard has", [](SettingsModel& m) { m.SetKeyEntry(1, 5, SingleKeyEntry(5, 0x04)); },
         {"KeyChanged[1][5]"}},
        {"a key entry only the record has", [](SettingsModel& m) { m.SetKeyEntry(1, 43, SingleKeyEntry(43, 0x04)); },
         {}},
        {"several at once",
         [](SettingsModel& m) {
             Set(m, 3, "lock-app", "off");
             Set(m, 0, "logo-red", "200");
             m.SetCurrentProfile(2);
             Set(m, 1, "sound-macro-record", "off");
         },
         {"LightingChanged[0]", "ProfileChanged", "LockKeysChanged[3]"}},
    };
    for (const Row& row : rows) {
        model.Discard();
        row.edit(model);
        ASSERT_TRUE(model.HasEdits()) << row.what;
        const editing::ProfileEdit edit = model.ApplyEdit();

        auto written = std::make_unique<StateRecord>(*block);
        // Flags an earlier edit left in the block go: the monitor would send their reports again.
        written->LightingChanged[1] = 1;
        written->KeyChanged[3][7] = 1;
        editing::RecordEditor editor;
        ASSERT_TRUE(editor.Apply(edit, *written, editing::FlagMode::kReplace)) << row.what;
        EXPECT_EQ(editing::RaisedFlags(*written), row.flags) << row.what << ": " << edit.what;
        EXPECT_TRUE(SameProfiles(*written, model.Shown())) << row.what << ": the block holds what was shown";
        EXPECT_FALSE(SameProfiles(*written, *block)) << row.what;
        EXPECT_TRUE(editor.StillHolds(edit, *written)) << row.what;
    }
}

TEST_F(SettingsModelTest, TheApplyNamesItsEditsAndItsProfile) {
    Set(model, 2, "key-red", "12");
    model.SetKeyEntry(0, 4, SingleKeyEntry(4, 0x04));
    model.SetCurrentProfile(4);
    editing::ProfileEdit edit = model.ApplyEdit();
    EXPECT_EQ(edit.what, "profile 3: key-red = 12; profile 1: key 5 = single A; current profile = 5");
    EXPECT_EQ(edit.profile, 2) << "the first edited profile";
    EXPECT_TRUE(edit.forceProfileFlag);
    EXPECT_FALSE(edit.setsCurrent) << "profiles were edited too";

    model.Discard();
    model.SetCurrentProfile(1);
    edit = model.ApplyEdit();
    EXPECT_EQ(edit.profile, 1);
    EXPECT_TRUE(edit.setsCurrent) << "a switch alone reads back the current index";
}

TEST_F(SettingsModelTest, ATextIsWrittenWithZeroFillAndUneditedBytesStayAsTheBlockHadThem) {
    // Bytes after the terminator: left by an older, longer name.
    std::memcpy(block->Profiles[1].ProFileName, "Old\0stale", 10);
    std::memcpy(block->Profiles[1].GameFile, "g.exe\0left", 11);
    model.Load(*block);
    Set(model, 1, "name", "New");
    Set(model, 1, "key-blue", "1");
    auto written = std::make_unique<StateRecord>(*block);
    editing::RecordEditor editor;
    ASSERT_TRUE(editor.Apply(model.ApplyEdit(), *written, editing::FlagMode::kReplace));
    char expected[sizeof written->Profiles[1].ProFileName] = "New";
    EXPECT_EQ(std::memcmp(written->Profiles[1].ProFileName, expected, sizeof expected), 0);
    EXPECT_EQ(std::memcmp(written->Profiles[1].GameFile, "g.exe\0left", 11), 0);
}

// ---- Rule 1: a live refresh keeps the user's value and names what changed under it.

TEST_F(SettingsModelTest, ALiveRefreshKeepsEveryEditAndNamesTheItemsChangedUnderThem) {
    Set(model, 0, "light-control", "20");
    Set(model, 0, "lock-left-win", "off");
    model.SetCurrentProfile(2);

    auto live = std::make_unique<StateRecord>(*block);
    live->Profiles[0].LtControl = 30;    // the keyboard's lighting control, under the user's edit
    live->Profiles[0].ExtendedMode = 1;  // the layer: nobody edits it
    live->Profiles[1].LeftWin = 0;       // the Windows key of a profile the user left alone
    live->CurrentProfile = 1;            // a profile key, under the user's switch
    EXPECT_EQ(model.Refresh(*live), (Items{Item(0, "light-control"), EditItem::CurrentProfile()}));

    EXPECT_EQ(model.ShownInteger(0, F("light-control")), 20);
    EXPECT_EQ(model.ShownInteger(0, F("lock-left-win")), 0);
    EXPECT_EQ(model.ShownCurrentProfile(), 2);
    EXPECT_EQ(model.ShownProfile(0).ExtendedMode, 1);
    EXPECT_EQ(model.ShownInteger(1, F("lock-left-win")), 0);
    EXPECT_EQ(model.Edits().size(), 3u);

    EXPECT_TRUE(model.Refresh(*live).empty()) << "nothing changed since";
    live->Profiles[0].LtControl = 20;  // the keyboard set what the user set
    EXPECT_TRUE(model.Refresh(*live).empty());
    EXPECT_FALSE(model.IsEdited(Item(0, "light-control"))) << "no edit is left";
    EXPECT_TRUE(model.IsEdited(Item(0, "lock-left-win")));
}

// ---- Rule 2: an edit back to the loaded value is no edit.

TEST_F(SettingsModelTest, AnEditBackToTheLoadedValueIsNoEdit) {
    std::memcpy(block->Profiles[0].ProFileName, "Mine\0junk", 10);
    model.Load(*block);
    struct Row {
        const char* what;
        std::function<void(SettingsModel&)> there;
        std::function<void(SettingsModel&)> back;
    };
    const Row rows[] = {
        {"a number", [](SettingsModel& m) { Set(m, 1, "key-red", "10"); },
         [](SettingsModel& m) { Set(m, 1, "key-red", "255"); }},
        {"a switch by number", [](SettingsModel& m) { Set(m, 1, "lock-tab", "off"); },
         [](SettingsModel& m) {
             std::string error;
             ASSERT_TRUE(m.SetInteger(1, F("lock-tab"), 1, error));
         }},
        {"a text, whatever follows its end in the block", [](SettingsModel& m) { Set(m, 0, "name", "Other"); },
         [](SettingsModel& m) { Set(m, 0, "name", "Mine"); }},
        {"the current profile", [](SettingsModel& m) { m.SetCurrentProfile(4); },
         [](SettingsModel& m) { m.SetCurrentProfile(0); }},
        {"a key entry", [](SettingsModel& m) { m.SetKeyEntry(2, 3, SingleKeyEntry(3, 0x05)); },
         [&](SettingsModel& m) { m.SetKeyEntry(2, 3, block->Profiles[2].MacroKeyInfo[3]); }},
        {"a copy from an equal profile", [](SettingsModel& m) { Set(m, 3, "sound-layer-switch", "off"); },
         [](SettingsModel& m) { m.CopySection(Section::kSounds, 1, 3); }},
    };
    for (const Row& row : rows) {
        row.there(model);
        EXPECT_TRUE(model.HasEdits()) << row.what;
        row.back(model);
        EXPECT_FALSE(model.HasEdits()) << row.what;
        EXPECT_TRUE(SameProfiles(model.Shown(), *block)) << row.what;
        EXPECT_EQ(std::memcmp(model.ApplyEdit().what.c_str(), "", 1), 0) << row.what;
    }
    auto written = std::make_unique<StateRecord>(*block);
    editing::RecordEditor editor;
    EXPECT_FALSE(editor.Apply(model.ApplyEdit(), *written, editing::FlagMode::kReplace)) << "nothing to write";
}

// ---- Rule 3: applied edits wait for the answer; what the block lost comes back as edits.

TEST_F(SettingsModelTest, PendingEditsTheBlockLostComeBackAsEditsAndAreNamed) {
    Set(model, 1, "key-red", "10");
    Set(model, 2, "lock-tab", "off");
    model.SetCurrentProfile(3);
    auto written = std::make_unique<StateRecord>(*block);
    editing::RecordEditor editor;
    ASSERT_TRUE(editor.Apply(model.ApplyEdit(), *written, editing::FlagMode::kReplace));
    model.Sent();
    EXPECT_TRUE(model.IsSending());
    EXPECT_FALSE(model.HasEdits());
    EXPECT_TRUE(model.IsPending(Item(1, "key-red")));
    EXPECT_EQ(model.ShownInteger(1, F("key-red")), 10) << "a pending value is shown";

    // The monitor published its own copy before it took ours: the lock and the switch are lost.
    auto answered = std::make_unique<StateRecord>(*written);
    answered->Profiles[2].Tab = 1;
    answered->CurrentProfile = 0;
    EXPECT_EQ(model.Answered(*answered), (Items{Item(2, "lock-tab"), EditItem::CurrentProfile()}));
    EXPECT_FALSE(model.IsSending());
    EXPECT_FALSE(model.IsPending(Item(1, "key-red")));
    EXPECT_FALSE(model.IsEdited(Item(1, "key-red"))) << "held: done";
    EXPECT_TRUE(model.IsEdited(Item(2, "lock-tab")));
    EXPECT_EQ(model.ShownInteger(2, F("lock-tab")), 0);
    EXPECT_EQ(model.ShownCurrentProfile(), 3);

    // Applied once more, the lost items alone go.
    const editing::ProfileEdit again = model.ApplyEdit();
    EXPECT_EQ(again.what, "profile 3: lock-tab = off; current profile = 4");
    ASSERT_TRUE(editor.Apply(again, *answered, editing::FlagMode::kReplace));
    EXPECT_EQ(editing::RaisedFlags(*answered), (Flags{"ProfileChanged", "LockKeysChanged[2]"}));
    model.Sent();
    EXPECT_TRUE(model.Answered(*answered).empty());
    EXPECT_FALSE(model.HasEdits());
    EXPECT_TRUE(SameProfiles(model.Shown(), *answered));
}

TEST_F(SettingsModelTest, WhileSendingTheUserEditsOnTopOfThePendingValues) {
    Set(model, 1, "key-red", "10");
    model.Sent();
    auto live = std::make_unique<StateRecord>(*block);  // a refresh before the monitor took it
    EXPECT_TRUE(model.Refresh(*live).empty());
    EXPECT_TRUE(model.IsPending(Item(1, "key-red")));
    EXPECT_EQ(model.ShownInteger(1, F("key-red")), 10);

    Set(model, 1, "key-red", "255");  // the loaded value, but not what is on its way
    EXPECT_TRUE(model.IsEdited(Item(1, "key-red")));
    Set(model, 1, "key-red", "10");
    EXPECT_FALSE(model.IsEdited(Item(1, "key-red"))) << "the pending value is what it shows without an edit";
    Set(model, 1, "key-red", "40");

    // The block lost the apply, but the newer edit stays as typed and is not named.
    EXPECT_TRUE(model.Answered(*live).empty());
    EXPECT_EQ(model.ShownInteger(1, F("key-red")), 40);
    EXPECT_TRUE(model.IsEdited(Item(1, "key-red")));
}

TEST_F(SettingsModelTest, DiscardDropsTheEditsButKeepsWhatIsPending) {
    Set(model, 0, "repeat-speed", "5");
    model.Sent();
    Set(model, 0, "repeat-delay", "2");
    Set(model, 4, "name", "Gone");
    model.Discard();
    EXPECT_FALSE(model.HasEdits());
    EXPECT_TRUE(model.IsPending(Item(0, "repeat-speed")));
    EXPECT_TRUE(model.IsSending());
    EXPECT_EQ(model.ShownInteger(0, F("repeat-speed")), 5);
    EXPECT_EQ(model.ShownInteger(0, F("repeat-delay")), block->Profiles[0].KeyboardDelay);
    EXPECT_EQ(model.ShownText(4, F("name")), "Default5");

    Set(model, 3, "name", "Dropped");
    model.Load(*block);
    EXPECT_FALSE(model.HasEdits()) << "a reload drops the edits";
    EXPECT_TRUE(model.IsPending(Item(0, "repeat-speed"))) << "the answer is still to come";
}

// ---- Refusals: the editing core's checks and non-editable fields; nothing changes.

TEST_F(SettingsModelTest, ARefusedValueChangesNothingAndSaysWhy) {
    struct Row {
        int profile;
        const char* field;
        std::string text;
        const char* why;
    };
    const Row rows[] = {
        {0, "key-red", "256", "0..255"},
        {0, "key-red", "-1", "0..255"},
        {1, "repeat-delay", "4", "0..3"},
        {1, "repeat-speed", "fast", "0..31"},
        {2, "media-player", "foobar", "wmp|itunes|vlc|winamp"},
        {2, "lock-tab", "2", "on|off"},
        {3, "name", std::string(250, 'n'), "do not fit"},
        {3, "picture", std::string(500, 'p'), "do not fit"},
        {3, "name", " Padded", "blanks"},
        {3, "name", "Padded\t", "blanks"},
        {4, "game", "\"C:\\game.exe\"", "quotes"},
        {4, "game", "a\nb", "line break"},
        {4, "game", std::string("a\0b", 3), "NUL"},
        {0, "extended-layer", "on", "cannot be changed"},
        {0, "logo-speed", "3", "cannot be changed"},
        {0, "light-option", "1", "cannot be changed"},
        {0, "fn-status", "1", "cannot be changed"},
        {5, "key-red", "1", "no profile 6"},
        {-1, "key-red", "1", "no profile 0"},
    };
    const auto before = std::make_unique<StateRecord>(model.Shown());
    for (const Row& row : rows) {
        std::string error;
        EXPECT_FALSE(model.SetField(row.profile, F(row.field), row.text, error)) << row.field;
        EXPECT_NE(error.find(row.field), std::string::npos) << error;
        EXPECT_NE(error.find(row.why), std::string::npos) << row.field << ": " << error;
        EXPECT_FALSE(model.HasEdits()) << row.field;
    }
    std::string error;
    EXPECT_FALSE(model.SetInteger(0, F("key-green"), 300, error));
    EXPECT_FALSE(model.SetInteger(0, F("lock-app"), -1, error));
    EXPECT_FALSE(model.SetInteger(0, F("media-player"), 4, error));
    EXPECT_FALSE(model.SetInteger(0, F("name"), 1, error));
    EXPECT_NE(error.find("name"), std::string::npos) << error;
    EXPECT_FALSE(model.HasEdits());
    EXPECT_EQ(std::memcmp(&model.Shown(), before.get(), sizeof *before), 0);
}

TEST_F(SettingsModelTest, ValuesAreTakenAsTheEditingCoreReadsThem) {
    std::string error;
    ASSERT_TRUE(model.SetInteger(1, F("media-player"), 2, error)) << error;
    EXPECT_EQ(model.ShownText(1, F("media-player")), "vlc");
    Set(model, 1, "key-assignments", "off");
    EXPECT_EQ(model.ShownInteger(1, F("key-assignments")), 0);
    Set(model, 1, "name", std::string(249, 'x'));
    EXPECT_EQ(model.ShownText(1, F("name")).size(), 249u);
    Set(model, 2, "game", "C:\\Spiele\\\xC4rger.exe");  // ANSI bytes, as stored
    EXPECT_EQ(model.ShownText(2, F("game")), "C:\\Spiele\\\xC4rger.exe");

    // A copy of the row is still the table's field.
    const ProfileField copy = F("key-blue");
    ASSERT_TRUE(model.SetField(3, copy, "7", error));
    EXPECT_TRUE(model.IsEdited(Item(3, "key-blue")));
}

// ---- Sections and copies.

TEST(SettingsSections, EverySettingAllTakesBelongsToExactlyOneSection) {
    const Section parts[] = {Section::kLighting, Section::kKeyLocks, Section::kSounds,
                             Section::kKeyRepeat, Section::kMediaPlayer, Section::kKeys};
    Items joined;
    for (const Section part : parts) {
        for (const EditItem& item : SectionItems(part, 2)) {
            EXPECT_EQ(std::count(joined.begin(), joined.end(), item), 0) << "in two sections";
            joined.push_back(item);
        }
    }
    const Items all = SectionItems(Section::kAll, 2);
    EXPECT_EQ(all.size(), joined.size());
    for (const EditItem& item : all) {
        EXPECT_EQ(item.profile, 2);
        EXPECT_EQ(std::count(joined.begin(), joined.end(), item), 1);
        if (item.kind != EditItem::Kind::kField) continue;
        EXPECT_TRUE(item.field->editable) << item.field->name;
        for (const char* who : {"name", "game", "picture"}) EXPECT_STRNE(item.field->name, who);
    }
    EXPECT_TRUE(SectionItems(Section::kAll, 5).empty());
}

TEST(SettingsSections, TheLightingSectionIsWhatRaisesTheLightingFlagAndCanBeEdited) {
    const Items lighting = SectionItems(Section::kLighting, 0);
    EXPECT_EQ(lighting.size(), 16u);
    for (const ProfileField& field : editing::ProfileFields()) {
        const bool listed = std::count(lighting.begin(), lighting.end(), EditItem::Field(0, field)) == 1;
        EXPECT_EQ(listed, field.flag == editing::FlagGroup::kLighting && field.editable) << field.name;
    }
    const Items keys = SectionItems(Section::kKeys, 0);
    ASSERT_EQ(keys.size(), 2u + kKeyEntryCount) << "whether keys are exchanged, the map and every entry";
    EXPECT_EQ(keys[0], Item(0, "key-assignments"));
}

TEST_F(SettingsModelTest, ACopyOfTheLightingTakesTheShownLightingAndNothingElse) {
    block->Profiles[0].LtColorGreen = 100;
    block->Profiles[0].LogoColorRed = 50;
    block->Profiles[0].LtOption = 9;  // not editable: not copied
    block->Profiles[0].Tab = 0;
    model.Load(*block);
    Set(model, 0, "key-blue", "33");  // shown, not yet applied: copied as shown

    model.CopySection(Section::kLighting, 0, 3);
    EXPECT_EQ(model.Edits(), (Items{Item(0, "key-blue"), Item(3, "key-green"), Item(3, "key-blue"), Item(3, "logo-red")}));
    for (const EditItem& item : SectionItems(Section::kLighting, 3)) {
        EXPECT_EQ(model.ShownInteger(3, *item.field), model.ShownInteger(0, *item.field)) << item.field->name;
    }
    EXPECT_EQ(model.ShownProfile(3).LtOption, block->Profiles[3].LtOption);
    EXPECT_EQ(model.ShownProfile(3).Tab, 1);

    model.CopySection(Section::kLighting, 3, 3);
    model.CopySection(Section::kLighting, 0, 7);
    EXPECT_EQ(model.Edits().size(), 4u) << "no copy onto itself or onto no profile";
}

TEST_F(SettingsModelTest, ACopyOfAllLeavesTheNamePictureAndGameAndTheKeyboardsOwnFields) {
    ProfileRecord& from = block->Profiles[1];
    std::strcpy(from.ProFileName, "Source");
    std::strcpy(from.GameFile, "source.exe");
    std::strcpy(from.PictureFile, "source.png");
    from.MediaOption = 2;
    from.HDDKeyboard = 0;
    from.LtControl = 1;
    from.LeftShift = 0;
    from.ProfileSwitchSound = 0;
    from.KeyboardDelay = 2;
    from.standardkey[3] = 0x77;
    from.MacroKeyInfo[12] = SingleKeyEntry(12, 0x10);
    from.MacroKeyInfo[43] = SingleKeyEntry(43, 0x11);
    from.LogoLightSpeed = 9;
    from.ExtendedMode = 1;
    from.FnStatus = 3;
    std::strcpy(block->Profiles[4].GameFile, "mine.exe");
    model.Load(*block);

    model.CopySection(Section::kAll, 1, 4);
    const ProfileRecord& to = model.ShownProfile(4);
    const ProfileRecord& was = block->Profiles[4];
    EXPECT_STREQ(to.ProFileName, "Default5");
    EXPECT_STREQ(to.GameFile, "mine.exe");
    EXPECT_STREQ(to.PictureFile, "");
    EXPECT_EQ(to.LogoLightSpeed, was.LogoLightSpeed);
    EXPECT_EQ(to.ExtendedMode, was.ExtendedMode);
    EXPECT_EQ(to.FnStatus, was.FnStatus);
    for (const EditItem& item : SectionItems(Section::kAll, 4)) {
        if (item.kind == EditItem::Kind::kField) {
            EXPECT_EQ(model.ShownInteger(4, *item.field), from.*item.field->integer) << item.field->name;
        }
    }
    EXPECT_EQ(std::memcmp(to.standardkey, from.standardkey, sizeof to.standardkey), 0);
    EXPECT_EQ(std::memcmp(to.MacroKeyInfo, from.MacroKeyInfo, sizeof to.MacroKeyInfo), 0);
    EXPECT_EQ(model.Edits(), (Items{Item(4, "media-player"), Item(4, "key-assignments"), Item(4, "light-control"),
                                    Item(4, "lock-left-shift"), Item(4, "sound-profile-switch"),
                                    Item(4, "repeat-delay"), EditItem::StandardKeys(4), EditItem::KeyEntry(4, 12),
                                    EditItem::KeyEntry(4, 43)}))
        << "only what differs is an edit";
}

TEST(SettingsModelFirstLoad, NothingIsShownBeforeTheBlockIsReadAndALoadDropsEdits) {
    SettingsModel model;
    EXPECT_FALSE(model.Loaded());
    EXPECT_EQ(model.ShownCurrentProfile(), -1);
    const auto block = DefaultBlock();
    Set(model, 0, "key-red", "1");
    model.Load(*block);
    EXPECT_TRUE(model.Loaded());
    EXPECT_FALSE(model.HasEdits());
    EXPECT_TRUE(SameProfiles(model.Shown(), *block));
    EXPECT_EQ(model.ShownText(0, F("name")), "Default1");
}

// ---- Undo and redo.


void Type(SettingsModel& model, int profile, const char* field, const std::string& text) {
    std::string error;
    // As an edit control reports it: one change per letter.
    for (std::size_t n = 1; n <= text.size(); ++n) {
        ASSERT_TRUE(model.SetField(profile, *editing::FindProfileField(field), text.substr(0, n), error)) << error;
    }
}

class SettingsModelUndo : public ::testing::Test {
protected:
    void SetUp() override { model.Load(*block); }

    // One of every kind of step a user makes.
    void EditEverything() {
        std::string error;
        Type(model, 1, "name", "Raid");
        ASSERT_TRUE(model.SetInteger(1, *editing::FindProfileField("key-red"), 12, error)) << error;
        ASSERT_TRUE(model.SetInteger(1, *editing::FindProfileField("lock-caps-lock"), 0, error)) << error;
        std::uint8_t keys[kStandardKeyCount];
        std::memcpy(keys, block->Profiles[1].standardkey, sizeof keys);
        keys[29] = 0xE0;
        model.SetStandardKeys(1, keys);
        model.SetKeyEntry(1, 4, SingleKeyEntry(4, 0x04));
        model.CopySection(Section::kLighting, 1, 3);
        model.SetCurrentProfile(2);
    }

    std::unique_ptr<StateRecord> block = DefaultBlock();
    SettingsModel model;
};

// Every step undone leaves the record as loaded, byte for byte, and nothing to apply; every step
// redone gives back exactly what the edits made.
TEST_F(SettingsModelUndo, UndoesBackToTheRecordAsLoadedAndRedoesEveryStep) {
    ASSERT_NO_FATAL_FAILURE(EditEverything());
    const auto edited = std::make_unique<StateRecord>(model.Shown());
    ASSERT_TRUE(model.HasEdits());

    int steps = 0;
    while (model.Undo()) ++steps;
    EXPECT_EQ(steps, 7) << "typing a word is one step, a copy is one step";
    EXPECT_FALSE(model.HasEdits());
    EXPECT_TRUE(SameProfiles(model.Shown(), *block));
    EXPECT_TRUE(SameProfiles(*model.Preview(), *block)) << "an apply now changes nothing";
    EXPECT_FALSE(model.CanUndo());

    while (model.Redo()) --steps;
    EXPECT_EQ(steps, 0);
    EXPECT_TRUE(SameProfiles(model.Shown(), *edited));
    EXPECT_TRUE(model.IsEdited(EditItem::KeyEntry(1, 4)));
    EXPECT_TRUE(model.IsEdited(EditItem::CurrentProfile()));
}

TEST_F(SettingsModelUndo, TypingIsOneStepAndTypingBackIsNone) {
    ASSERT_NO_FATAL_FAILURE(Type(model, 0, "name", "Sniper"));
    EXPECT_EQ(model.UndoText(), "profile 1: name = Sniper");
    ASSERT_TRUE(model.Undo());
    EXPECT_EQ(model.ShownText(0, *editing::FindProfileField("name")), "Default1");
    EXPECT_FALSE(model.CanUndo());
    EXPECT_EQ(model.RedoText(), "profile 1: name = Sniper");

    // Typed and typed back to where it was: no step is left.
    ASSERT_NO_FATAL_FAILURE(Type(model, 0, "name", "Default12"));
    std::string error;
    ASSERT_TRUE(model.SetField(0, *editing::FindProfileField("name"), "Default1", error));
    EXPECT_FALSE(model.CanUndo());
    EXPECT_FALSE(model.CanRedo()) << "a new edit drops what was undone";
}

// Two clicks of one switch are two steps, not one merged into nothing.
TEST_F(SettingsModelUndo, EachChoiceIsAStep) {
    std::string error;
    const ProfileField& caps = *editing::FindProfileField("lock-caps-lock");
    ASSERT_TRUE(model.SetInteger(0, caps, 0, error));
    ASSERT_TRUE(model.SetInteger(0, caps, 1, error));
    ASSERT_TRUE(model.Undo());
    EXPECT_EQ(model.ShownInteger(0, caps), 0);
    EXPECT_TRUE(model.IsEdited(EditItem::Field(0, caps)));

    // A colour's three parts are one step.
    {
        const SettingsModel::OneStep colour(model);
        for (const char* part : {"key-red", "key-green", "key-blue"}) {
            ASSERT_TRUE(model.SetInteger(0, *editing::FindProfileField(part), 16, error));
        }
    }
    ASSERT_TRUE(model.Undo());
    EXPECT_EQ(model.ShownProfile(0).LtColorRed, block->Profiles[0].LtColorRed);
    EXPECT_EQ(model.ShownProfile(0).LtColorBlue, block->Profiles[0].LtColorBlue);
    EXPECT_EQ(model.ShownInteger(0, caps), 0) << "the step before the colour stays";
}

// An import is one step, its name with it; a live update is no step and is not undone.
TEST_F(SettingsModelUndo, ImportIsOneStepAndLiveUpdatesAreNone) {
    auto file = std::make_unique<ProfileRecord>(block->Profiles[4]);
    std::strcpy(file->ProFileName, "Imported");
    file->LtOption = 7;  // a field the window does not edit comes with the file too
    file->LtColorBlue = 200;
    file->MacroKeyInfo[6] = SingleKeyEntry(6, 0x05);
    model.ReplaceProfile(2, *file);
    EXPECT_EQ(model.ShownText(2, *editing::FindProfileField("name")), "Imported");
    EXPECT_TRUE(model.IsEdited(EditItem::KeyEntry(2, 6)));
    EXPECT_EQ(model.Preview()->Profiles[2].LtOption, 7);

    auto live = std::make_unique<StateRecord>(*block);
    live->Profiles[0].LtControl = 3;
    model.Refresh(*live);
    ASSERT_TRUE(model.Undo());
    EXPECT_FALSE(model.CanUndo()) << "the import was the only step";
    EXPECT_FALSE(model.HasEdits());
    EXPECT_EQ(model.ShownProfile(0).LtControl, 3) << "the keyboard's change stays";
    EXPECT_EQ(model.ShownText(2, *editing::FindProfileField("name")), "Default3");
}

// Undoing an edit after the keyboard changed the same value shows the keyboard's value, not
// the one the edit replaced.
TEST_F(SettingsModelUndo, UndoAfterTheKeyboardChangedTheValueShowsTheKeyboards) {
    std::string error;
    const ProfileField& control = *editing::FindProfileField("light-control");
    ASSERT_TRUE(model.SetInteger(0, control, 5, error)) << error;
    auto live = std::make_unique<StateRecord>(*block);
    live->Profiles[0].LtControl = 9;
    model.Refresh(*live);
    EXPECT_EQ(model.ShownInteger(0, control), 5) << "the user's edit is kept over the live change";
    ASSERT_TRUE(model.Undo());
    EXPECT_EQ(model.ShownInteger(0, control), 9);
    EXPECT_FALSE(model.HasEdits());
    ASSERT_TRUE(model.Redo());
    EXPECT_EQ(model.ShownInteger(0, control), 5);
}

// An edit that reached the keyboard is taken back by a new edit, which Apply sends.
TEST_F(SettingsModelUndo, UndoOfAnAppliedEditIsAnEditBack) {
    std::string error;
    const ProfileField& red = *editing::FindProfileField("key-red");
    ASSERT_TRUE(model.SetInteger(0, red, 40, error));
    model.Sent();
    auto answered = std::make_unique<StateRecord>(*block);
    answered->Profiles[0].LtColorRed = 40;
    model.Answered(*answered);
    EXPECT_FALSE(model.HasEdits());

    ASSERT_TRUE(model.Undo());
    EXPECT_TRUE(model.IsEdited(EditItem::Field(0, red)));
    EXPECT_EQ(model.Preview()->Profiles[0].LtColorRed, block->Profiles[0].LtColorRed);
}

// A window left open for days keeps the newest steps within its bound, and undoes them in order.
TEST(EditHistory, KeepsTheNewestStepsWithinItsBound) {
    EditHistory history;
    const std::size_t stepBytes = 4 * 1024 * 1024;  // before and after of two megabytes each
    const int steps = static_cast<int>(EditHistory::kMaxBytes / stepBytes) + 10;
    for (int n = 0; n < steps; ++n) {
        ItemChange change{EditItem::KeyEntry(0, n % kKeyEntryCount), std::vector<std::uint8_t>(stepBytes / 2, 1),
                          std::vector<std::uint8_t>(stepBytes / 2, static_cast<std::uint8_t>(n)), false};
        history.Record({change}, false);
    }
    int kept = 0;
    int last = steps;
    for (EditStep step = history.TakeUndo(); !step.empty(); step = history.TakeUndo()) {
        const int n = step.front().after.front();
        EXPECT_EQ(n, (last - 1) % 256) << "newest first";
        last = last - 1;
        ++kept;
    }
    EXPECT_EQ(kept, static_cast<int>(EditHistory::kMaxBytes / stepBytes));
}

}  // namespace
}  // namespace brenik::option
