#include "update_transfer.h"

#include "debug_output.h"
#include "device_status.h"

namespace brenik::updater {

using namespace device;

bool SendUpdateCommand(const UpdateLink& link, const CommandReport& report, std::uint32_t extraWaitMs) {
    // The library takes a writable buffer; the report itself stays as built, for rewrites.
    CommandReport buffer = report;
    for (int write = 0; write <= kMaxRewrites; ++write) {
        if (link.Stopped()) return false;
        buffer = report;
        if (!link.port.SetFeature(buffer.data(), buffer.size())) {
            DebugPrintf("FW Update: command 0x%02X not sent\n", report[1]);
            return false;
        }
        if (!Pause(link, extraWaitMs)) return false;
        const DeviceStatus status = WaitDeviceStatus(link);
        if (status.status != kDfuStatusResend) {
            if (!status.ok) DebugPrintf("FW Update: command 0x%02X failed, status %u\n", report[1], status.status);
            return status.ok;
        }
    }
    DebugPrintf("FW Update: command 0x%02X refused, resend asked more than %d times\n", report[1], kMaxRewrites);
    return false;
}

bool RunTransfer(const FirmwareImage& image, const UpdateLink& link, const std::function<void(std::size_t)>& onBlock) {
    if (!SendUpdateCommand(link, MakeStartCommand(), kCommandSettleMs)) return false;
    if (!Pause(link, kCommandSettleMs)) return false;
    if (!SendUpdateCommand(link, MakeSizeCommand(image.size))) return false;
    if (!Pause(link, kCommandSettleMs)) return false;
    if (!SendUpdateCommand(link, MakePrepareCommand())) return false;
    if (!Pause(link, kCommandSettleMs)) return false;
    const std::size_t blocks = image.BlockCount();
    for (std::size_t k = 0; k < blocks; ++k) {
        const auto index = static_cast<std::uint16_t>(k);
        if (!SendUpdateCommand(link, MakeBlockHeaderCommand(index, image.sums[k]))) return false;
        if (!SendUpdateCommand(link, MakeBlockDataCommand(image.Block(k)))) return false;
        if (onBlock) onBlock(k);
    }
    // The keyboard keeps the image only when it takes the finish: a finish it refused or did
    // not answer is no success, however well the blocks went.
    return SendUpdateCommand(link, MakeFinishCommand(), kCommandSettleMs);
}

}  // namespace brenik::updater
