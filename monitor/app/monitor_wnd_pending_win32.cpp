// Steps of the monitor that belong to parts still to be built: the tray icon and companion
// programs, sound cues, media keys, the on-screen display and game detection. Each is called
// at its place in the start-up, shutdown and message orders already; the work arrives with
// its part.

#include "monitor_wnd_win32.h"

namespace brenik {

// Tray icon and companion programs.
void CMonitorWnd::AddTrayIcon() {}
void CMonitorWnd::RemoveTrayIcon() {}
void CMonitorWnd::StartCompanions() {}
void CMonitorWnd::UpdateApplets() {}
void CMonitorWnd::OnCustomizer() {}
void CMonitorWnd::OnSystrayNotify(LPARAM) {}

// Sound cues.
void CMonitorWnd::PlaySoundCue(EventWord) {}

// Media-player keys.
void CMonitorWnd::MediaKey(std::uint8_t, std::uint8_t) {}

// On-screen display: its settings, notifications and text messages.
void CMonitorWnd::LoadOsdSettings() {}
void CMonitorWnd::NotifyOsd(std::uint16_t, std::uint16_t) {}
void CMonitorWnd::NotifyOsdOfProfileSwitch(int) {}
bool CMonitorWnd::OsdShowsWindowsKey() { return false; }
LRESULT CMonitorWnd::OnCopyData(const COPYDATASTRUCT*) { return FALSE; }

// Game detection.
void CMonitorWnd::DetectGame() {}

}  // namespace brenik
