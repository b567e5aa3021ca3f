#pragma once
// Which player a profile chose, and what each media key means: the system key synthesised for
// it and the command the chosen player is sent, as data. How a command travels (sent with a
// bound, posted, with pauses) is MediaKeys' business; this table only says what.
//
//   key   system key           iTunes            VLC          Winamp               WMP
//   0x21  next track (176)     Ctrl+Right sent   'N' posted   40048                -
//   0x22  prev track (177)     Ctrl+Left sent    'P' posted   40044                -
//   0x23  play/pause (179)     Space posted      Space posted 40045/40046 toggled  -
//   0x24  stop (178)           Space posted      'S' posted   40047                -
//   0x25  mute (173)           -                 -            -                    -
//   0x26  volume up (175)      -                 -            -                    -
//   0x27  volume down (174)    -                 -            -                    -
//
// (VLC is brought to the foreground for every key, and Winamp started when it does not run,
// whatever the key; 0x20 starts or brings up the player and has no system key.)

#include <cstdint>
#include <optional>

namespace brenik::monitor::media {

// The profile's "MediaOption": 0..3; anything else (a missing key loads as -1) is no player.
enum class MediaPlayer { kNone, kWindowsMediaPlayer, kITunes, kVlc, kWinamp };
MediaPlayer PlayerFromOption(int mediaOption);
const char* PlayerName(MediaPlayer player);

enum class MediaKey { kStartPlayer, kNext, kPrevious, kPlayPause, kStop, kMute, kVolumeUp, kVolumeDown };
// nullopt for a key byte outside 0x20..0x27.
std::optional<MediaKey> MediaKeyFromByte(std::uint8_t keyByte);

// The system key for a media key; 0 for the start key, which has none.
std::uint8_t SystemVirtualKey(MediaKey key);

enum class CommandKind {
    kNone,
    kChordSent,         // iTunes: Ctrl down, key down, key up, Ctrl up, each sent, 100 ms apart
    kTapPosted,         // key down posted, 100 ms, key up posted
    kWinampCommand,     // WM_COMMAND commandId, sent
    kWinampPlayToggle,  // WM_COMMAND 40045 or 40046, by the play toggle
};

struct PlayerCommand {
    CommandKind kind = CommandKind::kNone;
    std::uint8_t virtualKey = 0;  // kChordSent, kTapPosted
    unsigned commandId = 0;       // kWinampCommand
};

// The command for keys 0x21..0x27 (the start key has none).
PlayerCommand PlayerCommandFor(MediaPlayer player, MediaKey key);

}  // namespace brenik::monitor::media
