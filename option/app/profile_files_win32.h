#pragma once
// A profile to and from a profile file, from the window: the same files as the settings tool's
// export and import, read and written by the editing core. An import becomes the user's edit of
// the profile (one step, which Undo takes back; Apply sends it), the profile files as they were
// kept in the history first; an export writes the profile as the window shows it.

#include "settings_page_win32.h"

#include <windows.h>

namespace brenik::option {

void ImportProfileFromFile(HWND owner, PageContext& context, int profile);
void ExportProfileToFile(HWND owner, PageContext& context, int profile);

}  // namespace brenik::option
