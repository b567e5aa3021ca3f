#include "report_description.h"

#include "keyboard_device_constants.h"
#include "keyboard_reports.h"
#include "profile_memory.h"
#include "wire_bytes.h"

#include <cstdio>
#include <string>

namespace brenik::vkb {
namespace {

std::string Format(const char* format, unsigned a, unsigned b = 0, unsigned c = 0) {
    char text[96];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::string SelectorName(std::uint8_t selector) {
    if (selector < report::kKeyEntryCount) return Format("macro key=%u", selector);
    if (selector >= report::kLaunchSelectorBase && selector < report::kLaunchSelectorBase + report::kKeyEntryCount) {
        return Format("launch key=%u", selector - report::kLaunchSelectorBase);
    }
    switch (selector) {
        case report::kSelectStandardKeys: return "standard-keys";
        case report::kSelectLockedKeys: return "locked-keys";
        case report::kSelectLighting: return "lighting";
        default: break;
    }
    if (const KeyFunctionBlock* block = KeyFunctionBlockBySelector(selector)) return ReportName(block->reportId, false);
    return "unknown";
}

std::string DescribeUpdateCommand(const std::uint8_t* report) {
    using namespace brenik::device;
    switch (report[1]) {
        case kDfuStart: return "DFU_START";
        case kDfuSize: return Format("DFU_SIZE size=%u", ReadLe32(report + 4));
        case kDfuPrepare: return "DFU_PREPARE";
        case kDfuBlockHeader: return Format("DFU_BLOCK_HEADER block=%u sum=0x%04X", ReadLe16(report + 4), ReadLe16(report + 6));
        case kDfuBlockData: return "DFU_BLOCK_DATA";
        case kDfuFinish: return "DFU_FINISH";
        default: return Format("update-command 0x%02X", report[1]);
    }
}

// Fields after the name; the report has its full length.
std::string Details(const std::uint8_t* report, bool fromHost) {
    const std::uint8_t id = report[0];
    switch (id) {
        case report::kSelect:
            if (fromHost) return Format(" profile=%u selector=0x%02X ", report[1], report[2]) + SelectorName(report[2]);
            return Format("=%u", report[1]);
        case report::kCurrentProfile:
        case report::kStandardKeys:
        case report::kKeyFunctionsA:
        case report::kKeyFunctionsB:
        case report::kKeyFunctionsC:
        case report::kLighting:
            return Format(" profile=%u", report[2]);
        case report::kLockedKeys: return Format(" profile=%u flags=0x%02X", report[2], report[3]);
        case report::kHostState: return Format(" value=%u", report[2]);
        case report::kVolume: return Format(" profile=%u level=%u volume=%u", report[2], report[6], report[7]);
        case report::kMacro:
            return Format(" profile=%u key=%u actions=%u", report[3], report[4], ReadLe16(report + report::kMacroCountOffset));
        case report::kLaunch:
            if (report[3] < report::kLaunchSelectorBase) return Format(" profile=%u selector=%u", report[2], report[3]);
            return Format(" profile=%u key=%u", report[2], report[3] - report::kLaunchSelectorBase);
        case device::kDeviceInfoReportId:
            return Format(" firmware=%u dfu=%u value=%u", report[2], report[3], report[4]) +
                   ((report[7] & report::kExtendedLayerBit) ? " extended=1" : " extended=0");
        case device::kUpdateStatusReportId: return Format("=%u", report[1]);
        default: return "";
    }
}

}  // namespace

std::string ReportName(std::uint8_t reportId, bool fromHost) {
    switch (reportId) {
        case report::kSelect: return fromHost ? "select" : "status";
        case report::kCurrentProfile: return "current-profile";
        case report::kStandardKeys: return "standard-keys";
        case report::kLockedKeys: return "locked-keys";
        case report::kKeyFunctionsA: return "key-functions-0-11";
        case report::kKeyFunctionsB: return "key-functions-12-21";
        case report::kKeyFunctionsC: return "key-functions-37-41";
        case report::kLighting: return "lighting";
        case report::kWholeKeyboard: return "whole-keyboard";
        case device::kDeviceInfoReportId: return "device-info";
        case report::kHostState: return "host-state";
        case report::kSyncToken: return "sync-token";
        case report::kVolume: return "volume";
        case report::kMacro: return "macro";
        case report::kLaunch: return "launch";
        case device::kUpdateCommandReportId: return "update-command";
        case device::kUpdateStatusReportId: return "update-status";
        default: return Format("report-0x%02X", reportId);
    }
}

std::string DescribeReport(const std::uint8_t* report, std::size_t length, bool fromHost) {
    const std::string direction = fromHost ? "SET " : "GET ";
    if (length == 0) return direction + "empty";
    if (length < report::LengthOf(report[0])) return direction + ReportName(report[0], fromHost) + " (short)";
    if (report[0] == device::kUpdateCommandReportId && fromHost && length == device::kUpdateCommandReportLength) {
        return direction + DescribeUpdateCommand(report);
    }
    return direction + ReportName(report[0], fromHost) + Details(report, fromHost);
}

}  // namespace brenik::vkb
