#pragma once
// The four message dialogs on template 129. Every word they say is in their pictures; they
// end only through their buttons: OK gives 1, Abort and the exit cross 2.

#include "skinned_dialog_win32.h"

namespace brenik::updater {

// Asks before the update: OK goes on, Abort or the exit cross ends the program.
class CUpdateConfirmDlg : public CSkinnedDialog {
public:
    CUpdateConfirmDlg();
};

class CUpdateFailDlg : public CSkinnedDialog {
public:
    CUpdateFailDlg();
};

// The only dialog with a title, which programs that wait for the update look for.
class CUpdateSuccessDlg : public CSkinnedDialog {
public:
    CUpdateSuccessDlg();

protected:
    bool OnInitDialog() override;
};

// Tells the user to install the newest driver instead.
class CDriverUpdateDlg : public CSkinnedDialog {
public:
    CDriverUpdateDlg();
};

constexpr const wchar_t* kSuccessTitle = L"Firmware upgrade success";

}  // namespace brenik::updater
