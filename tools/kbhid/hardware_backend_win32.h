#pragma once
// A real keyboard through SetupAPI and hid.dll: the configuration collection found by vendor
// id, product id and usage page (kbhid.ini), feature reports padded to the collection's
// feature-report length, key events read from its input reports (input_report_decoder.h),
// arrival and removal from device notifications.

#include "device_backend.h"
#include "kbhid_settings.h"

#include <memory>

namespace brenik::kbhid {

std::unique_ptr<IDeviceBackend> MakeHardwareBackend(const HardwareSettings& settings);

}  // namespace brenik::kbhid
