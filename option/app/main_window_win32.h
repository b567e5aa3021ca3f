#pragma once
// The settings program's window, "Brenik Gaming Keyboard Option": the pages on tabs, the
// profile the per-profile pages edit, the status line and OK, Cancel and Apply. It loads the
// profiles from the monitor's shared block, keeps them in step with the monitor's messages,
// and applies the user's edits through the editing core: the block re-read, the edits put in,
// exactly the change flags of what differs set, all under one hold of its lock, then 1224.
// OK and Apply stay greyed until the monitor's 1256 says the change was taken.

#include "apply_progress.h"
#include "display_settings_model.h"
#include "monitor_connection_win32.h"
#include "ole_session_win32.h"
#include "scoped_gdi.h"
#include "settings_model.h"
#include "settings_page_win32.h"
#include "settings_tool_turn_win32.h"

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
    std::vector<EditItem> SettleSent();  // the pending items the block lost, edits again

    bool MakeFonts();
    void CreatePages();
    bool EnsurePage(SettingsPage& page);
    void ShowPage(int index);
    void Layout();
    void FillProfileChoice();
    void ShowEverything();
    void OnEdited();

    bool ReadBlock(StateRecord& record, std::wstring& why) const;
    void LoadFirst();
    void LoadFromFiles();
    void Apply(bool closeAfter);
    bool MonitorRuns();  // else says so, with the bar
    bool TakeToolTurn();  // else says a settings-tool run is making a change
    enum class WriteResult { kWritten, kNothing, kFailed };
    WriteResult WriteEdits();
    bool Announce(WPARAM jobArgument);  // 1224, then OK and Apply wait for 1256
    void RestoreKeyboard();
    void AskToClose();

    void Say(const std::wstring& text);
    void SayStatus();
    void UpdateButtons();
    void UpdateMonitorBar();

    HWND window_ = nullptr;
    OleSession ole_;
    MonitorConnection monitor_;
    SettingsModel model_;
    DisplaySettingsModel display_;
    ApplyProgress progress_;
    int profile_ = 0;
    win32::ScopedFont font_;
    win32::ScopedFont bold_;
    win32::ScopedFont retired_[2];  // the fonts before a DPI change, until the controls let go
    std::unique_ptr<StateRecord> readBuffer_ = std::make_unique<StateRecord>();  // every re-read of the block
    SettingsToolTurn toolTurn_;
    PageContext context_;
    std::vector<std::unique_ptr<SettingsPage>> pages_;
    int page_ = 0;
    std::wstring blockProblem_;
    bool monitorSeen_ = false;
    bool closeAfterAnswer_ = false;
    bool restoring_ = false;
    bool settleFailed_ = false;
    bool lostAtTimeout_ = false;  // items the block had lost when the answer did not come     // the block could not be read to settle the pending edits
    bool displayNotSaved_ = false;  // config.ini refused the display record of the last apply
};

}  // namespace brenik::option
