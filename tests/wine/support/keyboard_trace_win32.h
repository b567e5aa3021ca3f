#pragma once
// The virtual keyboard's protocol trace as an end-to-end test reads it: one entry per report
// that reached the keyboard (and per "HOST" note), with its time on the machine's performance
// counter (the microseconds of NowMicroseconds, so it lines up with PeerWindows' log), its
// decoded text ("SET select profile=0 selector=0x40 standard-keys", "GET status=1", ...) and
// whether the keyboard refused it.

#include "wine_test_support.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace brenik::test {

struct TraceEntry {
    std::int64_t microseconds = 0;
    std::string text;

    bool Refused() const { return text.find(" refused: ") != std::string::npos; }
    bool IsHostNote() const { return text.rfind("HOST", 0) == 0; }
    bool IsStatusPoll() const { return text.rfind("GET status", 0) == 0 || text.rfind("GET update-status", 0) == 0; }
    bool StartsWith(const std::string& prefix) const { return text.rfind(prefix, 0) == 0; }
};

// The whole trace so far; empty when the server could not write it.
inline std::vector<TraceEntry> ReadKeyboardTrace(VirtualKeyboardServer& server) {
    TempFolder folder("keyboard-trace");
    const std::string file = folder.File("trace.txt");
    std::vector<TraceEntry> entries;
    if (server.Command("trace " + file) != 0) return entries;
    std::ifstream in(file);
    std::string line;
    // "<seconds>.<microseconds> <text>", then a line of the report's bytes that starts with a space.
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t space = line.find(' ');
        if (line.empty() || line[0] == ' ' || space == std::string::npos) continue;
        const std::size_t point = line.find('.');
        if (point == std::string::npos || point > space) continue;
        TraceEntry entry;
        entry.microseconds = std::strtoll(line.substr(0, point).c_str(), nullptr, 10) * 1000000 +
                             std::strtoll(line.substr(point + 1, space - point - 1).c_str(), nullptr, 10);
        entry.text = line.substr(space + 1);
        entries.push_back(std::move(entry));
    }
    return entries;
}

// The reports the keyboard accepted, status polls and host notes left out: what the host
// asked of it, in order, without the outcome the keyboard adds to a command it failed
// (" -> status 2: ...").
inline std::vector<std::string> AcceptedCommands(const std::vector<TraceEntry>& trace) {
    std::vector<std::string> lines;
    for (const TraceEntry& entry : trace) {
        if (entry.Refused() || entry.IsHostNote() || entry.IsStatusPoll()) continue;
        lines.push_back(entry.text.substr(0, entry.text.find(" -> ")));
    }
    return lines;
}

inline int CountStartingWith(const std::vector<TraceEntry>& trace, const std::string& prefix) {
    int count = 0;
    for (const TraceEntry& entry : trace) count += entry.StartsWith(prefix);
    return count;
}

// The settings reports ("SET ...") the keyboard accepted since the trace was cleared.
inline std::vector<std::string> SettingsWrites(VirtualKeyboardServer& server) {
    std::vector<std::string> writes;
    for (const std::string& line : AcceptedCommands(ReadKeyboardTrace(server))) {
        if (line.rfind("SET ", 0) == 0) writes.push_back(line);
    }
    return writes;
}

// Lines one to a line, for a failure message.
inline std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

}  // namespace brenik::test
