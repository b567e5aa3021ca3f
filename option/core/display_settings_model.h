#pragma once
// The on-screen display's settings as the window edits them: the switches of OsdSettings and
// the two display values our display reads as the notice's time and its distance from the
// bottom of the screen (osd/osd_placement.h gives their meaning; their ranges are repeated
// here as what the window accepts). Loaded from and saved to config.ini's "OSDSetting"
// record; the bytes of the record the window does not edit are written back as they were
// read. The monitor reads the record again on 1224 and tells the display.

#include "ini_file.h"
#include "osd_settings_record.h"

#include <cstdint>
#include <string>
#include <vector>

namespace brenik::option {

// One value of the record the window edits.
struct DisplayField {
    const char* name;               // for messages: "profile-notice"
    std::int32_t OsdSettings::*member;
    std::int32_t low;               // a switch is 0..1
    std::int32_t high;
    bool isSwitch;
};
const std::vector<DisplayField>& DisplayFields();
const DisplayField* FindDisplayField(const char* name);

constexpr std::int32_t kNoticeTenthsDefault = 0;   // 0: the display's default time
constexpr std::int32_t kNoticeTenthsLow = 5;       // 0.5 s
constexpr std::int32_t kNoticeTenthsHigh = 100;    // 10 s
constexpr std::int32_t kNoticeDistanceHigh = 2000; // pixels above the task bar

class DisplaySettingsModel {
public:
    // Reads the record; false (and the all-zero record) when config.ini holds none or a damaged
    // one, which the window says.
    bool Load(const ini::CIniFile& config);
    const OsdSettings& Shown() const { return shown_; }
    bool IsEdited(const DisplayField& field) const;
    bool HasEdits() const;
    // value is range-checked (a time of 1..4 tenths is refused, 0 means the default).
    bool Set(const DisplayField& field, std::int32_t value, std::string& error);
    void Discard();
    // Writes the record with the edits; false when config.ini could not be written. The edits
    // are then the loaded values.
    bool Save(ini::CIniFile& config);

private:
    OsdSettings loaded_{};
    OsdSettings shown_{};
};

}  // namespace brenik::option
