#pragma once
// The box a macro is typed into while it is recorded: a control of our own class that takes
// every key, Tab, Enter, Escape and Alt included (the dialog would otherwise move the focus,
// press a button or open its menu), and hands each one to its dialog as it came: the message's
// time, the virtual-key code, the scan code and the extended bit. It says when it loses the
// focus, which ends a recording. Shown greyed while no recording runs, so it takes no focus.

#include "macro_recorder.h"

#include <windows.h>

namespace brenik::option {

// The class the dialog template names for the box.
inline constexpr wchar_t kRecordingBoxClass[] = L"BrenikMacroRecordingBox";

// Sent to the dialog for every key message the box gets: lParam points to the RecordedKey.
constexpr UINT kMsgRecordedKey = WM_APP + 40;
// Sent to the dialog when the box loses the focus: wParam is the window taking it, if any.
constexpr UINT kMsgRecordingBoxLeft = WM_APP + 41;

// Registers the box's class for this program, once; false when the system refused it.
bool RegisterRecordingBox();

// The key a key message describes, as the recorder takes it.
RecordedKey RecordedKeyOf(UINT message, WPARAM wParam, LPARAM lParam, DWORD timeMs);

}  // namespace brenik::option
