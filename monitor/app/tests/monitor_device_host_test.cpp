// What the device jobs ask of the monitor reaches the right window with the right words, and
// the working copy is lent to them one access at a time.

#include "monitor_device_host.h"
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
    std::vector<std::string> calls;
};

TEST(MonitorDeviceHost, NotificationsGoToTheSettingsProgramOnly) {
    test::RecordingDesktop desktop;
    CountingStore store;
    MonitorDeviceHost host(store, desktop);
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
