#include "on_screen_display.h"

#include "config_ini_keys.h"
#include "debug_output.h"
#include "ini_file.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "state_record.h"

#include <cstring>
#include <optional>
#include <utility>

namespace brenik::monitor::osd {
namespace {

// The characters up to the first zero, never more than maxChars and never past them, and then
// only up to a line break: config.ini cannot hold one in a value, and writing the rest as
// further lines would let a sender forge other settings.
std::string TextOf(const char* chars, std::size_t maxChars, const char* what) {
    std::string text(chars, strnlen(chars, maxChars));
    const std::size_t lineBreak = text.find_first_of("\r\n");
    if (lineBreak != std::string::npos) {
        DebugPrintf("OnScreenDisplay kept a %s up to its line break (%zu of %zu characters)\n", what, lineBreak,
                    text.size());
        text.resize(lineBreak);
    }
    return text;
}

// The name of the macro on entry k of the current profile; nothing when there is no current
// profile or the entry holds no macro.
std::optional<std::string> MacroOnEntry(WorkingCopy& state, int k) {
    return state.Use([&](StateRecord& record) -> std::optional<std::string> {
        const ProfileRecord* profile = CurrentProfileRecord(record);
        if (profile == nullptr) return std::nullopt;
        const MacroKeyInfo& entry = profile->MacroKeyInfo[k];
        if (entry.FunctionType != kFunctionMacro) return std::nullopt;
        return TextOf(entry.MacroName, kMacroNameMaxChars, "macro name");
    });
}

}  // namespace

OnScreenDisplay::OnScreenDisplay(IDesktop& desktop, WorkingCopy& state, std::string configPath,
                                 ini::IIniStorage& storage)
    : display_(desktop), state_(state), configPath_(std::move(configPath)), storage_(storage) {}

void OnScreenDisplay::LoadSettings() {
    // Read into a copy, so that a value that does not decode leaves every field as it was.
    OsdSettings loaded = settings_;
    if (ini::CIniFile(configPath_, storage_).ReadStruct(kOsdSettingsSection, kOsdSettingsKey, &loaded, sizeof loaded)) {
        settings_ = loaded;
    }
}

void OnScreenDisplay::PostSettings() {
    display_.SettingsChanged(PackedDisplayParams(settings_));
}

void OnScreenDisplay::Notify(std::uint16_t eventClass, std::uint16_t value) {
    if (eventClass == kClassMacroPlayed && value >= 1 && value <= kKeyEntryCount) {
        if (!SwitchIsOn(settings_.MacroNotice)) return;
        // Stored even when the display does not run: it shows the last name when it starts.
        if (WriteMacroOsd(value - 1)) display_.MacroPlayed();
        return;
    }
    if (eventClass == kClassVolume && value <= kOsdMaxVolume) {
        if (SwitchIsOn(settings_.VolumeNotice)) display_.Volume(value);
    }
}

bool OnScreenDisplay::WriteMacroOsd(int k) {
    if (k < 0 || k >= kKeyEntryCount) return false;
    const std::optional<std::string> name = MacroOnEntry(state_, k);
    if (!name) return false;
    // One batch: the display never reads a new number beside an old name.
    ini::CIniFile config(configPath_, storage_);
    config.BeginBatch();
    const bool stored = config.WriteInt(kMacroOsdSection, kMacroOsdNumberKey, k) &&
                        config.WriteString(kMacroOsdSection, kMacroOsdNameKey, *name);
    return config.EndBatch() && stored;
}

void OnScreenDisplay::NotifyProfileSwitch(int index) {
    if (!IsProfileIndex(index) || !SwitchIsOn(settings_.ProfileNotice)) return;
    display_.ProfileSwitched(index);
}

bool OnScreenDisplay::ShowsWindowsKey() const { return SwitchIsOn(settings_.LockKeyNotice); }

bool OnScreenDisplay::OnCopyData(const void* data, std::size_t size, bool keyboardOpen) {
    if (size != kTextMessageBytes) {
        DebugPrintf("OnScreenDisplay refused a text message of %zu bytes: not %zu\n", size, kTextMessageBytes);
        return true;
    }
    if (data == nullptr) {
        DebugOutput("OnScreenDisplay refused a text message without its bytes\n");
        return true;
    }
    // The block belongs to the sender and lives only for this call: the text is copied out,
    // bounded by the block's length.
    const char* block = static_cast<const char*>(data);
    const std::string text = TextOf(block + kTextMessageStart, kTextMessageMaxChars, "text message");
    if (StoreMessage(text) && keyboardOpen) display_.TextMessage();
    return true;
}

void OnScreenDisplay::NotifyProfilesReadBack() {
    if (StoreMessage(kProfilesReadBackNotice)) display_.TextMessage();
}

bool OnScreenDisplay::StoreMessage(const std::string& text) {
    return ini::CIniFile(configPath_, storage_).WriteString(kOsdTextSection, kOsdTextKey, text);
}

}  // namespace brenik::monitor::osd
