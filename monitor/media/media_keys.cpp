#include "media_keys.h"

#include "debug_output.h"
#include "keystroke_lparam.h"
#include "media_key_codes.h"
#include "player_paths.h"

#include <string>

namespace brenik::monitor::media {

using media::CommandKind;
using media::MediaKey;
using media::MediaPlayer;
using media::PlayerCommand;

namespace {

constexpr const char* kITunesClass = "iTunes";
constexpr const char* kITunesTitle = "iTunes";
constexpr const char* kVlcClass = "QWidget";
constexpr const char* kVlcTitlePart = "VLC";
constexpr const char* kWinampClass = "Winamp v1.x";
constexpr const char* kWindowsMediaPlayerTitle = "Windows Media Player";

// The z-order walk ends here at the latest, should windows keep moving while it runs.
constexpr int kMaxWindowsWalked = 10000;

}  // namespace

MediaKeys::MediaKeys(WorkingCopy& state, const MediaPlatform& platform) : state_(state), platform_(platform) {}

void MediaKeys::OnKey(std::uint8_t code, std::uint8_t flag) {
    const std::optional<MediaKey> key = media::MediaKeyFromByte(code);
    if (flag != 0 || !key) {
        DebugPrintf("MediaKeys: key 0x%02X with qualifier %u ignored\n", code, flag);
        return;
    }
    const MediaPlayer player = CurrentPlayer();
    if (*key == MediaKey::kStartPlayer) {
        StartOrBringUp(player);
        return;
    }
    platform_.keyboard.TapSystemKey(media::SystemVirtualKey(*key));
    SendPlayerCommand(player, *key);
}

MediaPlayer MediaKeys::CurrentPlayer() {
    return state_.Use([](StateRecord& state) {
        const ProfileRecord* profile = CurrentProfileRecord(state);
        return profile ? media::PlayerFromOption(profile->MediaOption) : MediaPlayer::kNone;
    });
}

void MediaKeys::SendPlayerCommand(MediaPlayer player, MediaKey key) {
    const PlayerCommand command = media::PlayerCommandFor(player, key);
    switch (player) {
        case MediaPlayer::kITunes: SendToITunes(command); break;
        case MediaPlayer::kVlc: SendToVlc(command); break;
        case MediaPlayer::kWinamp: SendToWinamp(command); break;
        default: break;  // Windows Media Player and no player: the system key is all
    }
}

void MediaKeys::SendToITunes(const PlayerCommand& command) {
    if (command.kind == CommandKind::kNone) return;
    const WindowId window = platform_.windows.Find(kITunesClass, kITunesTitle);
    if (window == kNoWindow) return;
    if (command.kind == CommandKind::kChordSent) SendChord(window, command.virtualKey);
    if (command.kind == CommandKind::kTapPosted) PostTap(window, command.virtualKey);
}

void MediaKeys::SendToVlc(const PlayerCommand& command) {
    const WindowId window = FindVlc();
    if (window == kNoWindow) return;
    platform_.windows.BringToForeground(window);
    if (command.kind == CommandKind::kTapPosted) PostTap(window, command.virtualKey);
}

void MediaKeys::SendToWinamp(const PlayerCommand& command) {
    const WindowId window = platform_.windows.Find(kWinampClass, nullptr);
    if (window == kNoWindow) {
        StartInstalled(MediaPlayer::kWinamp);
        return;
    }
    if (command.kind == CommandKind::kNone) return;
    const unsigned id = command.kind == CommandKind::kWinampPlayToggle ? winampToggle_.Next() : command.commandId;
    if (!platform_.windows.SendBounded(window, media::kWmCommand, id, 0)) {
        DebugPrintf("MediaKeys: Winamp did not take command %u within %u ms\n", id, kPlayerAnswerTimeoutMs);
    }
}

void MediaKeys::SendChord(WindowId window, std::uint8_t virtualKey) {
    struct Keystroke {
        unsigned message;
        std::uint8_t virtualKey;
        std::uint32_t lParam;
    };
    const Keystroke strokes[] = {
        {media::kWmKeyDown, media::kVkControl, media::KeyDownLParam(media::kVkControl)},
        {media::kWmKeyDown, virtualKey, media::KeyDownLParam(virtualKey)},
        {media::kWmKeyUp, virtualKey, media::KeyUpLParam(virtualKey)},
        {media::kWmKeyUp, media::kVkControl, media::KeyUpLParam(media::kVkControl)},
    };
    bool first = true;
    for (const Keystroke& stroke : strokes) {
        if (!first) platform_.clock.SleepMs(media::kKeystrokePauseMs);
        first = false;
        // lParam is a 32-bit pattern; the message carries it as the unsigned value it is.
        if (!platform_.windows.SendBounded(window, stroke.message, stroke.virtualKey, static_cast<std::intptr_t>(stroke.lParam))) {
            DebugPrintf("MediaKeys: iTunes did not take a keystroke within %u ms; the rest not sent\n", kPlayerAnswerTimeoutMs);
            return;
        }
    }
}

void MediaKeys::PostTap(WindowId window, std::uint8_t virtualKey) {
    platform_.windows.Post(window, media::kWmKeyDown, virtualKey, static_cast<std::intptr_t>(media::KeyDownLParam(virtualKey)));
    platform_.clock.SleepMs(media::kKeystrokePauseMs);
    platform_.windows.Post(window, media::kWmKeyUp, virtualKey, static_cast<std::intptr_t>(media::KeyUpLParam(virtualKey)));
}

WindowId MediaKeys::FindVlc() {
    WindowId window = platform_.windows.Find(kVlcClass, nullptr);
    for (int walked = 0; window != kNoWindow && walked < kMaxWindowsWalked; ++walked) {
        if (platform_.windows.ClassName(window) == kVlcClass &&
            platform_.windows.Title(window).find(kVlcTitlePart) != std::string::npos) {
            return window;
        }
        window = platform_.windows.NextInZOrder(window);
    }
    return kNoWindow;
}

void MediaKeys::StartOrBringUp(MediaPlayer player) {
    if (player == MediaPlayer::kWindowsMediaPlayer) {
        const WindowId running = platform_.windows.Find(nullptr, kWindowsMediaPlayerTitle);
        if (running != kNoWindow) {
            platform_.windows.BringForwardAttached(running);
            return;
        }
    }
    StartInstalled(player);
}

void MediaKeys::StartInstalled(MediaPlayer player) {
    const std::optional<media::PlayerRegistration> registration = media::RegistrationOf(player);
    if (!registration) return;
    std::optional<std::string> text =
        platform_.registry.ReadString(registration->keyPath, registration->valueName, media::kPlayerValueBytes);
    if (text && registration->expandEnvironment) text = platform_.programs.ExpandEnvironment(*text);
    if (!text) return;
    const std::optional<std::string> path = media::ProgramPathFrom(player, *text);
    if (!path) {
        DebugPrintf("MediaKeys: registered path of %s refused: \"%s\"\n", media::PlayerName(player), text->c_str());
        return;
    }
    if (!platform_.programs.Start(*path)) DebugPrintf("MediaKeys: could not start \"%s\"\n", path->c_str());
}

}  // namespace brenik::monitor::media
