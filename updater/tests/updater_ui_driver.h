#pragma once
// Finds KeyFwFlash's dialogs as a user sees them and works them: by title where they have
// one, else by shape (size, number of buttons, owner); buttons in their order from the left;
// clicks through button messages or through real mouse input, as a user would.

#include <windows.h>

#include <functional>
#include <vector>

namespace brenik::updater::ui {

enum class DialogKind { kMain, kConfirm, kFail, kSuccess, kDriver };

HWND FindDialog(DialogKind kind);
HWND WaitForDialog(DialogKind kind, DWORD timeoutMs);

SIZE ClientSize(HWND window);
// The skinned buttons of a dialog, from the left.
std::vector<HWND> SkinButtons(HWND dialog);
// The main dialog's progress bar position, -1 when there is none.
int ProgressPosition(HWND mainDialog);

// A click as the button's own message.
void Click(HWND button);
// A key pressed and let go, posted to the window.
void PressKey(HWND window, WPARAM key);

// Real mouse input.
void MoveMouseTo(POINT screen);
void MoveMouseAway();
void HoverOver(HWND button);
void MouseClick(HWND button);
// Presses the left button where the mouse is, moves it by dx, dy in steps and lets go.
void PressAndDragBy(int dx, int dy);
// Holds the left button down on the button, calls whileDown, then moves off the button and
// lets go, so that nothing is clicked.
void PressWithoutClick(HWND button, const std::function<void()>& whileDown);

}  // namespace brenik::updater::ui
