#include "event_dispatch.h"
#include "job_codes.h"


#include <cstring>
#include <string>

namespace brenik::monitor {
namespace {

constexpr std::uint8_t kLayerExtended = 1;
constexpr std::uint8_t kWindowsKeyUnlocked = 1;   // key byte: RightWin becomes 0
constexpr std::uint8_t kWindowsKeyLocked = 255;   // key byte: RightWin becomes 1

// A profile number 1..5 as the keyboard counts, or -1.
int ProfileIndexFromNumber(int number) { return number >= 1 && number <= kProfileCount ? number - 1 : -1; }

// The program path of a key entry, never read past its field even when the settings program
// left it unterminated.
std::string ProgramPathOf(const MacroKeyInfo& entry) {
    const char* path = entry.ProgramPath;
    return std::string(path, strnlen(path, sizeof entry.ProgramPath));
}

}  // namespace

void EventDispatch::Dispatch(EventWord word) {
    switch (ClassOf(word)) {
        case kClassProfile: OnProfileKey(word); break;
        case kClassMacroPlayed: actions_.NotifyOsd(ClassOf(word), SubCodeOf(word)); break;
        case kClassMacroRecord: OnMacroRecord(word); break;
        case kClassLaunch: OnLaunchKey(word); break;
        case kClassMedia: actions_.MediaKey(KeyByteOf(word), QualifierOf(word)); break;
        case kClassDevice: OnDevice(word); break;
        case kClassVolume: OnVolume(word); break;
        case kClassCountdownStep:
        case kClassCountdownStop: actions_.PlaySoundCue(word); break;
        case kClassLighting: OnLighting(word); break;
        case kClassLayer: OnLayer(word); break;
        case kClassWindowsKey: OnWindowsKey(word); break;
        default: break;
    }
}

void EventDispatch::OnProfileKey(EventWord word) {
    const int index = ProfileIndexFromNumber(KeyByteOf(word));
    if (index < 0) return;
    actions_.SwitchProfile(index);
    actions_.PlaySoundCue(word);
}

void EventDispatch::OnMacroRecord(EventWord word) {
    actions_.PlaySoundCue(word);
    if (QualifierOf(word) == kRecordFinished) actions_.QueueJob(device::kJobReadRecordedMacro, KeyByteOf(word));
}

void EventDispatch::OnLaunchKey(EventWord word) {
    const int key = KeyByteOf(word);
    if (QualifierOf(word) != 0 || key < 1 || key > kKeyEntryCount) return;
    const std::string path = state_.Use([&](StateRecord& state) -> std::string {
        const ProfileRecord* profile = CurrentProfileRecord(state);
        if (!profile) return {};
        const MacroKeyInfo& entry = profile->MacroKeyInfo[key - 1];
        return entry.FunctionType == kFunctionLaunchProgram ? ProgramPathOf(entry) : std::string();
    });
    if (!path.empty()) desktop_.ShellOpen(path);
}

void EventDispatch::OnDevice(EventWord word) {
    switch (SubCodeOf(word)) {
        case kDeviceEventArrived: device_.Arrival(); break;
        case kDeviceEventRemoved: device_.Removal(); break;
        default: break;
    }
}

void EventDispatch::OnVolume(EventWord word) {
    volume_.VolumeChanged(SubCodeOf(word));
    actions_.NotifyOsd(ClassOf(word), SubCodeOf(word));
}

void EventDispatch::OnLighting(EventWord word) {
    state_.Use([&](StateRecord& state) {
        if (ProfileRecord* profile = CurrentProfileRecord(state)) profile->LtControl = KeyByteOf(word);
    });
    actions_.Publish();
    settings_.LightingChanged();
}

void EventDispatch::OnLayer(EventWord word) {
    const std::uint8_t key = KeyByteOf(word);
    state_.Use([&](StateRecord& state) {
        if (ProfileRecord* profile = CurrentProfileRecord(state)) profile->ExtendedMode = key == kLayerExtended ? 1 : 0;
    });
    actions_.Publish();
    settings_.LayerChanged(key);
    actions_.PlaySoundCue(word);
}

void EventDispatch::OnWindowsKey(EventWord word) {
    const int index = ProfileIndexFromNumber(QualifierOf(word));
    const std::uint8_t key = KeyByteOf(word);
    if (index >= 0 && (key == kWindowsKeyUnlocked || key == kWindowsKeyLocked)) {
        state_.Use([&](StateRecord& state) { state.Profiles[index].RightWin = key == kWindowsKeyLocked ? 1 : 0; });
    }
    // Saved, published and announced whether or not a field changed.
    actions_.SaveProfiles();
    actions_.Publish();
    settings_.WindowsKeyChanged(key);
    if (actions_.OsdShowsWindowsKey()) display_.WindowsKey(key);
}

}  // namespace brenik::monitor
