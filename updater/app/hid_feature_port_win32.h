#pragma once
// The update's reports through kbhid.dll, and its waits on the real clock.

#include "feature_port.h"
#include "hid_library.h"
#include "update_clock.h"

#include <windows.h>

namespace brenik::updater {

class HidFeaturePort : public FeaturePort {
public:
    explicit HidFeaturePort(const hid::HidLibrary& library) : library_(library) {}
    bool SetFeature(std::uint8_t* buffer, std::size_t length) override {
        return library_.SetFeature(buffer, static_cast<int>(length));
    }
    bool GetFeature(std::uint8_t* buffer, std::size_t length) override {
        return library_.GetFeature(buffer, static_cast<int>(length));
    }

private:
    const hid::HidLibrary& library_;
};

class SleepClock : public UpdateClock {
public:
    void SleepMs(std::uint32_t milliseconds) override { Sleep(milliseconds); }
};

}  // namespace brenik::updater
