#pragma once
// MediaKeys: the keyboard's media keys (event class 0x7000). Keys 0x21..0x27 become the
// system's media key and a command to the player the current profile chose ("MediaOption");
// key 0x20 starts the player or brings it up. An event with a qualifier other than 0 or a key
// byte outside 0x20..0x27 does nothing at all. The table of keys and commands is in
// player_commands.h, the registered paths in player_paths.h.
//
// How each player is found and told:
// - iTunes: the window of class and title "iTunes"; Ctrl+arrow as four keystroke messages,
//   each sent, 100 ms apart; Space as key down posted, 100 ms, key up posted.
// - VLC: from the first top-level "QWidget" window down the z-order, the first "QWidget"
//   whose title contains "VLC" (case matters); brought to the foreground for every key, then
//   the key posted as down, 100 ms, up.
// - Winamp: the window of class "Winamp v1.x"; WM_COMMAND sent. When it does not run, any key
//   starts it and does nothing more.
// - Windows Media Player: the system key only.
//
// Runs on the monitor's window thread. The 100 ms pauses hold up the next event for their
// length; a message sent to a player waits at most kPlayerAnswerTimeoutMs, and once a player
// fails to take one the rest of that key's messages are not sent, so a hung player costs the
// window thread one bounded wait per key, never the thread.

#include "media_platform.h"
#include "player_commands.h"
#include "winamp_play_toggle.h"
#include "working_copy.h"

#include <cstdint>

namespace brenik::monitor::media {

class MediaKeys {
public:
    MediaKeys(WorkingCopy& state, const MediaPlatform& platform);

    // Key byte = media key code, qualifier = flag.
    void OnKey(std::uint8_t code, std::uint8_t flag);

private:
    media::MediaPlayer CurrentPlayer();
    void SendPlayerCommand(media::MediaPlayer player, media::MediaKey key);
    void SendToITunes(const media::PlayerCommand& command);
    void SendToVlc(const media::PlayerCommand& command);
    void SendToWinamp(const media::PlayerCommand& command);
    // Ctrl+key as four sent keystroke messages; stops at the first one the window does not take.
    void SendChord(WindowId window, std::uint8_t virtualKey);
    void PostTap(WindowId window, std::uint8_t virtualKey);
    WindowId FindVlc();

    // Key 0x20, and Winamp when it does not run.
    void StartOrBringUp(media::MediaPlayer player);
    void StartInstalled(media::MediaPlayer player);

    WorkingCopy& state_;
    MediaPlatform platform_;
    media::WinampPlayToggle winampToggle_;
};

}  // namespace brenik::monitor::media
