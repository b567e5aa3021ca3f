#pragma once
// The monitor's feature reports as the keyboard knows them: identifiers, fixed lengths
// (byte 0 included) and the selectors of the select request. The update reports are in
// shared/device/keyboard_device_constants.h.

#include <cstddef>
#include <cstdint>

namespace brenik::vkb::report {

constexpr std::uint8_t kSelect = 4;  // written: select request; read: command status
constexpr std::size_t kSelectLength = 3;
constexpr std::uint8_t kCurrentProfile = 5;
constexpr std::size_t kCurrentProfileLength = 3;
constexpr std::uint8_t kStandardKeys = 6;
constexpr std::size_t kStandardKeysLength = 152;
constexpr std::uint8_t kLockedKeys = 7;
constexpr std::size_t kLockedKeysLength = 4;
constexpr std::uint8_t kKeyFunctionsA = 8;
constexpr std::size_t kKeyFunctionsALength = 48;
constexpr std::uint8_t kKeyFunctionsB = 9;
constexpr std::size_t kKeyFunctionsBLength = 40;
constexpr std::uint8_t kKeyFunctionsC = 19;
constexpr std::size_t kKeyFunctionsCLength = 18;
constexpr std::uint8_t kLighting = 11;
constexpr std::size_t kLightingLength = 32;
constexpr std::uint8_t kWholeKeyboard = 12;
constexpr std::size_t kWholeKeyboardLength = 3;
constexpr std::uint8_t kHostState = 16;
constexpr std::size_t kHostStateLength = 3;
constexpr std::uint8_t kSyncToken = 17;
constexpr std::size_t kSyncTokenLength = 18;
constexpr std::uint8_t kVolume = 18;
constexpr std::size_t kVolumeLength = 8;
constexpr std::uint8_t kMacro = 20;
constexpr std::size_t kMacroLength = 1674;
constexpr std::uint8_t kLaunch = 74;
constexpr std::size_t kLaunchLength = 40;

// Selectors of the select request.
constexpr std::uint8_t kSelectStandardKeys = 0x40;
constexpr std::uint8_t kSelectLockedKeys = 0x50;
constexpr std::uint8_t kSelectKeyFunctionsA = 0x60;
constexpr std::uint8_t kSelectKeyFunctionsB = 0x70;
constexpr std::uint8_t kSelectLighting = 0x90;
constexpr std::uint8_t kSelectKeyFunctionsC = 0xC0;
// A key index 0..43 selects that key's macro entry; kLaunchSelectorBase plus a key index
// its launch entry. The launch report carries the same value in byte 3.
constexpr std::uint8_t kLaunchSelectorBase = 209;

// Shape of the keyboard.
constexpr int kProfileCount = 5;
constexpr int kKeyEntryCount = 44;        // macro and launch entries per profile
constexpr int kFunctionKeyCount = 42;     // keys 0..41 have a key-function record
constexpr std::size_t kKeyMatrixSize = 144;
constexpr std::size_t kKeyMatrixOffset = 8;  // in the standard key map report
constexpr std::size_t kTokenSize = 16;

// Macro entry layout.
constexpr std::uint16_t kMaxMacroActions = 400;
constexpr std::size_t kMacroNamesOffset = 6;     // entry name, then macro name
constexpr std::size_t kMacroNamesSize = 64;
constexpr std::size_t kMacroNameSize = 32;
constexpr std::size_t kMacroCountOffset = 70;
constexpr std::size_t kMacroActionsOffset = 72;
constexpr std::size_t kMacroActionSize = 4;
constexpr std::size_t kMacroChecksumOffset = 1672;

// Launch entry layout.
constexpr std::size_t kLaunchNameOffset = 4;
constexpr std::size_t kLaunchNameSize = 32;
constexpr std::size_t kLaunchValueOffset = 36;

// Device information: byte 7 bit 7 is set while the extended layer is active.
constexpr std::uint8_t kExtendedLayerBit = 0x80;

// Key-function codes the keyboard itself produces.
constexpr std::uint8_t kFunctionMacro = 0xBE;

// The fixed length of a report the keyboard knows (update reports included), 0 for any other id.
std::size_t LengthOf(std::uint8_t reportId);

}  // namespace brenik::vkb::report
