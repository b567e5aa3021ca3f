#pragma once
// The messages between kbhid.dll and the virtual keyboard's server, one request and one
// reply per named-pipe transaction (the pipe runs in message mode, so a message arrives
// whole or not at all). Encoding and decoding are pure byte work, checked here once for
// both sides; nothing a peer sends is trusted before Decode has accepted it.
//
// Header of both directions, 6 bytes: kind, result (requests: 0), payload length as 32 bits
// little-endian. Payloads:
//   kOpenDevice   request: none.                       reply: none; result 1 = plugged in.
//   kCloseDevice  request: none.                       reply: none; the host let go of the device.
//   kSetFeature   request: the report (byte 0 its id).  reply: none; result 1 = accepted.
//   kGetFeature   request: report id, length (16 bits). reply: the report, exactly that long.
//   kWaitEvents   request: cursor (32), wait ms (16).  reply: next cursor (32), plugged (8),
//                 count (16), then per event: kind (8), class (16), sub-code (16).
//   kControl      request: a control command line.     reply: its text answer.
//   kRefused      reply only: the request could not be decoded; payload a short reason.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brenik::vkb::pipe {

// "\\.\pipe\" + this, unless kbhid.ini or the server's command line names another.
constexpr const char* kDefaultPipeName = "BrenikVirtualKeyboard";

constexpr std::size_t kHeaderBytes = 6;
// Larger than every feature report of the keyboard (the macro report has 1674 bytes).
constexpr std::size_t kMaxReportBytes = 4096;
constexpr std::size_t kMaxCommandChars = 1024;
// A dump or a long trace travels in one reply.
constexpr std::size_t kMaxReplyPayloadBytes = 32u * 1024u * 1024u;
constexpr std::size_t kMaxRequestBytes = kHeaderBytes + kMaxReportBytes;
constexpr std::uint16_t kMaxWaitMs = 5000;
constexpr std::size_t kMaxEventsPerReply = 256;

enum class Kind : std::uint8_t {
    kOpenDevice = 1,
    kSetFeature = 2,
    kGetFeature = 3,
    kWaitEvents = 4,
    kControl = 5,
    kCloseDevice = 6,
    kRefused = 0xFF,
};

enum class EventKind : std::uint8_t { kKeyEvent = 1, kArrived = 2, kRemoved = 3 };

struct Event {
    EventKind kind = EventKind::kKeyEvent;
    std::uint16_t eventClass = 0;
    std::uint16_t subCode = 0;
    bool operator==(const Event& other) const {
        return kind == other.kind && eventClass == other.eventClass && subCode == other.subCode;
    }
};

struct Request {
    Kind kind = Kind::kOpenDevice;
    std::vector<std::uint8_t> report;  // kSetFeature
    std::uint8_t reportId = 0;         // kGetFeature
    std::uint16_t length = 0;          // kGetFeature
    std::uint32_t cursor = 0;          // kWaitEvents: 0 = from now on
    std::uint16_t waitMs = 0;          // kWaitEvents
    std::string command;               // kControl
};

struct EventBatch {
    std::uint32_t nextCursor = 0;
    bool plugged = false;
    std::vector<Event> events;
};

struct Reply {
    Kind kind = Kind::kRefused;
    bool ok = false;
    std::vector<std::uint8_t> payload;  // report bytes, encoded events or text
};

using Bytes = std::vector<std::uint8_t>;

Bytes EncodeRequest(const Request& request);
// False, with the reason, for anything not exactly as the table above says.
bool DecodeRequest(const std::uint8_t* data, std::size_t size, Request& request, std::string& reason);

Bytes EncodeReply(const Reply& reply);
bool DecodeReply(const std::uint8_t* data, std::size_t size, Reply& reply, std::string& reason);

Bytes EncodeEventBatch(const EventBatch& batch);
bool DecodeEventBatch(const Bytes& payload, EventBatch& batch, std::string& reason);

// Convenience for replies that carry text.
Reply TextReply(Kind kind, bool ok, std::string_view text);
std::string ReplyText(const Reply& reply);

}  // namespace brenik::vkb::pipe
