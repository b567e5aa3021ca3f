#pragma once
// CFwUpdateDlg: the main dialog (template 102). It closes the monitor, binds kbhid, shows
// the keyboard's DFU version and the image's name, starts the update one second after it
// opens, runs the transfer on its worker thread with a progress bar, shows the result, and
// on the way out stops the worker before it closes the keyboard and frees the library.

#include "firmware_image.h"
#include "hid_library.h"
#include "scoped_gdi.h"
#include "scoped_handle.h"
#include "skinned_dialog_win32.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

namespace brenik::updater {

// Posted by the worker: wParam the block just taken, from 0.
constexpr UINT WM_FWU_PROGRESS = 0x590;
// Posted by the worker: lParam 1 success, 0 failure.
constexpr UINT WM_FWU_DONE = 0x592;
constexpr UINT_PTR kStartTimerId = 100;
constexpr const wchar_t* kMainDialogTitle = L"Torvane Keyboard Firmware update";
constexpr UINT kStartTimerMs = 1000;

class CFwUpdateDlg : public CSkinnedDialog {
public:
    CFwUpdateDlg();
    ~CFwUpdateDlg() override;

protected:
    bool OnInitDialog() override;
    void OnPaintOver(HDC canvas) override;
    bool SwallowsKey(WPARAM key) const override { return key == VK_ESCAPE; }
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnDestroy() override;
    void OnOk() override { EndDialog(kResultOk); }
    void CentreWindow() override { CentreOn(nullptr); }

private:
    static DWORD WINAPI WorkerMain(LPVOID dialog);
    void Work();
    void SetUpProgressBar();
    void ReadImagePath();
    void OnStartTimer();
    void OnProgress(WPARAM block);
    void OnDone(bool success);
    void RedrawProgress();

    HWND progress_ = nullptr;
    std::string imagePath_;
    std::string versionCaption_ = "N/A";
    std::unique_ptr<FirmwareImage> image_;
    hid::HidLibrary library_;
    win32::ScopedHandle startEvent_;
    win32::ScopedHandle worker_;
    std::atomic<bool> stop_{false};
    bool restart_ = false;
    win32::ScopedFont font_;
    HICON icon_ = nullptr;
};

}  // namespace brenik::updater
