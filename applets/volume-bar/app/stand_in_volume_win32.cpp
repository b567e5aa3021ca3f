#include "stand_in_volume_win32.h"

#include "debug_output.h"
#include "ini_file.h"
#include "volume_bar_messages.h"

namespace brenik::volumebar {
namespace {

constexpr const char* kSection = "SystemVolume";
constexpr const char* kLevelKey = "Level";
constexpr const char* kTypeKey = "Type";
constexpr const char* kFileKey = "File";
constexpr const char* kStandInType = "stand-in";
constexpr int kNoLevel = -1;

}  // namespace

std::optional<int> StandInVolume::Level() {
    const int level = ini::CIniFile(file_).ReadInt(kSection, kLevelKey, kNoLevel);
    if (level < kLowestLevel || level > kHighestLevel) return std::nullopt;
    return level;
}

bool StandInVolume::SetLevel(int level) {
    if (!ini::CIniFile(file_).WriteInt(kSection, kLevelKey, level)) return false;
    PostMessageA(window_, kMsgSystemVolumeChanged, static_cast<WPARAM>(level), 1);  // as the endpoint notifies our own
    return true;
}

std::string StandInFileFromSettings(const std::string& settingsPath) {
    const ini::CIniFile settings(settingsPath);
    if (settings.ReadString(kSection, kTypeKey, "") != kStandInType) return {};
    const std::string file = settings.ReadString(kSection, kFileKey, "");
    DebugPrintf("VolumeBar follows the stand-in system volume in %s (%s)\n", file.c_str(), settingsPath.c_str());
    return file;
}

}  // namespace brenik::volumebar
