#pragma once
// The virtual keyboard as the transfer sees it, in virtual time: reports go straight to the
// model, sleeps only move the clock forward.

#include "feature_reports.h"
#include "abortable_sleep.h"
#include "virtual_keyboard.h"

#include <cstdint>
#include <vector>

namespace brenik::updater::test {

class VirtualClock : public ISleepClock {
public:
    void SleepMs(std::uint32_t ms) override { nowMs += ms; }
    std::uint64_t nowMs = 0;
};

class KeyboardPort : public hid::IFeatureReports {
public:
    explicit KeyboardPort(const VirtualClock& clock)
        : keyboard([&clock] { return clock.nowMs * 1000; }) {}
    bool SetFeature(std::uint8_t* buffer, std::size_t length) override {
        ++sets;
        return keyboard.SetFeature(buffer, length);
    }
    bool GetFeature(std::uint8_t* buffer, std::size_t length) override {
        ++gets;
        return keyboard.GetFeature(buffer, length);
    }
    vkb::VirtualKeyboard keyboard;
    int sets = 0;
    int gets = 0;
};

}  // namespace brenik::updater::test
