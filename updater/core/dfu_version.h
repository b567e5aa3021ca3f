#pragma once
// The keyboard's DFU version, read from its device information report, and the caption the
// main dialog shows for it after "DFU V".

#include "feature_reports.h"

#include <cstdint>
#include <string>

namespace brenik::updater {

// Byte 3 of the device information report; 0 when the read fails.
std::uint8_t ReadDfuVersion(hid::IFeatureReports& port);

// 100 to 500 as a number with a point after its first digit (105: "1.05"); else "N/A".
std::string VersionCaption(unsigned version);

}  // namespace brenik::updater
