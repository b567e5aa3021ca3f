#pragma once
// The entries of config.ini that the device commands keep: the firmware version the keyboard
// reports, and the last sync token this monitor issued.

#include "device_protocol.h"

namespace brenik::monitor::device {

class IDeviceSettingsStore {
public:
    virtual ~IDeviceSettingsStore() = default;
    virtual void StoreFirmwareVersion(int version) = 0;  // "Setting" / "FWVersion"
    // "HidAccessCode" / "Code"; false when none is stored or it is damaged.
    virtual bool LoadSyncToken(SyncToken& token) = 0;
    virtual void StoreSyncToken(const SyncToken& token) = 0;
};

}  // namespace brenik::monitor::device
