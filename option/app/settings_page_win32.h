#pragma once
// One page of the settings program's window: a child dialog from its template, its controls
// bound to the values they show (field_binding_win32.h), and whatever else the page does
// itself (a colour dialog, a sound, a picture). The main window keeps the pages in a table
// (main_window_win32.cpp), so a new page slots in as a new row.

#include "display_settings_model.h"
#include "field_binding_win32.h"
#include "macro_draft.h"
#include "settings_model.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brenik::option {

// What every page works with, owned by the main window.
struct PageContext {
    SettingsModel& model;
    DisplaySettingsModel& display;
    const int& profile;  // the profile the per-profile pages edit, the window's "Profile:" choice
    Fonts fonts;
    std::string programFolder;
    std::function<void()> edited;                  // a value changed: the window shows it everywhere
    std::function<void(const std::wstring&)> say;  // a line for the status bar
    std::function<void()> needOle;                 // before a file dialog or a picture is loaded
    // The macro editor, modal over owner, for key entry `key` of `profile`; true when the user
    // took the draft (OK). Empty while no editor is wired: the page offers no editing then.
    std::function<bool(HWND owner, int profile, int key, MacroDraft& draft)> editMacro;
    // The model's values were replaced at once (a restored copy): refused texts go, all is shown.
    std::function<void()> replaced;
    std::function<void()> apply;            // the window's Apply, as its button
    std::function<bool()> sending;          // an apply waits for the monitor's answer
    std::function<std::wstring()> status;   // what the status line says now
};

// The value source of the profile a page edits.
class ProfileFieldSource : public IFieldSource {
public:
    ProfileFieldSource(SettingsModel& model, const int& profile) : model_(model), profile_(profile) {}
    std::string Text(const char* name) const override;
    std::int32_t Integer(const char* name) const override;
    bool Edited(const char* name) const override;
    bool SetText(const char* name, const std::string& ansi, std::string& error) override;
    bool SetInteger(const char* name, std::int32_t value, std::string& error) override;

private:
    SettingsModel& model_;
    const int& profile_;
};

class SettingsPage {
public:
    SettingsPage(PageContext& context, int templateId, UINT titleId);
    virtual ~SettingsPage();
    SettingsPage(const SettingsPage&) = delete;
    SettingsPage& operator=(const SettingsPage&) = delete;

    HWND Create(HWND parent);
    HWND Window() const { return window_; }
    UINT TitleId() const { return titleId_; }
    // Whether the window's "Profile:" choice says what this page shows.
    virtual bool EditsChosenProfile() const { return true; }

    void Show();  // every control from the models
    // A macro recorded on the keyboard was read back onto this key (the block is read already).
    virtual void MacroRecorded(int /*profile*/, int /*key*/) {}
    // The window has loaded the profiles and opened; every page hears it, made or not.
    virtual void WindowOpened() {}
    // The page became the one shown.
    virtual void Shown() {}
    // The monitor's 1254 or 1256, after the window read the block again; every page hears it.
    virtual void MonitorSaid(UINT /*message*/) {}
    std::optional<std::wstring> Problem() const;
    void Forget();

protected:
    virtual void OnInit() = 0;  // bind the controls (Bind) and set ranges
    virtual void ShowOwn() {}
    virtual bool OnOwnCommand(WORD /*id*/, WORD /*code*/) { return false; }
    virtual bool OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
    virtual bool OnNotify(const NMHDR& /*header*/) { return false; }
    virtual void OnSize() {}  // the window placed the page anew
    // A value of the page's own controls that cannot be taken yet (focused when there is one).
    virtual std::optional<std::wstring> OwnProblem() const { return std::nullopt; }
    // Drop what the page's own controls hold that the model does not (a refused text).
    virtual void OwnForget() {}

    void Bind(std::vector<BoundControl> controls, IFieldSource& source);
    // A number's edit, up-down and range text, from the base id of the four.
    void InitNumber(int baseId, std::int32_t low, std::int32_t high, bool withRangeText = true);
    void Edited() { context_.edited(); }

    PageContext& context_;
    HWND window_ = nullptr;

private:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    UINT titleId_;
    std::vector<std::unique_ptr<FieldBinder>> binders_;
};

// The pages, in the order of their tabs.
std::vector<std::unique_ptr<SettingsPage>> MakePages(PageContext& context);

}  // namespace brenik::option
