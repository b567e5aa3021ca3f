#pragma once
// The device entries of config.ini through CIniFile: "Setting"/"FWVersion", "Setting"/"Device"
// and "HidAccessCode"/"Code". A CIniFile is made for each access, on the calling thread.

#include "device_settings_store.h"
#include "ini_storage.h"

#include <string>
#include <utility>

namespace brenik::monitor {

class IniDeviceSettings final : public device::IDeviceSettingsStore {
public:
    IniDeviceSettings(std::string configPath, ini::IIniStorage& storage) : path_(std::move(configPath)), storage_(storage) {}
    void StoreFirmwareVersion(int version) override;
    bool LoadSyncToken(device::SyncToken& token) override;
    void StoreSyncToken(const device::SyncToken& token) override;
    // The keyboard's presence, written on every change of it (1 present, 0 absent); the
    // settings tool reads it before a change.
    void StoreDevicePresence(int present);

private:
    const std::string path_;
    ini::IIniStorage& storage_;
};

}  // namespace brenik::monitor
