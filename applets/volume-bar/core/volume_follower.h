#pragma once
// VolumeFollower: the volume controller's one rule set. The keyboard's volume control reaches
// the system's master volume (message 1331 from the monitor), and every change of the system's
// volume, whoever made it, goes to the monitor as a level (message 1332), which the monitor
// writes to the keyboard's volume display; at the end of the keyboard's synchronisation (1330)
// the monitor is told the level the system holds now.
//
// No echo: the follower remembers the level the system holds as far as it knows (`known_`).
// A level it set itself comes back from the system as a change notification; that one, and
// any repeat of a level already known, is not posted. A set the system rounds or clamps to
// another value is posted, so the keyboard shows what the system really holds. A keyboard
// value equal to the known level sets nothing.
//
// Refused input (a keyboard value outside 0..100) and a system that has no audio device or
// refuses the change are debugger-output lines; nothing else happens.

#include <cstdint>
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
    // False when there is no device or the system refuses the change.
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
    // The system's volume changed (its change notification, as a level).
    void OnSystemVolume(int level);
    // 1330: the keyboard was synchronised; it learns the system's level.
    void OnSynchronised();

    std::optional<int> KnownLevel() const { return known_; }

private:
    void Post(int level);

    ISystemVolume& system_;
    IMonitorLevel& monitor_;
    std::optional<int> known_;
};

// The endpoint's scalar (0.0 .. 1.0) as a level, and back; a scalar outside is clamped.
int LevelOfScalar(float scalar);
float ScalarOfLevel(int level);

}  // namespace brenik::volumebar
