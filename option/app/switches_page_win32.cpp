// The switches page: the six keys that can be locked, the four sounds (each with a button that
// plays its cue), key repeat on the system's own sliders, the media player and whether the
// profile's key assignments go to the keyboard.
#include "switches_page_win32.h"

#include "option_resources.h"
#include "sound_cue_files.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <string>

namespace brenik::option {
namespace {

const std::vector<Choice> kMediaPlayers = {
    {0, IDS_MEDIA_WMP}, {1, IDS_MEDIA_ITUNES}, {2, IDS_MEDIA_VLC}, {3, IDS_MEDIA_WINAMP},
};

// The cue a Play button plays: one the switch beside it turns on or off.
struct PlayRow {
    int buttonId;
    const char* (*file)(int profile);
};
const PlayRow kPlayRows[] = {
    {IDC_PLAY_PROFILE, [](int profile) { return kCueProfile[profile]; }},
    {IDC_PLAY_MACRO, [](int) { return kCueMacroRecord[0]; }},
    {IDC_PLAY_LAYER, [](int) { return kCueExtendedLayer; }},
    {IDC_PLAY_COUNTDOWN, [](int) { return kCueCountdown[0]; }},
};

}  // namespace

SwitchesPage::SwitchesPage(PageContext& context)
    : SettingsPage(context, IDD_PAGE_SWITCHES, IDS_PAGE_SWITCHES), source_(context.model, context.profile) {}

void SwitchesPage::OnInit() {
    SendDlgItemMessageW(window_, IDC_REPEAT_DELAY, TBM_SETRANGE, TRUE, MAKELPARAM(0, 3));
    SendDlgItemMessageW(window_, IDC_REPEAT_SPEED, TBM_SETRANGE, TRUE, MAKELPARAM(0, 31));
    SendDlgItemMessageW(window_, IDC_REPEAT_SPEED, TBM_SETTICFREQ, 4, 0);
    Bind({
             {IDC_LOCK_LEFT_WIN, 0, ControlKind::kCheck, "lock-left-win"},
             {IDC_LOCK_RIGHT_WIN, 0, ControlKind::kCheck, "lock-right-win"},
             {IDC_LOCK_APP, 0, ControlKind::kCheck, "lock-app"},
             {IDC_LOCK_CAPS, 0, ControlKind::kCheck, "lock-caps-lock"},
             {IDC_LOCK_TAB, 0, ControlKind::kCheck, "lock-tab"},
             {IDC_LOCK_LEFT_SHIFT, 0, ControlKind::kCheck, "lock-left-shift"},
             {IDC_SOUND_PROFILE, 0, ControlKind::kCheck, "sound-profile-switch"},
             {IDC_SOUND_MACRO, 0, ControlKind::kCheck, "sound-macro-record"},
             {IDC_SOUND_LAYER, 0, ControlKind::kCheck, "sound-layer-switch"},
             {IDC_SOUND_COUNTDOWN, 0, ControlKind::kCheck, "sound-countdown"},
             {IDC_REPEAT_DELAY, IDC_REPEAT_DELAY_LABEL, ControlKind::kTrackbar, "repeat-delay"},
             {IDC_REPEAT_SPEED, IDC_REPEAT_SPEED_LABEL, ControlKind::kTrackbar, "repeat-speed"},
             {IDC_MEDIA, IDC_MEDIA_LABEL, ControlKind::kChoice, "media-player", kMediaPlayers},
             {IDC_KEY_ASSIGNMENTS, 0, ControlKind::kCheck, "key-assignments"},
         },
         source_);
}

bool SwitchesPage::OnOwnCommand(WORD id, WORD code) {
    for (const PlayRow& row : kPlayRows) {
        if (id != row.buttonId || code != BN_CLICKED) continue;
        const int profile = context_.profile >= 0 && context_.profile < kProfileCount ? context_.profile : 0;
        const std::string path = context_.programFolder + row.file(profile);
        PlaySoundA(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
        return true;
    }
    return false;
}

}  // namespace brenik::option
