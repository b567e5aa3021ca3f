#include "player_paths.h"

#include <algorithm>
#include <cctype>

namespace brenik::monitor::media {
namespace {

constexpr char kQuote = '"';
constexpr std::string_view kVlcOptionsStart = "--started";

constexpr PlayerRegistration kWindowsMediaPlayer{"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wmplayer.exe", "",
                                                 true};
constexpr PlayerRegistration kITunes{"SOFTWARE\\Apple Computer, Inc.\\iPod\\RegisteredApps\\4", "path", false};
constexpr PlayerRegistration kVlc{"SOFTWARE\\Classes\\Applications\\vlc.exe\\shell\\play\\command", "", false};
constexpr PlayerRegistration kWinamp{"SOFTWARE\\Classes\\Winamp.File\\shell\\open\\command", "", false};

// The text after the quotation mark at `open` up to the next one, or to the end.
std::string_view Quoted(std::string_view text, std::size_t open) {
    const std::size_t begin = open + 1;
    const std::size_t close = text.find(kQuote, begin);
    return close == std::string_view::npos ? text.substr(begin) : text.substr(begin, close - begin);
}

std::string_view VlcPath(std::string_view text) {
    if (!text.empty() && text.front() == kQuote) return Quoted(text, 0);
    return text.substr(0, text.find(kVlcOptionsStart));
}

std::string_view WinampPath(std::string_view text) {
    const std::size_t open = text.find(kQuote);
    return open == std::string_view::npos ? text : Quoted(text, open);
}

std::optional<std::string> IfNamed(std::string_view path, std::string_view name) {
    if (!ContainsIgnoringCase(path, name)) return std::nullopt;
    return std::string(path);
}

}  // namespace

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
    const auto same = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    };
    return std::search(text.begin(), text.end(), part.begin(), part.end(), same) != text.end();
}

std::optional<PlayerRegistration> RegistrationOf(MediaPlayer player) {
    switch (player) {
        case MediaPlayer::kWindowsMediaPlayer: return kWindowsMediaPlayer;
        case MediaPlayer::kITunes: return kITunes;
        case MediaPlayer::kVlc: return kVlc;
        case MediaPlayer::kWinamp: return kWinamp;
        case MediaPlayer::kNone: break;
    }
    return std::nullopt;
}

std::optional<std::string> ProgramPathFrom(MediaPlayer player, std::string_view registered) {
    switch (player) {
        case MediaPlayer::kWindowsMediaPlayer:
            if (registered.empty()) return std::nullopt;
            return std::string(registered);
        case MediaPlayer::kITunes: return IfNamed(registered, "iTunes");
        case MediaPlayer::kVlc: return IfNamed(VlcPath(registered), "vlc");
        case MediaPlayer::kWinamp: return IfNamed(WinampPath(registered), "winamp");
        case MediaPlayer::kNone: break;
    }
    return std::nullopt;
}

}  // namespace brenik::monitor::media
