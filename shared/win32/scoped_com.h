#pragma once
// Owns one reference to a COM object and releases it when it goes out of scope.

#include "scoped_owner.h"

namespace brenik::win32 {

template <typename T>
struct ComTraits {
    static T* Empty() { return nullptr; }
    static bool Valid(T* object) { return object != nullptr; }
    static void Free(T* object) { object->Release(); }
};

template <typename T>
using ScopedCom = ScopedOwner<T*, ComTraits<T>>;

}  // namespace brenik::win32
