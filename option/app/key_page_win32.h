#pragma once
// The "Keys and macros" page: the keyboard drawn key by key (the standard keys where they sit,
// the 44 numbered assignable keys below), each showing what it does now in the profile chosen
// in the window; a key picked by a click, by pressing it, or by its name; and the panel that
// changes what the picked key does (key_assignment_panel_win32.h).

#include "key_assignment_panel_win32.h"
#include "key_capture_win32.h"
#include "key_faces_win32.h"
#include "key_finder.h"
#include "keyboard_picture_win32.h"
#include "settings_page_win32.h"

#include <array>
#include <optional>

namespace brenik::option {

class KeyPage : public SettingsPage {
public:
    explicit KeyPage(PageContext& context);

    // A macro recorded on the keyboard was read back for key entry `key` of `profile` (message
    // 1264): shown picked when that profile is the one shown (the window says it either way).
    void MacroRecorded(int profile, int key) override;

private:
    void OnInit() override;
    void ShowOwn() override;
    bool OnOwnCommand(WORD id, WORD code) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
    void OnSize() override;
    std::optional<std::wstring> OwnProblem() const override { return panel_.Problem(); }
    void OwnForget() override { panel_.Forget(); }

    void MakeKeys();
    void Layout();
    void Pick(std::optional<PickedKey> key);
    void PickPressed(std::optional<std::uint8_t> usage);
    void PickNamed();
    void ShowKey(HWND button, const ShownKey& shown, ShownKey& kept);
    const ShownKey* KeyOfControl(int id) const;

    KeyAssignmentPanel panel_;
    KeyCapture capture_;
    KeyPainter painter_;
    // The keys' windows, children of the page: asked for by id, each costs a look through the
    // page's children, and a pick shows every key again.
    std::array<HWND, kStandardKeyCount> standardKeys_{};
    std::array<HWND, kKeyEntryCount> bankKeys_{};
    std::array<ShownKey, kStandardKeyCount> standard_;
    std::array<ShownKey, kKeyEntryCount> bank_;
    std::optional<PickedKey> picked_;
};

}  // namespace brenik::option
