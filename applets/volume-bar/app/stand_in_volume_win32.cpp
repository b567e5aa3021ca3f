#include "stand_in_volume_win32.h"

#include "ini_file.h"
#include "volume_bar_messages.h"

namespace brenik::volumebar {
namespace {

constexpr const char* kSection = "SystemVolume";
constexpr const char* kLevelKey = "Level";
constexpr int kNoLevel = -1;

}  // namespace

std::optional<int> StandInVolume::Level() {
    const int level = ini::CIniFile(file_).ReadInt(kSection, kLevelKey, kNoLevel);
    if (level < kLowestLevel || level > kHighestLevel) return std::nullopt;
    return level;
}

bool StandInVolume::SetLevel(int level) {
    if (!ini::CIniFile(file_).WriteInt(kSection, kLevelKey, level)) return false;
    PostMessageA(window_, kMsgSystemVolumeChanged, static_cast<WPARAM>(level), 0);  // as the endpoint notifies
    return true;
}

std::string StandInFileFromSettings(const std::string& settingsPath) {
    const ini::CIniFile settings(settingsPath);
    if (settings.ReadString(kSection, "Type", "") != "stand-in") return {};
    return settings.ReadString(kSection, "File", "");
}

}  // namespace brenik::volumebar
