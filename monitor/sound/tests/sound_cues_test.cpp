#include "sound_cue_table.h"
#include "sound_cues.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace brenik::monitor::sound {
namespace {

constexpr const char* kFolder = "C:\\Program Files\\Brenik\\";
constexpr SoundSwitches kAllOn{1, 1, 1, 1};
constexpr SoundSwitches kAllOff{0, 0, 0, 0};

struct Expected {
    std::uint16_t eventClass;
    std::uint16_t subCode;
    const char* file;
};

// Every cue, written out independently of the table: the event that plays it (with a key
// byte where the qualifier chooses) and its installed name.
const std::vector<Expected> kEveryCue = {
    {0x3000, 0x0001, "Wave\\Profile\\profile_one.wav"},
    {0x3000, 0x0002, "Wave\\Profile\\profile_two.wav"},
    {0x3000, 0x0003, "Wave\\Profile\\profile_three.wav"},
    {0x3000, 0x0004, "Wave\\Profile\\profile_four.wav"},
    {0x3000, 0x0005, "Wave\\Profile\\profile_five.wav"},
    {0x5000, 0x0107, "Wave\\MacroLiveRecord\\1_driver_select_macro_key.wav"},
    {0x5000, 0x0200, "Wave\\MacroLiveRecord\\2_driver_enter_macro_key_and_press.wav"},
    {0x5000, 0x032C, "Wave\\MacroLiveRecord\\3_driver_macro_recorded_successfuly.wav"},
    {0x5000, 0x04FF, "Wave\\MacroLiveRecord\\4_driver_macro_recording_aborted.wav"},
    {0x5000, 0x0501, "Wave\\MacroLiveRecord\\5_driver_key_not_available.wav"},
    {0x5000, 0x0609, "Wave\\MacroLiveRecord\\6_driver_Macro_full_recorded.wav"},
    {0xB000, 0x0100, "Wave\\Timer\\timer_activated.wav"},
    {0xB000, 0x0201, "Wave\\Timer\\10_second.wav"},
    {0xB000, 0x0302, "Wave\\Timer\\5_second.wav"},
    {0xB000, 0x0403, "Wave\\Timer\\4_second.wav"},
    {0xB000, 0x0504, "Wave\\Timer\\3_second.wav"},
    {0xB000, 0x0605, "Wave\\Timer\\2_second.wav"},
    {0xB000, 0x0706, "Wave\\Timer\\1_second.wav"},
    {0xB000, 0x08FF, "Wave\\Timer\\go.wav"},
    {0xC000, 0x0100, "Wave\\Timer\\timer_stopped.wav"},
    {0xE000, 0x0001, "Wave\\ExtendedLayer\\Extended_layer.wav"},
    {0xE000, 0x00FF, "Wave\\ExtendedLayer\\Standard_Layer.wav"},
};

std::string Chosen(std::uint16_t eventClass, std::uint16_t subCode, const SoundSwitches& switches = kAllOn) {
    const char* file = ChooseSoundCue(eventClass, subCode, switches);
    return file ? file : "(none)";
}

// The one switch that decides a class's cues.
std::int32_t SoundSwitches::*SwitchOf(std::uint16_t eventClass) {
    switch (eventClass) {
        case 0x3000: return &SoundSwitches::ProfileSwitchSound;
        case 0x5000: return &SoundSwitches::MacroLiveRecordSound;
        case 0xE000: return &SoundSwitches::LayerSwitchSound;
        default: return &SoundSwitches::CountdownTimerSound;
    }
}

TEST(SoundCueTableTest, EveryCuePlaysItsFileWhenItsSwitchIsOn) {
    for (const Expected& cue : kEveryCue) {
        EXPECT_EQ(Chosen(cue.eventClass, cue.subCode), cue.file) << std::hex << cue.eventClass << " " << cue.subCode;
    }
    EXPECT_EQ(kEveryCue.size(), kSoundCueCount) << "a cue in the table that no event here plays";
}

TEST(SoundCueTableTest, OnlyItsOwnSwitchAtExactlyOneTurnsACueOn) {
    for (const Expected& cue : kEveryCue) {
        SCOPED_TRACE(cue.file);
        SoundSwitches onlyOthers = kAllOn;
        onlyOthers.*SwitchOf(cue.eventClass) = 0;
        EXPECT_EQ(Chosen(cue.eventClass, cue.subCode, onlyOthers), "(none)");
        for (std::int32_t notOn : {-1, 2, 255, 0x101}) {  // -1: the key was missing from the profile file
            SoundSwitches almost = kAllOn;
            almost.*SwitchOf(cue.eventClass) = notOn;
            EXPECT_EQ(Chosen(cue.eventClass, cue.subCode, almost), "(none)") << notOn;
        }
        SoundSwitches onlyOwn = kAllOff;
        onlyOwn.*SwitchOf(cue.eventClass) = 1;
        EXPECT_EQ(Chosen(cue.eventClass, cue.subCode, onlyOwn), cue.file);
    }
}

TEST(SoundCueTableTest, ProfileAndLayerCuesNeedTheWholeSubCode) {
    EXPECT_EQ(Chosen(0x3000, 0x0102), "(none)") << "qualifier 1, key byte 2";
    EXPECT_EQ(Chosen(0x3000, 0x0100), "(none)");
    EXPECT_EQ(Chosen(0x3000, 0x0000), "(none)");
    EXPECT_EQ(Chosen(0x3000, 0x0006), "(none)");
    EXPECT_EQ(Chosen(0xE000, 0x0000), "(none)") << "the layer becomes standard, silently";
    EXPECT_EQ(Chosen(0xE000, 0x0002), "(none)");
    EXPECT_EQ(Chosen(0xE000, 0x0101), "(none)");
    EXPECT_EQ(Chosen(0xE000, 0xFF00), "(none)");
    EXPECT_EQ(Chosen(0xE000, 0xFFFF), "(none)");
}

TEST(SoundCueTableTest, QualifierCuesIgnoreTheKeyByteAndStopAtTheirLastStep) {
    for (std::uint16_t key : {0x00, 0x01, 0x2C, 0xFF}) {
        EXPECT_EQ(Chosen(0x5000, 0x0300 | key), "Wave\\MacroLiveRecord\\3_driver_macro_recorded_successfuly.wav");
        EXPECT_EQ(Chosen(0xC000, 0x0100 | key), "Wave\\Timer\\timer_stopped.wav");
    }
    EXPECT_EQ(Chosen(0x5000, 0x0003), "(none)") << "qualifier 0";
    EXPECT_EQ(Chosen(0x5000, 0x0703), "(none)") << "qualifier 7";
    EXPECT_EQ(Chosen(0xB000, 0x0001), "(none)") << "qualifier 0";
    EXPECT_EQ(Chosen(0xB000, 0x0900), "(none)") << "qualifier 9";
    EXPECT_EQ(Chosen(0xC000, 0x0001), "(none)") << "qualifier 0";
    EXPECT_EQ(Chosen(0xC000, 0x0200), "(none)") << "qualifier 2";
}

TEST(SoundCueTableTest, ClassesWithoutCuesPlayNothing) {
    for (std::uint16_t eventClass : {0x0000, 0x3001, 0x4000, 0x6000, 0x7000, 0x7F00, 0xA000, 0xD000, 0xF000, 0xFFFF}) {
        for (std::uint16_t subCode : {0x0001, 0x0100, 0x00FF}) {
            EXPECT_EQ(Chosen(eventClass, subCode), "(none)") << std::hex << eventClass << " " << subCode;
        }
    }
}

// The committed cues under monitor/sound/art: every file the table names is there, spelt as
// the table spells it (the monitor's folder may be on a case-sensitive file system under Wine).
TEST(SoundCueTableTest, EveryFileIsInTheShippedWaveTree) {
    for (const SoundCueRow& row : kSoundCues) {
        std::string relative = row.file;
        for (char& c : relative) {
            if (c == '\\') c = '/';
        }
        const std::filesystem::path file = std::filesystem::path(BRENIK_SOUND_ART_DIR) / relative;
        EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
    }
}

// SoundCues over the working copy, with a player that records what it was asked to play.
class RecordingPlayer : public ISoundPlayer {
public:
    void PlayFile(const std::string& path) override { played.push_back(path); }
    std::vector<std::string> played;
};

struct Rig {
    Rig() {
        state.Use([](StateRecord& s) {
            s.CurrentProfile = 0;
            for (ProfileRecord& p : s.Profiles) {
                p.ProfileSwitchSound = p.MacroLiveRecordSound = p.CountdownTimerSound = p.LayerSwitchSound = 1;
            }
        });
    }
    WorkingCopy state;
    RecordingPlayer player;
    SoundCues cues{state, kFolder, player};
};

using Played = std::vector<std::string>;

TEST(SoundCuesTest, PlaysTheFileInTheProgramFolder) {
    Rig rig;
    rig.cues.Play(0xB000, 0x0800);
    rig.cues.Play(0x5000, 0x0412);
    EXPECT_EQ(rig.player.played,
              (Played{"C:\\Program Files\\Brenik\\Wave\\Timer\\go.wav",
                      "C:\\Program Files\\Brenik\\Wave\\MacroLiveRecord\\4_driver_macro_recording_aborted.wav"}));
}

TEST(SoundCuesTest, TheCurrentProfileAtTheMomentOfTheCueDecides) {
    Rig rig;
    rig.state.Use([](StateRecord& s) {
        s.Profiles[0].ProfileSwitchSound = 1;
        s.Profiles[2].ProfileSwitchSound = 0;
        s.Profiles[3].CountdownTimerSound = -1;
    });
    // Profile key 3 after the switch to profile 3 (index 2), whose switch is off.
    rig.state.Use([](StateRecord& s) { s.CurrentProfile = 2; });
    rig.cues.Play(0x3000, 3);
    EXPECT_TRUE(rig.player.played.empty());
    // Back on profile 1: the same key is heard.
    rig.state.Use([](StateRecord& s) { s.CurrentProfile = 0; });
    rig.cues.Play(0x3000, 3);
    rig.state.Use([](StateRecord& s) { s.CurrentProfile = 3; });
    rig.cues.Play(0xC000, 0x0100);
    rig.cues.Play(0xE000, 0x00FF);
    EXPECT_EQ(rig.player.played, (Played{"C:\\Program Files\\Brenik\\Wave\\Profile\\profile_three.wav",
                                         "C:\\Program Files\\Brenik\\Wave\\ExtendedLayer\\Standard_Layer.wav"}));
}

TEST(SoundCuesTest, NoCurrentProfilePlaysNothing) {
    Rig rig;
    for (std::int32_t index : {-1, 5, 1000}) {
        rig.state.Use([&](StateRecord& s) { s.CurrentProfile = index; });
        rig.cues.Play(0x3000, 1);
        rig.cues.Play(0xE000, 1);
    }
    EXPECT_TRUE(rig.player.played.empty());
}

}  // namespace
}  // namespace brenik::monitor::sound
