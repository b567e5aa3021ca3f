#pragma once
#include "game_picker_win32.h"
#include "profile_picture_win32.h"
#include "settings_page_win32.h"

#include <array>

namespace brenik::option {

class ProfilesPage : public SettingsPage {
public:
    explicit ProfilesPage(PageContext& context);
    bool EditsChosenProfile() const override { return false; }

private:
    // The value source of one column: always its own profile.
    struct Column {
        int profile;
        ProfileFieldSource source;
        ProfilePicture picture;
    };

    void OnInit() override;
    void ShowOwn() override;
    bool OnOwnCommand(WORD id, WORD code) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

    void FillCopyChoices();
    void ShowConflicts();
    void ChoosePicture(int profile);
    void ChooseGame(int profile);
    void Copy();
    void SetPath(int profile, const char* field, const std::wstring& path);

    std::array<int, kProfileCount> indexes_{0, 1, 2, 3, 4};
    std::vector<std::unique_ptr<Column>> columns_;
};

}  // namespace brenik::option
