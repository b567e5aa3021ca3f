#include "report_channel.h"

#include "debug_output.h"
#include "device_protocol.h"
#include "report_checksum.h"

#include <algorithm>

namespace brenik::monitor::device {

bool ReportChannel::SendReport(std::uint8_t* report, std::size_t length) { return transport_.SetFeature(report, length); }

bool ReportChannel::ReadReport(std::uint8_t* report, std::size_t length) { return transport_.GetFeature(report, length); }

void ReportChannel::SleepAbortable(unsigned milliseconds) {
    brenik::SleepAbortable(clock_, milliseconds, [this] { return IsJobAborted(); });
}

bool ReportChannel::WaitForReady(unsigned firstDelayMs) {
    bool ready = false;
    std::uint8_t lastStatus = 0;
    for (std::size_t poll = 0; poll < kPollSleepsMs.size(); ++poll) {
        SleepAbortable(poll == 0 ? firstDelayMs : kPollSleepsMs[poll]);
        if (IsJobAborted()) return false;
        std::uint8_t status[kSelectLength] = {kReportSelect};
        if (ReadReport(status, sizeof status)) {
            lastStatus = status[kStatusByte];
            ready = lastStatus == kStatusDone;
        } else {
            ready = false;
        }
        if (lastStatus != kStatusBusy) return ready;
    }
    return ready;
}

bool ReportChannel::WriteCommand(std::uint8_t* report, std::size_t length, unsigned settleMs, unsigned firstDelayMs) {
    std::lock_guard<TurnLock> hold(serial_);
    if (!SendReport(report, length)) return false;
    SleepAbortable(settleMs);
    return WaitForReady(firstDelayMs);
}

bool ReportChannel::ReadDirect(std::uint8_t id, std::uint8_t* buffer, std::size_t length) {
    std::lock_guard<TurnLock> hold(serial_);
    std::fill(buffer, buffer + length, std::uint8_t{0});
    buffer[0] = id;
    return ReadReport(buffer, length);
}

bool ReportChannel::SelectAndRead(std::uint8_t profile, std::uint8_t selector, std::uint8_t id, std::uint8_t* buffer,
                                  std::size_t length, unsigned firstDelayMs) {
    std::lock_guard<TurnLock> hold(serial_);
    std::uint8_t select[kSelectLength] = {kReportSelect, profile, selector};
    const bool sent = SendReport(select, sizeof select);
    clock_.SleepMs(kSelectPauseMs);  // not abortable, and paid also when the send failed
    if (!sent) return false;
    WaitForReady(firstDelayMs);  // the read follows whatever it says
    std::fill(buffer, buffer + length, std::uint8_t{0});
    buffer[0] = id;
    if (!ReadReport(buffer, length)) return false;
    if (id == kReportMacro && !ChecksumMatches(buffer, length)) {
        DebugPrintf("Device refused a macro reply (profile %u, key %u): checksum wrong\n", profile, selector);
        return false;
    }
    return true;
}

}  // namespace brenik::monitor::device
