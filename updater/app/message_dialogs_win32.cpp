#include "message_dialogs_win32.h"

#include "updater_resources.h"

namespace brenik::updater {

CUpdateConfirmDlg::CUpdateConfirmDlg() : CSkinnedDialog(IDD_SKIN_MESSAGE, kConfirmSkin) {}

CUpdateFailDlg::CUpdateFailDlg() : CSkinnedDialog(IDD_SKIN_MESSAGE, kFailSkin) {}

CUpdateSuccessDlg::CUpdateSuccessDlg() : CSkinnedDialog(IDD_SKIN_MESSAGE, kSuccessSkin) {}

bool CUpdateSuccessDlg::OnInitDialog() {
    SetWindowTextW(Hwnd(), kSuccessTitle);
    return true;
}

CDriverUpdateDlg::CDriverUpdateDlg() : CSkinnedDialog(IDD_SKIN_MESSAGE, kDriverSkin) {}

}  // namespace brenik::updater
