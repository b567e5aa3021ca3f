#pragma once
// "Review changes": what an Apply will send to the keyboard, line by line in the order it is
// sent, the warnings first. A modal dialog over the window; its Apply button applies.

#include <windows.h>

#include <string>
#include <vector>

namespace brenik::option {

// True when the user chose Apply.
bool ShowReview(HWND owner, const std::vector<std::wstring>& lines, bool canApply);

}  // namespace brenik::option
