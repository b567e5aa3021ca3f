#include "sound_player_win32.h"

#include <windows.h>

#include <mmsystem.h>

namespace brenik::monitor::sound {
namespace {

// By file name, asynchronously, not waiting for a busy device. SND_NODEFAULT too: without it
// Windows plays the system's default sound where a cue's file is missing or unreadable, and a
// missing cue must play nothing. (Wine never plays a default for SND_FILENAME and ignores
// SND_NOWAIT, so only Windows shows the difference.)
constexpr DWORD kPlayFlags = SND_FILENAME | SND_ASYNC | SND_NOWAIT | SND_NODEFAULT;
static_assert(kPlayFlags == 0x22003, "the cue's PlaySound flags");

}  // namespace

void Win32SoundPlayer::PlayFile(const std::string& path) { PlaySoundA(path.c_str(), nullptr, kPlayFlags); }

}  // namespace brenik::monitor::sound
