#include "fw_update_app_win32.h"

#include "debug_output.h"
#include "fw_update_dlg_win32.h"
#include "launch_choice.h"
#include "message_dialogs_win32.h"
#include "monitor_handoff_win32.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

namespace brenik::updater {

CFwUpdateApp::~CFwUpdateApp() {
    if (instance_.Valid()) ReleaseMutex(instance_.Get());
}

bool CFwUpdateApp::TakeInstance() {
    instance_.Reset(CreateMutexA(nullptr, FALSE, kUpdaterInstanceMutex));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        instance_.Reset();
        return false;
    }
    return true;
}

int CFwUpdateApp::Run() {
    if (!TakeInstance()) return 0;
    // Picture loading and the progress bar's class.
    const HRESULT ole = OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    DebugPrintf("FW Update: %s\n", argument_.c_str());

    bool update = true;
    switch (ChooseFirstDialog(argument_)) {
        case FirstDialog::kConfirm: {
            // A confirmation that could not be shown (-1) is no consent to update.
            const INT_PTR answer = CUpdateConfirmDlg().DoModal(nullptr);
            if (answer == kResultCancel || answer < 0) {
                AskMonitorToClose();
                update = false;
            }
            break;
        }
        case FirstDialog::kDriver:
            CDriverUpdateDlg().DoModal(nullptr);
            AskMonitorToClose();
            update = false;
            break;
        case FirstDialog::kUpdate:
            break;
    }
    if (update) CFwUpdateDlg().DoModal(nullptr);
    if (SUCCEEDED(ole)) OleUninitialize();
    return 0;
}

}  // namespace brenik::updater
