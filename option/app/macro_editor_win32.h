#pragma once
// The macro of one key, edited in a modal dialog over the window: its name (the one the
// on-screen notice shows when it plays), its actions as a list, recorded from the computer's
// keyboard or built and changed one action at a time, how full it is, and a box to try it in.
// Every change goes through the draft, so what the dialog lets through the editing core takes.

#include "field_binding_win32.h"
#include "macro_draft.h"

#include <windows.h>

namespace brenik::option {

// True when the user took the macro (OK): the draft then holds it, and its ToEntry(key)
// succeeds. Cancel leaves the draft as it came. `profile` and `key` count from 0.
bool EditMacro(HWND owner, const Fonts& fonts, int profile, int key, MacroDraft& draft);

}  // namespace brenik::option
