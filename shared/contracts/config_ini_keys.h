#pragma once
// The sections and keys of config.ini (kConfigFileName, beside the programs) that another
// program reads or writes: the monitor writes the keyboard's presence and firmware version
// for the settings program and the settings tool, the settings program writes the display
// settings the monitor and the display read, and the monitor leaves the texts the display
// shows. Every program reads and writes one key at a time with the platform's functions (no
// lock across keys), so a value is read afresh each time it is needed.
//
// The profile store's own key here, "CurrentProfile", is in shared/profiles/profile_store.h;
// the monitor's sync token is its own.

namespace brenik {

// ---- Written by the monitor for the other programs.
constexpr const char* kConfigSettingSection = "Setting";
// The keyboard's presence, on every change of it (1 = present, 0 = absent); the settings tool
// reads it before a change.
constexpr const char* kConfigDeviceKey = "Device";
// The firmware version byte the keyboard reports, whenever its device information is read.
constexpr const char* kConfigFirmwareVersionKey = "FWVersion";

// ---- The display settings the settings program stores: a 344-byte struct value
// (osd_settings_record.h), read by the monitor and by the display.
constexpr const char* kOsdSettingsSection = "OSDSetting";
constexpr const char* kOsdSettingsKey = "config";

// ---- Written by the monitor before the notice that announces them (peer_messages.h), read
// by the display.
// Before kOsdKindMacro: the key index from 0 and the macro's name.
constexpr const char* kMacroOsdSection = "MacroOSD";
constexpr const char* kMacroOsdNumberKey = "Number";
constexpr const char* kMacroOsdNameKey = "MacroName";
// Before kOsdKindMessage: the text another program sent (text_message_block.h).
constexpr const char* kOsdTextSection = "OSDData";
constexpr const char* kOsdTextKey = "Message";

}  // namespace brenik
