#pragma once
// Window messages, timers, commands and window titles through which the monitor talks to
// the HID library, to its own job thread and to the companion programs. Each value once,
// as the other programs of the product line use it.

#include "job_codes.h"

#include <cstdint>

namespace brenik {

// Received by the main window.
constexpr unsigned kMsgSettingsChanged = 1224;   // wParam = argument of job 1
constexpr unsigned kMsgRereadShared1 = 1226;
constexpr unsigned kMsgRereadShared2 = 1227;
constexpr unsigned kMsgNoAction1 = 1228;         // answered 0
constexpr unsigned kMsgNoAction2 = 1229;         // answered 0
constexpr unsigned kMsgNoAction3 = 1274;         // answered 0
constexpr unsigned kMsgKeyEvent = 1325;          // from the HID library
constexpr unsigned kMsgDeviceChange = 1326;      // from the HID library: wParam 1 arrived, 0 removed
constexpr unsigned kMsgNoActionTrue = 1327;      // answered 1
constexpr unsigned kMsgVolumeLevel = 1332;       // wParam = level 0..100
constexpr unsigned kMsgTrayCallback = 1036;

// Thread message of the job thread: wParam = job, lParam = its argument.
constexpr unsigned kMsgJob = 1649;

// Sent to the companions.
constexpr unsigned kMsgSyncDone = 1254;          // settings program: job 2 succeeded
constexpr unsigned kMsgProfileSwitched = 1255;   // settings program
constexpr unsigned kMsgEnableButtons = 1256;     // settings program: enable OK and Apply
constexpr unsigned kMsgLayerChanged = 1261;      // settings program, lParam = layer key byte
constexpr unsigned kMsgLightingChanged = 1262;   // settings program
constexpr unsigned kMsgWindowsKeyChanged = 1263; // settings program, lParam = Windows-key byte
constexpr unsigned kMsgMacroReadBack = 1264;     // settings program: profile index, key index
constexpr unsigned kMsgOsdShow = 1324;           // on-screen display: display kind, value
constexpr unsigned kMsgOsdSettings = 1326;       // on-screen display: settings changed
constexpr unsigned kMsgAppletReload = 1224;      // system gauge, call display
constexpr unsigned kMsgVolumeSyncDone = 1330;    // volume controller: end of job 2
constexpr unsigned kMsgVolumeEvent = 1331;       // volume controller: volume sub-code
constexpr unsigned kMsgClose = 0x0010;           // WM_CLOSE, for the core's use

// On-screen display kinds (wParam of kMsgOsdShow).
constexpr unsigned kOsdKindProfile = 40;
constexpr unsigned kOsdKindWindowsKey = 80;

// Timers of the main window.
constexpr unsigned kTimerDetectGame = 500;
constexpr unsigned kTimerDetectGameMs = 2000;
constexpr unsigned kTimerFirstSync = 502;
constexpr unsigned kTimerFirstSyncMs = 200;

// Tray menu commands.
constexpr unsigned kCmdConfiguration = 6001;
constexpr unsigned kCmdExit = 6002;


// Pause after the keyboard arrives, before it is opened: the main thread blocks meanwhile.
constexpr unsigned kArrivalSettleMs = 5000;

// Windows of the companion programs, found by title each time, never cached.
constexpr const char* kTitleMonitor = "BrenikGamingKeyboardMonitor";
constexpr const char* kTitleSettings = "Brenik Gaming Keyboard Option";
constexpr const char* kTitleOsd = "Brenik_Gaming_Keyboard_OSD";
constexpr const char* kTitleVolumeController = "Brenik Volume Controller";
constexpr const char* kTitlePopup = "Brenik Gaming Keyboard Pop3";
constexpr const char* kTitleSystemGauge = "Brenik Gaming Keyboard CPU RAM OSD";
constexpr const char* kTitleCallDisplay = "Brenik Gaming Keyboard OSD SKYPE";

// Named kernel objects.
constexpr const char* kInstanceMutexName = "Brenik_Gaming_Keyboard_Monitor";

}  // namespace brenik
