#include "kbhid_settings.h"

#include "debug_output.h"
#include "pipe_protocol.h"

#include <cctype>

namespace brenik::kbhid {
namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A pipe name is one path component: letters, digits and a few marks.
bool IsPlainPipeName(const std::string& name) {
    if (name.empty() || name.size() > 200) return false;
    for (char c : name) {
        const bool ok = std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
        if (!ok) return false;
    }
    return true;
}

template <typename T>
T ReadBounded(const ini::CIniFile& ini, const char* key, T fallback, int max) {
    const int value = ini.ReadInt("Hardware", key, fallback);
    if (value < 0 || value > max) {
        DebugPrintf("kbhid.ini: Hardware %s=%d is out of range, using %d\n", key, value, static_cast<int>(fallback));
        return fallback;
    }
    return static_cast<T>(value);
}

}  // namespace

KbhidSettings LoadKbhidSettings(const ini::CIniFile& ini) {
    KbhidSettings settings;
    const std::string type = Lower(ini.ReadString("Backend", "Type", "hardware"));
    if (type == "virtual") {
        settings.backend = BackendType::kVirtual;
    } else if (type != "hardware") {
        DebugPrintf("kbhid.ini: unknown Backend Type \"%s\", using hardware\n", type.c_str());
    }

    settings.pipeName = ini.ReadString("Backend", "PipeName", vkb::pipe::kDefaultPipeName);
    if (!IsPlainPipeName(settings.pipeName)) {
        DebugPrintf("kbhid.ini: PipeName \"%s\" refused, using %s\n", settings.pipeName.c_str(), vkb::pipe::kDefaultPipeName);
        settings.pipeName = vkb::pipe::kDefaultPipeName;
    }

    HardwareSettings defaults;
    settings.hardware.vendorId = ReadBounded<std::uint16_t>(ini, "VendorId", defaults.vendorId, 0xFFFF);
    settings.hardware.productId = ReadBounded<std::uint16_t>(ini, "ProductId", defaults.productId, 0xFFFF);
    settings.hardware.usagePage = ReadBounded<std::uint16_t>(ini, "UsagePage", defaults.usagePage, 0xFFFF);
    settings.hardware.eventReportId = ReadBounded<std::uint8_t>(ini, "EventReportId", defaults.eventReportId, 0xFF);
    return settings;
}

}  // namespace brenik::kbhid
