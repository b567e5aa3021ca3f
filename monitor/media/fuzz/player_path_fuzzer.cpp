// The registry values through which the media players say where they are installed (any
// text another installer may have left there), and registry key paths as the monitor names
// them.
//
// Input: a byte choosing the player (and, at 0xFF, a registry path instead), then the text.
//
// Properties:
// - a program path is a piece of the registered text, never more, and carries its player's
//   name (any case) for every player but Windows Media Player, whose text is taken whole;
// - VLC's path ends before a closing quotation mark or "--started", Winamp's before a closing
//   quotation mark; neither keeps an opening one;
// - a registry path is refused, with a debugger line, exactly when it has no backslash or is
//   longer than 263 characters; an accepted one's sub-key is the path's end.

#include "fuzz_input.h"
#include "player_paths.h"
#include "registry_path.h"

#include <string>

namespace {

using namespace brenik;
using namespace brenik::monitor::media;

constexpr MediaPlayer kPlayers[] = {MediaPlayer::kNone, MediaPlayer::kWindowsMediaPlayer, MediaPlayer::kITunes,
                                    MediaPlayer::kVlc, MediaPlayer::kWinamp};

void CheckRegistryPath(std::string_view path) {
    const auto parsed = ParseRegistryPath(path);
    const bool refused = path.find('\\') == std::string_view::npos || path.size() > kMaxRegistryPathChars;
    FUZZ_CHECK(parsed.has_value() == !refused);
    if (!parsed) {
        FUZZ_CHECK(!test::DebugLines().empty());
        return;
    }
    FUZZ_CHECK(parsed->subKey.size() <= path.size());
    FUZZ_CHECK(path.substr(path.size() - parsed->subKey.size()) == parsed->subKey);
    if (parsed->subKey.size() < path.size()) {
        // A root word was taken off, with its backslash.
        FUZZ_CHECK(path[path.size() - parsed->subKey.size() - 1] == '\\');
    } else {
        FUZZ_CHECK(parsed->root == RegistryRoot::kLocalMachine);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    test::StartInput();
    test::FuzzInput input(data, size);
    const std::uint8_t choice = input.Byte();
    const std::string text(input.Rest());
    if (choice == 0xFF) {
        CheckRegistryPath(text);
        return 0;
    }
    const MediaPlayer player = kPlayers[choice % std::size(kPlayers)];
    const auto path = ProgramPathFrom(player, text);
    if (!path) return 0;
    FUZZ_CHECK(player != MediaPlayer::kNone);
    FUZZ_CHECK(text.find(*path) != std::string::npos);
    switch (player) {
    case MediaPlayer::kWindowsMediaPlayer: FUZZ_CHECK(*path == text); break;
    case MediaPlayer::kITunes: FUZZ_CHECK(ContainsIgnoringCase(*path, "iTunes")); break;
    case MediaPlayer::kVlc:
        FUZZ_CHECK(ContainsIgnoringCase(*path, "vlc"));
        FUZZ_CHECK(path->find('"') == std::string::npos || text.front() != '"');
        if (!text.empty() && text.front() == '"') FUZZ_CHECK(path->find('"') == std::string::npos);
        else FUZZ_CHECK(path->find("--started") == std::string::npos);
        break;
    case MediaPlayer::kWinamp:
        FUZZ_CHECK(ContainsIgnoringCase(*path, "winamp"));
        if (text.find('"') != std::string::npos) FUZZ_CHECK(path->find('"') == std::string::npos);
        else FUZZ_CHECK(*path == text);
        break;
    case MediaPlayer::kNone: break;
    }
    return 0;
}
