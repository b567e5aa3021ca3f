// The on-screen display's page: which notices show, the applets, and where and for how long a
// notice stays. The values go to config.ini's display record when the user applies; the
// monitor reads it again on 1224 and tells the display.
#include "display_page_win32.h"

#include "option_resources.h"

namespace brenik::option {

std::int32_t DisplayFieldSource::Integer(const char* name) const {
    const DisplayField* field = FindDisplayField(name);
    const std::int32_t value = model_.Shown().*(field->member);
    // A switch that holds anything but 1 is off, as the monitor reads it.
    return field->isSwitch ? (SwitchIsOn(value) ? 1 : 0) : value;
}

bool DisplayFieldSource::Edited(const char* name) const { return model_.IsEdited(*FindDisplayField(name)); }

bool DisplayFieldSource::SetText(const char*, const std::string&, std::string& error) {
    error = "the display settings hold no text";
    return false;
}

bool DisplayFieldSource::SetInteger(const char* name, std::int32_t value, std::string& error) {
    return model_.Set(*FindDisplayField(name), value, error);
}

DisplayPage::DisplayPage(PageContext& context)
    : SettingsPage(context, IDD_PAGE_DISPLAY, IDS_PAGE_DISPLAY), source_(context.display) {}

void DisplayPage::OnInit() {
    InitNumber(IDC_NOTICE_TIME, 0, kNoticeTenthsHigh, false);
    InitNumber(IDC_NOTICE_DISTANCE, 0, kNoticeDistanceHigh, false);
    Bind({
             {IDC_NOTICE_PROFILE, 0, ControlKind::kCheck, "profile-notice"},
             {IDC_NOTICE_MACRO, 0, ControlKind::kCheck, "macro-notice"},
             {IDC_NOTICE_LOCK_KEY, 0, ControlKind::kCheck, "lock-key-notice"},
             {IDC_NOTICE_VOLUME, 0, ControlKind::kCheck, "volume-notice"},
             {IDC_GAUGE_CPU, 0, ControlKind::kCheck, "gauge-cpu"},
             {IDC_GAUGE_RAM, 0, ControlKind::kCheck, "gauge-ram"},
             {IDC_CALL_DISPLAY, 0, ControlKind::kCheck, "call-display"},
             {IDC_NOTICE_TIME + IDC_NUMBER_EDIT, IDC_NOTICE_TIME + IDC_NUMBER_LABEL, ControlKind::kNumber, "notice-time"},
             {IDC_NOTICE_DISTANCE + IDC_NUMBER_EDIT, IDC_NOTICE_DISTANCE + IDC_NUMBER_LABEL, ControlKind::kNumber,
              "notice-distance"},
         },
         source_);
}

}  // namespace brenik::option
