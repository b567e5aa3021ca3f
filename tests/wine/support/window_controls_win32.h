#pragma once
// Controls of another program's window as a test finds them: by id anywhere under the window
// (pages of a tabbed dialog are child dialogs, so GetDlgItem on the top window misses them).

#include <windows.h>

namespace brenik::test {

inline HWND FindControl(HWND top, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        top,
        [](HWND child, LPARAM state) {
            auto* s = reinterpret_cast<Search*>(state);
            if (GetDlgCtrlID(child) != s->id) return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace brenik::test
