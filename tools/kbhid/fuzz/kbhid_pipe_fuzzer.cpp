// What kbhid.dll takes from outside: the server's replies on the pipe (framing, the event
// batches its monitor thread relays as window messages, feature reports), and on hardware the
// input reports and padded feature replies of the keyboard.
//
// Input: a byte of options (bit 0: the keyboard was present when the monitor started), the
// id and 16-bit length of the report the caller asked for, then the message.
//
// Properties:
// - an accepted reply or event batch encodes back to exactly the bytes received, and every
//   refusal says why;
// - a batch holds at most 256 events; the relay passes its key events in order, never tells
//   the window the same presence twice in a row, and ends with the batch's presence and cursor;
// - a feature reply reaches the caller's buffer only whole, of the report asked for, and
//   nothing is written past the caller's length (the buffer is exactly that long);
// - an event report is taken only at its id, long enough, and with a class.

#include "event_relay.h"
#include "feature_report_buffer.h"
#include "fuzz_input.h"
#include "input_report_decoder.h"
#include "pipe_protocol.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace brenik::kbhid {
namespace {

namespace pipe = vkb::pipe;

class RecordingSink final : public IEventSink {
public:
    explicit RecordingSink(bool plugged) : plugged_(plugged) {}
    void KeyEvent(std::uint16_t eventClass, std::uint16_t subCode) override { keys.push_back({eventClass, subCode}); }
    void DeviceChanged(bool arrived) override {
        FUZZ_CHECK(arrived != plugged_);  // never the same news twice
        plugged_ = arrived;
    }
    bool Plugged() const { return plugged_; }
    std::vector<std::pair<std::uint16_t, std::uint16_t>> keys;

private:
    bool plugged_;
};

void CheckEvents(const pipe::Bytes& payload, bool pluggedAtStart) {
    pipe::EventBatch batch;
    std::string reason;
    if (!pipe::DecodeEventBatch(payload, batch, reason)) {
        FUZZ_CHECK(!reason.empty());
        return;
    }
    FUZZ_CHECK(batch.events.size() <= pipe::kMaxEventsPerReply);
    FUZZ_CHECK(pipe::EncodeEventBatch(batch) == payload);
    RecordingSink sink(pluggedAtStart);
    EventRelay relay(pluggedAtStart);
    relay.OnBatch(batch, sink);
    FUZZ_CHECK(relay.Plugged() == batch.plugged && sink.Plugged() == batch.plugged);
    FUZZ_CHECK(relay.Cursor() == batch.nextCursor);
    std::size_t k = 0;
    for (const pipe::Event& event : batch.events) {
        if (event.kind != pipe::EventKind::kKeyEvent) continue;
        FUZZ_CHECK(k < sink.keys.size() && sink.keys[k] == std::make_pair(event.eventClass, event.subCode));
        ++k;
    }
    FUZZ_CHECK(k == sink.keys.size());
    relay.OnServerLost(sink);
    FUZZ_CHECK(!relay.Plugged() && !sink.Plugged() && relay.Cursor() == 0);
}

void CheckFeatureReply(const pipe::Bytes& reply, std::uint8_t id, std::size_t length) {
    if (length == 0) return;
    std::vector<std::uint8_t> buffer(length, 0xA5);
    buffer[0] = id;
    const std::vector<std::uint8_t> before = buffer;
    const bool copied = CopyFeatureReply(reply, buffer.data(), buffer.size());
    FUZZ_CHECK(copied == (reply.size() >= length && reply[0] == id));
    if (copied) {
        FUZZ_CHECK(std::equal(buffer.begin(), buffer.end(), reply.begin()));
    } else {
        FUZZ_CHECK(buffer == before);
    }
    // The way out: a report padded to a collection's length, or refused.
    std::vector<std::uint8_t> padded;
    const bool fits = PadFeatureReport(reply.data(), reply.size(), length, padded);
    FUZZ_CHECK(fits == (!reply.empty() && reply.size() <= length));
    if (fits) {
        FUZZ_CHECK(padded.size() == length && std::equal(reply.begin(), reply.end(), padded.begin()));
        FUZZ_CHECK(std::all_of(padded.begin() + static_cast<std::ptrdiff_t>(reply.size()), padded.end(),
                               [](std::uint8_t b) { return b == 0; }));
    } else if (!reply.empty()) {
        FUZZ_CHECK(test::DebugLinesContain("does not fit"));
    }
}

void CheckEventReport(const pipe::Bytes& report, std::uint8_t id) {
    // Exactly as long as it came, so a read past its end is caught.
    std::vector<std::uint8_t> exact(report.begin(), report.end());
    KeyEvent event;
    const bool taken = DecodeEventReport(exact.empty() ? nullptr : exact.data(), exact.size(), id, event);
    if (!taken) return;
    FUZZ_CHECK(exact.size() >= kEventReportMinBytes && exact[0] == id && event.eventClass != 0);
    FUZZ_CHECK(event.eventClass == (exact[1] | exact[2] << 8) && event.subCode == (exact[3] | exact[4] << 8));
}

}  // namespace
}  // namespace brenik::kbhid

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brenik::kbhid;
    namespace pipe = brenik::vkb::pipe;
    brenik::test::StartInput();
    brenik::test::FuzzInput input(data, size);
    const bool pluggedAtStart = input.Flag();
    const std::uint8_t id = input.Byte();
    const std::size_t length = input.Word() % (pipe::kMaxReportBytes + 1);
    const std::string_view message = input.Rest();
    const pipe::Bytes bytes(message.begin(), message.end());

    CheckEventReport(bytes, id);
    CheckFeatureReply(bytes, id, length);

    pipe::Reply reply;
    std::string reason;
    if (!pipe::DecodeReply(bytes.data(), bytes.size(), reply, reason)) {
        FUZZ_CHECK(!reason.empty());
        return 0;
    }
    FUZZ_CHECK(pipe::EncodeReply(reply) == bytes);
    if (reply.kind == pipe::Kind::kWaitEvents && reply.ok) CheckEvents(reply.payload, pluggedAtStart);
    if (reply.kind == pipe::Kind::kGetFeature && reply.ok) CheckFeatureReply(reply.payload, id, length);
    return 0;
}
