#pragma once
// The record of every feature report that crossed between host and keyboard, in both
// directions, refused ones included: the bytes, one decoded line and when it happened.
// Later tests assert on exact command sequences through Lines().

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace brenik::vkb {

struct TraceEntry {
    std::uint64_t timeMicroseconds = 0;
    bool fromHost = true;   // true: SetFeature (host to keyboard), false: GetFeature
    bool accepted = true;   // false: the call was refused and returned false
    std::vector<std::uint8_t> bytes;  // as written, or as returned (what the host asked for if refused)
    std::string line;       // e.g. "SET select profile=0 selector=0x60 key-functions-0-11"
};

class ProtocolTrace {
public:
    // Oldest entries are dropped beyond this many, so a server that runs for days stays small.
    static constexpr std::size_t kMaxEntries = 20000;

    void Add(TraceEntry entry);
    void Clear();

    const std::deque<TraceEntry>& Entries() const { return entries_; }
    std::size_t DroppedCount() const { return dropped_; }
    // The decoded lines only, oldest first.
    std::vector<std::string> Lines() const;
    // Two lines per entry: "<seconds.micros> <decoded line>" and "    <hex bytes>".
    std::string Text() const;

private:
    std::deque<TraceEntry> entries_;
    std::size_t dropped_ = 0;
};

}  // namespace brenik::vkb
