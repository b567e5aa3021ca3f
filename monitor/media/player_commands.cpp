#include "player_commands.h"

#include "media_key_codes.h"

namespace brenik::monitor::media {

MediaPlayer PlayerFromOption(int mediaOption) {
    switch (mediaOption) {
        case 0: return MediaPlayer::kWindowsMediaPlayer;
        case 1: return MediaPlayer::kITunes;
        case 2: return MediaPlayer::kVlc;
        case 3: return MediaPlayer::kWinamp;
        default: return MediaPlayer::kNone;
    }
}

const char* PlayerName(MediaPlayer player) {
    switch (player) {
        case MediaPlayer::kWindowsMediaPlayer: return "Windows Media Player";
        case MediaPlayer::kITunes: return "iTunes";
        case MediaPlayer::kVlc: return "VLC";
        case MediaPlayer::kWinamp: return "Winamp";
        case MediaPlayer::kNone: break;
    }
    return "no player";
}

std::optional<MediaKey> MediaKeyFromByte(std::uint8_t keyByte) {
    switch (keyByte) {
        case kKeyStartPlayer: return MediaKey::kStartPlayer;
        case kKeyNext: return MediaKey::kNext;
        case kKeyPrevious: return MediaKey::kPrevious;
        case kKeyPlayPause: return MediaKey::kPlayPause;
        case kKeyStop: return MediaKey::kStop;
        case kKeyMute: return MediaKey::kMute;
        case kKeyVolumeUp: return MediaKey::kVolumeUp;
        case kKeyVolumeDown: return MediaKey::kVolumeDown;
        default: return std::nullopt;
    }
}

std::uint8_t SystemVirtualKey(MediaKey key) {
    switch (key) {
        case MediaKey::kNext: return kVkMediaNextTrack;
        case MediaKey::kPrevious: return kVkMediaPrevTrack;
        case MediaKey::kPlayPause: return kVkMediaPlayPause;
        case MediaKey::kStop: return kVkMediaStop;
        case MediaKey::kMute: return kVkVolumeMute;
        case MediaKey::kVolumeUp: return kVkVolumeUp;
        case MediaKey::kVolumeDown: return kVkVolumeDown;
        case MediaKey::kStartPlayer: break;
    }
    return 0;
}

namespace {

constexpr PlayerCommand kNothing{};
constexpr PlayerCommand Chord(std::uint8_t vk) { return {CommandKind::kChordSent, vk, 0}; }
constexpr PlayerCommand Tap(std::uint8_t vk) { return {CommandKind::kTapPosted, vk, 0}; }
constexpr PlayerCommand Winamp(unsigned id) { return {CommandKind::kWinampCommand, 0, id}; }
constexpr PlayerCommand kWinampToggle{CommandKind::kWinampPlayToggle, 0, 0};

// Rows: next, previous, play/pause, stop; mute and volume have no player command.
struct PlayerRow {
    PlayerCommand next, previous, playPause, stop;
};
constexpr PlayerRow kITunesRow{Chord(kVkRight), Chord(kVkLeft), Tap(kVkSpace), Tap(kVkSpace)};
constexpr PlayerRow kVlcRow{Tap(kVkN), Tap(kVkP), Tap(kVkSpace), Tap(kVkS)};
constexpr PlayerRow kWinampRow{Winamp(kWinampNext), Winamp(kWinampPrevious), kWinampToggle, Winamp(kWinampStop)};

const PlayerRow* RowOf(MediaPlayer player) {
    switch (player) {
        case MediaPlayer::kITunes: return &kITunesRow;
        case MediaPlayer::kVlc: return &kVlcRow;
        case MediaPlayer::kWinamp: return &kWinampRow;
        default: return nullptr;  // Windows Media Player hears the system key only
    }
}

}  // namespace

PlayerCommand PlayerCommandFor(MediaPlayer player, MediaKey key) {
    const PlayerRow* row = RowOf(player);
    if (row == nullptr) return kNothing;
    switch (key) {
        case MediaKey::kNext: return row->next;
        case MediaKey::kPrevious: return row->previous;
        case MediaKey::kPlayPause: return row->playPause;
        case MediaKey::kStop: return row->stop;
        default: return kNothing;
    }
}

}  // namespace brenik::monitor::media
