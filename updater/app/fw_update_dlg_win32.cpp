#include "fw_update_dlg_win32.h"

#include "debug_output.h"
#include "dfu_version.h"
#include "hid_feature_reports_win32.h"
#include "ini_file.h"
#include "keyboard_device_constants.h"
#include "launch_choice.h"
#include "message_dialogs_win32.h"
#include "monitor_handoff_win32.h"
#include "monitor_inbox.h"
#include "program_folder.h"
#include "system_sleep_clock_win32.h"
#include "update_transfer.h"
#include "updater_resources.h"

#include <commctrl.h>

namespace brenik::updater {

namespace {

constexpr DWORD kWorkerStackBytes = 8192;
constexpr DWORD kMonitorCloseSettleMs = 1000;
constexpr DWORD kShutdownSettleMs = 1000;
// How long a closing dialog waits for its worker. A worker that is told to stop leaves before
// its next report and within 100 ms of any wait, so only a call into kbhid.dll that does not
// return can hold it longer.
constexpr DWORD kWorkerStopMs = 10000;
// The exit code of a program that had to leave a worker inside kbhid.dll.
constexpr UINT kExitWorkerStuck = 3;
constexpr std::size_t kImagePathChars = 260;
constexpr COLORREF kProgressBackground = RGB(9, 9, 9);
constexpr COLORREF kProgressBar = RGB(177, 4, 0);
constexpr COLORREF kCaptionColour = RGB(150, 150, 150);
constexpr int kCaptionFontHeight = 14;
constexpr POINT kVersionAt = {334, 132};
constexpr RECT kFileNameRect = {95, 132, 320, 154};

// A themed progress bar ignores its colours, and the skin's bar is drawn plain: the
// program's controls take no visual theme. uxtheme is looked up at run time, so the program
// also runs where it is missing.
void UsePlainControls(HWND control) {
    HMODULE uxtheme = GetModuleHandleW(L"uxtheme.dll");
    if (uxtheme == nullptr) uxtheme = LoadLibraryW(L"uxtheme.dll");
    if (uxtheme == nullptr) return;
    using SetThemeAppPropertiesFn = void(WINAPI*)(DWORD);
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    constexpr DWORD kAllowNonClientOnly = 1;  // STAP_ALLOW_NONCLIENT
    auto setAppProperties = reinterpret_cast<SetThemeAppPropertiesFn>(
        reinterpret_cast<void*>(GetProcAddress(uxtheme, "SetThemeAppProperties")));
    auto setTheme = reinterpret_cast<SetWindowThemeFn>(reinterpret_cast<void*>(GetProcAddress(uxtheme, "SetWindowTheme")));
    if (setAppProperties != nullptr) setAppProperties(kAllowNonClientOnly);
    if (setTheme != nullptr) setTheme(control, L" ", L" ");
}

}  // namespace

CFwUpdateDlg::CFwUpdateDlg() : CSkinnedDialog(IDD_FWUPDATE_DIALOG, kMainSkin), image_(std::make_unique<FirmwareImage>()) {}

CFwUpdateDlg::~CFwUpdateDlg() = default;

bool CFwUpdateDlg::OnInitDialog() {
    HWND hwnd = Hwnd();
    wchar_t about[64] = {};
    if (LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, about, 64) > 0) {
        if (HMENU menu = GetSystemMenu(hwnd, FALSE)) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    icon_ = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

    SetUpProgressBar();
    ReadImagePath();
    SendMessageW(progress_, PBM_SETRANGE32, 0, 127);
    SendMessageW(progress_, PBM_SETSTEP, 1, 0);
    CentreOn(nullptr);

    CloseMonitorAndWait();
    Sleep(kMonitorCloseSettleMs);

    if (!library_.Load(hid::kUpdaterEntryPoints)) DebugPrintf("FW Update: kbhid.dll or one of its entry points missing\n");
    startEvent_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    // Without its start event the worker could not wait for the image: it is not started then.
    if (startEvent_.Valid()) {
        worker_.Reset(CreateThread(nullptr, kWorkerStackBytes, &CFwUpdateDlg::WorkerMain, this, 0, nullptr));
    }
    // kbhid is asked to post the monitor's two messages (monitor_inbox.h); the updater handles neither.
    library_.OpenDevMonitor(hwnd, kMsgKeyEvent, kMsgDeviceChange);
    library_.OpenFeatureDevice();

    hid::HidFeatureReports port(library_, device::kUpdateCommandReportLength);
    versionCaption_ = VersionCaption(ReadDfuVersion(port));
    SetWindowTextW(hwnd, kMainDialogTitle);
    SetTimer(hwnd, kStartTimerId, kStartTimerMs, nullptr);

    font_.Reset(CreateFontW(kCaptionFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, L"Arial"));
    return true;
}

void CFwUpdateDlg::SetUpProgressBar() {
    progress_ = GetDlgItem(Hwnd(), IDC_PROGRESS);
    const RECT& rect = ProgressRect();
    MoveWindow(progress_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    UsePlainControls(progress_);
    SendMessageW(progress_, PBM_SETBKCOLOR, 0, kProgressBackground);
    SendMessageW(progress_, PBM_SETBARCOLOR, 0, kProgressBar);
    SendMessageW(progress_, PBM_SETPOS, 0, 0);
    RedrawProgress();
}

void CFwUpdateDlg::ReadImagePath() {
    ini::CIniFile config(ConfigIniPath());
    std::string name = config.ReadString("Firmware", "Name", "");
    if (name.size() >= kImagePathChars) name.resize(kImagePathChars - 1);
    imagePath_ = ResolveImagePath(ProgramFolder(), name);
    if (imagePath_.size() >= kImagePathChars) imagePath_.resize(kImagePathChars - 1);
}

void CFwUpdateDlg::RedrawProgress() { RedrawWindow(progress_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

INT_PTR CFwUpdateDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    switch (message) {
        case WM_TIMER:
            if (wParam == kStartTimerId) OnStartTimer();
            return TRUE;
        case WM_FWU_PROGRESS:
            OnProgress(wParam);
            return TRUE;
        case WM_FWU_DONE:
            OnDone(lParam == 1);
            return TRUE;
        case WM_SYSCOMMAND:
            // The About item does nothing; everything else takes the default way.
            if ((wParam & 0xFFF0) == IDM_ABOUTBOX) return TRUE;
            handled = false;
            return FALSE;
        default:
            handled = false;
            return FALSE;
    }
}

void CFwUpdateDlg::OnStartTimer() {
    KillTimer(Hwnd(), kStartTimerId);
    SendMessageW(progress_, PBM_SETPOS, 0, 0);
    RedrawProgress();
    if (!startEvent_.Valid() || !worker_.Valid()) {
        DebugPrintf("FW Update: no worker thread, nothing is sent\n");
        CUpdateFailDlg().DoModal(Hwnd());
        return;
    }
    if (!LoadFirmwareImage(imagePath_, *image_)) {
        CUpdateFailDlg().DoModal(Hwnd());
        return;
    }
    SendMessageW(progress_, PBM_SETRANGE32, 0, static_cast<LPARAM>(image_->size / device::kFirmwareBlockSize));
    SetEvent(startEvent_.Get());
}

void CFwUpdateDlg::OnProgress(WPARAM block) {
    SendMessageW(progress_, PBM_SETPOS, block, 0);
    RedrawProgress();
}

void CFwUpdateDlg::OnDone(bool success) {
    if (!success) {
        CUpdateFailDlg().DoModal(Hwnd());
        return;
    }
    CUpdateSuccessDlg().DoModal(Hwnd());
    restart_ = true;
    PostMessageW(Hwnd(), WM_CLOSE, 0, 0);
}

DWORD WINAPI CFwUpdateDlg::WorkerMain(LPVOID dialog) {
    static_cast<CFwUpdateDlg*>(dialog)->Work();
    return 0;
}

void CFwUpdateDlg::Work() {
    hid::HidFeatureReports port(library_, device::kUpdateCommandReportLength);
    SystemSleepClock clock;
    const UpdateLink link{port, clock, [this] { return stop_.load(); }};
    HWND hwnd = Hwnd();
    while (!stop_.load()) {
        // Anything but the start event's signal (a failed wait) must never start a transfer.
        if (WaitForSingleObject(startEvent_.Get(), INFINITE) != WAIT_OBJECT_0 || stop_.load()) break;
        const bool success =
            RunTransfer(*image_, link, [hwnd](std::size_t block) { PostMessageW(hwnd, WM_FWU_PROGRESS, block, 0); });
        if (stop_.load()) break;
        PostMessageW(hwnd, WM_FWU_DONE, 0, success ? 1 : 0);
    }
}

void CFwUpdateDlg::OnPaintOver(HDC canvas) {
    if (IsIconic(Hwnd())) {
        RECT client;
        GetClientRect(Hwnd(), &client);
        DrawIcon(canvas, (client.right - GetSystemMetrics(SM_CXICON)) / 2, (client.bottom - GetSystemMetrics(SM_CYICON)) / 2,
                 icon_);
        return;
    }
    SetBkMode(canvas, TRANSPARENT);
    SetTextColor(canvas, kCaptionColour);
    win32::SelectedObject font(canvas, font_.Valid() ? static_cast<HGDIOBJ>(font_.Get()) : GetStockObject(DEFAULT_GUI_FONT));
    const std::string version = "DFU V" + versionCaption_;
    TextOutA(canvas, kVersionAt.x, kVersionAt.y, version.c_str(), static_cast<int>(version.size()));
    // The path is in the system's code page, as config.ini gave it.
    const std::string name = ImageFileName(imagePath_);
    RECT nameRect = kFileNameRect;
    DrawTextA(canvas, name.c_str(), static_cast<int>(name.size()), &nameRect, DT_WORDBREAK | DT_WORD_ELLIPSIS | DT_NOPREFIX);
}

void CFwUpdateDlg::OnDestroy() {
    stop_.store(true);
    if (startEvent_.Valid()) SetEvent(startEvent_.Get());
    // The worker stops before its next report; it must have ended before the library goes.
    if (worker_.Valid() && WaitForSingleObject(worker_.Get(), kWorkerStopMs) != WAIT_OBJECT_0) {
        // Still inside kbhid.dll: freeing the library, or this dialog, under it would crash it
        // when the call returns. The program ends here instead, with the library loaded and the
        // keyboard untouched; the monitor is not restarted, as after any failed update.
        DebugPrintf("KeyFwFlash: the worker did not stop within %lu ms (inside kbhid.dll); ending without "
                    "unloading it\n",
                    static_cast<unsigned long>(kWorkerStopMs));
        ExitProcess(kExitWorkerStuck);
    }
    Sleep(kShutdownSettleMs);
    library_.CloseDevMonitor();
    library_.CloseFeatureDevice();
    library_.Unload();
    startEvent_.Reset();
    worker_.Reset();
    if (restart_) StartMonitor(ProgramFolder());
}

}  // namespace brenik::updater
