#pragma once
#include "settings_page_win32.h"

namespace brenik::option {

class SwitchesPage : public SettingsPage {
public:
    explicit SwitchesPage(PageContext& context);

private:
    void OnInit() override;
    bool OnOwnCommand(WORD id, WORD code) override;

    ProfileFieldSource source_;
};

}  // namespace brenik::option
