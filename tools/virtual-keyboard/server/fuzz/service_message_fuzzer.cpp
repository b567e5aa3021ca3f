// The virtual keyboard's server as its pipe clients reach it: any messages in any order, the
// control commands among them, each handled whole as the pipe server hands it over.
//
// Input: messages, each a 16-bit length and that many bytes. A request to wait for events
// has its wait set to 0 (time is not the input's; a wait would hold the run for seconds).
//
// Properties:
// - every answer is a well-formed reply of the request's kind, or a refusal with a debugger
//   line saying why;
// - a feature read answers exactly the length asked for, beginning with the id asked for;
// - an event reply is a valid batch, and cursors only move forward;
// - a refused control command says why in its text; "stop" and only "stop" stops the server.

#include "control_command.h"
#include "fuzz_input.h"
#include "keyboard_service.h"
#include "pipe_protocol.h"

#include <algorithm>
#include <vector>

namespace {

namespace pipe = brenik::vkb::pipe;
using brenik::test::FuzzInput;

constexpr std::size_t kWaitFieldOffset = pipe::kHeaderBytes + 4;

void CheckAnswer(const pipe::Request& request, const pipe::Reply& reply, std::uint32_t& cursor, bool& stopSeen) {
    FUZZ_CHECK(reply.kind == request.kind);
    switch (request.kind) {
    case pipe::Kind::kGetFeature:
        if (reply.ok) FUZZ_CHECK(reply.payload.size() == request.length && reply.payload[0] == request.reportId);
        if (!reply.ok) FUZZ_CHECK(reply.payload.empty());
        break;
    case pipe::Kind::kWaitEvents: {
        pipe::EventBatch batch;
        std::string reason;
        FUZZ_CHECK(reply.ok && pipe::DecodeEventBatch(reply.payload, batch, reason));
        if (request.cursor != 0 && request.cursor >= cursor) FUZZ_CHECK(batch.nextCursor >= cursor);
        cursor = std::max(cursor, batch.nextCursor);
        break;
    }
    case pipe::Kind::kControl: {
        const std::string text = pipe::ReplyText(reply);
        const bool stop = brenik::vkb::SplitWords(request.command) == std::vector<std::string>{"stop"};
        if (stop) stopSeen = true;
        if (!reply.ok) FUZZ_CHECK(!text.empty());
        break;
    }
    default: FUZZ_CHECK(reply.payload.empty()); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    brenik::test::StartInput();
    FuzzInput input(data, size);
    brenik::vkb::KeyboardService service([] { return std::uint64_t{0}; });
    std::uint32_t cursor = 0;
    bool stopSeen = false;

    for (int step = 0; step < 16 && !input.Empty(); ++step) {
        const std::string_view piece = input.Bytes(input.Word());
        std::vector<std::uint8_t> message(piece.begin(), piece.end());
        if (message.size() == kWaitFieldOffset + 2 && message[0] == static_cast<std::uint8_t>(pipe::Kind::kWaitEvents)) {
            message[kWaitFieldOffset] = 0;
            message[kWaitFieldOffset + 1] = 0;
        }
        brenik::test::ClearDebugLines();
        const pipe::Bytes answer = service.HandleMessage(message.data(), message.size());

        pipe::Reply reply;
        std::string reason;
        FUZZ_CHECK(pipe::DecodeReply(answer.data(), answer.size(), reply, reason));
        pipe::Request request;
        if (!pipe::DecodeRequest(message.data(), message.size(), request, reason)) {
            FUZZ_CHECK(reply.kind == pipe::Kind::kRefused && !reply.ok);
            FUZZ_CHECK(brenik::test::DebugLinesContain("vkbd-server refused"));
            continue;
        }
        CheckAnswer(request, reply, cursor, stopSeen);
        FUZZ_CHECK(service.StopRequested() == stopSeen);
    }
    return 0;
}
