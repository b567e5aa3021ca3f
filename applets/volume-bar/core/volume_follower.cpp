#include "volume_follower.h"

#include "debug_output.h"

#include <algorithm>
#include <cmath>

namespace brenik::volumebar {
namespace {

// A knob turned quickly has a few sets on their way; more than this, and the oldest
// notifications were lost.
constexpr std::size_t kMostRequested = 16;

}  // namespace

void VolumeFollower::OnKeyboardVolume(std::intptr_t value) {
    if (value < kLowestLevel || value > kHighestLevel) {
        DebugPrintf("VolumeBar refused a keyboard volume of %lld: not %d..%d\n", static_cast<long long>(value),
                    kLowestLevel, kHighestLevel);
        return;
    }
    const int level = static_cast<int>(value);
    if (!system_.SetLevel(level)) {
        DebugPrintf("VolumeBar could not set the system volume to %d (no audio device, or the system refused)\n", level);
        return;
    }
    known_ = level;
    requested_.push_back(level);
    if (requested_.size() > kMostRequested) requested_.pop_front();  // notifications lost on the way
}

void VolumeFollower::OnSystemVolume(int level, bool ours) {
    if (level < kLowestLevel || level > kHighestLevel) {
        DebugPrintf("VolumeBar refused a system volume of %d: not %d..%d\n", level, kLowestLevel, kHighestLevel);
        return;
    }
    if (ours) {
        // Our set coming back: quiet while it is a level we asked for, in the order we asked.
        const auto asked = std::find(requested_.begin(), requested_.end(), level);
        if (asked != requested_.end()) {
            requested_.erase(requested_.begin(), asked + 1);
            return;
        }
        Post(level);  // the system holds another value than we asked
        return;
    }
    if (known_ == level) return;  // a repeat
    Post(level);
}

void VolumeFollower::OnSynchronised() {
    const std::optional<int> level = system_.Level();
    if (!level) {
        DebugOutput("VolumeBar has no system volume to tell the keyboard (no audio device)\n");
        return;
    }
    Post(*level);
}

void VolumeFollower::Post(int level) {
    known_ = level;
    if (!monitor_.PostLevel(level)) DebugPrintf("VolumeBar could not tell the monitor the level %d\n", level);
}

int LevelOfScalar(float scalar) {
    if (!(scalar > 0.0f)) return kLowestLevel;  // NaN too
    if (scalar >= 1.0f) return kHighestLevel;
    return static_cast<int>(std::lround(scalar * kHighestLevel));
}

float ScalarOfLevel(int level) {
    if (level <= kLowestLevel) return 0.0f;
    if (level >= kHighestLevel) return 1.0f;
    return static_cast<float>(level) / kHighestLevel;
}

}  // namespace brenik::volumebar
