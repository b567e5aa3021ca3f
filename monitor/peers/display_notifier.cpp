#include "display_notifier.h"

#include "peer_messages.h"
#include "program_windows.h"

namespace brenik::monitor::peers {

void DisplayNotifier::SettingsChanged(std::uint32_t packedParams) {
    PostToTitle(desktop_, kTitleOsd, kMsgOsdSettings, 0, static_cast<std::intptr_t>(packedParams));
}

void DisplayNotifier::ProfileSwitched(int index) { Show(kOsdKindProfile, static_cast<std::intptr_t>(index) << 16); }

void DisplayNotifier::TextMessage() { Show(kOsdKindMessage, 0); }

void DisplayNotifier::MacroPlayed() { Show(kOsdKindMacro, 0); }

void DisplayNotifier::WindowsKey(std::uint8_t key) { Show(kOsdKindWindowsKey, static_cast<std::intptr_t>(key) << 16); }

void DisplayNotifier::Volume(std::uint16_t value) { Show(kOsdKindVolume, value); }

void DisplayNotifier::Close() { PostToTitle(desktop_, kTitleOsd, kMsgClose); }

void DisplayNotifier::Show(unsigned kind, std::intptr_t value) { PostToTitle(desktop_, kTitleOsd, kMsgOsdShow, kind, value); }

}  // namespace brenik::monitor::peers
