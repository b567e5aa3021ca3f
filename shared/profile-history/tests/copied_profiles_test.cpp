#include "copied_profiles.h"
#include "copy_differences.h"

#include "history_copy_of_state.h"
#include "profile_store.h"
#include "record_editor.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace brenik::history {
namespace {

class CopiedProfiles : public ::testing::Test {
protected:
    void SetUp() override {
        then = test::StateToRestore();
        copy = test::HistoryCopyOfState(*then);

        // What the keyboard left after a read-back: its own profiles, another current one.
        now = std::make_unique<StateRecord>();
        ClearState(*now);
        for (int p = 0; p < kProfileCount; ++p) SetDefaultProfile(now->Profiles[p], p);
        now->Profiles[2].ExtendedMode = 1;
        now->CurrentProfile = 0;
    }

    std::unique_ptr<StateRecord> then;
    std::unique_ptr<StateRecord> now;
    HistoryCopy copy;
};

TEST_F(CopiedProfiles, ARestoreBringsEveryProfileBackWithTheFlagsOfWhatDiffers) {
    std::string error;
    const std::optional<editing::ProfileEdit> restore = RestoreEdit(copy, 2, error);
    ASSERT_TRUE(restore) << error;
    EXPECT_EQ(restore->what, "restored copy 2 of 2026-12-09 07:00:00");

    editing::RecordEditor editor;
    ASSERT_TRUE(editor.Apply(*restore, *now, editing::FlagMode::kReplace));
    for (int p = 0; p < kProfileCount; ++p) {
        ProfileRecord expected = then->Profiles[p];
        expected.ExtendedMode = p == 2 ? 1 : then->Profiles[p].ExtendedMode;  // the live layer stays
        EXPECT_EQ(std::memcmp(&expected, &now->Profiles[p], sizeof expected), 0) << "profile " << p;
    }
    EXPECT_EQ(now->CurrentProfile, 1);
    EXPECT_EQ(editor.Flags(), (std::vector<std::string>{"KeyChanged[1][4]", "LightingChanged[3]", "ProfileChanged"}));
    EXPECT_TRUE(editor.StillHolds(*restore, *now));
    now->Profiles[4].LtColorRed = 1;
    EXPECT_FALSE(editor.StillHolds(*restore, *now)) << "every profile is checked, not only the first";
}

TEST_F(CopiedProfiles, ADamagedProfileFileRefusesTheWholeCopy) {
    for (HistoryFile& file : copy.files) {
        if (file.name == "config\\Default3.cmp") file.bytes = "[Setting]\r\nProFileName=x\r\n";
    }
    std::string error;
    EXPECT_FALSE(RestoreEdit(copy, 1, error));
    EXPECT_NE(error.find("config\\Default3.cmp of the copy"), std::string::npos) << error;
    EXPECT_EQ(DifferencesFromNow(copy, *now).Text().rfind("cannot be read: ", 0), 0u);
}

TEST_F(CopiedProfiles, DifferencesAreSaidByProfileAndSection) {
    EXPECT_EQ(DifferencesFromNow(copy, *now).Text(),
              "Profile 2: name, key 5; Profile 4: lighting; the current profile");
    EXPECT_EQ(DifferencesFromNow(copy, *then).Text(), "the same as now");

    const struct {
        const char* what;
        void (*change)(ProfileRecord&);
        std::vector<std::string> sections;
    } rows[] = {
        {"locked keys", [](ProfileRecord& r) { r.LeftWin ^= 1; }, {"locked keys"}},
        {"sounds and repeat", [](ProfileRecord& r) { r.ProfileSwitchSound = 0, r.KeyboardDelay = 3; }, {"sounds", "key repeat"}},
        {"not-sent lighting values", [](ProfileRecord& r) { r.LtOption = 7; }, {"lighting"}},
        {"two keys and the map", [](ProfileRecord& r) { r.standardkey[3] = 1, r.MacroKeyInfo[0].FunctionType = 1, r.MacroKeyInfo[9].FunctionType = 1; },
         {"standard keys", "keys 1, 10"}},
        {"the live layer alone", [](ProfileRecord& r) { r.ExtendedMode = 1; }, {}},
        {"media player and game", [](ProfileRecord& r) { r.MediaOption = 2, std::strcpy(r.GameFile, "g.exe"); }, {"game", "media player"}},
    };
    for (const auto& row : rows) {
        ProfileRecord changed = then->Profiles[0];
        row.change(changed);
        EXPECT_EQ(DifferingSections(then->Profiles[0], changed), row.sections) << row.what;
    }
}

}  // namespace
}  // namespace brenik::history
