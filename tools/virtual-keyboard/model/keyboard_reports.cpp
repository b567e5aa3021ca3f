#include "keyboard_reports.h"

#include "keyboard_device_constants.h"

namespace brenik::vkb::report {

std::size_t LengthOf(std::uint8_t reportId) {
    switch (reportId) {
        case kSelect: return kSelectLength;
        case kCurrentProfile: return kCurrentProfileLength;
        case kStandardKeys: return kStandardKeysLength;
        case kLockedKeys: return kLockedKeysLength;
        case kKeyFunctionsA: return kKeyFunctionsALength;
        case kKeyFunctionsB: return kKeyFunctionsBLength;
        case kKeyFunctionsC: return kKeyFunctionsCLength;
        case kLighting: return kLightingLength;
        case kWholeKeyboard: return kWholeKeyboardLength;
        case device::kDeviceInfoReportId: return device::kDeviceInfoReportLength;
        case kHostState: return kHostStateLength;
        case kSyncToken: return kSyncTokenLength;
        case kVolume: return kVolumeLength;
        case kMacro: return kMacroLength;
        case kLaunch: return kLaunchLength;
        case device::kUpdateCommandReportId: return device::kUpdateCommandReportLength;
        case device::kUpdateStatusReportId: return device::kUpdateStatusReportLength;
        default: return 0;
    }
}

}  // namespace brenik::vkb::report
