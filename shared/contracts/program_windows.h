#pragma once
// What the programs of the product line say to each other: the window titles they find each
// other by, the message numbers they post, and the named kernel objects they open. The
// monitor, the updater, our on-screen display and the tests all take the values from here;
// the settings program, the applets and the volume controller are outside and use the same
// numbers. Titles are searched afresh each time: another program's window is never kept.
//
// The keyboard's own two messages (1325, 1326 from kbhid.dll) are kbhid's agreement and are
// in kbhid_api.h. 1326 also appears below with another meaning: sent by the monitor to the
// on-screen display it means "display settings changed"; the receivers differ, so the two
// never meet.

#include <cstdint>

namespace brenik {

// ---- Window titles.
constexpr const char* kTitleMonitor = "BrenikGamingKeyboardMonitor";
// The title the monitor's window had in earlier releases; the updater closes either.
constexpr const char* kTitleMonitorEarlier = "TorvaneGamingKeyboardMonitor";
constexpr const char* kTitleSettings = "Brenik Gaming Keyboard Option";
constexpr const char* kTitleOsd = "Brenik_Gaming_Keyboard_OSD";
constexpr const char* kTitleVolumeController = "Brenik Volume Controller";
constexpr const char* kTitlePopup = "Brenik Gaming Keyboard Pop3";
constexpr const char* kTitleSystemGauge = "Brenik Gaming Keyboard CPU RAM OSD";
constexpr const char* kTitleCallDisplay = "Brenik Gaming Keyboard OSD SKYPE";

// ---- Companion programs, relative to the monitor's folder.
constexpr const char* kProgramSettings = "Brenik Option.exe";
constexpr const char* kProgramOsd = "Brenik OSD.exe";
constexpr const char* kProgramVolumeBar = "Applets\\VolumeBar.exe";
constexpr const char* kProgramSystemGauge = "Applets\\SysGauge.exe";
constexpr const char* kProgramCallDisplay = "Applets\\CallOsd.exe";

// ---- Messages the monitor's window receives from the other programs.
constexpr unsigned kMsgSettingsChanged = 1224;  // settings program; wParam = argument of job 1
constexpr unsigned kMsgRereadShared1 = 1226;    // re-read the shared block
constexpr unsigned kMsgRereadShared2 = 1227;
constexpr unsigned kMsgNoAction1 = 1228;        // answered 0
constexpr unsigned kMsgNoAction2 = 1229;        // answered 0
constexpr unsigned kMsgNoAction3 = 1274;        // answered 0
constexpr unsigned kMsgNoActionTrue = 1327;     // answered 1
constexpr unsigned kMsgVolumeLevel = 1332;      // wParam = level 0..100

// ---- Messages the monitor posts to the settings program (wParam, lParam 0 unless said).
constexpr unsigned kMsgSyncDone = 1254;           // job 2 succeeded
constexpr unsigned kMsgProfileSwitched = 1255;
constexpr unsigned kMsgEnableButtons = 1256;      // enable OK and Apply again
constexpr unsigned kMsgLayerChanged = 1261;       // lParam = layer key byte
constexpr unsigned kMsgLightingChanged = 1262;
constexpr unsigned kMsgWindowsKeyChanged = 1263;  // lParam = Windows-key byte
constexpr unsigned kMsgMacroReadBack = 1264;      // wParam = profile index, lParam = key index

// ---- Messages to the on-screen display.
// kMsgOsdShow: wParam = kind, lParam = its value as the kinds say.
constexpr unsigned kMsgOsdShow = 1324;
constexpr unsigned kOsdKindProfile = 40;      // lParam = new profile index 0..4 << 16
constexpr unsigned kOsdKindMessage = 50;      // lParam 0; text in config.ini "OSDData"/"Message"
constexpr unsigned kOsdKindMacro = 70;        // lParam 0; "MacroOSD"/"Number" and "MacroName"
constexpr unsigned kOsdKindWindowsKey = 80;   // lParam = key byte << 16 (255 locked, 1 free)
constexpr unsigned kOsdKindVolume = 160;      // lParam = volume 0..100
// kMsgOsdSettings: wParam 0, lParam = (OsdSettings field 28 low 16 bits) << 16 | field 32 low
// 16 bits. What the two values mean is the display's own choice (see osd/osd_placement.h).
constexpr unsigned kMsgOsdSettings = 1326;

// ---- What the monitor and the display exchange through config.ini.
// The display settings the settings program stores: a 344-byte struct value.
constexpr const char* kOsdSettingsSection = "OSDSetting";
constexpr const char* kOsdSettingsKey = "config";
// Written before kOsdKindMacro: the key index from 0 and the macro's name.
constexpr const char* kMacroOsdSection = "MacroOSD";
constexpr const char* kMacroOsdNumberKey = "Number";
constexpr const char* kMacroOsdNameKey = "MacroName";
// Written before kOsdKindMessage: the text another program sent.
constexpr const char* kOsdTextSection = "OSDData";
constexpr const char* kOsdTextKey = "Message";

// ---- Messages to the applets and the volume controller.
constexpr unsigned kMsgAppletReload = 1224;    // system gauge, call display: reload settings
constexpr unsigned kMsgVolumeSyncDone = 1330;  // volume controller: end of job 2, wParam 1
constexpr unsigned kMsgVolumeEvent = 1331;     // volume controller: wParam = volume sub-code

// WM_CLOSE, for code that does not include <windows.h>.
constexpr unsigned kMsgClose = 0x0010;

// ---- Named kernel objects.
constexpr const char* kMonitorInstanceMutex = "Brenik_Gaming_Keyboard_Monitor";
// Our on-screen display's: one display per session (the monitor starts it on every arrival);
// the installer looks for it to know the display still runs.
constexpr const char* kOsdInstanceMutex = "Brenik_Gaming_Keyboard_OSD_Instance";
// The updater's: one updater at a time. The installer refuses to run while it is held (the
// updater may be writing the keyboard's firmware) and never closes the updater.
constexpr const char* kUpdaterInstanceMutex = "Quelm_Gaming_Keyboard_Firmware_Update";
constexpr const char* kSharedBlockName = "Brenik_Gaming_Keyboard_Share_Data";
constexpr const char* kSharedBlockLockName = "Brenik_Gaming_Keyboard_Mutex_Object";
// Held by the settings tool for the whole of one change (write, announce, answer): two runs
// take turns, and the installer waits for a run to end before it replaces the tool.
constexpr const char* kSettingsToolMutex = "Brenik_Gaming_Keyboard_Settings_Tool";

// ---- Files every program names relative to its own folder.
constexpr const char* kConfigFileName = "config.ini";
// The keyboard's presence in config.ini, written by the monitor on every change of it (1 =
// present, 0 = absent); the settings tool reads it before a change.
constexpr const char* kConfigSettingSection = "Setting";
constexpr const char* kConfigDeviceKey = "Device";

}  // namespace brenik
