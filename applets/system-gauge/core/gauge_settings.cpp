#include "gauge_settings.h"

#include "config_ini_keys.h"
#include "program_folder.h"

namespace brenik::sysgauge {

GaugeSettings GaugeSettingsFrom(const OsdSettings& settings) {
    return {SwitchIsOn(settings.GaugeCpu), SwitchIsOn(settings.GaugeRam)};
}

GaugeSettings LoadGaugeSettings(const ini::CIniFile& config) {
    OsdSettings settings{};
    if (!config.ReadStruct(kOsdSettingsSection, kOsdSettingsKey, &settings, sizeof settings)) return GaugeSettings{};
    return GaugeSettingsFrom(settings);
}

std::string MonitorFolderOf(const std::string& programFolder) {
    if (programFolder.empty()) return "";
    const char last = programFolder.back();
    const bool endsInSeparator = last == '\\' || last == '/';
    const std::string withoutSeparator = endsInSeparator ? programFolder.substr(0, programFolder.size() - 1) : programFolder;
    const std::string above = FolderOfPath(withoutSeparator);
    // A bare drive ("C:") has no folder above it to hold config.ini.
    if (above.empty() || (above.back() != '\\' && above.back() != '/')) return "";
    return above;
}

}  // namespace brenik::sysgauge
