#pragma once
// The volume controller's private messages to its own window. No other program of the product
// relies on them; the stand-in's tests and the desktop demo (which play the system) post
// kMsgStandInChanged (WM_APP + 2, 0x8002).

#include <windows.h>

namespace brenik::volumebar {

// The system's volume changed: wParam = the level 0..100, lParam 1 when the change was the
// controller's own set (posted by the endpoint's callback, which runs on a thread of the
// system's).
constexpr UINT kMsgSystemVolumeChanged = WM_APP + 1;
// The stand-in's level file was changed from outside: read it again and say so.
constexpr UINT kMsgStandInChanged = WM_APP + 2;

}  // namespace brenik::volumebar
