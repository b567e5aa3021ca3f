#pragma once
// The 32-bit event word: high 16 bits the event class, low 16 bits the sub-code, whose low
// byte is the key byte and high byte the qualifier.

#include "kbhid_api.h"

#include <cstdint>

namespace brenik::monitor {

using EventWord = std::uint32_t;

enum EventClass : std::uint16_t {
    kClassProfile = 0x3000,
    kClassMacroPlayed = 0x4000,
    kClassMacroRecord = 0x5000,
    kClassLaunch = 0x6000,
    kClassMedia = 0x7000,
    kClassDevice = 0x7F00,
    kClassVolume = 0xA000,
    kClassCountdownStep = 0xB000,
    kClassCountdownStop = 0xC000,
    kClassLighting = 0xD000,
    kClassLayer = 0xE000,
    kClassWindowsKey = 0xF000,
};

// Sub-codes of kClassDevice.
constexpr std::uint16_t kDeviceEventNone = 0;
constexpr std::uint16_t kDeviceEventArrived = 1;
constexpr std::uint16_t kDeviceEventRemoved = 2;

// Qualifier of kClassMacroRecord that ends a live recording.
constexpr std::uint8_t kRecordFinished = 3;

// Message 1325: wParam carries the class, lParam the sub-code (low 16 bits of each).
inline EventWord MakeKeyEventWord(std::uintptr_t wParam, std::intptr_t lParam) {
    return static_cast<EventWord>((wParam & 0xFFFF) << 16) | static_cast<EventWord>(static_cast<std::uintptr_t>(lParam) & 0xFFFF);
}

// Message 1326: wParam 1 arrived, 0 removed; anything else is "no change".
inline EventWord MakeDeviceEventWord(std::uintptr_t wParam) {
    const std::uint16_t sub = wParam == hid::kDeviceArrived   ? kDeviceEventArrived
                              : wParam == hid::kDeviceRemoved ? kDeviceEventRemoved
                                                              : kDeviceEventNone;
    return static_cast<EventWord>(kClassDevice) << 16 | sub;
}

inline std::uint16_t ClassOf(EventWord word) { return static_cast<std::uint16_t>(word >> 16); }
inline std::uint16_t SubCodeOf(EventWord word) { return static_cast<std::uint16_t>(word & 0xFFFF); }
inline std::uint8_t KeyByteOf(EventWord word) { return static_cast<std::uint8_t>(word & 0xFF); }
inline std::uint8_t QualifierOf(EventWord word) { return static_cast<std::uint8_t>((word >> 8) & 0xFF); }

}  // namespace brenik::monitor
