#include "key_finder.h"

#include "keyboard_layout.h"
#include "profile_store.h"

#include <cctype>
#include <functional>

namespace brenik::option {
namespace {

constexpr std::uint8_t kUsageF1 = 0x3A;
constexpr std::uint8_t kUsageF12 = 0x45;

std::optional<int> HeldKeySending(std::uint8_t usage, const std::uint8_t* map) {
    const auto& layout = StandardKeyLayout();
    for (int i = 0; i < kStandardKeyCount; ++i) {
        if (map[i] == usage && layout[static_cast<std::size_t>(i)].onKeyboard) return i;
    }
    return std::nullopt;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

}  // namespace

std::optional<PickedKey> KeyForUsage(std::uint8_t usage, const std::uint8_t (&loadedMap)[kStandardKeyCount]) {
    if (usage >= kUsageF1 && usage <= kUsageF12) return PickedKey{PickedKey::Kind::kBank, usage - kUsageF1};
    if (const auto now = HeldKeySending(usage, loadedMap)) return PickedKey{PickedKey::Kind::kStandard, *now};
    if (const auto own = HeldKeySending(usage, kDefaultStandardKeys.data())) {
        return PickedKey{PickedKey::Kind::kStandard, *own};
    }
    return std::nullopt;
}

bool NameContains(std::string_view name, std::string_view text) {
    text = Trimmed(text);
    if (text.empty() || text.size() > name.size()) return false;
    for (std::size_t at = 0; at + text.size() <= name.size(); ++at) {
        std::size_t i = 0;
        while (i < text.size() && Lower(name[at + i]) == Lower(text[i])) ++i;
        if (i == text.size()) return true;
    }
    return false;
}

std::optional<int> StandardKeyNamed(std::string_view text) {
    text = Trimmed(text);
    // The whole name first, then a name's start, then anywhere: "Q" is the Q key, not "Equal".
    const auto whole = [&](std::string_view name) { return name.size() == text.size() && NameContains(name, text); };
    const auto start = [&](std::string_view name) { return NameContains(name.substr(0, text.size()), text); };
    const auto anywhere = [&](std::string_view name) { return NameContains(name, text); };
    for (const auto& matches : {std::function<bool(std::string_view)>(whole), std::function<bool(std::string_view)>(start),
                                std::function<bool(std::string_view)>(anywhere)}) {
        for (const DrawnKey& key : StandardKeyLayout()) {
            if (key.onKeyboard && matches(key.name)) return key.index;
        }
    }
    return std::nullopt;
}

}  // namespace brenik::option
