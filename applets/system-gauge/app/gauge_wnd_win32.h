#pragma once
// CGaugeWnd: the gauge's one window, titled kTitleSystemGauge so that the monitor finds it. A
// layered, topmost tool window that never takes the focus or the mouse and never shows in the
// task bar, in the top-right corner of the primary screen's work area (gauge_layout.h). Each
// reading is a line of its own, a static control whose text is the line ("CPU 23 %"), so that
// the line can be read back like any control's. A timer takes the readings once a second;
// a line's text is set only when it changes. 1224 (kMsgAppletReload) reads the settings
// again: a reading switched off goes, both off ends the program; WM_CLOSE ends it.

#include "cpu_usage.h"
#include "gauge_layout.h"
#include "gauge_settings.h"
#include "scoped_gdi.h"

#include <windows.h>

#include <optional>
#include <string>

namespace brenik::sysgauge {

class CGaugeWnd {
public:
    // configPath: the monitor's config.ini, where the settings program stores the switches.
    explicit CGaugeWnd(std::string configPath);
    ~CGaugeWnd();
    CGaugeWnd(const CGaugeWnd&) = delete;
    CGaugeWnd& operator=(const CGaugeWnd&) = delete;

    // Registers the class, creates the window and shows it; false when it could not be made
    // or when the settings show nothing (the program then ends at once).
    bool Create(HINSTANCE instance);

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool CreateLines(HINSTANCE instance);
    void Reload();     // both readings off: the window goes, and the program ends
    void Place();      // the panel and its lines for the settings, on the current work area
    void Sample();     // one reading of each, and the lines' texts
    void ShowTexts();
    LRESULT OnColourLine(HDC dc);
    void OnEraseBackground(HDC dc);

    HWND hwnd_ = nullptr;
    HWND lines_[2] = {nullptr, nullptr};  // by Reading: processor, memory
    const std::string configPath_;
    GaugeSettings settings_;
    std::optional<SystemTimes> lastTimes_;
    std::optional<unsigned> cpuPercent_;
    std::optional<unsigned> ramPercent_;
    win32::ScopedFont font_;
    win32::ScopedBrush background_;
};

}  // namespace brenik::sysgauge
