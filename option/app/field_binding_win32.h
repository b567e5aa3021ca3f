#pragma once
// A page's controls bound to the values they show, as a table: each row names a control, the
// label that names it (made bold while the value is an edit not yet applied), the kind of
// control and the value. The binder fills the controls from the value source and hands what
// the user does to it; a value the source refuses stays in the control, is named in the status
// line and keeps Apply from writing until it is mended.

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace brenik::option {

// Where the bound values live: the profile being edited, or the display settings.
class IFieldSource {
public:
    virtual ~IFieldSource() = default;
    virtual std::string Text(const char* name) const = 0;  // ANSI bytes
    virtual std::int32_t Integer(const char* name) const = 0;
    virtual bool Edited(const char* name) const = 0;
    virtual bool SetText(const char* name, const std::string& ansi, std::string& error) = 0;
    virtual bool SetInteger(const char* name, std::int32_t value, std::string& error) = 0;
};

enum class ControlKind {
    kText,      // an edit holding text
    kNumber,    // an edit holding a number (with its up-down beside it)
    kCheck,     // a check box: on 1, off 0
    kChoice,    // a drop-down list of meanings
    kTrackbar,  // the system's slider
};

struct Choice {
    std::int32_t value;
    UINT textId;
};

struct BoundControl {
    int id;
    int labelId;  // 0: the control's own text names it (a check box)
    ControlKind kind;
    const char* name;
    std::vector<Choice> choices = {};  // kChoice
};

struct Fonts {
    HFONT normal = nullptr;
    HFONT bold = nullptr;  // the mark of an edit not yet applied
};

class FieldBinder {
public:
    FieldBinder(HWND page, std::vector<BoundControl> controls, IFieldSource& source, const Fonts& fonts);

    // Every control from the source; a control holding a refused value keeps it.
    void Show();
    // EN_CHANGE, BN_CLICKED, CBN_SELCHANGE of a bound control: the value goes to the source.
    // True when a value was taken or refused (the page shows again); refused then holds the
    // reason, if any. Other notices of a bound control, and those while showing, are not taken.
    bool OnCommand(WPARAM wParam, LPARAM lParam, std::wstring& refused);
    bool OnScroll(HWND control);  // WM_HSCROLL of a bound trackbar

    // The first refused value's reason, with its control focused; nullopt when there is none.
    std::optional<std::wstring> Problem() const;
    void Forget();  // the refused values are dropped (the page is shown afresh)

private:
    const BoundControl* Find(int id) const;
    void ShowOne(const BoundControl& control);
    bool Take(const BoundControl& control, std::wstring& refused);
    void Mark(const BoundControl& control);

    HWND page_;
    std::vector<BoundControl> controls_;
    IFieldSource& source_;
    const Fonts& fonts_;  // the window's, made again when its DPI changes
    std::map<int, std::wstring> refused_;  // control id -> why
    bool showing_ = false;
};

}  // namespace brenik::option
