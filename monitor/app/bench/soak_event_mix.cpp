#include "soak_event_mix.h"

#include "event_word.h"
#include "media_key_codes.h"
#include "text_message_block.h"

#include <array>

namespace brenik::monitor::test {
namespace {

// How often each group comes, out of kWeightTotal. Profile keys are rare because each one
// costs the job thread a write of the current profile (over a second of the keyboard's
// pauses); the cheap ones make up the bulk.
struct Weight {
    SoakGroup group;
    std::uint32_t weight;
};
constexpr std::array<Weight, static_cast<std::size_t>(SoakGroup::kCount)> kWeights = {{
    {SoakGroup::kProfileKey, 3},
    {SoakGroup::kMacroPlayed, 9},
    {SoakGroup::kMacroRecording, 9},
    {SoakGroup::kMediaKey, 10},
    {SoakGroup::kVolume, 11},
    {SoakGroup::kCountdown, 12},
    {SoakGroup::kLighting, 11},
    {SoakGroup::kLayer, 11},
    {SoakGroup::kWindowsKey, 7},
    {SoakGroup::kUnknownClass, 4},
    {SoakGroup::kTextMessage, 5},
    {SoakGroup::kKeyboardAction, 2},
}};

constexpr std::uint32_t WeightTotal() {
    std::uint32_t total = 0;
    for (const Weight& w : kWeights) total += w.weight;
    return total;
}
constexpr std::uint32_t kWeightTotal = WeightTotal();

constexpr std::uint8_t kProgrammableKeys = 44;
constexpr std::uint8_t kProfiles = 5;
constexpr std::uint8_t kExtendedLayer = 1;
constexpr std::uint8_t kStandardLayer = 255;
constexpr std::uint8_t kWindowsKeyFree = 1;
constexpr std::uint8_t kWindowsKeyLocked = 255;

// A fixed, well-stirred number per index (splitmix64), so that neighbouring events differ.
std::uint64_t Stir(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

SoakGroup GroupAt(std::uint64_t stir) {
    std::uint32_t pick = static_cast<std::uint32_t>(stir % kWeightTotal);
    for (const Weight& w : kWeights) {
        if (pick < w.weight) return w.group;
        pick -= w.weight;
    }
    return SoakGroup::kUnknownClass;
}

std::uint16_t Sub(std::uint8_t qualifier, std::uint8_t key) { return static_cast<std::uint16_t>(qualifier << 8 | key); }

SoakEvent KeyEvent(SoakGroup group, std::uint16_t eventClass, std::uint16_t subCode) {
    SoakEvent event;
    event.group = group;
    event.eventClass = eventClass;
    event.subCode = subCode;
    return event;
}

// r: a second stirred number that picks the values inside the group; one in `odd` events of
// most groups carries a value outside the valid ones.
SoakEvent KeyEventOf(SoakGroup group, std::uint64_t r) {
    const bool odd = r % 16 == 0;
    r /= 16;
    switch (group) {
        case SoakGroup::kProfileKey:
            return KeyEvent(group, kClassProfile, odd ? Sub(r % 2, (r / 2) % 2 == 0 ? 0 : 6) : Sub(0, 1 + r % kProfiles));
        case SoakGroup::kMacroPlayed:
            return KeyEvent(group, kClassMacroPlayed, odd ? 0xFFFF : Sub(0, 1 + r % kProgrammableKeys));
        case SoakGroup::kMacroRecording: {
            static constexpr std::uint8_t kSteps[] = {1, 2, 4, 5, 6};  // 3 would queue a read-back of nothing
            const std::uint8_t step = odd ? 7 : kSteps[r % 5];
            return KeyEvent(group, kClassMacroRecord, Sub(step, 1 + (r / 5) % kProgrammableKeys));
        }
        case SoakGroup::kMediaKey: {
            const std::uint8_t key = static_cast<std::uint8_t>(media::kKeyNext + r % (media::kKeyVolumeDown - media::kKeyNext + 1));
            return KeyEvent(group, kClassMedia, odd ? Sub(1, key) : Sub(0, key));
        }
        case SoakGroup::kVolume: return KeyEvent(group, kClassVolume, static_cast<std::uint16_t>(odd ? 0xFFFF : r % 101));
        case SoakGroup::kCountdown:
            if (r % 5 == 0) return KeyEvent(group, kClassCountdownStop, Sub(odd ? 2 : 1, 0));
            return KeyEvent(group, kClassCountdownStep, Sub(odd ? 9 : 1 + (r / 5) % 8, 0));
        case SoakGroup::kLighting: return KeyEvent(group, kClassLighting, Sub(0, static_cast<std::uint8_t>(r % 256)));
        case SoakGroup::kLayer: {
            static constexpr std::uint8_t kLayers[] = {kExtendedLayer, kStandardLayer};
            return KeyEvent(group, kClassLayer, Sub(0, odd ? 0 : kLayers[r % 2]));
        }
        case SoakGroup::kWindowsKey: {
            const std::uint8_t profile = static_cast<std::uint8_t>(1 + r % kProfiles);
            const std::uint8_t key = (r / kProfiles) % 2 == 0 ? kWindowsKeyFree : kWindowsKeyLocked;
            return KeyEvent(group, kClassWindowsKey, odd ? Sub(profile, 7) : Sub(profile, key));
        }
        default: {
            static constexpr std::uint16_t kUnknown[] = {0x0000, 0x1000, 0x2000, 0x8000, 0x9000, 0x7F01, 0xFFFF};
            return KeyEvent(SoakGroup::kUnknownClass, kUnknown[r % 7], static_cast<std::uint16_t>(r >> 8));
        }
    }
}

// What a user does on the keyboard, in turn; the keyboard then sends its own events.
std::string KeyboardWordsAt(std::uint32_t turn) {
    const std::string n = std::to_string(turn);
    switch (turn % 10) {
        case 0: return "profile " + std::to_string(1 + (turn / 10) % kProfiles);
        case 1: return "layer";
        case 2: return "lighting " + std::to_string(turn % 256);
        case 3: return "winlock " + std::to_string(1 + (turn / 10) % kProfiles) + ((turn / 10) % 2 == 0 ? " on" : " off");
        case 4: return "volume " + std::to_string(turn % 101);
        case 5: return "media " + std::to_string(media::kKeyNext + (turn / 10) % 7);
        case 6: return (turn / 10) % 2 == 0 ? "countdown " + std::to_string(1 + (turn / 20) % 8) : "countdown stop";
        case 7: return "play-macro " + std::to_string(1 + (turn / 10) % kProgrammableKeys);
        // A live recording ends with the read-back job; an aborted one with its own cue.
        case 8: return "record-macro " + std::to_string(1 + (turn / 10) % kProgrammableKeys);
        default: return "abort-macro " + std::to_string(1 + (turn / 10) % kProgrammableKeys);
    }
}

}  // namespace

const char* SoakGroupName(SoakGroup group) {
    switch (group) {
        case SoakGroup::kProfileKey: return "profile keys (0x3000)";
        case SoakGroup::kMacroPlayed: return "macros played (0x4000)";
        case SoakGroup::kMacroRecording: return "macro recording steps (0x5000)";
        case SoakGroup::kMediaKey: return "media keys (0x7000)";
        case SoakGroup::kVolume: return "volume (0xA000)";
        case SoakGroup::kCountdown: return "countdown (0xB000, 0xC000)";
        case SoakGroup::kLighting: return "lighting (0xD000)";
        case SoakGroup::kLayer: return "layers (0xE000)";
        case SoakGroup::kWindowsKey: return "Windows key (0xF000)";
        case SoakGroup::kUnknownClass: return "unknown classes";
        case SoakGroup::kTextMessage: return "text messages (WM_COPYDATA)";
        case SoakGroup::kKeyboardAction: return "actions on the virtual keyboard";
        default: return "?";
    }
}

SoakEvent SoakEventAt(std::uint32_t index) {
    const std::uint64_t stir = Stir(index);
    const SoakGroup group = GroupAt(stir);
    const std::uint64_t r = Stir(stir);
    if (group == SoakGroup::kTextMessage) {
        SoakEvent event;
        event.kind = SoakEvent::Kind::kTextMessage;
        event.group = group;
        // One in eight is a byte short or long, which the monitor refuses.
        event.textBytes = r % 8 != 0 ? kTextMessageBytes : (r / 8) % 2 == 0 ? kTextMessageBytes - 1 : kTextMessageBytes + 1;
        return event;
    }
    if (group == SoakGroup::kKeyboardAction) {
        SoakEvent event;
        event.kind = SoakEvent::Kind::kKeyboardAction;
        event.group = group;
        event.keyboardWords = KeyboardWordsAt(static_cast<std::uint32_t>(r % 1000));
        return event;
    }
    return KeyEventOf(group, r);
}

std::string SoakTextBlock(std::uint32_t index, std::size_t bytes) {
    std::string block(bytes, '\0');
    const std::string text = "Soak message " + std::to_string(index);
    block.replace(1, text.size() < bytes - 1 ? text.size() : bytes - 1, text, 0, bytes - 1);
    return block;
}

}  // namespace brenik::monitor::test
