#include "display_settings_model.h"

#include "config_ini_keys.h"

#include <cstring>

namespace brenik::option {
namespace {

std::vector<DisplayField> BuildTable() {
    return {
        {"gauge-cpu", &OsdSettings::GaugeCpu, 0, 1, true},
        {"gauge-ram", &OsdSettings::GaugeRam, 0, 1, true},
        {"profile-notice", &OsdSettings::ProfileNotice, 0, 1, true},
        {"macro-notice", &OsdSettings::MacroNotice, 0, 1, true},
        {"lock-key-notice", &OsdSettings::LockKeyNotice, 0, 1, true},
        {"call-display", &OsdSettings::CallDisplay, 0, 1, true},
        {"volume-notice", &OsdSettings::VolumeNotice, 0, 1, true},
        {"notice-time", &OsdSettings::DisplayParam1, kNoticeTenthsDefault, kNoticeTenthsHigh, false},
        {"notice-distance", &OsdSettings::DisplayParam2, 0, kNoticeDistanceHigh, false},
    };
}

bool IsNoticeTime(const DisplayField& field) { return field.member == &OsdSettings::DisplayParam1; }

// The table's own row, so that a field is checked by the table's ranges whoever passes it.
const DisplayField* TableRow(const DisplayField& field) {
    for (const DisplayField& row : DisplayFields()) {
        if (row.member == field.member) return &row;
    }
    return nullptr;
}

std::string DescribeRange(const DisplayField& field) {
    if (field.isSwitch) return "0 (off) or 1 (on)";
    if (IsNoticeTime(field)) {
        return std::to_string(kNoticeTenthsDefault) + " (the default) or " + std::to_string(kNoticeTenthsLow) + ".." +
               std::to_string(kNoticeTenthsHigh) + " tenths of a second";
    }
    return std::to_string(field.low) + ".." + std::to_string(field.high) + " pixels";
}

bool Accepts(const DisplayField& field, std::int32_t value) {
    if (value < field.low || value > field.high) return false;
    // A notice shorter than half a second flickers past; 0 is the default, not no time.
    return !(IsNoticeTime(field) && value != kNoticeTenthsDefault && value < kNoticeTenthsLow);
}

}  // namespace

const std::vector<DisplayField>& DisplayFields() {
    static const std::vector<DisplayField> table = BuildTable();
    return table;
}

const DisplayField* FindDisplayField(const char* name) {
    if (name == nullptr) return nullptr;
    for (const DisplayField& field : DisplayFields()) {
        if (std::strcmp(field.name, name) == 0) return &field;
    }
    return nullptr;
}

bool DisplaySettingsModel::Load(const ini::CIniFile& config) {
    OsdSettings read{};
    const bool found = config.ReadStruct(kOsdSettingsSection, kOsdSettingsKey, &read, sizeof read);
    loaded_ = found ? read : OsdSettings{};
    shown_ = loaded_;
    return found;
}

bool DisplaySettingsModel::IsEdited(const DisplayField& field) const {
    return shown_.*field.member != loaded_.*field.member;
}

bool DisplaySettingsModel::HasEdits() const {
    for (const DisplayField& field : DisplayFields()) {
        if (IsEdited(field)) return true;
    }
    return false;
}

bool DisplaySettingsModel::Set(const DisplayField& field, std::int32_t value, std::string& error) {
    const DisplayField* row = TableRow(field);
    if (row == nullptr) {
        error = std::string(field.name == nullptr ? "?" : field.name) + ": not a display setting";
        return false;
    }
    if (!Accepts(*row, value)) {
        error = std::string(row->name) + ": " + std::to_string(value) + " is not " + DescribeRange(*row);
        return false;
    }
    // A switch the file holds as -1 or 2 shows as off; it is rewritten only when the user sets
    // it to something else than it shows.
    if (row->isSwitch && SwitchIsOn(value) == SwitchIsOn(loaded_.*row->member)) {
        shown_.*row->member = loaded_.*row->member;
        return true;
    }
    shown_.*row->member = value;
    return true;
}

void DisplaySettingsModel::Discard() { shown_ = loaded_; }

bool DisplaySettingsModel::Save(ini::CIniFile& config) {
    if (!HasEdits()) return true;
    if (!config.WriteStruct(kOsdSettingsSection, kOsdSettingsKey, &shown_, sizeof shown_)) return false;
    loaded_ = shown_;
    return true;
}

}  // namespace brenik::option
