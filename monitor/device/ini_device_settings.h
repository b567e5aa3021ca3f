#pragma once
// The device entries of config.ini through CIniFile: "Setting"/"FWVersion" and
// "HidAccessCode"/"Code". A CIniFile is made for each access, on the calling thread.

#include "device_settings_store.h"
#include "ini_storage.h"

#include <string>

namespace brenik::device {

class IniDeviceSettings final : public IDeviceSettingsStore {
public:
    // path is read at each access: it may be set after construction.
    IniDeviceSettings(const std::string& configPath, ini::IIniStorage& storage) : path_(configPath), storage_(storage) {}
    void StoreFirmwareVersion(int version) override;
    bool LoadSyncToken(SyncToken& token) override;
    void StoreSyncToken(const SyncToken& token) override;

private:
    const std::string& path_;
    ini::IIniStorage& storage_;
};

}  // namespace brenik::device
