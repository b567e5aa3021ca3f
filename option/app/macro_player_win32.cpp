#include "macro_player_win32.h"

#include "macro_grammar.h"

#include <commctrl.h>

#include <algorithm>

namespace brenik::option {
namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr UINT_PTR kStepTimer = 1;

}  // namespace

MacroPlayer::MacroPlayer(HWND box, Finished finished) : box_(box), finished_(std::move(finished)) {
    SetWindowSubclass(box_, BoxProcedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

MacroPlayer::~MacroPlayer() {
    Stop();
    if (IsWindow(box_)) RemoveWindowSubclass(box_, BoxProcedure, kSubclassId);
}

bool MacroPlayer::Play(std::vector<MacroAction> actions) {
    Stop();
    if (actions.empty()) return false;
    actions_ = std::move(actions);
    next_ = 0;
    // The system sends the keys to the window in front: anywhere but our box they would
    // type into another program.
    if (GetForegroundWindow() != GetAncestor(box_, GA_ROOT)) return false;
    SetWindowTextW(box_, L"");
    playing_ = true;
    SetFocus(box_);
    if (GetFocus() != box_) {
        playing_ = false;
        return false;
    }
    Step();
    return true;
}

void MacroPlayer::Stop() {
    if (!playing_) return;
    ReleaseHeld();
    Finish();
}

void MacroPlayer::Step() {
    KillTimer(box_, kStepTimer);
    // Actions without a delay go together; a delay waits on the timer, so no wait blocks the
    // dialog.
    while (playing_ && next_ < actions_.size()) {
        const MacroAction action = actions_[next_++];
        Send(action);
        if (action.DelayMs > 0 && next_ < actions_.size()) {
            SetTimer(box_, kStepTimer, std::max<UINT>(action.DelayMs, USER_TIMER_MINIMUM), nullptr);
            return;
        }
    }
    // The keys sent are still on their way to the box: it keeps taking every key until they
    // are in, which a timer's turn tells (it comes only when no input waits).
    ReleaseHeld();
    draining_ = true;
    SetTimer(box_, kStepTimer, USER_TIMER_MINIMUM, nullptr);
}

void MacroPlayer::Finish() {
    KillTimer(box_, kStepTimer);
    playing_ = false;
    draining_ = false;
    if (finished_) finished_(next_, actions_.size());
}

void MacroPlayer::Send(const MacroAction& action) {
    const std::optional<KeyStroke> stroke = strokes_.Of(action.KeyCode);
    if (!stroke) return;  // a code this computer has no key for types nothing
    const bool down = action.EventType == editing::kEventPress;
    INPUT input = KeyInput(*stroke, down);
    SendInput(1, &input, sizeof input);
    const auto held = std::find(held_.begin(), held_.end(), action.KeyCode);
    if (down && held == held_.end()) held_.push_back(action.KeyCode);
    if (!down && held != held_.end()) held_.erase(held);
}

void MacroPlayer::ReleaseHeld() {
    for (auto usage = held_.rbegin(); usage != held_.rend(); ++usage) {
        if (const std::optional<KeyStroke> stroke = strokes_.Of(*usage)) {
            INPUT input = KeyInput(*stroke, false);
            SendInput(1, &input, sizeof input);
        }
    }
    held_.clear();
}

bool MacroPlayer::TakesWhilePlaying(UINT message, WPARAM wParam) const {
    switch (message) {
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_SYSCHAR:
        case WM_SYSDEADCHAR:
            return true;  // Alt+a letter would press a button, Alt+F4 close the dialog
        case WM_KEYDOWN:
        case WM_CHAR:
            return wParam == VK_ESCAPE;  // a multi-line edit would close its dialog
        default:
            return false;
    }
}

LRESULT MacroPlayer::OnBoxMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (playing_) {
        if (message == WM_GETDLGCODE) return DLGC_WANTALLKEYS | DefSubclassProc(box_, message, wParam, lParam);
        if (TakesWhilePlaying(message, wParam)) return 0;
    }
    switch (message) {
        case WM_TIMER:
            if (wParam != kStepTimer) break;
            if (draining_) {
                Finish();
            } else {
                Step();
            }
            return 0;
        case WM_KILLFOCUS:
            Stop();
            break;
        case WM_DESTROY:
            Stop();
            break;
        default:
            break;
    }
    return DefSubclassProc(box_, message, wParam, lParam);
}

LRESULT CALLBACK MacroPlayer::BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                           DWORD_PTR owner) {
    (void)box;
    return reinterpret_cast<MacroPlayer*>(owner)->OnBoxMessage(message, wParam, lParam);
}

}  // namespace brenik::option
