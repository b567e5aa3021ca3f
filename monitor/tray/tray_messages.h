#pragma once
// The tray icon's numbers: the icon's id and tip, the shell's callback message, and the
// commands of its menu, which reach the main window as WM_COMMAND. Private to the monitor:
// only the shell (under the number the monitor gives it) and the monitor's own menu use them.

namespace brenik::monitor::tray {

constexpr unsigned kTrayIconId = 102;
constexpr const char* kTrayTip = "GRIM HERON Brenik";

// The shell's callback for the tray icon; lParam = the mouse message.
constexpr unsigned kMsgTrayCallback = 1036;

// Tray menu commands.
constexpr unsigned kCmdConfiguration = 6001;
constexpr unsigned kCmdExit = 6002;

// What the shell broadcasts (a registered message) when it has started again and lost every icon.
constexpr const char* kTaskbarCreatedName = "TaskbarCreated";

}  // namespace brenik::monitor::tray
