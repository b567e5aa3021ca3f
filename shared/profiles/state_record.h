#pragma once
// The monitor's state record: the working copy of the current profile index and all five
// profiles, and the change flags through which the settings program says what it edited.
// The named shared block holds exactly these bytes; every offset is pinned below.

#include "profile_record.h"

#include <cstddef>
#include <cstdint>

namespace brenik {

struct StateRecord {
    std::int32_t CurrentProfile;  // 0..4; -1 when none was stored
    std::int32_t DeviceValue;     // from the keyboard's device-information report
    ProfileRecord Profiles[kProfileCount];
    std::int32_t KeyChanged[kProfileCount][kProgrammableKeys];
    std::int32_t VolumeLevel;  // 0..100
    std::int32_t LightingChanged[kProfileCount];
    std::int32_t ProfileChanged;
    std::int32_t StandardKeyChanged[kProfileCount];
    std::int32_t LockKeysChanged[kProfileCount];
    std::int32_t FnStatusChanged[kProfileCount];  // cleared by the monitor, never read by it
    std::uint8_t Unused[20];                      // other programs' business
    std::int32_t Cleared;                         // zeroed with the profiles, otherwise unused
};

static_assert(offsetof(StateRecord, CurrentProfile) == 0);
static_assert(offsetof(StateRecord, DeviceValue) == 4);
static_assert(offsetof(StateRecord, Profiles) == 8);
static_assert(offsetof(StateRecord, KeyChanged) == 433408);
static_assert(offsetof(StateRecord, VolumeLevel) == 434248);
static_assert(offsetof(StateRecord, LightingChanged) == 434252);
static_assert(offsetof(StateRecord, ProfileChanged) == 434272);
static_assert(offsetof(StateRecord, StandardKeyChanged) == 434276);
static_assert(offsetof(StateRecord, LockKeysChanged) == 434296);
static_assert(offsetof(StateRecord, FnStatusChanged) == 434316);
static_assert(offsetof(StateRecord, Unused) == 434336);
static_assert(offsetof(StateRecord, Cleared) == 434356);
static_assert(sizeof(StateRecord) == 434360);

constexpr std::size_t kStateRecordBytes = sizeof(StateRecord);

// The one rule for an index outside 0..4 (a missing "CurrentProfile" loads as -1): there is
// no current profile, and every operation on "the current profile" does nothing until one is
// set, by a profile switch or by the first synchronisation, which reads the keyboard's own.
// Nothing ever indexes the profiles with an unchecked index.
inline bool IsProfileIndex(std::int32_t index) { return index >= 0 && index < kProfileCount; }

inline ProfileRecord* CurrentProfileRecord(StateRecord& state) {
    return IsProfileIndex(state.CurrentProfile) ? &state.Profiles[state.CurrentProfile] : nullptr;
}

inline const ProfileRecord* CurrentProfileRecord(const StateRecord& state) {
    return IsProfileIndex(state.CurrentProfile) ? &state.Profiles[state.CurrentProfile] : nullptr;
}

}  // namespace brenik
