#include "review_dialog_win32.h"

#include "option_resources.h"
#include "window_procedure.h"

#include <algorithm>

namespace brenik::option {
namespace {

class ReviewDialog {
public:
    ReviewDialog(const std::vector<std::wstring>& lines, bool canApply) : lines_(lines), canApply_(canApply) {}

    bool Run(HWND owner) {
        return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_REVIEW), owner,
                               win32::DialogProcedure<ReviewDialog, &ReviewDialog::window_, &ReviewDialog::OnMessage>,
                               reinterpret_cast<LPARAM>(this)) == IDOK;
    }

private:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
        switch (message) {
            case WM_INITDIALOG:
                Fill();
                return TRUE;
            case WM_SIZE:
                Layout();
                return TRUE;
            case WM_COMMAND:
                if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                    EndDialog(window_, LOWORD(wParam));
                    return TRUE;
                }
                return FALSE;
            default:
                return FALSE;
        }
    }

    void Fill() {
        const HWND list = GetDlgItem(window_, IDC_REVIEW_LIST);
        const HDC dc = GetDC(list);
        const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
        LONG widest = 0;
        for (const std::wstring& line : lines_) {
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
            SIZE size{};
            GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
            widest = std::max(widest, size.cx);
        }
        SelectObject(dc, old);
        ReleaseDC(list, dc);
        // A long line scrolls sideways rather than being cut.
        SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 8), 0);
        EnableWindow(GetDlgItem(window_, IDOK), canApply_);
        if (!canApply_) SendMessageW(window_, DM_SETDEFID, IDCANCEL, 0);
        Layout();
    }

    // The list takes what the dialog gives it; the buttons stay at the bottom right.
    void Layout() {
        RECT client{};
        GetClientRect(window_, &client);
        RECT units{7, 18, 50, 14};
        MapDialogRect(window_, &units);
        const int margin = units.left;
        const int buttonsY = client.bottom - margin - units.bottom;
        SetWindowPos(GetDlgItem(window_, IDC_REVIEW_LIST), nullptr, margin, units.top, client.right - 2 * margin,
                     buttonsY - margin - units.top, SWP_NOZORDER);
        int x = client.right - margin;
        for (const int id : {IDCANCEL, IDOK}) {
            x -= units.right;
            SetWindowPos(GetDlgItem(window_, id), nullptr, x, buttonsY, units.right, units.bottom, SWP_NOZORDER);
            x -= margin / 2;
        }
    }

    HWND window_ = nullptr;
    const std::vector<std::wstring>& lines_;
    bool canApply_;
};

}  // namespace

bool ShowReview(HWND owner, const std::vector<std::wstring>& lines, bool canApply) {
    return ReviewDialog(lines, canApply).Run(owner);
}

}  // namespace brenik::option
