#pragma once
// Owns one mapped view of a file mapping and unmaps it when it goes out of scope.

#include <windows.h>

#include <utility>

namespace brenik::win32 {

class ScopedMapView {
public:
    ScopedMapView() = default;
    explicit ScopedMapView(void* view) : view_(view) {}
    ~ScopedMapView() { Reset(); }

    ScopedMapView(ScopedMapView&& other) noexcept : view_(std::exchange(other.view_, nullptr)) {}
    ScopedMapView& operator=(ScopedMapView&& other) noexcept {
        if (this != &other) {
            Reset();
            view_ = std::exchange(other.view_, nullptr);
        }
        return *this;
    }
    ScopedMapView(const ScopedMapView&) = delete;
    ScopedMapView& operator=(const ScopedMapView&) = delete;

    bool Valid() const { return view_ != nullptr; }
    void* Get() const { return view_; }

    void Reset(void* view = nullptr) {
        if (view_) UnmapViewOfFile(view_);
        view_ = view;
    }

private:
    void* view_ = nullptr;
};

}  // namespace brenik::win32
