#pragma once
// Which plain fields of a profile record the keyboard's lighting report and locked-key report
// carry: what LightingChanged[p] and LockKeysChanged[p] name. The monitor's report codec
// encodes them (monitor/device/report_codec.cpp, with their byte positions and bits) and a
// test there checks that each listed field, and no other integer field, changes its report;
// the settings tool takes its flag column from here.
//
// The lighting report also carries four bytes with fixed values whose fields (LtOption,
// LtColor, ColorSettingType, LogoLightSpeed) are only read back: a change of them sends
// nothing, so they are not listed.

#include "profile_record.h"

#include <cstdint>
#include <iterator>

namespace brenik {

using ProfileIntField = std::int32_t ProfileRecord::*;

constexpr ProfileIntField kLightingReportFields[] = {
    &ProfileRecord::LtColorRed,      &ProfileRecord::LtColorGreen,   &ProfileRecord::LtColorBlue,
    &ProfileRecord::LtControl,       &ProfileRecord::LtSaving,       &ProfileRecord::LtTimeout,
    &ProfileRecord::LightColorFlow,  &ProfileRecord::LogoOption,     &ProfileRecord::LogoColorRed,
    &ProfileRecord::LogoColorGreen,  &ProfileRecord::LogoColorBlue,  &ProfileRecord::LogoLightCtl,
    &ProfileRecord::LogoLightFLow,   &ProfileRecord::LightEffectType, &ProfileRecord::ExtendedLayerEffectType,
    &ProfileRecord::KeyLightType,
};

constexpr ProfileIntField kLockedKeyReportFields[] = {
    &ProfileRecord::Tab, &ProfileRecord::CapsLock, &ProfileRecord::LeftWin,
    &ProfileRecord::RightWin, &ProfileRecord::App, &ProfileRecord::LeftShift,
};

template <std::size_t N>
constexpr bool IsListedField(const ProfileIntField (&list)[N], ProfileIntField field) {
    for (const ProfileIntField listed : list) {
        if (listed == field) return true;
    }
    return false;
}

}  // namespace brenik
