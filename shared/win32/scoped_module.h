#pragma once
// Owns one loaded library and frees it when it goes out of scope.

#include <windows.h>

#include <utility>

namespace brenik::win32 {

class ScopedModule {
public:
    ScopedModule() = default;
    explicit ScopedModule(HMODULE module) : module_(module) {}
    ~ScopedModule() { Reset(); }

    ScopedModule(ScopedModule&& other) noexcept : module_(std::exchange(other.module_, nullptr)) {}
    ScopedModule& operator=(ScopedModule&& other) noexcept {
        if (this != &other) {
            Reset();
            module_ = std::exchange(other.module_, nullptr);
        }
        return *this;
    }
    ScopedModule(const ScopedModule&) = delete;
    ScopedModule& operator=(const ScopedModule&) = delete;

    bool Valid() const { return module_ != nullptr; }
    HMODULE Get() const { return module_; }

    void Reset(HMODULE module = nullptr) {
        if (module_ != nullptr) FreeLibrary(module_);
        module_ = module;
    }

private:
    HMODULE module_ = nullptr;
};

}  // namespace brenik::win32
