#pragma once
// The settings program's window, "Brenik Gaming Keyboard Option": the pages on tabs, the
// profile the per-profile pages edit, the status line and OK, Cancel and Apply. It loads the
// profiles from the monitor's shared block and keeps them in step with the monitor's messages;
// an apply and the monitor's answer are ApplyFlow's (apply_flow_win32.h), the window greys OK,
// Apply and Restore while it waits.

#include "apply_flow_win32.h"
#include "display_settings_model.h"
#include "monitor_connection_win32.h"
#include "ole_session_win32.h"
#include "scoped_gdi.h"
#include "settings_model.h"
#include "settings_page_win32.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace brenik::option {

// The class of our window, so that a search for the title can tell it from the settings
// tool's hidden window of the same title.
constexpr const wchar_t* kMainWindowClass = L"BrenikOptionWindow";

class CMainWindow {
public:
    explicit CMainWindow(std::string programFolder);
    ~CMainWindow();
    CMainWindow(const CMainWindow&) = delete;
    CMainWindow& operator=(const CMainWindow&) = delete;

    bool Create(int showCommand);
    // The message loop's share: dialog keys and Ctrl+Tab between the pages.
    bool PreTranslate(MSG& message);

private:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInit();
    INT_PTR OnCommand(WORD id, WORD code);
    void OnTimer();
    void OnPeerMessage();
    void OnAnswer();

    bool MakeFonts();
    void CreatePages();
    bool EnsurePage(SettingsPage& page);
    void ShowPage(int index);
    void Layout();
    void FillProfileChoice();
    void ShowEverything();
    void OnEdited();
    void OnReplaced();  // the model's values replaced at once (undo, redo, a restored copy)
    void TellPages(UINT message);  // the monitor's 1254 or 1256, after the window's own work

    void LoadFirst();
    void LoadFromFiles();
    void Apply(bool closeAfter, bool reviewed = false);
    bool ConflictsAccepted();  // asks when the edits bring key conflicts
    void Review();
    void UndoOrRedo(bool undo);
    void OnMacroRecorded(int profile, int key);
    void RestoreKeyboard();
    void AfterFlow();  // the buttons, the monitor bar and the values after a step of the apply
    void AskToClose();

    void Say(const std::wstring& text);
    std::wstring StatusText() const;  // what the status line says now
    void UpdateButtons();
    void UpdateMonitorBar();

    HWND window_ = nullptr;
    OleSession ole_;
    MonitorConnection monitor_;
    SettingsModel model_;
    DisplaySettingsModel display_;
    ApplyFlow flow_;
    int profile_ = 0;
    win32::ScopedFont font_;
    win32::ScopedFont bold_;
    win32::ScopedFont retired_[2];  // the fonts before a DPI change, until the controls let go
    std::unique_ptr<StateRecord> readBuffer_ = std::make_unique<StateRecord>();  // every re-read of the block
    PageContext context_;
    std::vector<std::unique_ptr<SettingsPage>> pages_;
    int page_ = 0;
    bool monitorSeen_ = false;
    bool closeAfterAnswer_ = false;
};

}  // namespace brenik::option
