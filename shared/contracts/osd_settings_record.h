#pragma once
// OsdSettings: the on-screen display's settings as the settings program stores them in
// config.ini (kOsdSettingsSection / kOsdSettingsKey of config_ini_keys.h, a checksummed struct
// value of 344 bytes, little-endian), and how message 1326 (kMsgOsdSettings) hands two of its
// fields to the display. The monitor reads the switches below and passes the two display
// values on; everything from offset 36 belongs to the display and the settings program and is
// kept as it came, unread. Every offset is pinned, so a change that moves one does not compile.
//
// What the two display values mean is the display's own business (osd/osd_placement.h); this
// header only says where they are and how they travel.
//
// A switch is on only when it holds exactly 1; any other value (0, -1, 2 ...) is off.

#include <cstddef>
#include <cstdint>

namespace brenik {

struct OsdSettings {
    std::int32_t GaugeCpu;        // system gauge (Applets\SysGauge.exe) shows the processor's use; it runs when this or GaugeRam is on
    std::int32_t GaugeRam;        // system gauge shows the physical memory in use (both on: both lines)
    std::int32_t ProfileNotice;   // tell the display of profile switches
    std::int32_t MacroNotice;     // tell the display the name of a played macro
    std::int32_t LockKeyNotice;   // tell the display of Windows-key lock changes
    std::int32_t CallDisplay;     // call-display applet runs
    std::int32_t VolumeNotice;    // tell the display of volume changes
    std::int32_t DisplayParam1;   // passed on to the display (low 16 bits); its meaning is the display's
    std::int32_t DisplayParam2;
    std::uint8_t Unread[308];     // the display's and the settings program's own fields
};

static_assert(offsetof(OsdSettings, GaugeCpu) == 0);
static_assert(offsetof(OsdSettings, GaugeRam) == 4);
static_assert(offsetof(OsdSettings, ProfileNotice) == 8);
static_assert(offsetof(OsdSettings, MacroNotice) == 12);
static_assert(offsetof(OsdSettings, LockKeyNotice) == 16);
static_assert(offsetof(OsdSettings, CallDisplay) == 20);
static_assert(offsetof(OsdSettings, VolumeNotice) == 24);
static_assert(offsetof(OsdSettings, DisplayParam1) == 28);
static_assert(offsetof(OsdSettings, DisplayParam2) == 32);
static_assert(offsetof(OsdSettings, Unread) == 36);
static_assert(sizeof(OsdSettings) == 344);

constexpr std::size_t kOsdSettingsBytes = sizeof(OsdSettings);

inline bool SwitchIsOn(std::int32_t value) { return value == 1; }

// The value message 1326 carries: DisplayParam1's low 16 bits in the high half, DisplayParam2's
// low 16 bits in the low half. Unsigned, so a parameter of 0x8000 and up never turns the word
// negative.
inline std::uint32_t PackedDisplayParams(const OsdSettings& settings) {
    const auto first = static_cast<std::uint32_t>(settings.DisplayParam1) & 0xFFFFu;
    const auto second = static_cast<std::uint32_t>(settings.DisplayParam2) & 0xFFFFu;
    return first << 16 | second;
}

// The two values back out of 1326's lParam, as the display receives them.
struct DisplayParams {
    std::uint16_t first;   // DisplayParam1's low 16 bits
    std::uint16_t second;  // DisplayParam2's low 16 bits
};

inline DisplayParams UnpackDisplayParams(std::uint32_t packed) {
    return {static_cast<std::uint16_t>(packed >> 16), static_cast<std::uint16_t>(packed & 0xFFFFu)};
}

}  // namespace brenik
