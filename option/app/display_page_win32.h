#pragma once
#include "settings_page_win32.h"

namespace brenik::option {

// The value source of the display settings.
class DisplayFieldSource : public IFieldSource {
public:
    explicit DisplayFieldSource(DisplaySettingsModel& model) : model_(model) {}
    std::string Text(const char*) const override { return {}; }
    std::int32_t Integer(const char* name) const override;
    bool Edited(const char* name) const override;
    bool SetText(const char*, const std::string&, std::string& error) override;
    bool SetInteger(const char* name, std::int32_t value, std::string& error) override;

private:
    DisplaySettingsModel& model_;
};

class DisplayPage : public SettingsPage {
public:
    explicit DisplayPage(PageContext& context);
    bool EditsChosenProfile() const override { return false; }

private:
    void OnInit() override;

    DisplayFieldSource source_;
};

}  // namespace brenik::option
