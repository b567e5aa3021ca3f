#include "key_code_list_win32.h"

#include "ansi_text_win32.h"
#include "key_code_catalogue.h"
#include "window_text_win32.h"

#include <string>

namespace brenik::option {

void KeyCodeList::Attach(HWND search, HWND list) {
    search_ = search;
    list_ = list;
    Refill();
}

void KeyCodeList::Refill() {
    std::wstring lost;
    const std::string text = AnsiFromWide(WindowText(search_), lost).value_or(std::string());
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    for (const std::uint8_t usage : SearchKeyCodes(text)) {
        const std::string& name = KeyCode(usage).name;
        const std::wstring item(name.begin(), name.end());
        const LRESULT at = SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        if (at >= 0) SendMessageW(list_, LB_SETITEMDATA, static_cast<WPARAM>(at), usage);
    }
    SelectShown();
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void KeyCodeList::Show(std::optional<std::uint8_t> usage) {
    shown_ = usage;
    SelectShown();
}

void KeyCodeList::SelectShown() {
    const LRESULT count = SendMessageW(list_, LB_GETCOUNT, 0, 0);
    LRESULT found = -1;
    for (LRESULT i = 0; shown_ && i < count; ++i) {
        if (SendMessageW(list_, LB_GETITEMDATA, static_cast<WPARAM>(i), 0) == *shown_) {
            found = i;
            break;
        }
    }
    SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

std::optional<std::uint8_t> KeyCodeList::Selected() const {
    const LRESULT at = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    if (at < 0) return std::nullopt;
    return static_cast<std::uint8_t>(SendMessageW(list_, LB_GETITEMDATA, static_cast<WPARAM>(at), 0));
}

}  // namespace brenik::option
