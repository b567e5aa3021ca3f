#pragma once
// Owns one file search (FindFirstFile) and closes it when it goes out of scope.

#include "scoped_owner.h"

#include <windows.h>

namespace brenik::win32 {

struct FindTraits {
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE search) { return search != INVALID_HANDLE_VALUE && search != nullptr; }
    static void Free(HANDLE search) { FindClose(search); }
};

using ScopedFind = ScopedOwner<HANDLE, FindTraits>;

}  // namespace brenik::win32
