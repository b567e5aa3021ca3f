#pragma once
// ReportChannel: the frame every monitor command shares. Reports go out and come in through
// the transport; a write is followed by the status handshake, a read of settings by a
// select request first; every wait is abortable through the job-abort flag, in 100 ms slices.
//
// Device access is serialised here: WriteCommand, SelectAndRead and ReadDirect each hold the
// channel for the whole command (a write with its pause and handshake, a select with its
// handshake and read), so a command from the window thread (the token check, the volume, the
// host state) can never fall between a job's select request and its data read and take the
// keyboard's selection for itself. The window thread waits at most for the command in
// progress, never for a whole job.

#include "device_clock.h"
#include "feature_reports.h"
#include "turn_lock.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace brenik::monitor::device {

class ReportChannel {
public:
    ReportChannel(hid::IFeatureReports& transport, IDeviceClock& clock, const std::atomic<int>& abortFlag)
        : transport_(transport), clock_(clock), abort_(abortFlag) {}
    ReportChannel(const ReportChannel&) = delete;
    ReportChannel& operator=(const ReportChannel&) = delete;

    // ---- The building blocks (not serialised on their own).
    bool SendReport(std::uint8_t* report, std::size_t length);
    bool ReadReport(std::uint8_t* report, std::size_t length);
    bool IsJobAborted() const { return abort_.load() != 0; }
    // Sleeps ms / 100 slices of 100 ms, ending early once the abort flag is set (abortable_sleep.h).
    void SleepAbortable(unsigned milliseconds);
    // The status handshake: true only if the keyboard answered "done".
    bool WaitForReady(unsigned firstDelayMs);

    // ---- Whole commands, each holding the channel from its first report to its last.
    // Sends the report; if accepted, pauses settleMs (abortable), then runs the handshake.
    bool WriteCommand(std::uint8_t* report, std::size_t length, unsigned settleMs, unsigned firstDelayMs);
    // Reads a report that needs no select request; byte 0 of the buffer is set to id.
    bool ReadDirect(std::uint8_t id, std::uint8_t* buffer, std::size_t length);
    // Select request [4, profile, selector], 100 ms, handshake (its result ignored), then
    // the data report `id` into buffer. A macro reply must carry its checksum.
    bool SelectAndRead(std::uint8_t profile, std::uint8_t selector, std::uint8_t id, std::uint8_t* buffer,
                       std::size_t length, unsigned firstDelayMs);

    IDeviceClock& Clock() { return clock_; }

private:
    hid::IFeatureReports& transport_;
    IDeviceClock& clock_;
    const std::atomic<int>& abort_;
    TurnLock serial_;  // in turns, so the window thread waits for one command at most
};

}  // namespace brenik::monitor::device
