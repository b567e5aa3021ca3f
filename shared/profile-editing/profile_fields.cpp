#include "profile_fields.h"

#include "key_names.h"
#include "report_fields.h"

#include <cstring>
#include <limits>

namespace brenik::editing {
namespace {

constexpr const char* kMediaPlayers[] = {"wmp", "itunes", "vlc", "winamp", nullptr};
constexpr std::int64_t kByteHigh = 255;

using Member = std::int32_t ProfileRecord::*;

ProfileField Integer(const char* name, const char* key, Member member, std::int64_t low, std::int64_t high,
                     const char* what, bool editable = true) {
    return {name, key, ValueKind::kInteger, member, 0, 0, low, high, nullptr, FlagGroup::kNone, editable, true, what};
}

ProfileField Switch(const char* name, const char* key, Member member, const char* what) {
    return {name, key, ValueKind::kSwitch, member, 0, 0, 0, 1, nullptr, FlagGroup::kNone, true, true, what};
}

ProfileField Text(const char* name, const char* key, std::size_t offset, std::size_t bytes, const char* what) {
    return {name, key, ValueKind::kText, nullptr, offset, bytes, 0, 0, nullptr, FlagGroup::kNone, true, true, what};
}

#define BRENIK_TEXT_FIELD(field) offsetof(ProfileRecord, field), sizeof(ProfileRecord::field)

std::vector<ProfileField> BuildTable() {
    using R = ProfileRecord;
    std::vector<ProfileField> table = {
        Text("name", "ProFileName", BRENIK_TEXT_FIELD(ProFileName), "profile name"),
        Text("game", "GameFile", BRENIK_TEXT_FIELD(GameFile), "game program that selects the profile"),
        Text("picture", "PictureFile", BRENIK_TEXT_FIELD(PictureFile), "picture of the profile"),
        {"media-player", "MediaOption", ValueKind::kChoice, &R::MediaOption, 0, 0, 0, 3, kMediaPlayers, FlagGroup::kNone, true, true,
         "player the media keys start"},
        Switch("key-assignments", "HDDKeyboard", &R::HDDKeyboard, "key assignments, macros and launch entries go to the keyboard"),
        Integer("key-red", "LtColorRed", &R::LtColorRed, 0, kByteHigh, "key lighting red"),
        Integer("key-green", "LtColorGreen", &R::LtColorGreen, 0, kByteHigh, "key lighting green"),
        Integer("key-blue", "LtColorBlue", &R::LtColorBlue, 0, kByteHigh, "key lighting blue"),
        Integer("light-control", "LtControl", &R::LtControl, 0, kByteHigh, "lighting control value"),
        Integer("light-saving", "LtSaving", &R::LtSaving, 0, kByteHigh, "lighting saving value"),
        Integer("light-timeout", "LtTimeout", &R::LtTimeout, 0, kByteHigh, "lighting time-out value"),
        Integer("light-effect", "LightEffectType", &R::LightEffectType, 0, kByteHigh, "effect of the standard layer"),
        Integer("extended-layer-effect", "ExtendedLayerEffectType", &R::ExtendedLayerEffectType, 0, kByteHigh,
                "effect of the extended layer"),
        Integer("color-flow", "LightColorFlow", &R::LightColorFlow, 0, kByteHigh, "colour flow"),
        Integer("key-light-type", "KeyLightType", &R::KeyLightType, 0, 4, "which keys light up"),
        Integer("logo-option", "LogoOption", &R::LogoOption, 0, kByteHigh, "logo lighting option"),
        Integer("logo-red", "LogoColorRed", &R::LogoColorRed, 0, kByteHigh, "logo red"),
        Integer("logo-green", "LogoColorGreen", &R::LogoColorGreen, 0, kByteHigh, "logo green"),
        Integer("logo-blue", "LogoColorBlue", &R::LogoColorBlue, 0, kByteHigh, "logo blue"),
        Integer("logo-control", "LogoLightCtl", &R::LogoLightCtl, 0, kByteHigh, "logo light control"),
        Integer("logo-flow", "LogoLightFLow", &R::LogoLightFLow, 0, kByteHigh, "logo light flow"),
        // Kept for the settings program; the lighting report carries fixed values in their places.
        Integer("light-option", "LtOption", &R::LtOption, 0, kByteHigh, "lighting option (not sent)", false),
        Integer("light-color", "LtColor", &R::LtColor, 0, kByteHigh, "lighting colour selection (not sent)", false),
        Integer("color-setting-type", "ColorSettingType", &R::ColorSettingType, 0, kByteHigh,
                "colour setting type (not sent)", false),
        Integer("logo-speed", "LogoLightSpeed", &R::LogoLightSpeed, 0, kByteHigh, "logo light speed (not sent)", false),
        Switch("lock-left-win", "LeftWin", &R::LeftWin, "lock the left Windows key"),
        Switch("lock-right-win", "RightWin", &R::RightWin, "lock the right Windows key"),
        Switch("lock-app", "App", &R::App, "lock the application key"),
        Switch("lock-caps-lock", "CapsLock", &R::CapsLock, "lock Caps Lock"),
        Switch("lock-tab", "Tab", &R::Tab, "lock Tab"),
        Switch("lock-left-shift", "LeftShift", &R::LeftShift, "lock the left Shift key"),
        Switch("sound-macro-record", "MacroLiveRecordSound", &R::MacroLiveRecordSound, "sounds of live macro recording"),
        Switch("sound-profile-switch", "ProfileSwitchSound", &R::ProfileSwitchSound, "sound of a profile switch"),
        Switch("sound-layer-switch", "LayerSwitchSound", &R::LayerSwitchSound, "sound of a layer switch"),
        Switch("sound-countdown", "CountdownTimerSound", &R::CountdownTimerSound, "sounds of the countdown timer"),
        Integer("repeat-delay", "KeyboardDelay", &R::KeyboardDelay, 0, 3, "key repeat delay"),
        Integer("repeat-speed", "KeyboardSpeed", &R::KeyboardSpeed, 0, 31, "key repeat speed"),
        Integer("fn-status", "FnStatus", &R::FnStatus, std::numeric_limits<std::int32_t>::min(),
                std::numeric_limits<std::int32_t>::max(), "Fn-key status (kept for the settings program)", false),
    };
    // Live state of the keyboard's layer: shown, never written to a profile file.
    ProfileField extended = Switch("extended-layer", "ExtendedMode", &R::ExtendedMode, "extended layer active now");
    extended.editable = false;
    extended.fromFile = false;
    table.push_back(extended);
    // The flag column comes from the lists of what the two reports carry.
    for (ProfileField& field : table) {
        if (field.integer == nullptr) continue;
        if (IsListedField(kLightingReportFields, field.integer)) field.flag = FlagGroup::kLighting;
        else if (IsListedField(kLockedKeyReportFields, field.integer)) field.flag = FlagGroup::kLockKeys;
    }
    return table;
}

#undef BRENIK_TEXT_FIELD

bool InRange(const ProfileField& field, std::int64_t value) { return value >= field.low && value <= field.high; }

// The blanks the INI reader trims around a value (ini_document.h).
bool IsIniBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A'; }

}  // namespace

std::string TextRoundTripProblem(std::string_view text) {
    if (text.find('\0') != std::string_view::npos || text.find_first_of("\r\n") != std::string_view::npos) {
        return "a line break or NUL cannot be stored in a profile file";
    }
    if (!text.empty() && (IsIniBlank(text.front()) || IsIniBlank(text.back()))) {
        return "blanks at the start or end would be lost when the monitor reads its profile file again";
    }
    if (text.size() >= 2 && text.front() == text.back() && (text.front() == '"' || text.front() == '\'')) {
        return "a pair of outer quotes would be lost when the monitor reads its profile file again";
    }
    return {};
}

const std::vector<ProfileField>& ProfileFields() {
    static const std::vector<ProfileField> table = BuildTable();
    return table;
}

const ProfileField* FindProfileField(std::string_view name) {
    for (const ProfileField& field : ProfileFields()) {
        if (name == field.name) return &field;
    }
    return nullptr;
}

std::optional<FieldValue> ParseFieldValue(const ProfileField& field, std::string_view text, std::string& error) {
    FieldValue value;
    switch (field.kind) {
        case ValueKind::kText:
            if (text.size() >= field.textBytes) {
                error = std::string(field.name) + ": " + std::to_string(text.size()) + " characters do not fit; " +
                        DescribeRange(field);
                return std::nullopt;
            }
            if (const std::string problem = TextRoundTripProblem(text); !problem.empty()) {
                error = std::string(field.name) + ": " + problem;
                return std::nullopt;
            }
            value.text = std::string(text);
            return value;
        case ValueKind::kSwitch:
            if (text == "on" || text == "1") value.integer = 1;
            else if (text == "off" || text == "0") value.integer = 0;
            else break;
            return value;
        case ValueKind::kChoice:
            for (int i = 0; field.choices[i] != nullptr; ++i) {
                if (text == field.choices[i]) {
                    value.integer = i;
                    return value;
                }
            }
            break;
        case ValueKind::kInteger:
            if (const auto n = ParseNumber(text, field.low, field.high)) {
                value.integer = static_cast<std::int32_t>(*n);
                return value;
            }
            break;
    }
    error = std::string(field.name) + ": \"" + std::string(text) + "\" is not " + DescribeRange(field);
    return std::nullopt;
}

void StoreFieldValue(const ProfileField& field, const FieldValue& value, ProfileRecord& record) {
    if (field.kind != ValueKind::kText) {
        record.*field.integer = value.integer;
        return;
    }
    char* bytes = reinterpret_cast<char*>(&record) + field.textOffset;
    std::memset(bytes, 0, field.textBytes);
    std::memcpy(bytes, value.text.data(), value.text.size() < field.textBytes ? value.text.size() : field.textBytes - 1);
}

std::string FieldText(const ProfileField& field, const ProfileRecord& record) {
    const char* bytes = reinterpret_cast<const char*>(&record) + field.textOffset;
    return std::string(bytes, strnlen(bytes, field.textBytes));
}

std::string FormatFieldValue(const ProfileField& field, const ProfileRecord& record) {
    if (field.kind == ValueKind::kText) return FieldText(field, record);
    const std::int32_t value = record.*field.integer;
    if (!InRange(field, value)) return std::to_string(value);
    if (field.kind == ValueKind::kSwitch) return value == 1 ? "on" : "off";
    if (field.kind == ValueKind::kChoice) return field.choices[value];
    return std::to_string(value);
}

std::string DescribeRange(const ProfileField& field) {
    switch (field.kind) {
        case ValueKind::kText: return "text of at most " + std::to_string(field.textBytes - 1) + " characters";
        case ValueKind::kSwitch: return "on|off";
        case ValueKind::kChoice: {
            std::string names;
            for (int i = 0; field.choices[i] != nullptr; ++i) names += (i ? "|" : "") + std::string(field.choices[i]);
            return names;
        }
        case ValueKind::kInteger: break;
    }
    return std::to_string(field.low) + ".." + std::to_string(field.high);
}

}  // namespace brenik::editing
