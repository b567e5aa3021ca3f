#include "skinned_dialog_win32.h"

#include "jpeg_resource_win32.h"
#include "skin_region_win32.h"
#include "window_procedure.h"

#include <windowsx.h>

namespace brenik::updater {

namespace {
constexpr COLORREF kSkinKey = RGB(255, 255, 255);
constexpr std::uint8_t kSkinTolerance = 0;
}  // namespace

CSkinnedDialog::CSkinnedDialog(int templateId, const SkinSpec& skin) : templateId_(templateId), skin_(skin) {}

CSkinnedDialog::~CSkinnedDialog() {
    if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
}

INT_PTR CSkinnedDialog::DoModal(HWND owner) {
    owner_ = owner;
    ended_ = false;
    result_ = kResultCancel;
    const DLGPROC procedure =
        &win32::DialogProcedure<CSkinnedDialog, &CSkinnedDialog::window_, &CSkinnedDialog::HandleMessage>;
    HWND window = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner, procedure,
                                     reinterpret_cast<LPARAM>(this));
    if (window == nullptr) return -1;
    const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    if (!ended_) {
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
        RunLoop();
    }
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    if (owner != nullptr) SetActiveWindow(owner);
    if (window_ != nullptr) DestroyWindow(window_);
    return result_;
}

void CSkinnedDialog::RunLoop() {
    MSG msg;
    // A dialog destroyed with its owner ends too (window_ is cleared on WM_NCDESTROY).
    while (!ended_ && window_ != nullptr) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
            break;
        }
        const bool forUs = msg.hwnd == window_ || IsChild(window_, msg.hwnd);
        if (forUs && msg.message == WM_KEYDOWN && SwallowsKey(msg.wParam)) continue;
        if (forUs && IsDialogMessageW(window_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void CSkinnedDialog::EndDialog(int result) {
    result_ = result;
    ended_ = true;
    // Wakes the loop if the call came from outside a message.
    PostMessageW(window_, WM_NULL, 0, 0);
}

INT_PTR CSkinnedDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const INT_PTR own = OnMessage(message, wParam, lParam, handled);
    if (handled) return own;
    switch (message) {
        case WM_INITDIALOG:
            BuildSkin();
            if (!OnInitDialog()) EndDialog(kResultCancel);
            CentreWindow();
            return TRUE;
        case WM_ERASEBKGND:
            SetWindowLongPtrW(window_, DWLP_MSGRESULT, 1);
            return TRUE;
        case WM_PAINT:
            Paint();
            return TRUE;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            for (const auto& button : buttons_) {
                if (button->Hwnd() == item->hwndItem) {
                    button->Draw(*item);
                    return TRUE;
                }
            }
            return FALSE;
        }
        case WM_LBUTTONDOWN: {
            // Dragged by any point of the picture.
            POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(window_, &point);
            PostMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
            return TRUE;
        }
        case WM_COMMAND:
            return OnCommand(wParam, lParam) ? TRUE : FALSE;
        case WM_CLOSE:
            EndDialog(kResultCancel);
            return TRUE;
        case WM_DESTROY:
            OnDestroy();
            return TRUE;
        default:
            return FALSE;
    }
}

bool CSkinnedDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam != 0) {
        for (std::size_t i = 0; i < buttons_.size(); ++i) {
            if (reinterpret_cast<HWND>(lParam) != buttons_[i]->Hwnd()) continue;
            if (HIWORD(wParam) != BN_CLICKED) return true;
            EndDialog(actions_[i] == ButtonAction::kResultOk ? kResultOk : kResultCancel);
            return true;
        }
    }
    switch (LOWORD(wParam)) {
        case IDOK:
            OnOk();
            return true;
        case IDCANCEL:
            // Escape is swallowed before it gets here; what is left is closing the window.
            return true;
        default:
            return false;
    }
}

void CSkinnedDialog::BuildSkin() {
    HMODULE module = GetModuleHandleW(nullptr);
    SIZE ignored{};
    LoadJpegResource(module, skin_.region, region_, ignored);
    LoadJpegResource(module, skin_.normal, normal_, skinSize_);
    LoadJpegResource(module, skin_.normal, buttonNormal_, ignored);
    LoadJpegResource(module, skin_.pressed, pressed_, ignored);
    LoadJpegResource(module, skin_.hover, hover_, ignored);
    if (skinSize_.cx > 0 && skinSize_.cy > 0) {
        SetWindowPos(window_, nullptr, 0, 0, skinSize_.cx, skinSize_.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (std::size_t i = 0; i < skin_.buttonCount; ++i) {
        const ButtonEntry& entry = skin_.buttons[i];
        const ButtonLayout layout = ParseButtonLayout(entry.layout);
        if (entry.action == ButtonAction::kProgressRect) {
            progressRect_ = RECT{layout.left, layout.top, layout.right, layout.bottom};
            continue;
        }
        auto button = std::make_unique<CSkinButton>();
        if (!button->Create(window_, layout)) continue;
        button->SetPictures(buttonNormal_.Get(), hover_.Get(), pressed_.Get(), buttonNormal_.Get());
        buttons_.push_back(std::move(button));
        actions_.push_back(entry.action);
    }
    win32::ScopedRegion region = MakeSkinRegion(region_.Get(), kSkinKey, kSkinTolerance);
    // The window owns the region once it is set.
    if (region.Valid() && SetWindowRgn(window_, region.Get(), TRUE) != 0) region.Release();
}

void CSkinnedDialog::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT client;
    GetClientRect(window_, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    win32::ScopedMemoryDc canvas(dc);
    win32::ScopedBitmap surface(CreateCompatibleBitmap(dc, width, height));
    if (canvas.Get() != nullptr && surface.Valid()) {
        win32::SelectedObject selected(canvas.Get(), surface.Get());
        if (normal_.Valid()) {
            win32::ScopedMemoryDc source(dc);
            win32::SelectedObject picture(source.Get(), normal_.Get());
            BitBlt(canvas.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY);
        }
        OnPaintOver(canvas.Get());
        BitBlt(dc, 0, 0, width, height, canvas.Get(), 0, 0, SRCCOPY);
    }
    EndPaint(window_, &paint);
}

bool CSkinnedDialog::OnInitDialog() { return true; }

void CSkinnedDialog::CentreWindow() { CentreOn(owner_); }

void CSkinnedDialog::CentreOn(HWND reference) {
    RECT area;
    if (reference != nullptr && IsWindowVisible(reference) && !IsIconic(reference)) {
        GetWindowRect(reference, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT own;
    GetWindowRect(window_, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    const int x = area.left + ((area.right - area.left) - width) / 2;
    const int y = area.top + ((area.bottom - area.top) - height) / 2;
    SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace brenik::updater
