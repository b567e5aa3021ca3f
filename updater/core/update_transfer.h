#pragma once
// The whole update of the keyboard's firmware: start, size, prepare, a header and the data
// of every block, finish. Any failed command ends it at once; the keyboard is then left as
// it is and nothing more is sent. The finish counts like every other command.

#include "firmware_image.h"
#include "update_commands.h"
#include "update_link.h"

#include <cstddef>
#include <cstdint>
#include <functional>

namespace brenik::updater {

// A keyboard that answers resend without end would hold the transfer for ever: one command
// is written at most this many times more, then it fails.
constexpr int kMaxRewrites = 8;
// Extra wait after DFU_START and DFU_FINISH, and the pause after start, size and prepare.
constexpr std::uint32_t kCommandSettleMs = 500;

// Writes one command report, waits extraWaitMs and the keyboard's status; writes it again
// on resend. True only when the keyboard answered done.
bool SendUpdateCommand(const UpdateLink& link, const CommandReport& report, std::uint32_t extraWaitMs = 0);

// onBlock is told the index of every block the keyboard took, from 0.
bool RunTransfer(const FirmwareImage& image, const UpdateLink& link, const std::function<void(std::size_t)>& onBlock);

}  // namespace brenik::updater
