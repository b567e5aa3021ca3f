#pragma once
// The keyboard's handling of the monitor's reports: each write changes the stored settings
// or registers and yields a command status; each read builds its reply from them. Reports
// reach these functions with their full fixed length; the content is checked here.

#include "keyboard_state.h"

#include <cstdint>
#include <string>

namespace brenik::vkb {

struct CommandResult {
    std::uint8_t status = kStatusDone;
    std::string why;  // for a failed status: what the firmware refused
};

// Report 4 (select request) and every monitor write command.
CommandResult ApplyMonitorWrite(KeyboardState& state, const std::uint8_t* report);

// Builds the reply of a data report (after its select request) or of a direct read (current
// profile, device information, sync token) into reply, which is zeroed and as long as the
// report, byte 0 preset. The status report is not built here. false with why when the
// keyboard has nothing to send for it.
bool BuildMonitorReply(const KeyboardState& state, std::uint8_t* reply, std::string& why);

}  // namespace brenik::vkb
