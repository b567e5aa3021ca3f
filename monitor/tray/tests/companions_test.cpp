#include "companions.h"

#include "debug_capture.h"
#include "ini_file.h"
#include "memory_ini_storage.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "recording_desktop.h"
#include "working_copy.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

namespace brenik::monitor::tray {
namespace {

using test::PostedMessage;
using Actions = std::vector<std::string>;

constexpr const char* kFolder = "C:\\Brenik\\";
const std::string kClose = std::to_string(kMsgClose);

// Companions over a recording desktop, with the on-screen display's part they read from.
struct Rig {
    test::RecordingDesktop desktop;
    WorkingCopy state;
    ini::test::MemoryIniStorage storage;
    osd::OnScreenDisplay osd{desktop, state, std::string(kFolder) + kConfigFileName, storage};
    Companions companions{desktop, kFolder, osd};
};

TEST(CloseCompanionsTest, ClosesEachExistingWindowInOrder) {
    test::RecordingDesktop desktop;
    for (const char* title : {kTitleVolumeController, kTitleOsd, kTitleSettings, kTitleCallDisplay}) desktop.Open(title);
    CloseCompanions(desktop);
    EXPECT_EQ(desktop.searched, (std::vector<std::string>{kTitleSettings, kTitlePopup, kTitleSystemGauge, kTitleCallDisplay,
                                                          kTitleOsd, kTitleVolumeController}));
    EXPECT_EQ(desktop.posted, (std::vector<PostedMessage>{{kTitleSettings, kMsgClose, 0, 0},
                                                          {kTitleCallDisplay, kMsgClose, 0, 0},
                                                          {kTitleOsd, kMsgClose, 0, 0},
                                                          {kTitleVolumeController, kMsgClose, 0, 0}}));
}

TEST(CompanionsTest, PathsKeepTheDoubledSeparatorAfterTheFolder) {
    Rig rig;
    EXPECT_EQ(rig.companions.PathOf(kProgramSettings), "C:\\Brenik\\\\Brenik Option.exe");
    EXPECT_EQ(rig.companions.PathOf(kProgramSystemGauge), "C:\\Brenik\\\\Applets\\SysGauge.exe");
}

TEST(CompanionsTest, StartOpensTheDisplayAndTheVolumeBarEvenWhenRunningThenTheApplets) {
    Rig rig;
    rig.desktop.Open(kTitleOsd);  // a running display is started again: it copes with that itself
    rig.companions.Start();
    EXPECT_EQ(rig.desktop.actions, (Actions{"open C:\\Brenik\\\\Brenik OSD.exe", "open C:\\Brenik\\\\Applets\\VolumeBar.exe"}));
    // The applets were looked at after both starts, the gauge first.
    EXPECT_EQ(rig.desktop.searched, (std::vector<std::string>{kTitleSystemGauge, kTitleCallDisplay}));
}

// One applet in each of the four cases: running or not, switched on or off.
struct AppletCase {
    bool running;
    bool switchedOn;
    Actions expected;  // for the system gauge; the call display is off and absent
};

class UpdateAppletsTest : public ::testing::TestWithParam<AppletCase> {};

TEST_P(UpdateAppletsTest, ReloadsStartsOrClosesAsTheSwitchSays) {
    const AppletCase& c = GetParam();
    Rig rig;
    if (c.running) rig.desktop.Open(kTitleSystemGauge);
    rig.companions.UpdateApplets(AppletSwitches{c.switchedOn, false});
    EXPECT_EQ(rig.desktop.actions, c.expected);
    EXPECT_EQ(rig.desktop.searched, (std::vector<std::string>{kTitleSystemGauge, kTitleCallDisplay})) << "one search each";
}

const std::string kGauge = kTitleSystemGauge;
INSTANTIATE_TEST_SUITE_P(
    Cases, UpdateAppletsTest,
    ::testing::Values(AppletCase{false, true, {"open C:\\Brenik\\\\Applets\\SysGauge.exe"}},
                      AppletCase{false, false, {}},
                      AppletCase{true, true, {"post " + kGauge + " 1224 0 0"}},
                      AppletCase{true, false, {"post " + kGauge + " 1224 0 0", "post " + kGauge + " " + kClose + " 0 0"}}));

TEST(AppletSwitchesTest, ASwitchIsOnOnlyWhenExactlyOne) {
    struct Row {
        int cpu, ram, call;
        bool gauge, callDisplay;
    };
    const Row rows[] = {
        {0, 0, 0, false, false},   //  0
        {1, 0, 0, true, false},    //  1 either gauge field starts it
        {0, 1, 0, true, false},    //  2
        {1, 1, 1, true, true},     //  3
        {2, -1, 2, false, false},  //  4 other values are off
        {-1, 0, -1, false, false}, //  5 a missing key loads as -1
        {0, 0, 1, false, true},    //  6
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& r = rows[i];
        OsdSettings settings{};
        settings.GaugeCpu = r.cpu;
        settings.GaugeRam = r.ram;
        settings.CallDisplay = r.call;
        const AppletSwitches s = AppletSwitchesOf(settings);
        EXPECT_EQ(s.systemGauge, r.gauge) << "row " << i;
        EXPECT_EQ(s.callDisplay, r.callDisplay) << "row " << i;
    }
}

TEST(CompanionsTest, UpdateAppletsFollowsTheDisplaySettingsLoadedLast) {
    Rig rig;
    rig.desktop.Open(kTitleCallDisplay);
    OsdSettings stored{};
    stored.GaugeRam = 1;
    stored.CallDisplay = 1;
    ASSERT_TRUE(ini::CIniFile(std::string(kFolder) + kConfigFileName, rig.storage).WriteStruct("OSDSetting", "config", &stored, sizeof stored));
    const std::string call = kTitleCallDisplay;

    // Not loaded yet: the settings start all zero, so both applets count as switched off.
    rig.companions.UpdateApplets();
    EXPECT_EQ(rig.desktop.actions, (Actions{"post " + call + " 1224 0 0", "post " + call + " " + kClose + " 0 0"}));

    rig.desktop.actions.clear();
    rig.osd.LoadSettings();
    rig.companions.UpdateApplets();
    EXPECT_EQ(rig.desktop.actions, (Actions{"open C:\\Brenik\\\\Applets\\SysGauge.exe", "post " + call + " 1224 0 0"}));
}

TEST(CompanionsTest, TheGaugeIsSettledBeforeTheCallDisplay) {
    Rig rig;
    rig.desktop.Open(kTitleCallDisplay);
    rig.companions.UpdateApplets(AppletSwitches{true, false});
    const std::string call = kTitleCallDisplay;
    EXPECT_EQ(rig.desktop.actions, (Actions{"open C:\\Brenik\\\\Applets\\SysGauge.exe", "post " + call + " 1224 0 0",
                                            "post " + call + " " + kClose + " 0 0"}));

    Rig other;
    other.desktop.Open(kTitleSystemGauge);
    other.companions.UpdateApplets(AppletSwitches{false, true});
    EXPECT_EQ(other.desktop.actions, (Actions{"post " + kGauge + " 1224 0 0", "post " + kGauge + " " + kClose + " 0 0",
                                              "open C:\\Brenik\\\\Applets\\CallOsd.exe"}));
}

TEST(CompanionsTest, BringUpSettingsRestoresARunningSettingsProgramInsteadOfStartingIt) {
    test::ClearDebugLines();
    Rig rig;
    rig.desktop.Open(kTitleSettings);
    rig.companions.BringUpSettings();
    EXPECT_EQ(rig.desktop.actions, (Actions{"forward " + std::string(kTitleSettings)}));
    EXPECT_EQ(test::DebugLines(), (std::vector<std::string>{"CMonitorWnd OnCustomizer\n", "CMonitorWnd OnCustomizer hWnd!=NULL\n"}));
}

TEST(CompanionsTest, BringUpSettingsStartsTheSettingsProgramWhenItHasNoWindow) {
    test::ClearDebugLines();
    Rig rig;
    rig.companions.BringUpSettings();
    EXPECT_EQ(rig.desktop.actions, (Actions{"open C:\\Brenik\\\\Brenik Option.exe"}));
    EXPECT_EQ(test::DebugLines(), (std::vector<std::string>{"CMonitorWnd OnCustomizer\n", "CMonitorWnd OnCustomizer hWnd==NULL\n"}));
}

}  // namespace
}  // namespace brenik::monitor::tray
