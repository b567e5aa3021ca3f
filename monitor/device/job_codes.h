#pragma once
// The jobs of the job thread, as the main window posts them (thread message 1649, wParam the
// job, lParam its argument) and the device jobs take them.

#include <cstdint>

namespace brenik::monitor::device {

constexpr int kJobApplyChanges = 1;         // argument kApplyWholeKeyboard: the whole-keyboard command
constexpr int kJobSynchronise = 2;
constexpr int kJobWriteCurrentProfile = 3;
constexpr int kJobReadRecordedMacro = 4;    // argument: key number
// Not a keyboard job but the volume level (message 1332, argument the volume 0..100): on the
// job thread, so that a busy keyboard never holds the window for a handshake.
constexpr int kJobWriteVolume = 5;
constexpr std::intptr_t kApplyWholeKeyboard = 1;

}  // namespace brenik::monitor::device
