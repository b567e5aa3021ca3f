#include "process_list.h"

#include "debug_output.h"

#include <algorithm>

namespace brenik::monitor::games {

bool IsProcessListed(IForegroundProcess& processes, ProcessId id, std::vector<ProcessId>& buffer) {
    if (buffer.size() < kFirstProcessListEntries) buffer.resize(kFirstProcessListEntries);
    for (;;) {
        std::size_t written = 0;
        if (!processes.EnumerateProcesses(buffer.data(), buffer.size(), written)) {
            DebugOutput("GameDetection: the process list cannot be taken\n");
            return false;
        }
        written = std::min(written, buffer.size());
        if (written < buffer.size()) {
            const auto end = buffer.begin() + static_cast<std::ptrdiff_t>(written);
            return std::find(buffer.begin(), end, id) != end;
        }
        if (buffer.size() >= kMaxProcessListEntries) {
            DebugPrintf("GameDetection: the process list does not fit %zu entries; given up\n", buffer.size());
            return false;
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace brenik::monitor::games
