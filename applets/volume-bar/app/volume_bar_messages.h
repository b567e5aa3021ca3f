#pragma once
// The volume controller's private messages to its own window. Private: no other program
// relies on them, but the stand-in's test (which plays the system) posts kMsgStandInChanged.

#include <windows.h>

namespace brenik::volumebar {

// The system's volume changed: wParam = the level 0..100 (posted by the endpoint's callback,
// which runs on a thread of the system's).
constexpr UINT kMsgSystemVolumeChanged = WM_APP + 1;
// The stand-in's level file was changed from outside: read it again and say so.
constexpr UINT kMsgStandInChanged = WM_APP + 2;

}  // namespace brenik::volumebar
