#pragma once
// How the programs of the product line find each other: the window titles they look each
// other up by, the companion programs' paths, the named kernel objects they open, and the
// file they share. The monitor, the updater, our on-screen display, the settings tool, the
// installer (program_names.nsh is generated from the string values here) and the tests all
// take the values from here, and so do our settings program and applets (the volume controller
// and the system gauge). Titles are searched afresh each time: another program's
// window is never kept.
//
// What they say to each other has headers of its own: monitor_inbox.h (messages to the
// monitor), peer_messages.h (messages from it), text_message_block.h, config_ini_keys.h and
// osd_settings_record.h.

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

// ---- Named kernel objects.
constexpr const char* kMonitorInstanceMutex = "Brenik_Gaming_Keyboard_Monitor";
// Our on-screen display's: one display per session (the monitor starts it on every arrival);
// the installer looks for it to know the display still runs.
constexpr const char* kOsdInstanceMutex = "Brenik_Gaming_Keyboard_OSD_Instance";
// Our volume controller's: one per session (the monitor starts it on every arrival).
constexpr const char* kVolumeBarInstanceMutex = "Brenik_Gaming_Keyboard_Volume_Controller_Instance";
// The updater's: one updater at a time. The installer refuses to run while it is held (the
// updater may be writing the keyboard's firmware) and never closes the updater.
constexpr const char* kUpdaterInstanceMutex = "Quelm_Gaming_Keyboard_Firmware_Update";
constexpr const char* kSharedBlockName = "Brenik_Gaming_Keyboard_Share_Data";
constexpr const char* kSharedBlockLockName = "Brenik_Gaming_Keyboard_Mutex_Object";
// Held by the settings tool for the whole of one change (write, announce, answer): two runs
// take turns, and the installer waits for a run to end before it replaces the tool.
constexpr const char* kSettingsToolMutex = "Brenik_Gaming_Keyboard_Settings_Tool";
// Our settings program's: one window per session (a second start brings the first forward);
// the installer waits for it to go.
constexpr const char* kSettingsInstanceMutex = "Brenik_Gaming_Keyboard_Option_Instance";
// Our system gauge's: one gauge per session (the monitor starts it at a settings change that
// switches a reading on while no gauge window is there); the installer waits for it to go.
constexpr const char* kSystemGaugeInstanceMutex = "Brenik_Gaming_Keyboard_System_Gauge_Instance";

// ---- Files every program names relative to its own folder.
// The monitor, beside the settings program, which starts it when it is not running.
constexpr const char* kProgramMonitor = "Monitor.exe";
constexpr const char* kConfigFileName = "config.ini";

}  // namespace brenik
