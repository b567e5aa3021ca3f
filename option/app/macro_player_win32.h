#pragma once
// Plays a macro into a box of the dialog, so the user sees what it types without leaving the
// program: each action goes to the system with SendInput as the key's scan code, and the next
// one follows after the action's delay on a timer of the box, so the dialog keeps answering
// while a long macro plays. The focus is put in the box first; playing stops when the focus
// leaves it. A macro never leaves a key down: every key still held is released when it ends,
// stops, or the player goes.
//
// While it plays the box takes every key itself, so a played Tab, Enter, Escape or Alt types
// into the box instead of moving the focus, pressing a button or closing the dialog.

#include "key_stroke_win32.h"
#include "profile_record.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <vector>

namespace brenik::option {

class MacroPlayer {
public:
    // Called when playing ends: how many actions were played of how many.
    using Finished = std::function<void(std::size_t played, std::size_t total)>;

    MacroPlayer(HWND box, Finished finished);
    ~MacroPlayer();
    MacroPlayer(const MacroPlayer&) = delete;
    MacroPlayer& operator=(const MacroPlayer&) = delete;

    // Clears the box, focuses it and starts; false (nothing done) for a macro without actions
    // or while the box's window is not the one in front.
    bool Play(std::vector<MacroAction> actions);
    // Ends playing now, every held key released.
    void Stop();
    bool Playing() const { return playing_; }

private:
    static LRESULT CALLBACK BoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR owner);
    LRESULT OnBoxMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool TakesWhilePlaying(UINT message, WPARAM wParam) const;
    void Step();
    void Finish();
    void Send(const MacroAction& action);
    void ReleaseHeld();

    HWND box_;
    Finished finished_;
    KeyStrokeTable strokes_;
    std::vector<MacroAction> actions_;
    std::size_t next_ = 0;
    std::vector<std::uint8_t> held_;
    bool playing_ = false;
    bool draining_ = false;  // every action sent; the box still takes every key until they arrive
};

}  // namespace brenik::option
