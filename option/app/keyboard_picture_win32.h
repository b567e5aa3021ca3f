#pragma once
// How one key of the key page looks: its face tinted by the profile's key lighting colour, the
// label of what it does (in another colour when it no longer does its own thing), a padlock
// when it is locked, a dot for an edit not yet applied, a strong frame when picked, and grey
// when the keyboard does not hold it. The painter keeps its fonts, pens and brushes, made
// again only when the page's font or the tint changes, so a repaint of the whole keyboard
// makes no GDI object.

#include "scoped_gdi.h"

#include <windows.h>

#include <string>

namespace brenik::option {

struct KeyFace {
    std::wstring corner;  // small, top left: a bank key's number
    std::wstring label;   // what the key does
    bool changed = false;  // not its own function
    bool locked = false;
    bool edited = false;
    bool picked = false;
    bool onKeyboard = true;

    bool operator==(const KeyFace& other) const {
        return corner == other.corner && label == other.label && changed == other.changed && locked == other.locked &&
               edited == other.edited && picked == other.picked && onKeyboard == other.onKeyboard;
    }
    bool operator!=(const KeyFace& other) const { return !(*this == other); }
};

class KeyPainter {
public:
    // The page's font (its height follows the window's DPI) and the key lighting colour; true
    // when either changed, so every key is drawn again.
    bool Prepare(HFONT pageFont, COLORREF tint);
    void Draw(HDC dc, const RECT& bounds, const KeyFace& face) const;

private:
    void DrawLabel(HDC dc, const RECT& area, const KeyFace& face) const;
    void DrawPadlock(HDC dc, const RECT& bounds) const;
    void DrawEditDot(HDC dc, const RECT& bounds) const;
    int Scaled(int units) const { return MulDiv(units, textHeight_, 12); }

    HFONT pageFont_ = nullptr;
    COLORREF tint_ = CLR_INVALID;
    int textHeight_ = 12;  // pixels of the label font, the measure of the small marks
    win32::ScopedFont label_;
    win32::ScopedFont changedLabel_;
    win32::ScopedFont corner_;
    win32::ScopedBrush face_;
    win32::ScopedBrush greyFace_;
    win32::ScopedBrush frame_;
    win32::ScopedBrush picked_;
    win32::ScopedBrush mark_;
    win32::ScopedBrush padlock_;
    COLORREF text_ = 0;
    COLORREF changedText_ = 0;
    COLORREF greyText_ = 0;
};

}  // namespace brenik::option
