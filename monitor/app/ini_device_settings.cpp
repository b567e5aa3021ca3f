#include "ini_device_settings.h"

#include "config_ini_keys.h"
#include "ini_file.h"
#include "program_windows.h"

namespace brenik::monitor {
namespace {
// The sync token is the monitor's own: no other program reads it.
constexpr const char* kTokenSection = "HidAccessCode";
constexpr const char* kTokenKey = "Code";
}  // namespace

void IniDeviceSettings::StoreFirmwareVersion(int version) {
    ini::CIniFile(path_, storage_).WriteInt(kConfigSettingSection, kConfigFirmwareVersionKey, version);
}

void IniDeviceSettings::StoreDevicePresence(int present) {
    ini::CIniFile(path_, storage_).WriteInt(kConfigSettingSection, kConfigDeviceKey, present);
}

bool IniDeviceSettings::LoadSyncToken(device::SyncToken& token) {
    return ini::CIniFile(path_, storage_).ReadStruct(kTokenSection, kTokenKey, token.data(), token.size());
}

void IniDeviceSettings::StoreSyncToken(const device::SyncToken& token) {
    ini::CIniFile(path_, storage_).WriteStruct(kTokenSection, kTokenKey, token.data(), token.size());
}

}  // namespace brenik::monitor
