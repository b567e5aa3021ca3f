#pragma once
// The window's words come from the one string table of option.rc.

#include <windows.h>

#include <string>

namespace brenik::option {

std::wstring Text(UINT id);
// The string as a format, filled in with the arguments (swprintf's rules).
std::wstring Format(UINT id, ...);
// A file dialog's filter written "Text|*.x|" in the table, with the NULs the dialog wants.
std::wstring FileDialogFilter(UINT id);

}  // namespace brenik::option
