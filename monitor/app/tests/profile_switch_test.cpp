// A profile switch, step by step and in order: the working copy, the shared block, job 3, the
// profile files, the settings program and the display. The titles and numbers the other
// programs rely on are written out here as they are.

#include "profile_switch.h"

#include "ini_file.h"
#include "memory_ini_storage.h"
#include "recording_desktop.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace brenik::monitor {
namespace {

constexpr const char* kConfig = "C:\\Brenik\\config.ini";
constexpr const char* kSettingsProgram = "Brenik Gaming Keyboard Option";
constexpr const char* kDisplay = "Brenik_Gaming_Keyboard_OSD";

// The state store and the job queue, writing into the desktop's log of posts, so that one log
// holds every step in order.
class Recorder final : public IStateStore, public IJobQueue {
public:
    explicit Recorder(std::vector<std::string>& log) : log_(log) {}
    void Publish() override { log_.push_back("publish"); }
    void SaveProfiles() override { log_.push_back("save"); }
    bool KeepHistory(history::HistoryReason) override { return log_.push_back("keep"), true; }
    bool Post(int job, std::intptr_t argument) override {
        log_.push_back("job " + std::to_string(job) + " " + std::to_string(argument));
        return true;
    }

private:
    std::vector<std::string>& log_;
};

// Profile 2 current, every profile on the extended layer; the display's profile notices on,
// the settings program and the display running.
struct Rig {
    Rig() {
        state.Use([](StateRecord& s) {
            std::memset(&s, 0, sizeof s);
            s.CurrentProfile = 2;
            for (ProfileRecord& p : s.Profiles) p.ExtendedMode = 1;
        });
        OsdSettings settings{};
        settings.ProfileNotice = 1;
        ini::CIniFile(kConfig, storage).WriteStruct("OSDSetting", "config", &settings, sizeof settings);
        osd.LoadSettings();
        desktop.Open(kSettingsProgram);
        desktop.Open(kDisplay);
    }
    StateRecord Copy() { return *state.Snapshot(); }

    test::RecordingDesktop desktop;
    Recorder recorder{desktop.actions};
    WorkingCopy state;
    ini::test::MemoryIniStorage storage;
    osd::OnScreenDisplay osd{desktop, state, kConfig, storage};
    ProfileSwitch profiles{state, recorder, recorder, desktop, osd};
};

TEST(ProfileSwitch, EverySwitchRunsEveryStepInOrderEvenToTheCurrentProfile) {
    struct Row {
        int index;
        const char* displayValue;  // lParam of 1324: the index in the high half
    };
    const Row rows[] = {
        {2, "131072"},  // 0 the current profile
        {0, "0"},       // 1
        {4, "262144"},  // 2
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Rig rig;
        rig.profiles.Switch(rows[i].index);
        EXPECT_EQ(rig.desktop.actions,
                  (std::vector<std::string>{"publish", "job 3 0", "save",
                                            std::string("post ") + kSettingsProgram + " 1255 0 0",
                                            std::string("post ") + kDisplay + " 1324 40 " + rows[i].displayValue}))
            << "row " << i;
        const StateRecord after = rig.Copy();
        EXPECT_EQ(after.CurrentProfile, rows[i].index) << "row " << i;
        for (int p = 0; p < kProfileCount; ++p) {
            EXPECT_EQ(after.Profiles[p].ExtendedMode, p == rows[i].index ? 0 : 1) << "row " << i << " profile " << p;
        }
    }
}

TEST(ProfileSwitch, AnIndexOutsideTheProfilesDoesNothing) {
    for (const int index : {-1, 5, 1000}) {
        Rig rig;
        const StateRecord before = rig.Copy();
        rig.profiles.Switch(index);
        EXPECT_TRUE(rig.desktop.actions.empty()) << index;
        const StateRecord after = rig.Copy();
        EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0) << index;
    }
}

}  // namespace
}  // namespace brenik::monitor
