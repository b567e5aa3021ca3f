#include "copy_restore.h"

#include "change_flags.h"
#include "history_copy_of_state.h"
#include "profile_store.h"
#include "record_editor.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace brenik::option {
namespace {

std::unique_ptr<StateRecord> DefaultBlock() {
    auto block = std::make_unique<StateRecord>();
    std::memset(block.get(), 0, sizeof *block);
    for (int p = 0; p < kProfileCount; ++p) SetDefaultProfile(block->Profiles[p], p);
    block->CurrentProfile = 0;
    return block;
}

// A copy that differs from the block in a name, a standard key, a key entry, a colour and the
// current profile; the block's profile 3 is on its live layer, which no copy takes.
class CopyRestore : public ::testing::Test {
protected:
    void SetUp() override {
        then = test::StateToRestore();
        then->Profiles[1].standardkey[10] = 0x29;
        block->Profiles[2].ExtendedMode = 1;
        model.Load(*block);
    }

    std::unique_ptr<StateRecord> block = DefaultBlock();
    std::unique_ptr<StateRecord> then;
    SettingsModel model;
};

TEST_F(CopyRestore, TheCopyBecomesOneUndoableStepThatAppliesWithTheFlagsOfWhatDiffers) {
    // An edit not applied yet, of a profile the copy holds: the restore replaces it.
    std::string error;
    ASSERT_TRUE(model.SetField(0, *editing::FindProfileField("name"), "Mine", error)) << error;

    ASSERT_TRUE(RestoreCopy(model, test::HistoryCopyOfState(*then), error)) << error;
    for (int p = 0; p < kProfileCount; ++p) {
        ProfileRecord expected = then->Profiles[p];
        expected.ExtendedMode = block->Profiles[p].ExtendedMode;  // the keyboard's live layer stays
        EXPECT_EQ(std::memcmp(&expected, &model.ShownProfile(p), sizeof expected), 0) << "profile " << p + 1;
    }
    EXPECT_EQ(model.ShownCurrentProfile(), 1);
    EXPECT_STREQ(model.ShownProfile(0).ProFileName, "Default1") << "the unapplied name is replaced";

    // Applied over the block: exactly the reports of what differs.
    auto written = std::make_unique<StateRecord>(*block);
    written->LightingChanged[0] = 1;  // an earlier edit's flag goes
    editing::RecordEditor editor;
    ASSERT_TRUE(editor.Apply(model.ApplyEdit(), *written, editing::FlagMode::kReplace));
    EXPECT_EQ(editing::RaisedFlags(*written),
              (std::vector<std::string>{"KeyChanged[1][4]", "LightingChanged[3]", "ProfileChanged", "StandardKeyChanged[1]"}));
    EXPECT_EQ(written->Profiles[2].ExtendedMode, 1);

    // One Undo takes the whole restore back, to the user's edit before it.
    ASSERT_TRUE(model.Undo());
    EXPECT_STREQ(model.ShownProfile(0).ProFileName, "Mine");
    EXPECT_STREQ(model.ShownProfile(1).ProFileName, "Default2");
    EXPECT_EQ(model.ShownProfile(3).LtColorBlue, block->Profiles[3].LtColorBlue);
    EXPECT_EQ(model.ShownCurrentProfile(), 0);
    EXPECT_EQ(model.Edits().size(), 1u) << "only the name typed before";
}

TEST_F(CopyRestore, ACopyWithOnlySomeProfilesLeavesTheOthers) {
    history::HistoryCopy copy = test::HistoryCopyOfState(*then);
    // Profile 4's file and config.ini missing: profile 4 and the current profile stay as shown.
    copy.files.erase(copy.files.begin() + 3);
    copy.files.pop_back();
    std::string error;
    ASSERT_TRUE(RestoreCopy(model, copy, error)) << error;
    EXPECT_STREQ(model.ShownProfile(1).ProFileName, "Raid");
    EXPECT_EQ(model.ShownProfile(3).LtColorBlue, block->Profiles[3].LtColorBlue);
    EXPECT_EQ(model.ShownCurrentProfile(), 0);
    ASSERT_TRUE(model.Undo());
    EXPECT_FALSE(model.HasEdits());
}

}  // namespace
}  // namespace brenik::option
