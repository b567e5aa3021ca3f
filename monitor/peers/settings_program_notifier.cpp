#include "settings_program_notifier.h"

#include "debug_output.h"
#include "peer_messages.h"
#include "program_windows.h"

namespace brenik::monitor::peers {

void SettingsProgramNotifier::SyncDone() { Post(kMsgSyncDone); }

void SettingsProgramNotifier::ProfileSwitched() { Post(kMsgProfileSwitched); }

bool SettingsProgramNotifier::EnableButtons(EnableButtonsFrom from) {
    const bool posted = Post(kMsgEnableButtons);
    if (!posted) DebugOutput("OnApplyAllSetting Don't find Nerra Option Dialog\n");
    DebugOutput(from == EnableButtonsFrom::kJobThread ? "Thread Send Enable OK/Apply Button\n"
                                                      : "OnApplyAllSetting  Send Enable OK/Apply Button\n");
    return posted;
}

void SettingsProgramNotifier::LayerChanged(std::uint8_t key) { Post(kMsgLayerChanged, 0, key); }

void SettingsProgramNotifier::LightingChanged() { Post(kMsgLightingChanged); }

void SettingsProgramNotifier::WindowsKeyChanged(std::uint8_t key) { Post(kMsgWindowsKeyChanged, 0, key); }

void SettingsProgramNotifier::MacroReadBack(int profile, int key) {
    Post(kMsgMacroReadBack, static_cast<std::uintptr_t>(profile), key);
}

void SettingsProgramNotifier::Close() { Post(kMsgClose); }

bool SettingsProgramNotifier::Post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    return PostToTitle(desktop_, kTitleSettings, message, wParam, lParam);
}

}  // namespace brenik::monitor::peers
