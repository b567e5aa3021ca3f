// MediaKeys against a recording platform: what each player is sent for each key, in order and
// with the pauses between, what is started from the registry, and what is ignored.

#include "debug_capture.h"
#include "media_keys.h"
#include "recording_media_platform.h"

#include <gtest/gtest.h>

namespace brenik::monitor::media {
namespace {

using Log = std::vector<std::string>;

constexpr int kWmp = 0, kITunes = 1, kVlc = 2, kWinamp = 3;
constexpr const char* kWinampKey = "SOFTWARE\\Classes\\Winamp.File\\shell\\open\\command";
constexpr const char* kVlcKey = "SOFTWARE\\Classes\\Applications\\vlc.exe\\shell\\play\\command";
constexpr const char* kITunesKey = "SOFTWARE\\Apple Computer, Inc.\\iPod\\RegisteredApps\\4";
constexpr const char* kWmpKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wmplayer.exe";

struct Rig {
    WorkingCopy state;
    RecordingMediaPlatform platform;
    MediaKeys keys{state, platform.Platform()};

    Rig() { Choose(kWmp); }
    void Choose(int mediaOption, int profile = 0) {
        state.Use([&](StateRecord& s) {
            s.CurrentProfile = profile;
            s.Profiles[profile].MediaOption = mediaOption;
        });
    }
    Log Press(std::uint8_t code, std::uint8_t flag = 0) {
        platform.log.clear();
        keys.OnKey(code, flag);
        return platform.log;
    }
};

// ---- What is ignored.

TEST(MediaKeys, QualifierOrKeyOutsideTheRangeDoesNothingAtAll) {
    Rig rig;
    rig.Choose(kWinamp);  // a player that would be started if anything happened
    test::ClearDebugLines();
    EXPECT_EQ(rig.Press(0x21, 1), Log{});
    EXPECT_EQ(rig.Press(0x20, 2), Log{});
    EXPECT_EQ(rig.Press(0x1F), Log{});
    EXPECT_EQ(rig.Press(0x28), Log{});
    EXPECT_TRUE(test::DebugLinesContain("key 0x21 with qualifier 1 ignored"));
}

TEST(MediaKeys, NoPlayerGivesTheSystemKeyOnly) {
    Rig rig;
    rig.platform.AddWindow("Winamp", "Winamp v1.x", "Winamp");
    for (int option : {-1, 4, 99}) {
        rig.Choose(option);
        EXPECT_EQ(rig.Press(0x21), Log{"key 176"}) << option;
        EXPECT_EQ(rig.Press(0x20), Log{}) << option;
    }
    // No current profile reads as no player.
    rig.Choose(kWinamp);
    rig.state.Use([](StateRecord& s) { s.CurrentProfile = 7; });
    EXPECT_EQ(rig.Press(0x23), Log{"key 179"});
}

TEST(MediaKeys, SystemKeyOfEveryKey) {
    Rig rig;
    const std::pair<std::uint8_t, const char*> keys[] = {{0x21, "key 176"}, {0x22, "key 177"}, {0x23, "key 179"},
                                                         {0x24, "key 178"}, {0x25, "key 173"}, {0x26, "key 175"},
                                                         {0x27, "key 174"}};
    for (const auto& [code, line] : keys) EXPECT_EQ(rig.Press(code), Log{line}) << int{code};
}

// ---- iTunes.

TEST(MediaKeysITunes, NextAndPreviousAreFourSentKeystrokes100MsApart) {
    Rig rig;
    rig.Choose(kITunes);
    rig.platform.AddWindow("iTunes", "iTunes", "iTunes");
    EXPECT_EQ(rig.Press(0x21), (Log{"key 176", "send iTunes 256 17 0x001D0001", "pause 100", "send iTunes 256 39 0x014D0001",
                                    "pause 100", "send iTunes 257 39 0xC14D0001", "pause 100",
                                    "send iTunes 257 17 0xC01D0001"}));
    EXPECT_EQ(rig.Press(0x22), (Log{"key 177", "send iTunes 256 17 0x001D0001", "pause 100", "send iTunes 256 37 0x014B0001",
                                    "pause 100", "send iTunes 257 37 0xC14B0001", "pause 100",
                                    "send iTunes 257 17 0xC01D0001"}));
}

TEST(MediaKeysITunes, PlayPauseAndStopPostSpace) {
    Rig rig;
    rig.Choose(kITunes);
    rig.platform.AddWindow("iTunes", "iTunes", "iTunes");
    const Log space{"post iTunes 256 32 0x00390001", "pause 100", "post iTunes 257 32 0xC0390001"};
    Log expected{"key 179"};
    expected.insert(expected.end(), space.begin(), space.end());
    EXPECT_EQ(rig.Press(0x23), expected);
    expected[0] = "key 178";
    EXPECT_EQ(rig.Press(0x24), expected);
    EXPECT_EQ(rig.Press(0x26), Log{"key 175"});
}

TEST(MediaKeysITunes, NeedsClassAndTitle) {
    Rig rig;
    rig.Choose(kITunes);
    rig.platform.AddWindow("store", "iTunes", "iTunes Store");
    rig.platform.AddWindow("other", "Other", "iTunes");
    EXPECT_EQ(rig.Press(0x21), Log{"key 176"});
}

TEST(MediaKeysITunes, HungWindowGetsOneBoundedSendThenNothing) {
    Rig rig;
    rig.Choose(kITunes);
    rig.platform.AddWindow("iTunes", "iTunes", "iTunes");
    rig.platform.Hang("iTunes");
    test::ClearDebugLines();
    EXPECT_EQ(rig.Press(0x21), (Log{"key 176", "send iTunes 256 17 0x001D0001"}));
    EXPECT_TRUE(test::DebugLinesContain("iTunes did not take a keystroke within 500 ms"));
}

// ---- VLC.

TEST(MediaKeysVlc, WalksTheZOrderFromTheFirstQWidgetToOneTitledVlc) {
    Rig rig;
    rig.Choose(kVlc);
    rig.platform.AddWindow("editor", "Edit", "VLC notes");          // above the first QWidget: never looked at
    rig.platform.AddWindow("qt-tool", "QWidget", "Qt tool window");  // the first QWidget
    rig.platform.AddWindow("impostor", "Other", "VLC media player"); // titled VLC, wrong class
    rig.platform.AddWindow("lower", "QWidget", "vlc lower case");    // case matters
    rig.platform.AddWindow("VLC", "QWidget", "Song - VLC media player");
    rig.platform.AddWindow("second", "QWidget", "VLC again");
    EXPECT_EQ(rig.Press(0x21), (Log{"key 176", "foreground VLC", "post VLC 256 78 0x00310001", "pause 100",
                                    "post VLC 257 78 0xC0310001"}));
    EXPECT_EQ(rig.Press(0x22)[2], "post VLC 256 80 0x00190001");
    EXPECT_EQ(rig.Press(0x23)[1], "foreground VLC");
    EXPECT_EQ(rig.Press(0x23)[2], "post VLC 256 32 0x00390001");
    EXPECT_EQ(rig.Press(0x24)[2], "post VLC 256 83 0x001F0001");
}

TEST(MediaKeysVlc, VolumeAndMuteBringItForwardAndSendNothing) {
    Rig rig;
    rig.Choose(kVlc);
    rig.platform.AddWindow("VLC", "QWidget", "VLC media player");
    EXPECT_EQ(rig.Press(0x27), (Log{"key 174", "foreground VLC"}));
    EXPECT_EQ(rig.Press(0x26), (Log{"key 175", "foreground VLC"}));
    EXPECT_EQ(rig.Press(0x25), (Log{"key 173", "foreground VLC"}));
}

TEST(MediaKeysVlc, NoWindowTitledVlcDoesNothing) {
    Rig rig;
    rig.Choose(kVlc);
    rig.platform.AddWindow("qt", "QWidget", "Some Qt program");
    EXPECT_EQ(rig.Press(0x21), Log{"key 176"});
}

// ---- Winamp.

TEST(MediaKeysWinamp, CommandsAndThePlayToggleSharedByAllProfiles) {
    Rig rig;
    rig.Choose(kWinamp);
    rig.platform.AddWindow("Winamp", "Winamp v1.x", "1. Song - Winamp");
    EXPECT_EQ(rig.Press(0x21), (Log{"key 176", "send Winamp 273 40048 0x00000000"}));
    EXPECT_EQ(rig.Press(0x22), (Log{"key 177", "send Winamp 273 40044 0x00000000"}));
    EXPECT_EQ(rig.Press(0x24), (Log{"key 178", "send Winamp 273 40047 0x00000000"}));
    EXPECT_EQ(rig.Press(0x23), (Log{"key 179", "send Winamp 273 40045 0x00000000"}));
    EXPECT_EQ(rig.Press(0x23), (Log{"key 179", "send Winamp 273 40046 0x00000000"}));
    rig.Choose(kITunes, 1);
    rig.Press(0x23);
    rig.Choose(kWinamp, 2);
    EXPECT_EQ(rig.Press(0x23), (Log{"key 179", "send Winamp 273 40045 0x00000000"})) << "one toggle for all profiles";
    EXPECT_EQ(rig.Press(0x23), (Log{"key 179", "send Winamp 273 40046 0x00000000"}));
    EXPECT_EQ(rig.Press(0x26), Log{"key 175"});
}

TEST(MediaKeysWinamp, NotRunningAnyKeyStartsItAndNothingMore) {
    Rig rig;
    rig.Choose(kWinamp);
    rig.platform.SetValue(kWinampKey, "", R"("C:\Program Files\Winamp\winamp.exe" "%1")");
    const std::string read = std::string("read ") + kWinampKey + "|";
    EXPECT_EQ(rig.Press(0x26), (Log{"key 175", read, R"(start C:\Program Files\Winamp\winamp.exe)"}));
    EXPECT_EQ(rig.Press(0x23), (Log{"key 179", read, R"(start C:\Program Files\Winamp\winamp.exe)"}));
    // The toggle did not move while Winamp was away.
    rig.platform.AddWindow("Winamp", "Winamp v1.x", "Winamp");
    EXPECT_EQ(rig.Press(0x23).back(), "send Winamp 273 40045 0x00000000");
}

TEST(MediaKeysWinamp, HungWindowIsReportedAndTheToggleMovesOn) {
    Rig rig;
    rig.Choose(kWinamp);
    rig.platform.AddWindow("Winamp", "Winamp v1.x", "Winamp");
    rig.platform.Hang("Winamp");
    test::ClearDebugLines();
    EXPECT_EQ(rig.Press(0x23), (Log{"key 179", "send Winamp 273 40045 0x00000000"}));
    EXPECT_TRUE(test::DebugLinesContain("Winamp did not take command 40045 within 500 ms"));
    EXPECT_EQ(rig.Press(0x23).back(), "send Winamp 273 40046 0x00000000");
}

// ---- Windows Media Player and key 0x20.

TEST(MediaKeysStart, WindowsMediaPlayerRunningIsBroughtForwardNotStarted) {
    Rig rig;
    rig.Choose(kWmp);
    rig.platform.SetValue(kWmpKey, "", R"(%ProgramFiles%\Windows Media Player\wmplayer.exe)");
    rig.platform.AddWindow("WMP", "WMPlayerApp", "Windows Media Player");
    EXPECT_EQ(rig.Press(0x20), Log{"forward-attached WMP"});
    EXPECT_EQ(rig.Press(0x23), Log{"key 179"}) << "no player command";
}

TEST(MediaKeysStart, WindowsMediaPlayerNotRunningIsStartedExpanded) {
    Rig rig;
    rig.Choose(kWmp);
    rig.platform.SetEnvironment("ProgramFiles", R"(C:\Program Files)");
    rig.platform.SetValue(kWmpKey, "", R"(%ProgramFiles%\Windows Media Player\wmplayer.exe)");
    rig.platform.AddWindow("other", "WMPlayerApp", "Windows Media Player - Song");  // title must match whole
    EXPECT_EQ(rig.Press(0x20),
              (Log{std::string("read ") + kWmpKey + "|", R"(start C:\Program Files\Windows Media Player\wmplayer.exe)"}));
}

TEST(MediaKeysStart, EachPlayerFromItsOwnKeyWhenItPassesItsNameTest) {
    Rig rig;
    rig.platform.SetValue(kITunesKey, "path", R"(C:\Program Files\iTunes\iTunes.exe)");
    rig.platform.SetValue(kVlcKey, "", R"("C:\VideoLAN\VLC\vlc.exe" --started-from-file "%1")");
    rig.platform.SetValue(kWinampKey, "", R"(C:\Winamp\winamp.exe)");
    rig.Choose(kITunes);
    EXPECT_EQ(rig.Press(0x20).back(), R"(start C:\Program Files\iTunes\iTunes.exe)");
    rig.Choose(kVlc);
    EXPECT_EQ(rig.Press(0x20).back(), R"(start C:\VideoLAN\VLC\vlc.exe)");
    rig.Choose(kWinamp);
    EXPECT_EQ(rig.Press(0x20).back(), R"(start C:\Winamp\winamp.exe)");
    // No check for a running copy: iTunes is started even with its window open.
    rig.platform.AddWindow("iTunes", "iTunes", "iTunes");
    rig.Choose(kITunes);
    EXPECT_EQ(rig.Press(0x20).back(), R"(start C:\Program Files\iTunes\iTunes.exe)");
}

TEST(MediaKeysStart, MissingOrFailingPathsStartNothing) {
    Rig rig;
    rig.Choose(kVlc);
    EXPECT_EQ(rig.Press(0x20), Log{std::string("read ") + kVlcKey + "|"}) << "nothing registered";
    rig.platform.SetValue(kVlcKey, "", R"("C:\Players\mpc.exe" --started-from-file vlc)");
    test::ClearDebugLines();
    EXPECT_EQ(rig.Press(0x20).size(), 1u);
    EXPECT_TRUE(test::DebugLinesContain("registered path of VLC refused"));
    rig.Choose(kWmp);
    rig.platform.SetValue(kWmpKey, "", "");
    EXPECT_EQ(rig.Press(0x20).size(), 1u) << "an empty path";
}

TEST(MediaKeysStart, ValuesAreReadUpTo260Bytes) {
    Rig rig;
    rig.Choose(kWinamp);
    const std::string folder = "C:\\" + std::string(259 - 3 - 11, 'w') + "\\";
    rig.platform.SetValue(kWinampKey, "", folder + "winamp.exe");  // 259 characters and the terminator
    ASSERT_EQ((folder + "winamp.exe").size(), 259u);
    EXPECT_EQ(rig.Press(0x20).back(), "start " + folder + "winamp.exe");
    rig.platform.SetValue(kWinampKey, "", folder + "winamp.exe ");
    EXPECT_EQ(rig.Press(0x20).size(), 1u) << "260 characters do not fit";
}

}  // namespace
}  // namespace brenik::monitor::media
