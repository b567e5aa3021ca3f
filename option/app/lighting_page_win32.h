#pragma once
#include "settings_page_win32.h"

#include <map>

namespace brenik::option {

struct ColourFields;

class LightingPage : public SettingsPage {
public:
    explicit LightingPage(PageContext& context);

private:
    void OnInit() override;
    void ShowOwn() override;
    bool OnOwnCommand(WORD id, WORD code) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
    std::optional<std::wstring> OwnProblem() const override;

    COLORREF Colour(const ColourFields& fields) const;
    bool SetColour(const ColourFields& fields, COLORREF colour);
    void ChooseWithDialog(const ColourFields& fields);
    void TakeHex(const ColourFields& fields);

    ProfileFieldSource source_;
    COLORREF customColours_[16] = {};
    std::map<int, std::wstring> hexProblems_;  // hex entry id -> why it holds no colour yet
    bool showingOwn_ = false;
};

}  // namespace brenik::option
