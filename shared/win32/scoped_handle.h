#pragma once
// Owns one kernel handle (file, mutex, event, thread, mapping, process). Both failure values
// the platform uses, NULL and INVALID_HANDLE_VALUE, count as "no handle".

#include "scoped_owner.h"

#include <windows.h>

namespace brenik::win32 {

struct KernelHandleTraits {
    static HANDLE Empty() { return nullptr; }
    static bool Valid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE handle) { CloseHandle(handle); }
};

using ScopedHandle = ScopedOwner<HANDLE, KernelHandleTraits>;

}  // namespace brenik::win32
