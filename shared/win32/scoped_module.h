#pragma once
// Owns one loaded library and frees it when it goes out of scope.

#include "scoped_owner.h"

#include <windows.h>

namespace brenik::win32 {

struct ModuleTraits {
    static HMODULE Empty() { return nullptr; }
    static bool Valid(HMODULE module) { return module != nullptr; }
    static void Free(HMODULE module) { FreeLibrary(module); }
};

using ScopedModule = ScopedOwner<HMODULE, ModuleTraits>;

}  // namespace brenik::win32
