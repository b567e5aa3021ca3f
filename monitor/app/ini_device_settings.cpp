#include "ini_device_settings.h"

#include "ini_file.h"
#include "program_windows.h"

namespace brenik {
namespace {
constexpr const char* kFirmwareKey = "FWVersion";
constexpr const char* kTokenSection = "HidAccessCode";
constexpr const char* kTokenKey = "Code";
}  // namespace

void IniDeviceSettings::StoreFirmwareVersion(int version) {
    CIniFile(path_, storage_).WriteInt(kConfigSettingSection, kFirmwareKey, version);
}

void IniDeviceSettings::StoreDevicePresence(int present) {
    CIniFile(path_, storage_).WriteInt(kConfigSettingSection, kConfigDeviceKey, present);
}

bool IniDeviceSettings::LoadSyncToken(device::SyncToken& token) {
    return CIniFile(path_, storage_).ReadStruct(kTokenSection, kTokenKey, token.data(), token.size());
}

void IniDeviceSettings::StoreSyncToken(const device::SyncToken& token) {
    CIniFile(path_, storage_).WriteStruct(kTokenSection, kTokenKey, token.data(), token.size());
}

}  // namespace brenik
