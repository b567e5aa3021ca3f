#pragma once
// Owns one mapped view of a file mapping and unmaps it when it goes out of scope.

#include "scoped_owner.h"

#include <windows.h>

namespace brenik::win32 {

struct MapViewTraits {
    static void* Empty() { return nullptr; }
    static bool Valid(void* view) { return view != nullptr; }
    static void Free(void* view) { UnmapViewOfFile(view); }
};

using ScopedMapView = ScopedOwner<void*, MapViewTraits>;

}  // namespace brenik::win32
