#pragma once
// Drives the macro editor of Brenik Option.exe from a test as a user would: its controls by
// their ids, its list's rows as they read, and keys typed on the keyboard with SendInput (the
// virtual-key code and the scan code both set, as a keyboard's driver sends them). Every value
// here the editor shows or relies on is written out, so a change in the program fails a test.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace brenik::option::macro_editor_driver {

// Control ids of the editor (option_resources.h), as the test finds them.
constexpr int kName = 2001;
constexpr int kActions = 2003;
constexpr int kMoveUp = 2004;
constexpr int kMoveDown = 2005;
constexpr int kDelete = 2006;
constexpr int kMeterText = 2008;
constexpr int kDelay = 2011;
constexpr int kSetDelay = 2013;
constexpr int kSetEveryDelay = 2014;
constexpr int kFind = 2021;
constexpr int kKey = 2023;
constexpr int kEvent = 2025;
constexpr int kNewDelay = 2027;
constexpr int kInsert = 2028;
constexpr int kAsPressed = 2030;
constexpr int kFixed = 2031;
constexpr int kFixedDelay = 2032;
constexpr int kRecord = 2033;
constexpr int kRecordingBox = 2034;
constexpr int kTry = 2041;
constexpr int kPlay = 2042;
constexpr int kStatus = 2050;

inline std::wstring ItemText(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// The editor's dialog, by its title ("Macro for key 5 of profile 1").
inline HWND FindEditor(const wchar_t* title) { return FindWindowW(L"#32770", title); }

// One cell of the action list. The list's messages carry pointers the system does not carry
// into another process: for a test in the editor's own process only.
inline std::wstring Cell(HWND list, int row, int column) {
    wchar_t cell[64] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = cell;
    item.cchTextMax = 64;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return cell;
}

// One row of the action list as it reads: "1 Press A 50".
inline std::wstring RowText(HWND list, int row) {
    std::wstring text;
    for (int column = 0; column < 4; ++column) text += (column == 0 ? L"" : L" ") + Cell(list, row, column);
    return text;
}

inline std::vector<std::wstring> Rows(HWND list) {
    std::vector<std::wstring> rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) rows.push_back(RowText(list, row));
    return rows;
}

// In the editor's own process only, as Cell.
inline void SelectRow(HWND list, int row) {
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// A key going down or up on the keyboard.
inline INPUT KeyEvent(WORD virtualKey, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    return input;
}

// Each key pressed and released in turn, a little apart.
inline void TypeKeys(const std::vector<WORD>& keys, DWORD gapMs = 30) {
    for (const WORD key : keys) {
        for (const bool down : {true, false}) {
            INPUT input = KeyEvent(key, down);
            SendInput(1, &input, sizeof input);
            Sleep(gapMs);
        }
    }
}

}  // namespace brenik::option::macro_editor_driver
