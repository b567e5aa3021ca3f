#include "model_test_support.h"

#include "keyboard_device_constants.h"

#include <algorithm>
#include <cstring>

namespace brenik::vkb::test {

using namespace brenik::device;

Bytes ModelTest::Report(std::uint8_t id, std::size_t length) {
    Bytes report(length, 0);
    report[0] = id;
    return report;
}

Bytes ModelTest::Read(std::uint8_t id, std::size_t length) {
    Bytes report = Report(id, length);
    if (!keyboard_.GetFeature(report.data(), report.size())) return {};
    return report;
}

std::uint8_t ModelTest::PollStatus() {
    const Bytes reply = Read(4, 3);
    return reply.empty() ? 0 : reply[1];
}

std::uint8_t ModelTest::PollUpdateStatus() {
    const Bytes reply = Read(kUpdateStatusReportId, kUpdateStatusReportLength);
    return reply.empty() ? 0 : reply[1];
}

Bytes ModelTest::SelectAndRead(std::uint8_t profile, std::uint8_t selector, std::uint8_t id, std::size_t length) {
    if (!Write({4, profile, selector})) return {};
    return Read(id, length);
}

std::vector<HostNotice> ModelTest::DrainNotices() {
    std::vector<HostNotice> notices;
    HostNotice notice;
    while (keyboard_.PopNotice(notice)) notices.push_back(notice);
    return notices;
}

std::uint16_t Le16At(const Bytes& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint16_t ChecksumOf(const Bytes& macroReport) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < 1672; ++i) sum += macroReport[i];
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

Bytes MacroReport(std::uint8_t profile, std::uint8_t key, const std::vector<MacroAction>& actions, const char* macroName) {
    Bytes report(1674, 0);
    report[0] = 20;
    report[1] = 0x8A;
    report[2] = 0x06;
    report[3] = profile;
    report[4] = key;
    if (!actions.empty()) {
        std::fill(report.begin() + 6, report.begin() + 70, 0x20);  // names padded with spaces
        std::memcpy(report.data() + 38, macroName, std::min<std::size_t>(std::strlen(macroName), 32));
        report[70] = static_cast<std::uint8_t>(actions.size() & 0xFF);
        report[71] = static_cast<std::uint8_t>(actions.size() >> 8);
        for (std::size_t i = 0; i < actions.size(); ++i) {
            report[72 + 4 * i] = actions[i].keyCode;
            report[73 + 4 * i] = actions[i].eventType;
            report[74 + 4 * i] = static_cast<std::uint8_t>(actions[i].delayMs & 0xFF);
            report[75 + 4 * i] = static_cast<std::uint8_t>(actions[i].delayMs >> 8);
        }
    }
    const std::uint16_t sum = ChecksumOf(report);
    report[1672] = static_cast<std::uint8_t>(sum & 0xFF);
    report[1673] = static_cast<std::uint8_t>(sum >> 8);
    return report;
}

Bytes UpdateCommand(std::uint8_t command) {
    Bytes report(kUpdateCommandReportLength, 0);
    report[0] = kUpdateCommandReportId;
    report[1] = command;
    if (command == kDfuStart) std::copy(kDfuUnlockCode.begin(), kDfuUnlockCode.end(), report.begin() + 4);
    if (command == kDfuSize || command == kDfuBlockHeader) {
        std::copy(kDfuCommandSignature.begin(), kDfuCommandSignature.end(), report.begin() + 8);
    }
    if (command == kDfuPrepare) report[4] = kDfuPrepareMarker;
    return report;
}

Bytes SizeCommand(std::uint32_t size) {
    Bytes report = UpdateCommand(kDfuSize);
    for (int i = 0; i < 4; ++i) report[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (8 * i));
    return report;
}

Bytes BlockHeader(std::uint16_t index, std::uint16_t sum) {
    Bytes report = UpdateCommand(kDfuBlockHeader);
    report[4] = static_cast<std::uint8_t>(index & 0xFF);
    report[5] = static_cast<std::uint8_t>(index >> 8);
    report[6] = static_cast<std::uint8_t>(sum & 0xFF);
    report[7] = static_cast<std::uint8_t>(sum >> 8);
    return report;
}

Bytes BlockData(const std::uint8_t* block) {
    Bytes report = UpdateCommand(kDfuBlockData);
    std::copy(block, block + kFirmwareBlockSize, report.begin() + 2);
    return report;
}

std::uint16_t BlockSum(const std::uint8_t* block) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < kFirmwareBlockSize; ++i) sum += block[i];
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

}  // namespace brenik::vkb::test
