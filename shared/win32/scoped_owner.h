#pragma once
// One owner for every kind of Win32 handle: it frees the handle when it goes out of scope, so
// an early return leaks nothing, and it can be moved but not copied. A kind of handle is
// described by a small traits type: its empty value, which values are real handles, and how
// one is freed.
//
//   struct Traits {
//       static T Empty();
//       static bool Valid(T value);
//       static void Free(T value);   // called for valid values only
//   };

#include <utility>

namespace brenik::win32 {

template <typename T, typename Traits>
class ScopedOwner {
public:
    ScopedOwner() = default;
    explicit ScopedOwner(T value) : value_(value) {}
    ~ScopedOwner() { Reset(); }

    ScopedOwner(ScopedOwner&& other) noexcept : value_(other.Release()) {}
    ScopedOwner& operator=(ScopedOwner&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    ScopedOwner(const ScopedOwner&) = delete;
    ScopedOwner& operator=(const ScopedOwner&) = delete;

    bool Valid() const { return Traits::Valid(value_); }
    T Get() const { return value_; }
    // Gives up ownership, e.g. of a region handed to a window.
    T Release() { return std::exchange(value_, Traits::Empty()); }
    void Reset(T value = Traits::Empty()) {
        if (Valid()) Traits::Free(value_);
        value_ = value;
    }

private:
    T value_ = Traits::Empty();
};

}  // namespace brenik::win32
