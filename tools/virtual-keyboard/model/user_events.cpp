// What the user does on the keyboard: each action changes the keyboard's own state as its
// firmware does, then tells the host with a key event.

#include "virtual_keyboard.h"

#include "event_class.h"
#include "keyboard_state.h"
#include "wire_bytes.h"

#include <algorithm>
#include <cstring>

namespace brenik::vkb {
namespace {

constexpr int kMaxCountdownStep = 8;
constexpr std::uint8_t kFirstMediaKey = 0x20;
constexpr std::uint8_t kLastMediaKey = 0x27;
constexpr std::size_t kLightingControlByte = 9;
constexpr std::uint8_t kRightWindowsLockBit = 0x08;
constexpr std::uint8_t kCountdownStopped = 1;

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

void StoreRecordedMacro(ProfileMemory& profile, int key, const std::vector<MacroAction>& actions, const std::string& name) {
    MacroEntry& entry = profile.macros[static_cast<std::size_t>(key)];
    entry = MacroEntry{};
    const std::size_t nameLength = std::min(name.size(), report::kMacroNameSize);
    std::memcpy(entry.names.data() + report::kMacroNameSize, name.data(), nameLength);  // the macro name
    entry.actionCount = static_cast<std::uint16_t>(actions.size());
    for (std::size_t i = 0; i < actions.size(); ++i) {
        std::uint8_t* record = entry.actions.data() + i * report::kMacroActionSize;
        record[0] = actions[i].keyCode;
        record[1] = actions[i].eventType;
        WriteLe16(record + 2, actions[i].delayMs);
    }
    if (key < report::kFunctionKeyCount) profile.keyFunctions[static_cast<std::size_t>(key)] = {report::kFunctionMacro, 0, 0};
}

}  // namespace

bool VirtualKeyboard::QueueKeyEvent(std::uint16_t eventClass, std::uint8_t qualifier, std::uint8_t keyByte) {
    QueueNotice(HostNotice{HostNotice::Kind::kKeyEvent, eventClass, static_cast<std::uint16_t>((qualifier << 8) | keyByte)});
    return true;
}

bool VirtualKeyboard::PressProfileKey(int profileNumber) {
    if (!state_->plugged || !InRange(profileNumber, 1, report::kProfileCount)) return false;
    state_->currentProfile = profileNumber - 1;
    state_->extendedLayer = false;  // a new profile starts on the standard layer
    return QueueKeyEvent(event_class::kProfileKey, 0, static_cast<std::uint8_t>(profileNumber));
}

// Step 1 comes before the user has chosen a key, so it carries none.
bool VirtualKeyboard::RecordMacro(int keyNumber, const std::vector<MacroAction>& actions, const std::string& name) {
    if (!state_->plugged || !InRange(keyNumber, 1, report::kKeyEntryCount)) return false;
    if (actions.size() > report::kMaxMacroActions) return false;
    const auto key = static_cast<std::uint8_t>(keyNumber);
    QueueKeyEvent(event_class::kMacroRecording, static_cast<std::uint8_t>(RecordingStep::kSelectKey), 0);
    QueueKeyEvent(event_class::kMacroRecording, static_cast<std::uint8_t>(RecordingStep::kEnterKeys), key);
    StoreRecordedMacro(state_->profiles[static_cast<std::size_t>(state_->currentProfile)], keyNumber - 1, actions, name);
    return QueueKeyEvent(event_class::kMacroRecording, static_cast<std::uint8_t>(RecordingStep::kRecorded), key);
}

bool VirtualKeyboard::AbortMacroRecording(int keyNumber) {
    if (!state_->plugged || !InRange(keyNumber, 1, report::kKeyEntryCount)) return false;
    const auto key = static_cast<std::uint8_t>(keyNumber);
    QueueKeyEvent(event_class::kMacroRecording, static_cast<std::uint8_t>(RecordingStep::kSelectKey), 0);
    QueueKeyEvent(event_class::kMacroRecording, static_cast<std::uint8_t>(RecordingStep::kEnterKeys), key);
    return QueueKeyEvent(event_class::kMacroRecording, static_cast<std::uint8_t>(RecordingStep::kAborted), key);
}

bool VirtualKeyboard::SwitchLayer(bool extended) {
    if (!state_->plugged) return false;
    state_->extendedLayer = extended;
    return QueueKeyEvent(event_class::kLayerSwitch, 0, extended ? kLayerExtended : kLayerStandard);
}

bool VirtualKeyboard::SetLightingControl(std::uint8_t value) {
    if (!state_->plugged) return false;
    state_->profiles[static_cast<std::size_t>(state_->currentProfile)].lighting[kLightingControlByte] = value;
    return QueueKeyEvent(event_class::kLightingControl, 0, value);
}

bool VirtualKeyboard::SetWindowsKeyLock(int profileNumber, bool locked) {
    if (!state_->plugged || !InRange(profileNumber, 1, report::kProfileCount)) return false;
    std::uint8_t& flags = state_->profiles[static_cast<std::size_t>(profileNumber - 1)].lockedKeys;
    flags = static_cast<std::uint8_t>(locked ? (flags | kRightWindowsLockBit) : (flags & ~kRightWindowsLockBit));
    return QueueKeyEvent(event_class::kWindowsKeyLock, static_cast<std::uint8_t>(profileNumber),
                         locked ? kWindowsKeyLocked : kWindowsKeyUnlocked);
}

// The volume travels as the whole sub-code.
bool VirtualKeyboard::TurnVolume(int volume) {
    if (!state_->plugged || !InRange(volume, 0, 100)) return false;
    state_->volume = volume;
    state_->volumeLevel = VolumeLevelOf(volume);
    return QueueKeyEvent(event_class::kVolume, 0, static_cast<std::uint8_t>(volume));
}

bool VirtualKeyboard::PressMediaKey(std::uint8_t code) {
    if (!state_->plugged || code < kFirstMediaKey || code > kLastMediaKey) return false;
    return QueueKeyEvent(event_class::kMediaKey, 0, code);
}

bool VirtualKeyboard::PressLaunchKey(int keyNumber) {
    if (!state_->plugged || !InRange(keyNumber, 1, report::kKeyEntryCount)) return false;
    return QueueKeyEvent(event_class::kLaunchKey, 0, static_cast<std::uint8_t>(keyNumber));
}

bool VirtualKeyboard::PlayMacroKey(int keyNumber) {
    if (!state_->plugged || !InRange(keyNumber, 1, report::kKeyEntryCount)) return false;
    return QueueKeyEvent(event_class::kMacroKeyPlayed, 0, static_cast<std::uint8_t>(keyNumber));
}

// Step 8 is "go": the countdown has run out.
bool VirtualKeyboard::CountdownStep(int step) {
    if (!state_->plugged || !InRange(step, 1, kMaxCountdownStep)) return false;
    state_->countdownStep = step == kMaxCountdownStep ? 0 : step;
    return QueueKeyEvent(event_class::kCountdownStep, static_cast<std::uint8_t>(step), 0);
}

bool VirtualKeyboard::StopCountdown() {
    if (!state_->plugged) return false;
    state_->countdownStep = 0;
    return QueueKeyEvent(event_class::kCountdownStop, kCountdownStopped, 0);
}

bool VirtualKeyboard::SendRawEvent(std::uint16_t eventClass, std::uint16_t subCode) {
    if (!state_->plugged) return false;
    QueueNotice(HostNotice{HostNotice::Kind::kKeyEvent, eventClass, subCode});
    return true;
}

}  // namespace brenik::vkb
