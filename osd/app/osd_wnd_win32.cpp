#include "osd_wnd_win32.h"

#include "debug_output.h"
#include "ini_file.h"
#include "notice_composer.h"
#include "notice_request.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "scoped_gdi.h"
#include "window_procedure.h"

#include <utility>

namespace brenik::osd {
namespace {

constexpr const char* kWindowClass = "BrenikOsdNotice";
constexpr UINT_PTR kHideTimer = 1;
// Slightly see-through, so a notice over a game does not blot it out.
constexpr BYTE kOpacity = 235;
// Layered and transparent: the mouse goes through to what is below. No-activate: clicks and
// showing never take the focus. Tool window: not in the task bar or the task switcher.
constexpr DWORD kExtendedStyle =
    WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

bool SystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

// The primary screen's work area: the screen less the task bar.
Rect PrimaryWorkArea() {
    RECT area{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return {area.left, area.top, area.right, area.bottom};
}

const char* KindName(NoticeKind kind) {
    switch (kind) {
        case NoticeKind::kProfile: return "profile";
        case NoticeKind::kMessage: return "text message";
        case NoticeKind::kMacro: return "macro";
        case NoticeKind::kWindowsKey: return "Windows key";
        case NoticeKind::kVolume: return "volume";
    }
    return "notice";
}

class PaintSession {
public:
    explicit PaintSession(HWND window) : window_(window) { dc_ = BeginPaint(window_, &paint_); }
    ~PaintSession() { EndPaint(window_, &paint_); }
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;
    HDC Dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

}  // namespace

COsdWnd::COsdWnd(std::string configPath, Placement placement)
    : configPath_(std::move(configPath)), placement_(placement) {}

COsdWnd::~COsdWnd() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool COsdWnd::Create(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &win32::WindowProcedure<COsdWnd, &COsdWnd::hwnd_, &COsdWnd::OnMessage>;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);  // fails harmlessly if it is registered already
    if (CreateWindowExA(kExtendedStyle, kWindowClass, kTitleOsd, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance,
                        this) == nullptr) {
        DebugPrintf("Brenik OSD could not create its window (error %lu)\n", static_cast<unsigned long>(GetLastError()));
        return false;
    }
    SetLayeredWindowAttributes(hwnd_, 0, kOpacity, LWA_ALPHA);
    return true;
}

LRESULT COsdWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kMsgOsdShow: OnShowNotice(wParam, lParam); return 0;
        case kMsgOsdSettings: placement_ = DecodePlacementMessage(static_cast<std::uint32_t>(lParam)); return 0;
        case WM_TIMER:
            if (wParam == kHideTimer) Hide();
            return 0;
        case WM_PAINT: OnPaint(); return 0;
        case WM_ERASEBKGND: return 1;  // the painting covers every pixel
        case WM_NCHITTEST: return HTTRANSPARENT;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_CLOSE: DestroyWindow(hwnd_); return 0;
        case WM_DESTROY:
            KillTimer(hwnd_, kHideTimer);
            PostQuitMessage(0);
            return 0;
        default: return DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

void COsdWnd::OnShowNotice(WPARAM kind, LPARAM value) {
    const std::optional<NoticeRequest> request = DecodeShowMessage(kind, static_cast<std::uint32_t>(value));
    if (!request) return;
    // The texts are read when the notice comes: the monitor has just written them.
    const ini::CIniFile config(configPath_);
    std::optional<Notice> notice = NoticeComposer(config, names_, &SystemLeadByte).Compose(*request);
    if (notice) Show(std::move(*notice));
}

void COsdWnd::Show(Notice notice) {
    {
        const win32::ScopedWindowDc screen(hwnd_);
        layout_ = painter_.Layout(screen.Get(), notice, PrimaryWorkArea(), placement_.bottomDistance);
    }
    notice_ = std::move(notice);
    const Rect& panel = layout_.panel;
    SetWindowPos(hwnd_, HWND_TOPMOST, panel.left, panel.top, panel.Width(), panel.Height(), SWP_NOACTIVATE);
    win32::ScopedRegion region(NoticePainter::PanelRegion(layout_));
    if (region.Valid() && SetWindowRgn(hwnd_, region.Get(), FALSE)) region.Release();  // the window owns it now
    InvalidateRect(hwnd_, nullptr, FALSE);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
    SetTimer(hwnd_, kHideTimer, placement_.durationMs, nullptr);  // a notice showing starts its time again
    DebugPrintf("Brenik OSD shows a %s notice \"%s\" / \"%s\" for %u ms\n", KindName(notice_->kind),
                notice_->caption.c_str(), notice_->text.c_str(), placement_.durationMs);
}

void COsdWnd::Hide() {
    KillTimer(hwnd_, kHideTimer);
    ShowWindow(hwnd_, SW_HIDE);
}

void COsdWnd::OnPaint() {
    const PaintSession paint(hwnd_);
    if (paint.Dc() != nullptr && notice_) painter_.Paint(paint.Dc(), *notice_, layout_);
}

}  // namespace brenik::osd
