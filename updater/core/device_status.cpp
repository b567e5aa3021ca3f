#include "device_status.h"

#include "debug_output.h"
#include "keyboard_device_constants.h"

#include <algorithm>
#include <array>

namespace brenik::updater {

using namespace device;

namespace {

// The keyboard may write more than the three bytes it is asked for.
constexpr std::size_t kStatusBufferBytes = 2000;
constexpr std::array<std::uint32_t, 7> kFirstWaitsMs = {100, 100, 200, 400, 600, 1500, 500};
constexpr std::uint32_t kLaterWaitMs = 1500;

}  // namespace

bool Pause(const UpdateLink& link, std::uint32_t ms) {
    return SleepAbortable(link.clock, ms, [&link] { return link.Stopped(); });
}

std::uint32_t StatusWaitMs(int attempt) {
    if (attempt >= 0 && static_cast<std::size_t>(attempt) < kFirstWaitsMs.size()) return kFirstWaitsMs[attempt];
    return kLaterWaitMs;
}

DeviceStatus WaitDeviceStatus(const UpdateLink& link, std::uint8_t status) {
    DeviceStatus result{false, status};
    for (int attempt = 0; attempt < kMaxStatusReads; ++attempt) {
        if (!Pause(link, StatusWaitMs(attempt))) {
            result.ok = false;
            return result;
        }
        std::array<std::uint8_t, kStatusBufferBytes> buffer{};
        buffer[0] = kUpdateStatusReportId;
        if (link.port.GetFeature(buffer.data(), kUpdateStatusReportLength)) {
            result.status = buffer[1];
            result.ok = result.status == kDfuStatusOk;
        } else {
            result.ok = false;
        }
        if (result.status != kDfuStatusBusy) break;
    }
    if (result.status == kDfuStatusBusy) DebugPrintf("FW Update: keyboard still busy after %d reads\n", kMaxStatusReads);
    return result;
}

}  // namespace brenik::updater
