// What the device jobs ask of the monitor reaches the right window with the right words, and
// the working copy is lent to them one access at a time.

#include "monitor_device_host.h"

#include "config_ini_keys.h"
#include "ini_file.h"
#include "memory_ini_storage.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "recording_desktop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brenik::monitor {
namespace {

class CountingStore final : public IStateStore {
public:
    void Publish() override { calls.push_back("publish"); }
    void SaveProfiles() override { calls.push_back("save"); }
    bool KeepHistory(history::HistoryReason reason) override {
        calls.push_back(std::string("keep ") + history::ReasonWord(reason));
        return true;
    }
    std::vector<std::string> calls;
};

struct HostRig {
    test::RecordingDesktop desktop;
    CountingStore store;
    WorkingCopy copy;
    ini::test::MemoryIniStorage files;
    osd::OnScreenDisplay display{desktop, copy, "C:\\Brenik\\config.ini", files};
    MonitorDeviceHost host{store, desktop, display};
};

TEST(MonitorDeviceHost, NotificationsGoToTheSettingsProgramOnly) {
    HostRig rig;
    test::RecordingDesktop& desktop = rig.desktop;
    CountingStore& store = rig.store;
    MonitorDeviceHost& host = rig.host;
    host.NotifySynchronised();  // no settings window: nothing posted
    EXPECT_TRUE(desktop.posted.empty());
    desktop.Open(kTitleSettings);
    desktop.Open(kTitleVolumeController);
    host.NotifySynchronised();
    host.NotifyMacroReadBack(3, 40);
    EXPECT_EQ(desktop.posted, (std::vector<test::PostedMessage>{{kTitleSettings, kMsgSyncDone, 0, 0},
                                                                 {kTitleSettings, kMsgMacroReadBack, 3, 40}}));
    host.SaveProfiles();
    host.PublishState();
    EXPECT_EQ(store.calls, (std::vector<std::string>{"save", "publish"}));
}

TEST(MonitorDeviceHost, AReadBackKeepsTheProfilesFirstAndTellsTheUserAfter) {
    HostRig rig;
    rig.desktop.Open(kTitleOsd);
    rig.host.KeepProfilesBeforeReadBack();
    EXPECT_EQ(rig.store.calls, (std::vector<std::string>{"keep read-back"}));
    EXPECT_TRUE(rig.desktop.posted.empty());
    rig.host.NotifyProfilesReadBack();
    EXPECT_EQ(ini::CIniFile("C:\\Brenik\\config.ini", rig.files).ReadString(kOsdTextSection, kOsdTextKey, ""),
              "Profiles read from the keyboard; the previous ones are kept in History");
    EXPECT_EQ(rig.desktop.posted, (std::vector<test::PostedMessage>{{kTitleOsd, 1324, 50, 0}}));
}

TEST(WorkingCopyAccess, ReadsAndUpdatesTheWorkingCopy) {
    WorkingCopy copy;
    copy.Use([](StateRecord& state) { state.CurrentProfile = 2; });
    WorkingCopyAccess access(copy);
    int seen = -1;
    access.Read([&](const StateRecord& state) { seen = state.CurrentProfile; });
    EXPECT_EQ(seen, 2);
    access.Update([](StateRecord& state) { state.DeviceValue = 9; });
    EXPECT_EQ(copy.Use([](StateRecord& state) { return state.DeviceValue; }), 9);
}

}  // namespace
}  // namespace brenik::monitor
