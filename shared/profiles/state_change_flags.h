#pragma once
// The change flags: set in the shared block by the settings program to say what it edited,
// read by the monitor's apply job. The monitor clears them at start-up, before its first
// publication, so that nothing edited before it started is sent to the keyboard twice.

#include "state_record.h"

namespace brenik {

// Zeroes KeyChanged, LightingChanged, ProfileChanged, StandardKeyChanged, LockKeysChanged and
// FnStatusChanged; nothing else (the volume level between them stays).
void ClearChangeFlags(StateRecord& state);

}  // namespace brenik
