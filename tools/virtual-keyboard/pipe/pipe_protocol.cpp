#include "pipe_protocol.h"

namespace brenik::vkb::pipe {
namespace {

constexpr std::size_t kGetFeaturePayload = 3;
constexpr std::size_t kWaitEventsPayload = 6;
constexpr std::size_t kBatchHeaderBytes = 7;
constexpr std::size_t kEventBytes = 5;

void Put16(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

std::uint16_t Get16(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] | (at[1] << 8)); }

std::uint32_t Get32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

Bytes Frame(Kind kind, std::uint8_t result, const Bytes& payload) {
    Bytes out;
    out.reserve(kHeaderBytes + payload.size());
    out.push_back(static_cast<std::uint8_t>(kind));
    out.push_back(result);
    Put32(out, static_cast<std::uint32_t>(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

// Checks the header against the message's size; on success payload points past it.
bool Unframe(const std::uint8_t* data, std::size_t size, std::size_t maxPayload, std::uint8_t& kind,
             std::uint8_t& result, const std::uint8_t*& payload, std::size_t& payloadSize, std::string& reason) {
    if (data == nullptr || size < kHeaderBytes) {
        reason = "message shorter than its header";
        return false;
    }
    const std::uint32_t declared = Get32(data + 2);
    if (declared > maxPayload) {
        reason = "payload of " + std::to_string(declared) + " bytes is too long";
        return false;
    }
    if (declared != size - kHeaderBytes) {
        reason = "payload length " + std::to_string(declared) + " does not match the " +
                 std::to_string(size - kHeaderBytes) + " bytes received";
        return false;
    }
    kind = data[0];
    result = data[1];
    payload = data + kHeaderBytes;
    payloadSize = declared;
    return true;
}

bool IsPrintableCommand(const std::uint8_t* text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if (text[i] < 0x20 || text[i] > 0x7E) return false;
    }
    return true;
}

bool DecodeRequestPayload(Kind kind, const std::uint8_t* payload, std::size_t size, Request& request,
                          std::string& reason) {
    switch (kind) {
    case Kind::kOpenDevice:
    case Kind::kCloseDevice:
        if (size != 0) reason = "open or close request with a payload";
        return size == 0;
    case Kind::kSetFeature:
        if (size == 0 || size > kMaxReportBytes) {
            reason = "set-feature report of " + std::to_string(size) + " bytes";
            return false;
        }
        request.report.assign(payload, payload + size);
        return true;
    case Kind::kGetFeature:
        if (size != kGetFeaturePayload) {
            reason = "get-feature request of " + std::to_string(size) + " bytes";
            return false;
        }
        request.reportId = payload[0];
        request.length = Get16(payload + 1);
        if (request.length == 0 || request.length > kMaxReportBytes) {
            reason = "get-feature length " + std::to_string(request.length);
            return false;
        }
        return true;
    case Kind::kWaitEvents:
        if (size != kWaitEventsPayload) {
            reason = "wait-events request of " + std::to_string(size) + " bytes";
            return false;
        }
        request.cursor = Get32(payload);
        request.waitMs = Get16(payload + 4);
        if (request.waitMs > kMaxWaitMs) {
            reason = "wait of " + std::to_string(request.waitMs) + " ms";
            return false;
        }
        return true;
    case Kind::kControl:
        if (size == 0 || size > kMaxCommandChars || !IsPrintableCommand(payload, size)) {
            reason = "control command empty, too long or not printable";
            return false;
        }
        request.command.assign(reinterpret_cast<const char*>(payload), size);
        return true;
    case Kind::kRefused:
        break;
    }
    reason = "unknown request kind " + std::to_string(static_cast<unsigned>(kind));
    return false;
}

bool IsKnownRequestKind(std::uint8_t kind) {
    return kind >= static_cast<std::uint8_t>(Kind::kOpenDevice) && kind <= static_cast<std::uint8_t>(Kind::kCloseDevice);
}

}  // namespace

Bytes EncodeRequest(const Request& request) {
    Bytes payload;
    switch (request.kind) {
    case Kind::kSetFeature:
        payload = request.report;
        break;
    case Kind::kGetFeature:
        payload.push_back(request.reportId);
        Put16(payload, request.length);
        break;
    case Kind::kWaitEvents:
        Put32(payload, request.cursor);
        Put16(payload, request.waitMs);
        break;
    case Kind::kControl:
        payload.assign(request.command.begin(), request.command.end());
        break;
    case Kind::kOpenDevice:
    case Kind::kCloseDevice:
    case Kind::kRefused:
        break;
    }
    return Frame(request.kind, 0, payload);
}

bool DecodeRequest(const std::uint8_t* data, std::size_t size, Request& request, std::string& reason) {
    std::uint8_t kind = 0;
    std::uint8_t result = 0;
    const std::uint8_t* payload = nullptr;
    std::size_t payloadSize = 0;
    if (!Unframe(data, size, kMaxReportBytes, kind, result, payload, payloadSize, reason)) return false;
    if (!IsKnownRequestKind(kind)) {
        reason = "unknown request kind " + std::to_string(kind);
        return false;
    }
    if (result != 0) {
        reason = "request with a result byte";
        return false;
    }
    Request decoded;
    decoded.kind = static_cast<Kind>(kind);
    if (!DecodeRequestPayload(decoded.kind, payload, payloadSize, decoded, reason)) return false;
    request = std::move(decoded);
    return true;
}

Bytes EncodeReply(const Reply& reply) { return Frame(reply.kind, reply.ok ? 1 : 0, reply.payload); }

bool DecodeReply(const std::uint8_t* data, std::size_t size, Reply& reply, std::string& reason) {
    std::uint8_t kind = 0;
    std::uint8_t result = 0;
    const std::uint8_t* payload = nullptr;
    std::size_t payloadSize = 0;
    if (!Unframe(data, size, kMaxReplyPayloadBytes, kind, result, payload, payloadSize, reason)) return false;
    if (!IsKnownRequestKind(kind) && kind != static_cast<std::uint8_t>(Kind::kRefused)) {
        reason = "unknown reply kind " + std::to_string(kind);
        return false;
    }
    if (result > 1) {
        reason = "result byte " + std::to_string(result);
        return false;
    }
    reply.kind = static_cast<Kind>(kind);
    reply.ok = result == 1;
    reply.payload.assign(payload, payload + payloadSize);
    return true;
}

Bytes EncodeEventBatch(const EventBatch& batch) {
    Bytes out;
    Put32(out, batch.nextCursor);
    out.push_back(batch.plugged ? 1 : 0);
    Put16(out, static_cast<std::uint16_t>(batch.events.size()));
    for (const Event& event : batch.events) {
        out.push_back(static_cast<std::uint8_t>(event.kind));
        Put16(out, event.eventClass);
        Put16(out, event.subCode);
    }
    return out;
}

bool DecodeEventBatch(const Bytes& payload, EventBatch& batch, std::string& reason) {
    if (payload.size() < kBatchHeaderBytes) {
        reason = "event batch shorter than its header";
        return false;
    }
    const std::size_t count = Get16(payload.data() + 5);
    if (count > kMaxEventsPerReply || payload.size() != kBatchHeaderBytes + count * kEventBytes) {
        reason = "event batch of " + std::to_string(count) + " events in " + std::to_string(payload.size()) + " bytes";
        return false;
    }
    if (payload[4] > 1) {
        reason = "plugged byte " + std::to_string(payload[4]);
        return false;
    }
    EventBatch decoded;
    decoded.nextCursor = Get32(payload.data());
    decoded.plugged = payload[4] == 1;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* at = payload.data() + kBatchHeaderBytes + i * kEventBytes;
        if (at[0] < static_cast<std::uint8_t>(EventKind::kKeyEvent) || at[0] > static_cast<std::uint8_t>(EventKind::kRemoved)) {
            reason = "event kind " + std::to_string(at[0]);
            return false;
        }
        decoded.events.push_back(Event{static_cast<EventKind>(at[0]), Get16(at + 1), Get16(at + 3)});
    }
    batch = std::move(decoded);
    return true;
}

Reply TextReply(Kind kind, bool ok, std::string_view text) {
    Reply reply;
    reply.kind = kind;
    reply.ok = ok;
    reply.payload.assign(text.begin(), text.end());
    return reply;
}

std::string ReplyText(const Reply& reply) { return std::string(reply.payload.begin(), reply.payload.end()); }

}  // namespace brenik::vkb::pipe
