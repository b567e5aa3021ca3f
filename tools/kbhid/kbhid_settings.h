#pragma once
// kbhid.ini, beside kbhid.dll, chooses where the library finds the keyboard:
//
//   [Backend]
//   Type=virtual             ; the virtual keyboard's server (tools/virtual-keyboard)
//   PipeName=BrenikVirtualKeyboard
//   ; Type=hardware          ; a real keyboard through SetupAPI and hid.dll
//
//   [Hardware]
//   VendorId=0x1234          ; numbers in the INI's own rules: decimal or 0x hex
//   ProductId=0x5678
//   UsagePage=0xFF00         ; the usage page of the keyboard's configuration collection
//   EventReportId=5          ; input reports of this id carry key events (input_report_decoder.h)
//
// A missing file or key selects real hardware, what the library is for outside our tests.

#include "ini_file.h"

#include <cstdint>
#include <string>

namespace brenik::kbhid {

constexpr const char* kSettingsFileName = "kbhid.ini";

enum class BackendType { kVirtual, kHardware };

struct HardwareSettings {
    std::uint16_t vendorId = 0;  // 0: not given; no device will match
    std::uint16_t productId = 0;
    std::uint16_t usagePage = 0;
    std::uint8_t eventReportId = 5;
};

struct KbhidSettings {
    BackendType backend = BackendType::kHardware;
    std::string pipeName;  // without the "\\.\pipe\" prefix
    HardwareSettings hardware;
};

// Values that are out of range or unknown are reported with a debugger line and replaced
// by their defaults.
KbhidSettings LoadKbhidSettings(const ini::CIniFile& ini);

}  // namespace brenik::kbhid
