#pragma once
// SettingsProgramNotifier: everything the monitor tells the settings program ("Brenik Gaming
// Keyboard Option"), one method per message. Each post looks for the window afresh and is
// skipped when the program does not run. The job thread posts 1254, 1256 (after job 1) and
// 1264; everything else comes from the window's thread.

#include "desktop.h"

#include <cstdint>

namespace brenik::monitor::peers {

// Who sends the enable notification: its debug line says so.
enum class EnableButtonsFrom { kJobThread, kMessageHandler };

class SettingsProgramNotifier {
public:
    explicit SettingsProgramNotifier(IDesktop& desktop) : desktop_(desktop) {}

    // 1254: job 2 read the keyboard back, so the profiles the program shows may have changed.
    void SyncDone();
    // 1255: after every profile switch, by the keyboard or by game detection, even to the
    // profile that was current.
    void ProfileSwitched();
    // 1256: the program may enable its OK and Apply buttons again: at the end of job 1, or at
    // once when message 1224 queued no job. Writes a debug line when the program does not run,
    // and one naming the sender. False when nothing was posted.
    bool EnableButtons(EnableButtonsFrom from);
    // 1261 (lParam = the layer key byte): the keyboard switched layers (event class 0xE000).
    void LayerChanged(std::uint8_t key);
    // 1262: the keyboard's lighting control changed (event class 0xD000).
    void LightingChanged();
    // 1263 (lParam = the Windows-key byte): a Windows-key event (class 0xF000), sent whether or
    // not a field changed.
    void WindowsKeyChanged(std::uint8_t key);
    // 1264 (wParam = profile index, lParam = key index): job 4 stored the macro the keyboard
    // has just recorded.
    void MacroReadBack(int profile, int key);
    // WM_CLOSE: the companions are closed (removal, session disconnect, shutdown).
    void Close();

private:
    bool Post(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

    IDesktop& desktop_;
};

}  // namespace brenik::monitor::peers
