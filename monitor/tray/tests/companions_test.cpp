#include "companions.h"

#include "program_windows.h"
#include "recording_desktop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brenik {
namespace {

using test::PostedMessage;

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

}  // namespace
}  // namespace brenik
