#pragma once
// The window's size and place, remembered for the user in the registry
// (HKEY_CURRENT_USER\Software\Brenik\Brenik Option, value "Placement"). A stored place that
// lies on no monitor now (a screen unplugged since) is not used, nor a value of another size;
// a size kept at another DPI is scaled, and the window is kept inside the screen's work area.

#include <windows.h>

namespace brenik::option {

bool RestorePlacement(HWND window, int showCommand);
void SavePlacement(HWND window);

}  // namespace brenik::option
