#pragma once
// Where and for how long a notice shows: the display's own meaning of the two values that the
// settings program stores in its display settings (DisplayParam1 and DisplayParam2 of the
// OsdSettings record in config.ini) and that the monitor passes on in message 1326
// (kMsgOsdSettings). The record and how 1326 packs the two are the agreement's
// (osd_settings_record.h); what they mean is decided here.
//
// Both values are unsigned 16-bit numbers:
// - p1: how long a notice stays, in tenths of a second. 0 means the default, 15 (1.5 s);
//   anything else is held to 5..100 (0.5 s to 10 s), so a notice neither flickers past nor
//   stays for good.
// - p2: the distance in pixels from the bottom of the primary screen's work area (above the
//   task bar) up to the bottom of the notice. 0 means the default, 80. A distance larger than
//   the room above the notice puts it at the top of the work area (notice_layout.h).
// 0xFFFF (a field of -1, how an unset integer usually reads) also means the default, for both.
//
// The display starts with the values of config.ini and takes each 1326 as it comes; a notice
// that is showing keeps its place and time until the next one.

#include "ini_file.h"
#include "osd_settings_record.h"

#include <cstdint>

namespace brenik::osd {

constexpr unsigned kDefaultDurationTenths = 15;
constexpr unsigned kMinDurationTenths = 5;
constexpr unsigned kMaxDurationTenths = 100;
constexpr int kDefaultBottomDistance = 80;
constexpr std::uint16_t kUnsetValue = 0xFFFF;

struct Placement {
    unsigned durationMs = kDefaultDurationTenths * 100;
    int bottomDistance = kDefaultBottomDistance;  // pixels, before the layout holds it on screen

    bool operator==(const Placement& other) const {
        return durationMs == other.durationMs && bottomDistance == other.bottomDistance;
    }
};

// The two values as the settings program keeps them (only their low 16 bits count).
// DisplayParam1 is the duration, DisplayParam2 the distance.
Placement PlacementFromValues(std::uint16_t durationTenths, std::uint16_t bottomDistance);

// The lParam of message 1326.
Placement DecodePlacementMessage(std::uint32_t lParam);

// The placement the settings program last stored; the defaults when config.ini holds no
// valid record (CIniFile reports a damaged one).
Placement LoadPlacement(const ini::CIniFile& config);

}  // namespace brenik::osd
