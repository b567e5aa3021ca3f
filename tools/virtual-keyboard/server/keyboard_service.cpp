#include "keyboard_service.h"

#include "control_command.h"
#include "debug_output.h"

#include <chrono>

namespace brenik::vkb {
namespace {

pipe::Event ToEvent(const HostNotice& notice) {
    switch (notice.kind) {
    case HostNotice::Kind::kArrived:
        return pipe::Event{pipe::EventKind::kArrived, 0, 0};
    case HostNotice::Kind::kRemoved:
        return pipe::Event{pipe::EventKind::kRemoved, 0, 0};
    case HostNotice::Kind::kKeyEvent:
        break;
    }
    return pipe::Event{pipe::EventKind::kKeyEvent, notice.eventClass, notice.subCode};
}

pipe::Reply Answer(pipe::Kind kind, bool ok, pipe::Bytes payload = {}) {
    pipe::Reply reply;
    reply.kind = kind;
    reply.ok = ok;
    reply.payload = std::move(payload);
    return reply;
}

}  // namespace

KeyboardService::KeyboardService(std::function<std::uint64_t()> nowMicroseconds) : keyboard_(std::move(nowMicroseconds)) {}

pipe::Bytes KeyboardService::HandleMessage(const std::uint8_t* data, std::size_t size) {
    pipe::Request request;
    std::string reason;
    if (!pipe::DecodeRequest(data, size, request, reason)) {
        DebugPrintf("vkbd-server refused a message of %zu bytes: %s\n", size, reason.c_str());
        return pipe::EncodeReply(pipe::TextReply(pipe::Kind::kRefused, false, reason));
    }
    return pipe::EncodeReply(Handle(request));
}

pipe::Reply KeyboardService::Handle(const pipe::Request& request) {
    switch (request.kind) {
    case pipe::Kind::kOpenDevice: {
        std::lock_guard<std::mutex> hold(lock_);
        return Answer(request.kind, keyboard_.IsPlugged());
    }
    case pipe::Kind::kCloseDevice: {
        std::lock_guard<std::mutex> hold(lock_);
        keyboard_.NoteHost("HOST close-device");
        return Answer(request.kind, true);
    }
    case pipe::Kind::kSetFeature:
        return SetFeature(request);
    case pipe::Kind::kGetFeature:
        return GetFeature(request);
    case pipe::Kind::kWaitEvents:
        return WaitEvents(request);
    case pipe::Kind::kControl:
        return Control(request);
    case pipe::Kind::kRefused:
        break;
    }
    return pipe::TextReply(pipe::Kind::kRefused, false, "not a request");
}

pipe::Reply KeyboardService::SetFeature(const pipe::Request& request) {
    std::lock_guard<std::mutex> hold(lock_);
    const bool ok = keyboard_.SetFeature(request.report.data(), request.report.size());
    CollectNotices();  // a fault may have unplugged the keyboard
    return Answer(request.kind, ok);
}

pipe::Reply KeyboardService::GetFeature(const pipe::Request& request) {
    std::lock_guard<std::mutex> hold(lock_);
    pipe::Bytes report(request.length, 0);
    report[0] = request.reportId;
    const bool ok = keyboard_.GetFeature(report.data(), report.size());
    CollectNotices();
    return Answer(request.kind, ok, ok ? std::move(report) : pipe::Bytes{});
}

pipe::Reply KeyboardService::WaitEvents(const pipe::Request& request) {
    std::unique_lock<std::mutex> hold(lock_);
    CollectNotices();
    const std::uint32_t end = firstSequence_ + static_cast<std::uint32_t>(log_.size());
    std::uint32_t cursor = request.cursor;
    if (cursor == 0 || cursor > end) cursor = end;
    if (cursor < firstSequence_) {
        DebugPrintf("vkbd-server: a client fell %u events behind; the oldest are gone\n", firstSequence_ - cursor);
        cursor = firstSequence_;
    }
    if (request.waitMs > 0) {
        logged_.wait_for(hold, std::chrono::milliseconds(request.waitMs), [&] {
            return stop_ || firstSequence_ + log_.size() > cursor;
        });
        // The log may have been trimmed past the cursor while this client waited.
        if (cursor < firstSequence_) cursor = firstSequence_;
    }
    pipe::EventBatch batch;
    batch.plugged = keyboard_.IsPlugged();
    while (cursor < firstSequence_ + log_.size() && batch.events.size() < pipe::kMaxEventsPerReply) {
        batch.events.push_back(log_[cursor - firstSequence_]);
        ++cursor;
    }
    batch.nextCursor = cursor;
    return Answer(request.kind, true, pipe::EncodeEventBatch(batch));
}

pipe::Reply KeyboardService::Control(const pipe::Request& request) {
    std::lock_guard<std::mutex> hold(lock_);
    const ControlResult result = RunControlCommand(keyboard_, SplitWords(request.command));
    CollectNotices();
    if (result.stop) {
        stop_ = true;
        logged_.notify_all();
    }
    if (!result.ok) DebugPrintf("vkbd-server: %s\n", result.text.c_str());
    return pipe::TextReply(request.kind, result.ok, result.text);
}

void KeyboardService::CollectNotices() {
    HostNotice notice;
    bool any = false;
    while (keyboard_.PopNotice(notice)) {
        log_.push_back(ToEvent(notice));
        any = true;
    }
    while (log_.size() > kMaxLoggedEvents) {
        log_.pop_front();
        ++firstSequence_;
    }
    if (any) logged_.notify_all();
}

bool KeyboardService::StopRequested() const {
    std::lock_guard<std::mutex> hold(lock_);
    return stop_;
}

void KeyboardService::RequestStop() {
    std::lock_guard<std::mutex> hold(lock_);
    stop_ = true;
    logged_.notify_all();
}

void KeyboardService::WithKeyboard(const std::function<void(VirtualKeyboard&)>& action) {
    std::lock_guard<std::mutex> hold(lock_);
    action(keyboard_);
    CollectNotices();
}

}  // namespace brenik::vkb
