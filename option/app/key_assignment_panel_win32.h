#pragma once
// The part of the key page that says which key is picked and changes what it does: for a
// standard key the code it sends (a searchable list); for an assignable key its function (its
// standard one, a single key with modifiers, a macro through the macro editor, a program, a
// launch entry). Every entry is built by the editing core from the same words the settings
// tool takes, so the window refuses what the tool refuses: a refused value keeps its text,
// the reason goes to the status line, nothing is stored and Apply waits for it to be mended.

#include "key_code_list_win32.h"
#include "key_finder.h"
#include "settings_page_win32.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace brenik::option {

class KeyAssignmentPanel {
public:
    // page: the page's window, known once it is made.
    KeyAssignmentPanel(const HWND& page, PageContext& context);

    void Init();
    void Show(std::optional<PickedKey> picked);
    // A notice of one of the panel's controls; true when it was the panel's.
    bool OnCommand(WORD id, WORD code);
    std::optional<std::wstring> Problem() const;
    void Forget();

private:
    enum class Does { kStandard, kSingle, kMacro, kProgram, kLaunch };

    const MacroKeyInfo& Entry() const;
    Does Kind() const;
    void ShowStandardKey(int index);
    void ShowBankKey(int entry);
    void ShowForm(std::optional<Does> form);
    void FillDoes(int entry);
    void ShowText(int id, const std::wstring& text);

    void TakeCode();
    void TakeModifiers();
    void TakeDoes();
    void TakeProgram();
    void TakeLaunch();
    void EditMacro();
    void BrowseProgram();
    void RestoreKey();
    void RestoreAllKeys();
    void SetCode(int index, std::uint8_t code);
    void SetSingle(std::uint8_t code);
    // words through the editing core into the picked entry; a refusal is kept against `control`.
    // typed: the words come from an entry being typed in (one undo step while it is typed).
    bool Assign(const std::vector<std::string>& words, int control, bool typed = false);
    std::optional<std::string> AnsiOf(int id, int refusalControl);
    std::uint8_t CheckedModifiers() const;
    void Refused(int control, const std::wstring& why);

    const HWND& page_;
    PageContext& context_;
    KeyCodeList codes_;
    std::optional<PickedKey> picked_;
    std::optional<Does> chosen_;  // a kind picked in "Does:" that holds no entry yet
    std::map<int, std::wstring> refused_;  // control id -> why its text is not stored
    bool showing_ = false;
    bool rewrite_ = false;  // the next show writes even the entry being typed in
};

}  // namespace brenik::option
