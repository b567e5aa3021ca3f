#pragma once
// What the gauge shows, from the display settings the settings program stores in config.ini
// (OsdSettings, osd_settings_record.h): the processor line when GaugeCpu is on, the memory
// line when GaugeRam is on (a switch is on only when it holds exactly 1). The monitor starts
// the gauge when either is on and closes it when both are off; the gauge reads the record at
// start and again at every 1224.

#include "ini_file.h"
#include "osd_settings_record.h"

#include <string>

namespace brenik::sysgauge {

struct GaugeSettings {
    bool showCpu = false;
    bool showRam = false;

    bool AnyShown() const { return showCpu || showRam; }
    bool operator==(const GaugeSettings& other) const { return showCpu == other.showCpu && showRam == other.showRam; }
};

GaugeSettings GaugeSettingsFrom(const OsdSettings& settings);

// The record config.ini holds; nothing shown when it holds no valid record (missing, or a
// damaged checksum), as the monitor would not have started the gauge for it.
GaugeSettings LoadGaugeSettings(const ini::CIniFile& config);

// The gauge lives in "<monitor folder>\Applets\" and shares the monitor's config.ini: the
// folder above its own. programFolder ends in a backslash ("C:\B\Applets\" gives "C:\B\");
// "" when it names no folder above.
std::string MonitorFolderOf(const std::string& programFolder);

}  // namespace brenik::sysgauge
