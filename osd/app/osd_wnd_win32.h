#pragma once
// COsdWnd: the display's one window, titled kTitleOsd so that the monitor finds it. It is a
// layered, topmost tool window that never takes the focus or the mouse and never shows in
// the task bar: hidden until a notice (message 1324) arrives, then shown without activation
// near the bottom centre of the primary screen until its time runs out. A new notice replaces
// the one showing and starts its time afresh. Message 1326 sets where and how long
// (osd_placement.h); WM_CLOSE ends the program.

#include "notice.h"
#include "notice_layout.h"
#include "notice_painter_win32.h"
#include "osd_placement.h"
#include "shared_profile_names_win32.h"

#include <windows.h>

#include <optional>
#include <string>

namespace brenik::osd {

class COsdWnd {
public:
    // configPath: config.ini beside the program, where the monitor leaves the texts.
    COsdWnd(std::string configPath, Placement placement);
    ~COsdWnd();
    COsdWnd(const COsdWnd&) = delete;
    COsdWnd& operator=(const COsdWnd&) = delete;

    // Registers the class and creates the hidden window; false when it could not be made.
    bool Create(HINSTANCE instance);

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnShowNotice(WPARAM kind, LPARAM value);
    void Show(Notice notice);
    void Hide();
    void OnPaint();

    HWND hwnd_ = nullptr;
    const std::string configPath_;
    Placement placement_;
    SharedProfileNames names_;
    NoticePainter painter_;
    std::optional<Notice> notice_;  // the one showing, or the last one shown
    NoticeLayout layout_;
};

}  // namespace brenik::osd
