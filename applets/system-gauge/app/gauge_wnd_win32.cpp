#include "gauge_wnd_win32.h"

#include "debug_output.h"
#include "ini_file.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "system_readings_win32.h"
#include "window_procedure.h"

#include <utility>

namespace brenik::sysgauge {
namespace {

constexpr const char* kWindowClass = "BrenikSystemGauge";
constexpr UINT_PTR kSampleTimer = 1;
constexpr UINT kSampleIntervalMs = 1000;
// Slightly see-through, so the gauge over a game does not blot it out.
constexpr BYTE kOpacity = 225;
constexpr COLORREF kBackgroundColour = RGB(24, 28, 36);
constexpr COLORREF kTextColour = RGB(140, 230, 160);
constexpr int kFontHeight = 17;  // pixels, "RAM 100 %" fits kPanelWidth less the padding
// Layered and transparent: the mouse goes through to what is below. No-activate: showing and
// clicks never take the focus. Tool window: not in the task bar or the task switcher.
constexpr DWORD kExtendedStyle =
    WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
constexpr DWORD kLineStyle = WS_CHILD | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX;
constexpr int kLineIds[2] = {101, 102};

// The primary screen's work area: the screen less the task bar.
Rect PrimaryWorkArea() {
    RECT area{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return {area.left, area.top, area.right, area.bottom};
}

std::size_t LineIndex(Reading reading) { return reading == Reading::kCpu ? 0 : 1; }

}  // namespace

CGaugeWnd::CGaugeWnd(std::string configPath) : configPath_(std::move(configPath)) {}

CGaugeWnd::~CGaugeWnd() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

bool CGaugeWnd::Create(HINSTANCE instance) {
    settings_ = LoadGaugeSettings(ini::CIniFile(configPath_));
    if (!settings_.AnyShown()) {
        DebugPrintf("SysGauge: %s switches no reading on\n", configPath_.c_str());
        return false;
    }
    background_ = win32::ScopedBrush(CreateSolidBrush(kBackgroundColour));
    font_ = win32::ScopedFont(CreateFontA(-kFontHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                          DEFAULT_PITCH | FF_SWISS, "Tahoma"));
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &win32::WindowProcedure<CGaugeWnd, &CGaugeWnd::hwnd_, &CGaugeWnd::OnMessage>;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);  // fails harmlessly if it is registered already
    if (CreateWindowExA(kExtendedStyle, kWindowClass, kTitleSystemGauge, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                        instance, this) == nullptr ||
        !CreateLines(instance)) {
        DebugPrintf("SysGauge could not create its window (error %lu)\n", static_cast<unsigned long>(GetLastError()));
        return false;
    }
    SetLayeredWindowAttributes(hwnd_, 0, kOpacity, LWA_ALPHA);
    lastTimes_ = ReadSystemTimes();  // the processor's use needs a second reading, a second later
    ramPercent_ = ReadMemoryPercent();
    ShowTexts();
    Place();
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    SetTimer(hwnd_, kSampleTimer, kSampleIntervalMs, nullptr);
    return true;
}

bool CGaugeWnd::CreateLines(HINSTANCE instance) {
    for (std::size_t index = 0; index < 2; ++index) {
        lines_[index] = CreateWindowExA(0, "STATIC", "", kLineStyle, 0, 0, 0, 0, hwnd_,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLineIds[index])), instance, nullptr);
        if (lines_[index] == nullptr) return false;
        SendMessageA(lines_[index], WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    }
    return true;
}

LRESULT CGaugeWnd::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kMsgAppletReload: Reload(); return 0;
        case WM_TIMER:
            if (wParam == kSampleTimer) Sample();
            return 0;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETWORKAREA) Place();
            return 0;
        case WM_DISPLAYCHANGE: Place(); return 0;
        case WM_CTLCOLORSTATIC: return OnColourLine(reinterpret_cast<HDC>(wParam));
        case WM_ERASEBKGND: OnEraseBackground(reinterpret_cast<HDC>(wParam)); return 1;
        case WM_NCHITTEST: return HTTRANSPARENT;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_CLOSE: DestroyWindow(hwnd_); return 0;
        case WM_DESTROY:
            KillTimer(hwnd_, kSampleTimer);
            PostQuitMessage(0);
            return 0;
        default: return DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

void CGaugeWnd::Reload() {
    const GaugeSettings settings = LoadGaugeSettings(ini::CIniFile(configPath_));
    if (!settings.AnyShown()) {
        DebugPrintf("SysGauge: both readings are off, closing\n");
        DestroyWindow(hwnd_);
        return;
    }
    if (settings == settings_) return;
    settings_ = settings;
    ShowTexts();
    Place();
}

void CGaugeWnd::Place() {
    const std::vector<GaugeLine> lines = GaugeLines(settings_, cpuPercent_, ramPercent_);
    const GaugeLayout layout = LayoutGauge(PrimaryWorkArea(), lines.size());
    ShowWindow(lines_[0], SW_HIDE);
    ShowWindow(lines_[1], SW_HIDE);
    for (std::size_t row = 0; row < lines.size(); ++row) {
        const HWND control = lines_[LineIndex(lines[row].reading)];
        const Rect& place = layout.lines[row];
        SetWindowPos(control, nullptr, place.left, place.top, place.Width(), place.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(control, SW_SHOWNA);
    }
    const Rect& panel = layout.panel;
    SetWindowPos(hwnd_, HWND_TOPMOST, panel.left, panel.top, panel.Width(), panel.Height(), SWP_NOACTIVATE);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void CGaugeWnd::Sample() {
    // Both readings, whichever are shown: a line switched on later starts from a fresh one.
    const std::optional<SystemTimes> times = ReadSystemTimes();
    if (times && lastTimes_) {
        const std::optional<unsigned> percent = CpuPercent(*lastTimes_, *times);
        if (percent) cpuPercent_ = percent;
        // No time passed: keep the earlier reading, so that the next interval spans both.
        const bool timePassed = times->kernel != lastTimes_->kernel || times->user != lastTimes_->user;
        if (timePassed) lastTimes_ = times;
    } else {
        lastTimes_ = times;
    }
    ramPercent_ = ReadMemoryPercent();
    ShowTexts();
}

void CGaugeWnd::ShowTexts() {
    char current[32];
    for (const GaugeLine& line : GaugeLines(settings_, cpuPercent_, ramPercent_)) {
        const HWND control = lines_[LineIndex(line.reading)];
        GetWindowTextA(control, current, sizeof current);
        if (line.text != current) SetWindowTextA(control, line.text.c_str());  // a repaint only on a change
    }
}

LRESULT CGaugeWnd::OnColourLine(HDC dc) {
    SetTextColor(dc, kTextColour);
    SetBkColor(dc, kBackgroundColour);
    return reinterpret_cast<LRESULT>(background_.Get());
}

void CGaugeWnd::OnEraseBackground(HDC dc) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, background_.Get());
}

}  // namespace brenik::sysgauge
