#pragma once
// CSkinnedDialog: a dialog drawn from its skin pictures. When its window is created it takes
// the size and outline of its picture and makes its CSkinButtons; it paints the picture
// through an off-screen bitmap, is dragged by any point of the picture, and runs modally in
// a message loop of its own so that it can swallow keys before the dialog handling sees them.

#include "button_layout.h"
#include "scoped_gdi.h"
#include "skin_button_win32.h"
#include "skin_layouts.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace brenik::updater {

class CSkinnedDialog {
public:
    CSkinnedDialog(int templateId, const SkinSpec& skin);
    virtual ~CSkinnedDialog();
    CSkinnedDialog(const CSkinnedDialog&) = delete;
    CSkinnedDialog& operator=(const CSkinnedDialog&) = delete;

    // Shows the dialog and returns its result (1 OK, 2 cancel), or -1 when it could not be made.
    INT_PTR DoModal(HWND owner);
    HWND Hwnd() const { return window_; }

protected:
    // After the skin is built. false ends the dialog with cancel.
    virtual bool OnInitDialog();
    // The off-screen picture is drawn; add to it before it reaches the window.
    virtual void OnPaintOver(HDC) {}
    // true: the key never reaches the dialog. Message dialogs swallow Escape and Enter.
    virtual bool SwallowsKey(WPARAM key) const { return key == VK_ESCAPE || key == VK_RETURN; }
    // Messages for the subclass; set handled to stop the default handling.
    virtual INT_PTR OnMessage(UINT, WPARAM, LPARAM, bool& handled) {
        handled = false;
        return 0;
    }
    virtual void OnDestroy() {}
    // Enter from the dialog handling (no button of ours): the main dialog ends with OK.
    virtual void OnOk() {}
    // The standard centring over the owner; the main dialog centres itself on the screen.
    virtual void CentreWindow();

    void EndDialog(int result);
    const RECT& ProgressRect() const { return progressRect_; }
    HBITMAP Background() const { return normal_.Get(); }
    SIZE SkinSize() const { return skinSize_; }
    void CentreOn(HWND reference);

private:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void BuildSkin();
    void Paint();
    bool OnCommand(WPARAM wParam, LPARAM lParam);
    void RunLoop();

    int templateId_;
    const SkinSpec& skin_;
    HWND window_ = nullptr;
    HWND owner_ = nullptr;
    bool ended_ = false;
    int result_ = kResultCancel;
    SIZE skinSize_{0, 0};
    RECT progressRect_{};
    win32::ScopedBitmap region_;
    win32::ScopedBitmap normal_;
    win32::ScopedBitmap buttonNormal_;
    win32::ScopedBitmap hover_;
    win32::ScopedBitmap pressed_;
    std::vector<std::unique_ptr<CSkinButton>> buttons_;
    std::vector<ButtonAction> actions_;
};

}  // namespace brenik::updater
