#pragma once
// What the monitor sends to the other programs' windows, one section per receiver: each
// number is one the receiver waits for. The monitor finds the windows by title
// (program_windows.h) every time; wParam and lParam are 0 unless said. What the monitor
// receives is in monitor_inbox.h.

namespace brenik {

// ---- To the settings program (kTitleSettings).
constexpr unsigned kMsgSyncDone = 1254;           // job 2 succeeded
constexpr unsigned kMsgProfileSwitched = 1255;
constexpr unsigned kMsgEnableButtons = 1256;      // enable OK and Apply again
constexpr unsigned kMsgLayerChanged = 1261;       // lParam = layer key byte
constexpr unsigned kMsgLightingChanged = 1262;
constexpr unsigned kMsgWindowsKeyChanged = 1263;  // lParam = Windows-key byte
constexpr unsigned kMsgMacroReadBack = 1264;      // wParam = profile index, lParam = key index

// ---- To the on-screen display (kTitleOsd).
// kMsgOsdShow: wParam = kind, lParam = its value as the kinds say.
constexpr unsigned kMsgOsdShow = 1324;
constexpr unsigned kOsdKindProfile = 40;      // lParam = new profile index 0..4 << 16
constexpr unsigned kOsdKindMessage = 50;      // lParam 0; text in config.ini kOsdTextSection/kOsdTextKey
constexpr unsigned kOsdKindMacro = 70;        // lParam 0; config.ini kMacroOsdSection: number and name
constexpr unsigned kOsdKindWindowsKey = 80;   // lParam = key byte << 16 (255 locked, 1 free)
constexpr unsigned kOsdKindVolume = 160;      // lParam = volume 0..100
// kMsgOsdSettings: wParam 0, lParam = PackedDisplayParams of the display settings
// (osd_settings_record.h). Not kbhid's 1326 (monitor_inbox.h): the receivers differ.
constexpr unsigned kMsgOsdSettings = 1326;

// ---- To the volume controller (kTitleVolumeController).
constexpr unsigned kMsgVolumeSyncDone = 1330;  // end of job 2, wParam 1
constexpr unsigned kMsgVolumeEvent = 1331;     // wParam = volume sub-code

// ---- To the applets: the system gauge (kTitleSystemGauge) and the call display
// (kTitleCallDisplay).
constexpr unsigned kMsgAppletReload = 1224;  // reload settings

// ---- To any of them: WM_CLOSE, named for code that does not include <windows.h>.
constexpr unsigned kMsgClose = 0x0010;

}  // namespace brenik
