#include "ini_device_settings.h"

#include "ini_file.h"

namespace brenik {
namespace {
constexpr const char* kSettingSection = "Setting";
constexpr const char* kFirmwareKey = "FWVersion";
constexpr const char* kTokenSection = "HidAccessCode";
constexpr const char* kTokenKey = "Code";
}  // namespace

void IniDeviceSettings::StoreFirmwareVersion(int version) {
    CIniFile(path_, storage_).WriteInt(kSettingSection, kFirmwareKey, version);
}

bool IniDeviceSettings::LoadSyncToken(device::SyncToken& token) {
    return CIniFile(path_, storage_).ReadStruct(kTokenSection, kTokenKey, token.data(), token.size());
}

void IniDeviceSettings::StoreSyncToken(const device::SyncToken& token) {
    CIniFile(path_, storage_).WriteStruct(kTokenSection, kTokenKey, token.data(), token.size());
}

}  // namespace brenik
