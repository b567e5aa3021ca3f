#pragma once
// What the monitor's window (kTitleMonitor) receives from other programs: every number here is
// sent by a program outside the monitor, which must keep to it. The text message
// (WM_COPYDATA) has its own header, text_message_block.h. What the monitor sends is in
// peer_messages.h; its private numbers (timers, the tray's callback and menu, the job
// thread's message, the foreground notice) stay with their owners inside monitor/.
//
// 1326 is both kMsgDeviceChange here and kMsgOsdSettings (monitor to display) in
// peer_messages.h: the receivers differ, so the two never meet.

namespace brenik {

// ---- From kbhid.dll. It posts its two messages under the numbers its caller passes to
// Open_DevMonitor; these are the monitor's (the updater passes the same). What they carry is
// kbhid's agreement, in kbhid_api.h.
constexpr unsigned kMsgKeyEvent = 1325;      // wParam = event class, lParam = sub-code
constexpr unsigned kMsgDeviceChange = 1326;  // wParam = hid::kDeviceArrived or hid::kDeviceRemoved

// ---- From the settings program and its sibling programs.
constexpr unsigned kMsgSettingsChanged = 1224;  // settings program; wParam = argument of job 1
constexpr unsigned kMsgRereadShared1 = 1226;    // re-read the shared block
constexpr unsigned kMsgRereadShared2 = 1227;
constexpr unsigned kMsgNoAction1 = 1228;        // answered 0
constexpr unsigned kMsgNoAction2 = 1229;        // answered 0
constexpr unsigned kMsgNoAction3 = 1274;        // answered 0
constexpr unsigned kMsgNoActionTrue = 1327;     // answered 1

// ---- From the volume controller.
constexpr unsigned kMsgVolumeLevel = 1332;  // wParam = level 0..100

}  // namespace brenik
