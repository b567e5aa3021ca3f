// The four players' registered texts and the program path each gives, or none.

#include "player_paths.h"

#include <gtest/gtest.h>

namespace brenik::monitor::media {
namespace {

std::string PathOr(MediaPlayer player, const std::string& text) {
    return ProgramPathFrom(player, text).value_or("<none>");
}

TEST(VlcPath, QuotedPathEndsAtTheNextMark) {
    EXPECT_EQ(PathOr(MediaPlayer::kVlc, R"("C:\Program Files\VideoLAN\VLC\vlc.exe" --started-from-file "%1")"),
              R"(C:\Program Files\VideoLAN\VLC\vlc.exe)");
    EXPECT_EQ(PathOr(MediaPlayer::kVlc, R"("C:\VideoLAN\VLC.EXE)"), R"(C:\VideoLAN\VLC.EXE)") << "never closed: to the end";
    // A quoted path is not cut at "--started" even when it holds it.
    EXPECT_EQ(PathOr(MediaPlayer::kVlc, R"("C:\a--started\vlc.exe" x)"), R"(C:\a--started\vlc.exe)");
}

TEST(VlcPath, UnquotedPathEndsBeforeStarted) {
    EXPECT_EQ(PathOr(MediaPlayer::kVlc, R"(C:\VLC\vlc.exe --started-from-file "%1")"), R"(C:\VLC\vlc.exe )");
    EXPECT_EQ(PathOr(MediaPlayer::kVlc, R"(C:\VLC\vlc.exe "%1")"), R"(C:\VLC\vlc.exe "%1")") << "no --started: whole";
    // A mark that is not the first character does not count as quoting.
    EXPECT_EQ(PathOr(MediaPlayer::kVlc, R"( "C:\VLC\vlc.exe" --started)"), R"( "C:\VLC\vlc.exe" )");
}

TEST(VlcPath, NameTestWithoutRegardToCase) {
    EXPECT_EQ(PathOr(MediaPlayer::kVlc, R"("C:\Players\Vlc\Player.exe")"), R"(C:\Players\Vlc\Player.exe)");
    EXPECT_EQ(PathOr(MediaPlayer::kVlc, R"("C:\Players\mpc.exe" --started vlc)"), "<none>") << "vlc only after the path";
    EXPECT_EQ(PathOr(MediaPlayer::kVlc, "--started vlc"), "<none>");
    EXPECT_EQ(PathOr(MediaPlayer::kVlc, ""), "<none>");
    EXPECT_EQ(PathOr(MediaPlayer::kVlc, "\""), "<none>");
}

TEST(WinampPath, FirstQuotedTextAnywhere) {
    EXPECT_EQ(PathOr(MediaPlayer::kWinamp, R"("C:\Program Files\Winamp\winamp.exe" "%1")"), R"(C:\Program Files\Winamp\winamp.exe)");
    EXPECT_EQ(PathOr(MediaPlayer::kWinamp, R"(open "C:\Winamp\winamp.exe" "%1")"), R"(C:\Winamp\winamp.exe)");
    EXPECT_EQ(PathOr(MediaPlayer::kWinamp, R"(x "C:\Winamp\WINAMP.exe)"), R"(C:\Winamp\WINAMP.exe)") << "never closed: to the end";
}

TEST(WinampPath, UnquotedTextIsTakenWhole) {
    EXPECT_EQ(PathOr(MediaPlayer::kWinamp, R"(C:\Winamp\winamp.exe --started)"), R"(C:\Winamp\winamp.exe --started)");
    EXPECT_EQ(PathOr(MediaPlayer::kWinamp, R"(C:\Winamp\winamp.exe)"), R"(C:\Winamp\winamp.exe)");
}

TEST(WinampPath, NameTestAppliesToThePathOnly) {
    EXPECT_EQ(PathOr(MediaPlayer::kWinamp, R"("C:\Players\foobar.exe" "winamp")"), "<none>");
    EXPECT_EQ(PathOr(MediaPlayer::kWinamp, R"("" winamp.exe)"), "<none>") << "an empty quoted path";
    EXPECT_EQ(PathOr(MediaPlayer::kWinamp, ""), "<none>");
}

TEST(ITunesPath, WholeValueWhenItNamesITunes) {
    EXPECT_EQ(PathOr(MediaPlayer::kITunes, R"(C:\Program Files\iTunes\iTunes.exe)"), R"(C:\Program Files\iTunes\iTunes.exe)");
    EXPECT_EQ(PathOr(MediaPlayer::kITunes, R"(C:\apple\ITUNES.EXE)"), R"(C:\apple\ITUNES.EXE)");
    EXPECT_EQ(PathOr(MediaPlayer::kITunes, R"(C:\Program Files\iPod\iPodService.exe)"), "<none>");
    EXPECT_EQ(PathOr(MediaPlayer::kITunes, ""), "<none>");
}

TEST(WindowsMediaPlayerPath, AnyTextButEmpty) {
    EXPECT_EQ(PathOr(MediaPlayer::kWindowsMediaPlayer, R"(C:\Program Files\wmp\wmplayer.exe)"), R"(C:\Program Files\wmp\wmplayer.exe)");
    EXPECT_EQ(PathOr(MediaPlayer::kWindowsMediaPlayer, ""), "<none>");
    EXPECT_EQ(PathOr(MediaPlayer::kNone, R"(C:\vlc\winamp.exe)"), "<none>");
}

TEST(PlayerRegistration, KeysAndValuesBelowTheMachineRoot) {
    EXPECT_STREQ(RegistrationOf(MediaPlayer::kWindowsMediaPlayer)->keyPath,
                 "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wmplayer.exe");
    EXPECT_TRUE(RegistrationOf(MediaPlayer::kWindowsMediaPlayer)->expandEnvironment);
    EXPECT_STREQ(RegistrationOf(MediaPlayer::kITunes)->valueName, "path");
    EXPECT_FALSE(RegistrationOf(MediaPlayer::kVlc)->expandEnvironment);
    EXPECT_STREQ(RegistrationOf(MediaPlayer::kWinamp)->valueName, "");
    EXPECT_FALSE(RegistrationOf(MediaPlayer::kNone));
}

}  // namespace
}  // namespace brenik::monitor::media
