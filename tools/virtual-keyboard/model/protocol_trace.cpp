#include "protocol_trace.h"

#include <cinttypes>
#include <cstdio>
#include <utility>

namespace brenik::vkb {

void ProtocolTrace::Add(TraceEntry entry) {
    if (entries_.size() == kMaxEntries) {
        entries_.pop_front();
        ++dropped_;
    }
    entries_.push_back(std::move(entry));
}

void ProtocolTrace::Clear() {
    entries_.clear();
    dropped_ = 0;
}

std::vector<std::string> ProtocolTrace::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(entries_.size());
    for (const TraceEntry& entry : entries_) lines.push_back(entry.line);
    return lines;
}

std::string ProtocolTrace::Text() const {
    std::string text;
    char stamp[32];
    char hex[4];
    for (const TraceEntry& entry : entries_) {
        std::snprintf(stamp, sizeof stamp, "%" PRIu64 ".%06" PRIu64 " ", entry.timeMicroseconds / 1000000,
                      entry.timeMicroseconds % 1000000);
        text += stamp;
        text += entry.line;
        text += "\n   ";
        for (std::uint8_t byte : entry.bytes) {
            std::snprintf(hex, sizeof hex, " %02X", byte);
            text += hex;
        }
        text += '\n';
    }
    return text;
}

}  // namespace brenik::vkb
