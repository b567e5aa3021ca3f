#include "update_commands.h"

#include <algorithm>

namespace brenik::updater {

using namespace device;

namespace {

CommandReport Command(std::uint8_t command) {
    CommandReport report{};
    report[0] = kUpdateCommandReportId;
    report[1] = command;
    return report;
}

void PutLittleEndian(CommandReport& report, std::size_t offset, std::uint32_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) report[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutSignature(CommandReport& report) {
    std::copy(kDfuCommandSignature.begin(), kDfuCommandSignature.end(), report.begin() + 8);
}

}  // namespace

CommandReport MakeStartCommand() {
    CommandReport report = Command(kDfuStart);
    std::copy(kDfuUnlockCode.begin(), kDfuUnlockCode.end(), report.begin() + 4);
    return report;
}

CommandReport MakeSizeCommand(std::uint32_t imageSize) {
    CommandReport report = Command(kDfuSize);
    PutLittleEndian(report, 4, imageSize, 4);
    PutSignature(report);
    return report;
}

CommandReport MakePrepareCommand() {
    CommandReport report = Command(kDfuPrepare);
    report[4] = kDfuPrepareMarker;
    return report;
}

CommandReport MakeBlockHeaderCommand(std::uint16_t index, std::uint16_t sum) {
    CommandReport report = Command(kDfuBlockHeader);
    PutLittleEndian(report, 4, index, 2);
    PutLittleEndian(report, 6, sum, 2);
    PutSignature(report);
    return report;
}

CommandReport MakeBlockDataCommand(const std::uint8_t* block) {
    CommandReport report = Command(kDfuBlockData);
    std::copy(block, block + kFirmwareBlockSize, report.begin() + 2);
    return report;
}

CommandReport MakeFinishCommand() { return Command(kDfuFinish); }

}  // namespace brenik::updater
