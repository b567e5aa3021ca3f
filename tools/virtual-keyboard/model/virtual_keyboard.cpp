#include "virtual_keyboard.h"

#include "debug_output.h"
#include "keyboard_device_constants.h"
#include "keyboard_state.h"
#include "monitor_commands.h"
#include "report_description.h"
#include "wire_bytes.h"

#include <algorithm>
#include <string>
#include <utility>

namespace brenik::vkb {
namespace {

constexpr std::size_t kMaxNotices = 4096;  // a host that never collects them must not grow us without end

bool Readable(std::uint8_t id) {
    switch (id) {
        case report::kWholeKeyboard:
        case report::kHostState:
        case report::kVolume:
        case device::kUpdateCommandReportId: return false;
        default: return true;
    }
}

bool Writable(std::uint8_t id) { return id != device::kDeviceInfoReportId && id != device::kUpdateStatusReportId; }

}  // namespace

VirtualKeyboard::VirtualKeyboard(std::function<std::uint64_t()> nowMicroseconds)
    : state_(std::make_unique<KeyboardState>(std::move(nowMicroseconds))) {}

VirtualKeyboard::~VirtualKeyboard() = default;

// ---- Host side

// Why a call that reached the keyboard is refused before its content is looked at, or "".
std::string VirtualKeyboard::CallRefusal(bool fromHost, std::uint8_t id, std::size_t length) {
    if (!state_->plugged) return "keyboard unplugged";
    CountReport();
    if (fromHost && state_->faults.refuseSends.Take()) return "send refused (injected)";
    if (!fromHost && state_->faults.refuseReads.Take()) return "read refused (injected)";
    const std::size_t expected = report::LengthOf(id);
    if (expected == 0) return "unknown report id";
    if (length != expected) return "wrong length " + std::to_string(length) + ", expects " + std::to_string(expected);
    if (fromHost && !Writable(id)) return "report cannot be written";
    if (!fromHost && !Readable(id)) return "report cannot be read";
    return "";
}

bool VirtualKeyboard::SetFeature(const std::uint8_t* report, std::size_t length) {
    if (report == nullptr || length == 0) return Refuse(true, nullptr, 0, "no report");
    const std::uint8_t id = report[0];
    const std::string refusal = CallRefusal(true, id, length);
    if (!refusal.empty()) return Refuse(true, report, length, refusal);

    std::string described = DescribeReport(report, length, true);
    if (id == device::kUpdateCommandReportId && report[1] == device::kDfuBlockData && state_->update.HeaderPending()) {
        described += " block=" + std::to_string(state_->update.BlocksReceived());
    }
    std::string outcome;
    if (id == device::kUpdateCommandReportId) {
        outcome = CarryOutUpdateCommand(report);
    } else {
        outcome = CarryOutMonitorCommand(report);
    }
    Record(true, true, report, length, described + outcome);
    if (!outcome.empty()) DebugPrintf("VirtualKeyboard %s%s\n", described.c_str(), outcome.c_str());
    UnplugIfDue();
    return true;
}

bool VirtualKeyboard::GetFeature(std::uint8_t* report, std::size_t length) {
    if (report == nullptr || length == 0) return Refuse(false, nullptr, 0, "no buffer");
    const std::uint8_t id = report[0];
    const std::string refusal = CallRefusal(false, id, length);
    if (!refusal.empty()) return Refuse(false, report, length, refusal);

    std::vector<std::uint8_t> reply(length, 0);
    reply[0] = id;
    std::string why;
    if (!BuildReply(reply.data(), why)) return Refuse(false, report, length, why);
    std::copy(reply.begin(), reply.end(), report);
    Record(false, true, reply.data(), reply.size(), DescribeReport(reply.data(), reply.size(), false));
    UnplugIfDue();
    return true;
}

bool VirtualKeyboard::BuildReply(std::uint8_t* reply, std::string& why) {
    KeyboardState& s = *state_;
    // Busy forever holds from the moment it is set, also for a command already answered.
    if (reply[0] == report::kSelect) {
        reply[1] = s.faults.busyAnswers < 0 ? kStatusBusy : s.status.Poll();
    } else if (reply[0] == device::kUpdateStatusReportId) {
        reply[1] = s.faults.busyAnswers < 0 ? kStatusBusy : s.updateStatus.Poll();
    } else if (!BuildMonitorReply(s, reply, why)) {
        return false;
    }
    if (ApplyReplyPatches(s.faults, reply) && reply[0] == report::kMacro) {
        // A patched macro reply stays consistent, so the host judges its content, not its sum.
        WriteLe16(reply + report::kMacroChecksumOffset, Sum16(reply, report::kMacroChecksumOffset));
    }
    if (reply[0] == report::kMacro && s.faults.corruptMacroReplies.Take()) {
        ++reply[report::kMacroChecksumOffset];  // one off: the host must notice
    }
    return true;
}

// Returns what the trace line adds: nothing for a command done, else the failed status and why.
std::string VirtualKeyboard::CarryOutMonitorCommand(const std::uint8_t* report) {
    KeyboardState& s = *state_;
    CommandResult result;
    if (s.faults.failCommands.Take()) {
        result = CommandResult{s.faults.failStatus, "failure injected"};
    } else {
        result = ApplyMonitorWrite(s, report);
    }
    s.status.Complete(result.status, s.faults.busyAnswers);
    if (result.status == kStatusDone) return "";
    return " -> status " + std::to_string(result.status) + ": " + result.why;
}

std::string VirtualKeyboard::CarryOutUpdateCommand(const std::uint8_t* report) {
    KeyboardState& s = *state_;
    std::uint8_t status = 0;
    std::string why;
    if (s.faults.resendUpdateCommands.Take()) {
        status = device::kDfuStatusResend;
        why = "resend injected";
    } else if (s.faults.failCommands.Take()) {
        status = s.faults.failStatus;
        why = "failure injected";
    } else {
        status = s.update.Handle(report);
        why = s.update.LastRefusal();
    }
    s.updateStatus.Complete(status, s.faults.busyAnswers);
    if (status == device::kDfuStatusOk) return "";
    return " -> status " + std::to_string(status) + ": " + why;
}

bool VirtualKeyboard::Refuse(bool fromHost, const std::uint8_t* report, std::size_t length, const std::string& why) {
    std::string line;
    if (report == nullptr) {
        line = std::string(fromHost ? "SET" : "GET") + " nothing";
    } else {
        line = std::string(fromHost ? "SET " : "GET ") + ReportName(report[0], fromHost) + " length=" + std::to_string(length);
    }
    line += " refused: " + why;
    // A wrong length may be a lie about the buffer: then only byte 0 is kept. A read request
    // holds nothing but its id.
    std::size_t kept = 0;
    if (report != nullptr) kept = (fromHost && length == report::LengthOf(report[0])) ? length : 1;
    Record(fromHost, false, report, kept, line);
    DebugPrintf("VirtualKeyboard %s\n", line.c_str());
    if (report != nullptr) UnplugIfDue();
    return false;
}

void VirtualKeyboard::Record(bool fromHost, bool accepted, const std::uint8_t* bytes, std::size_t length, std::string line) {
    TraceEntry entry;
    entry.timeMicroseconds = state_->clock ? state_->clock() : 0;
    entry.fromHost = fromHost;
    entry.accepted = accepted;
    if (bytes != nullptr) entry.bytes.assign(bytes, bytes + length);
    entry.line = std::move(line);
    state_->trace.Add(std::move(entry));
}

// Counts a report that reached a plugged keyboard towards an injected unplug.
void VirtualKeyboard::CountReport() {
    if (state_->faults.unplugAfterReports > 0) --state_->faults.unplugAfterReports;
    else return;
    if (state_->faults.unplugAfterReports == 0) unplugDue_ = true;
}

void VirtualKeyboard::UnplugIfDue() {
    if (!unplugDue_) return;
    unplugDue_ = false;
    Unplug();
}

// ---- Presence

bool VirtualKeyboard::IsPlugged() const { return state_->plugged; }

void VirtualKeyboard::Plug() {
    if (state_->plugged) return;
    state_->plugged = true;
    QueueNotice(HostNotice{HostNotice::Kind::kArrived, 0, 0});
}

void VirtualKeyboard::Unplug() {
    if (!state_->plugged) return;
    state_->plugged = false;
    state_->LoseVolatileState();
    QueueNotice(HostNotice{HostNotice::Kind::kRemoved, 0, 0});
}

bool VirtualKeyboard::PopNotice(HostNotice& notice) {
    if (state_->notices.empty()) return false;
    notice = state_->notices.front();
    state_->notices.pop_front();
    return true;
}

void VirtualKeyboard::QueueNotice(const HostNotice& notice) {
    if (state_->notices.size() == kMaxNotices) {
        state_->notices.pop_front();
        DebugPrintf("VirtualKeyboard dropped the oldest notice: the host collects none\n");
    }
    state_->notices.push_back(notice);
}

// ---- Faults

void VirtualKeyboard::SetBusyAnswers(int count) { state_->faults.busyAnswers = count < 0 ? kForever : count; }

void VirtualKeyboard::FailCommands(int count, std::uint8_t status) {
    state_->faults.failCommands.Set(count);
    state_->faults.failStatus = status;
}

void VirtualKeyboard::RefuseSends(int count) { state_->faults.refuseSends.Set(count); }
void VirtualKeyboard::RefuseReads(int count) { state_->faults.refuseReads.Set(count); }
void VirtualKeyboard::CorruptMacroReplies(int count) { state_->faults.corruptMacroReplies.Set(count); }
void VirtualKeyboard::ResendUpdateCommands(int count) { state_->faults.resendUpdateCommands.Set(count); }

void VirtualKeyboard::UnplugAfterReports(int count) {
    unplugDue_ = false;
    if (count == 0) {
        state_->faults.unplugAfterReports = 0;
        Unplug();
        return;
    }
    state_->faults.unplugAfterReports = count < 0 ? 0 : count;  // "forever" would never come: off
}

void VirtualKeyboard::PatchReplies(std::uint8_t reportId, std::size_t offset, std::uint8_t value, int count) {
    if (offset == 0 || offset >= report::LengthOf(reportId)) {
        DebugPrintf("VirtualKeyboard refused a patch of report %u at byte %zu\n", reportId, offset);
        return;
    }
    state_->faults.replyPatches.push_back(ReplyPatch{reportId, offset, value, {}});
    state_->faults.replyPatches.back().uses.Set(count);
}

void VirtualKeyboard::ClearFaults() {
    state_->faults = FaultPlan{};
    unplugDue_ = false;
}

// ---- Inspection and set-up

const ProtocolTrace& VirtualKeyboard::Trace() const { return state_->trace; }
void VirtualKeyboard::ClearTrace() { state_->trace.Clear(); }

void VirtualKeyboard::NoteHost(const std::string& line) { Record(true, true, nullptr, 0, line); }
const std::vector<std::uint8_t>& VirtualKeyboard::FirmwareImage() const { return state_->update.FinishedImage(); }
int VirtualKeyboard::FinishedUpdates() const { return state_->update.FinishedCount(); }
void VirtualKeyboard::SetFirmwareVersion(std::uint8_t version) { state_->firmwareVersion = version; }

void VirtualKeyboard::FactoryReset() {
    const KeyboardState fresh(state_->clock);
    state_->profiles = fresh.profiles;
    state_->currentProfile = fresh.currentProfile;
    state_->token = fresh.token;
}
void VirtualKeyboard::SetDfuVersion(std::uint8_t version) { state_->dfuVersion = version; }
void VirtualKeyboard::SetDeviceValue(std::uint8_t value) { state_->deviceValue = value; }

int VirtualKeyboard::CurrentProfile() const { return state_->currentProfile; }
bool VirtualKeyboard::ExtendedLayer() const { return state_->extendedLayer; }
bool VirtualKeyboard::InUpdateMode() const { return state_->update.Active(); }
std::uint8_t VirtualKeyboard::HostState() const { return state_->hostState; }
int VirtualKeyboard::Volume() const { return state_->volume; }
int VirtualKeyboard::VolumeLevel() const { return state_->volumeLevel; }
std::array<std::uint8_t, 16> VirtualKeyboard::SyncToken() const { return state_->token; }
int VirtualKeyboard::WholeKeyboardCommands() const { return state_->wholeKeyboardCommands; }
int VirtualKeyboard::CountdownStepNow() const { return state_->countdownStep; }

std::uint8_t VirtualKeyboard::LockedKeys(int profile) const {
    if (profile < 0 || profile >= report::kProfileCount) return 0;
    return state_->profiles[static_cast<std::size_t>(profile)].lockedKeys;
}

}  // namespace brenik::vkb
