#pragma once
// The settings reports, built from a profile record and read back into one, byte by byte.
// Pure functions on buffers of the report's full length (device_protocol.h): no device, no
// clock, so every layout is tested on its own.

#include "device_protocol.h"
#include "profile_record.h"

#include <cstdint>

namespace brenik::monitor::device {

// Standard key map (report 6): the default matrix, then each positioned standardkey entry.
void EncodeStandardKeys(const ProfileRecord& record, std::uint8_t profile, std::uint8_t* report);
void DecodeStandardKeys(const std::uint8_t* report, ProfileRecord& record);

// Locked-key flags (report 7).
void EncodeLockKeys(const ProfileRecord& record, std::uint8_t profile, std::uint8_t* report);
void DecodeLockKeys(const std::uint8_t* report, ProfileRecord& record);

// Key-function blocks (reports 8, 9, 19).
void EncodeKeyBlock(const KeyBlockLayout& block, const ProfileRecord& record, std::uint8_t profile,
                    std::uint8_t* report);
void DecodeKeyBlock(const KeyBlockLayout& block, const std::uint8_t* report, ProfileRecord& record);

// Lighting (report 11), with KeyLightType's six flag bytes.
void EncodeLighting(const ProfileRecord& record, std::uint8_t profile, std::uint8_t* report);
void DecodeLighting(const std::uint8_t* report, ProfileRecord& record);
void EncodeKeyLightType(std::int32_t keyLightType, std::uint8_t* flags /* 6 bytes */);
std::int32_t DecodeKeyLightType(const std::uint8_t* flags /* bytes 22..25 */);

// Macro entry (report 20), checksum included. Both refuse an ActionCount above 400 (false,
// nothing built or stored): the entry and the report hold 400 actions, and a larger count
// means the entry or the reply is damaged; using part of it would store a different macro
// than the one the user made.
bool EncodeMacro(const MacroKeyInfo& entry, std::uint8_t profile, std::uint8_t key, std::uint8_t* report);
bool DecodeMacro(const std::uint8_t* report, MacroKeyInfo& entry);

// Launch entry (report 74).
void EncodeLaunch(const MacroKeyInfo& entry, std::uint8_t profile, std::uint8_t key, std::uint8_t* report);
void DecodeLaunch(const std::uint8_t* report, MacroKeyInfo& entry);

// Volume level (report 18); false (nothing built) for a volume outside 0..100.
int VolumeLevelFor(int volume);
bool EncodeVolume(std::uint8_t profile, int volume, std::uint8_t* report);

// A sync token from the calendar time: seconds in bytes 0..3, little-endian, the rest 0.
SyncToken MakeSyncToken(std::uint32_t unixSeconds);

}  // namespace brenik::monitor::device
