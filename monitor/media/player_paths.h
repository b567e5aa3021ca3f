#pragma once
// Where each player is installed, as it registers itself under HKEY_LOCAL_MACHINE, and how
// its program path is taken out of the registered text. Every value is read as a string of at
// most 260 bytes (kPlayerValueBytes); a player is started only when its path passes its name
// test (contains the name, without regard to case):
// - Windows Media Player: the default value of its App Paths key, environment variables
//   expanded; no name test (an empty path starts nothing).
// - iTunes: value "path" of the iPod's registered application 4; must contain "iTunes".
// - VLC: the default value of its play command. Text beginning with a quotation mark gives
//   the text up to the next one; other text gives the text before the first "--started" (the
//   whole text if there is none). Must contain "vlc".
// - Winamp: the default value of its open command. Text holding a quotation mark anywhere
//   gives the text between the first one and the next; other text is taken whole (no
//   "--started" cut). Must contain "winamp".
// A quotation mark that is never closed runs to the end of the text.

#include "player_commands.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brenik::monitor::media {

constexpr std::size_t kPlayerValueBytes = 260;

struct PlayerRegistration {
    const char* keyPath;    // below HKEY_LOCAL_MACHINE
    const char* valueName;  // "" for the key's default value
    bool expandEnvironment;
};

// nullopt for no player.
std::optional<PlayerRegistration> RegistrationOf(MediaPlayer player);

// The program path in a registered text by the player's rule, or nullopt when the path fails
// the player's name test. For Windows Media Player the text is taken as it is (expanded by
// the caller).
std::optional<std::string> ProgramPathFrom(MediaPlayer player, std::string_view registered);

bool ContainsIgnoringCase(std::string_view text, std::string_view part);

}  // namespace brenik::monitor::media
