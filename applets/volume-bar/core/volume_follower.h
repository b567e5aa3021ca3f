#pragma once
// VolumeFollower: the volume controller's one rule set. The keyboard's volume control reaches
// the system's master volume (message 1331 from the monitor), and every change of the system's
// volume, whoever made it, goes to the monitor as a level (message 1332), which the monitor
// writes to the keyboard's volume display; at the end of the keyboard's synchronisation (1330)
// the monitor is told the level the system holds now.
//
// No echo: a level the follower set itself comes back from the system as a change notification
// marked as its own (the endpoint's event context); it is not posted as long as it is one of
// the levels it asked for, however many sets are still on their way (a knob turned quickly). A
// set the system rounds or clamps to another value is posted, so the keyboard shows what the
// system really holds. Another program's change is posted unless it repeats the level the
// follower knows the system holds (`known_`).
//
// Refused input (a keyboard value outside 0..100) and a system that has no audio device or
// refuses the change are debugger-output lines; nothing else happens.

#include <cstdint>
#include <deque>
#include <optional>

namespace brenik::volumebar {

constexpr int kLowestLevel = 0;
constexpr int kHighestLevel = 100;

// The system's master volume, as a level 0..100 (the endpoint's scalar times 100, rounded).
class ISystemVolume {
public:
    virtual ~ISystemVolume() = default;
    // Empty when there is no audio device (or it cannot be read).
    virtual std::optional<int> Level() = 0;
    // False when there is no device or the system refuses the change. Its change notification
    // comes back marked as the follower's own.
    virtual bool SetLevel(int level) = 0;
};

// Message 1332 to the monitor's window.
class IMonitorLevel {
public:
    virtual ~IMonitorLevel() = default;
    // False when the monitor's window is not there.
    virtual bool PostLevel(int level) = 0;
};

class VolumeFollower {
public:
    VolumeFollower(ISystemVolume& system, IMonitorLevel& monitor) : system_(system), monitor_(monitor) {}

    // 1331: the keyboard's volume value (wParam).
    void OnKeyboardVolume(std::intptr_t value);
    // The system's volume changed (its change notification, as a level); `ours` when the
    // change came from a SetLevel of this follower.
    void OnSystemVolume(int level, bool ours = false);
    // 1330: the keyboard was synchronised; it learns the system's level.
    void OnSynchronised();

    std::optional<int> KnownLevel() const { return known_; }

private:
    void Post(int level);

    ISystemVolume& system_;
    IMonitorLevel& monitor_;
    std::optional<int> known_;
    std::deque<int> requested_;  // levels set whose notifications have not come back
};

// The endpoint's scalar (0.0 .. 1.0) as a level, and back; a scalar outside is clamped.
int LevelOfScalar(float scalar);
float ScalarOfLevel(int level);

}  // namespace brenik::volumebar
