#pragma once
// Pictures of what is on the screen, for end-to-end tests that keep what the user saw: a
// window's rectangle (whatever shows there, so a shaped window shows what is behind its
// cut-away parts) or the whole screen, saved as a 24-bit BMP file.

#include <windows.h>

#include <string>

namespace brenik::test {

bool SaveScreenRect(const RECT& rect, const std::string& bmpPath);
bool SaveWindowImage(HWND window, const std::string& bmpPath);
bool SaveScreenImage(const std::string& bmpPath);

}  // namespace brenik::test
