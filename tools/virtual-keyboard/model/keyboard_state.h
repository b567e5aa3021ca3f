#pragma once
// Everything the virtual keyboard holds: the stored settings of its five profiles, the
// device registers, the volatile exchange state (selection, status, update mode), the
// faults a test asked for, the trace and the notices waiting for the host.

#include "command_status.h"
#include "fault_plan.h"
#include "host_notice.h"
#include "profile_memory.h"
#include "protocol_trace.h"
#include "update_engine.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>

namespace brenik::vkb {

// Which block the next data read returns, set by the select request.
struct Selection {
    bool valid = false;
    std::uint8_t profile = 0;
    std::uint8_t selector = 0;
};

class KeyboardState {
public:
    explicit KeyboardState(std::function<std::uint64_t()> clock);

    std::function<std::uint64_t()> clock;
    bool plugged = true;

    // Stored settings: kept across unplugging.
    std::array<ProfileMemory, report::kProfileCount> profiles;
    int currentProfile = 0;
    std::array<std::uint8_t, report::kTokenSize> token{};
    int volume = 50;
    int volumeLevel = 4;
    std::array<std::uint8_t, 3> volumeKeyBytes{};  // bytes 3..5 of the last volume report
    std::uint8_t firmwareVersion = 0x15;
    std::uint8_t dfuVersion = 0x03;
    std::uint8_t deviceValue = 0x01;
    int wholeKeyboardCommands = 0;

    // Volatile: lost when the keyboard is unplugged.
    bool extendedLayer = false;
    std::uint8_t hostState = 0;
    int countdownStep = 0;  // 0: no countdown running
    Selection selection;
    CommandStatus status;        // report 4
    CommandStatus updateStatus;  // update status report
    UpdateEngine update;

    FaultPlan faults;
    ProtocolTrace trace;
    std::deque<HostNotice> notices;

    // Drops what a power cycle drops.
    void LoseVolatileState();
};

// Volume level 0..7 that goes with a volume 0..100: 0 for 0, then one level per 14 steps.
int VolumeLevelOf(int volume);

}  // namespace brenik::vkb
