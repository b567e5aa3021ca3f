#include "volume_follower.h"

#include "debug_capture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace brenik::volumebar {
namespace {

// The system's endpoint as the controller meets it: a level, sets that may be refused or
// rounded, and a change notification after each change, as the endpoint sends one.
class StandInVolume final : public ISystemVolume {
public:
    std::optional<int> Level() override { return device ? std::optional<int>(level) : std::nullopt; }
    bool SetLevel(int wanted) override {
        sets.push_back(wanted);
        if (!device || refuses) return false;
        level = wanted + roundsBy;
        pendingNotifications.push_back(level);
        return true;
    }
    int level = 63;
    int roundsBy = 0;
    bool device = true;
    bool refuses = false;
    std::vector<int> sets;
    std::vector<int> pendingNotifications;
};

class RecordingMonitor final : public IMonitorLevel {
public:
    bool PostLevel(int level) override {
        posted.push_back(level);
        return true;
    }
    std::vector<int> posted;
};

struct Step {
    enum Kind { kKeyboard, kSystem, kSync } kind;
    int value = 0;
};

struct Row {
    const char* what;
    std::vector<Step> steps;
    std::vector<int> sets;    // asked of the system
    std::vector<int> posted;  // 1332 to the monitor
    int roundsBy = 0;
    bool refuses = false;
    bool device = true;
    bool notifyAtTheEnd = false;  // the system's notifications arrive only after every step
};

TEST(VolumeFollower, FollowsBothSidesWithoutAnEcho) {
    using S = Step;
    const Row rows[] = {
        {"the keyboard's change reaches the system and is not posted back", {{S::kKeyboard, 40}}, {40}, {}},
        {"a set the system rounds is posted as what it holds", {{S::kKeyboard, 40}}, {40}, {41}, 1},
        {"another program's change is posted once", {{S::kSystem, 25}, {S::kSystem, 25}}, {}, {25}},
        {"a keyboard value the system holds already is set, and not echoed", {{S::kSystem, 30}, {S::kKeyboard, 30}}, {30}, {30}},
        {"values outside 0..100 are refused", {{S::kKeyboard, 101}, {S::kKeyboard, -1}, {S::kSystem, 200}}, {}, {}},
        {"the end of synchronisation tells the level held now", {{S::kSync}, {S::kKeyboard, 63}}, {63}, {63}},
        {"a refused set changes nothing; the next system change is posted",
         {{S::kKeyboard, 40}, {S::kSystem, 40}}, {40}, {40}, 0, true},
        {"no audio device: nothing to set, nothing to tell", {{S::kKeyboard, 40}, {S::kSync}}, {40}, {}, 0, false, false},
        {"the keyboard back and forth", {{S::kKeyboard, 10}, {S::kKeyboard, 90}, {S::kKeyboard, 10}}, {10, 90, 10}, {}},
        {"a knob turned quickly: notifications after the sets", {{S::kKeyboard, 40}, {S::kKeyboard, 41}, {S::kKeyboard, 42}},
         {40, 41, 42}, {}, 0, false, true, true},
        {"another program's change between our own", {{S::kKeyboard, 40}, {S::kSystem, 70}, {S::kKeyboard, 41}},
         {40, 41}, {70}},
    };
    for (const Row& row : rows) {
        test::ClearDebugLines();
        StandInVolume system;
        system.roundsBy = row.roundsBy;
        system.refuses = row.refuses;
        system.device = row.device;
        RecordingMonitor monitor;
        VolumeFollower follower(system, monitor);
        for (const Step& step : row.steps) {
            if (step.kind == Step::kKeyboard) follower.OnKeyboardVolume(step.value);
            if (step.kind == Step::kSystem) follower.OnSystemVolume(step.value);
            if (step.kind == Step::kSync) follower.OnSynchronised();
            // The endpoint's notifications arrive after the set, on their own, marked as ours.
            if (row.notifyAtTheEnd) continue;
            for (const int level : system.pendingNotifications) follower.OnSystemVolume(level, true);
            system.pendingNotifications.clear();
        }
        for (const int level : system.pendingNotifications) follower.OnSystemVolume(level, true);
        EXPECT_EQ(system.sets, row.sets) << row.what;
        EXPECT_EQ(monitor.posted, row.posted) << row.what;
        if (row.refuses || !row.device) {
            EXPECT_TRUE(test::DebugLinesContain("could not set the system volume to 40")) << row.what << ": said";
        }
        if (!row.device) {
            EXPECT_TRUE(test::DebugLinesContain("has no system volume to tell")) << row.what;
        }
    }
}

TEST(VolumeFollower, LevelsAndScalarsConvertBothWays) {
    for (int level = kLowestLevel; level <= kHighestLevel; ++level) {
        EXPECT_EQ(LevelOfScalar(ScalarOfLevel(level)), level) << level;
    }
    EXPECT_EQ(LevelOfScalar(1.5f), 100);
    EXPECT_EQ(LevelOfScalar(-0.2f), 0);
    EXPECT_EQ(LevelOfScalar(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(LevelOfScalar(0.404f), 40);
}

}  // namespace
}  // namespace brenik::volumebar
