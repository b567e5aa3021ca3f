#pragma once
// The look through the list of running processes that a profile switch by game detection
// waits for. The platform fills a buffer and cannot say whether the list was longer, so a
// buffer that comes back full is taken again twice as large until the list fits: on a machine
// with more processes than the first buffer holds, the program in front is still found.

#include "foreground_process.h"

#include <cstddef>
#include <vector>

namespace brenik::monitor::games {

constexpr std::size_t kFirstProcessListEntries = 1024;
// A list that still fills this many entries is given up (the platform is not answering sensibly).
constexpr std::size_t kMaxProcessListEntries = std::size_t{1} << 20;

// True when `id` is among the running processes. `buffer` holds the list; it is only scratch,
// kept between looks so that a large list is not grown again on every look. False, with a
// debugger line, when the list cannot be taken or never fits.
bool IsProcessListed(IForegroundProcess& processes, ProcessId id, std::vector<ProcessId>& buffer);

}  // namespace brenik::monitor::games
