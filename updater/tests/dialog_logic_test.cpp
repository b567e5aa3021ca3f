// The pure logic behind the dialogs: layout strings, the version caption, the first dialog,
// the image path and name, where the monitor is, and the skin outline's runs and batches.

#include "button_layout.h"
#include "dfu_version.h"
#include "keyboard_port.h"
#include "launch_choice.h"
#include "skin_layouts.h"
#include "skin_runs.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace brenik::updater::test {
namespace {

TEST(ButtonLayout, EveryLayoutOfTheSkins) {
    struct Case {
        const char* text;
        const char* name;
        int left, top, right, bottom;
    };
    const Case cases[] = {
        {"BUTTON_EXIT,412,2,30,30,", "BUTTON_EXIT", 412, 2, 442, 32},
        {"BUTTON_Progress,30,161,394,19,", "BUTTON_Progress", 30, 161, 424, 180},
        {"BUTTON_OK,88,167,75,37,", "BUTTON_OK", 88, 167, 163, 204},
        {"BUTTON_CANCEL,170,167,75,37,", "BUTTON_CANCEL", 170, 167, 245, 204},
        {"BUTTON_EXIT,302,2,30,30,", "BUTTON_EXIT", 302, 2, 332, 32},
        {"BUTTON_OK,129,168,78,35,", "BUTTON_OK", 129, 168, 207, 203},
        {"BUTTON_EXIT,302,2,30,30", "BUTTON_EXIT", 302, 2, 332, 32},
    };
    for (std::size_t row = 0; row < std::size(cases); ++row) {
        const ButtonLayout layout = ParseButtonLayout(cases[row].text);
        EXPECT_EQ(layout.name, cases[row].name) << "row " << row;
        EXPECT_EQ(layout.left, cases[row].left) << "row " << row;
        EXPECT_EQ(layout.top, cases[row].top) << "row " << row;
        EXPECT_EQ(layout.right, cases[row].right) << "row " << row;
        EXPECT_EQ(layout.bottom, cases[row].bottom) << "row " << row;
    }
    EXPECT_EQ(ParseButtonLayout("BUTTON_EXIT,302,2,30,30").trailing, "30");
    EXPECT_EQ(ParseButtonLayout("BUTTON_OK,129,168,78,35,").trailing, "");
}

TEST(ButtonLayout, TheSkinTablesHoldOnlyLayoutsThatParseInsideTheirPicture) {
    const SkinSpec* skins[] = {&kMainSkin, &kConfirmSkin, &kFailSkin, &kSuccessSkin, &kDriverSkin};
    for (std::size_t row = 0; row < std::size(skins); ++row) {
        const int width = skins[row] == &kMainSkin ? kMainSkinWidth : kMessageSkinWidth;
        for (std::size_t b = 0; b < skins[row]->buttonCount; ++b) {
            const ButtonLayout layout = ParseButtonLayout(skins[row]->buttons[b].layout);
            EXPECT_GT(layout.Width(), 0) << "row " << row << " button " << b;
            EXPECT_LE(layout.right, width) << "row " << row << " button " << b;
            EXPECT_LE(layout.bottom, kSkinHeight) << "row " << row << " button " << b;
        }
    }
}

TEST(ButtonLayout, BadStringsGiveNoSizeAndNeverOverflow) {
    struct Case {
        std::string text;
        std::string name;
        int width, height;
    };
    const Case cases[] = {
        {"", "", 0, 0},
        {"BUTTON_X", "BUTTON_X", 0, 0},
        {"BUTTON_X,", "BUTTON_X", 0, 0},
        {"BUTTON_X,a,b,c,d", "BUTTON_X", 0, 0},
        {"BUTTON_X,10,20", "BUTTON_X", 0, 0},
        {"BUTTON_X,-5,-6,7,8,", "BUTTON_X", 7, 8},
        {std::string(60, 'N') + ",1,2,3,4", std::string(39, 'N'), 3, 4},
    };
    for (std::size_t row = 0; row < std::size(cases); ++row) {
        const ButtonLayout layout = ParseButtonLayout(cases[row].text);
        EXPECT_EQ(layout.name, cases[row].name) << "row " << row;
        EXPECT_EQ(layout.Width(), cases[row].width) << "row " << row;
        EXPECT_EQ(layout.Height(), cases[row].height) << "row " << row;
    }
    const ButtonLayout huge = ParseButtonLayout("B,2147483647,0,99999999999,5");
    EXPECT_EQ(huge.right, 2147483647);
}

TEST(VersionCaption, RangeAndFormat) {
    const std::pair<unsigned, const char*> cases[] = {{0, "N/A"},    {99, "N/A"},   {100, "1.00"}, {105, "1.05"},
                                                      {255, "2.55"}, {500, "5.00"}, {501, "N/A"}};
    for (std::size_t row = 0; row < std::size(cases); ++row) {
        EXPECT_EQ(VersionCaption(cases[row].first), cases[row].second) << "row " << row;
    }
}

TEST(VersionCaption, ReadFromTheKeyboardAndZeroWhenTheReadFails) {
    VirtualClock clock;
    KeyboardPort port(clock);
    port.keyboard.SetDfuVersion(255);
    EXPECT_EQ(ReadDfuVersion(port), 255);
    port.keyboard.Unplug();
    EXPECT_EQ(ReadDfuVersion(port), 0);
}

TEST(LaunchChoice, FirstCharacterOfTheArgument) {
    const std::pair<const char*, FirstDialog> cases[] = {
        {"", FirstDialog::kConfirm},  {"1", FirstDialog::kConfirm}, {"2", FirstDialog::kConfirm},
        {"0", FirstDialog::kDriver},  {"05", FirstDialog::kDriver}, {"x", FirstDialog::kUpdate},
        {"5", FirstDialog::kUpdate},  {"12", FirstDialog::kConfirm}, {" ", FirstDialog::kUpdate},
    };
    for (std::size_t row = 0; row < std::size(cases); ++row) {
        EXPECT_EQ(ChooseFirstDialog(cases[row].first), cases[row].second) << "row " << row;
    }
}

TEST(LaunchChoice, ImagePathNameAndMonitorPath) {
    EXPECT_EQ(ResolveImagePath("C:\\Kb\\KeyFwFlash\\", "fw.bin"), "C:\\Kb\\KeyFwFlash\\fw.bin");
    EXPECT_EQ(ResolveImagePath("C:\\Kb\\KeyFwFlash\\", "D:\\img\\fw.bin"), "D:\\img\\fw.bin");
    EXPECT_EQ(ResolveImagePath("C:\\Kb\\KeyFwFlash\\", ""), "");
    EXPECT_EQ(ImageFileName("D:\\img\\fw.bin"), "fw.bin");
    EXPECT_EQ(ImageFileName("fw.bin"), "fw.bin");
    EXPECT_EQ(MonitorPathFor("C:\\Kb\\KeyFwFlash\\"), "C:\\Kb\\Monitor.EXE");
    EXPECT_EQ(MonitorPathFor("C:\\"), "");
}

TEST(SkinRuns, RunsOfEveryRowAndNothingOfTheKeyColour) {
    const std::uint32_t w = 0xFFFFFF, k = 0x000000, n = 0xFEFFFF;  // n: one off white is inside
    const std::vector<std::uint32_t> pixels = {w, k, k, w, k,  //
                                               w, w, w, w, w,  //
                                               n, w, w, w, n};
    std::vector<RunRect> runs;
    CollectSkinRuns(pixels.data(), 5, 3, 0xFFFFFF, 0, [&](const std::vector<RunRect>& batch) {
        runs.insert(runs.end(), batch.begin(), batch.end());
    });
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].left, 1);
    EXPECT_EQ(runs[0].right, 3);
    EXPECT_EQ(runs[1].left, 4);
    EXPECT_EQ(runs[1].right, 5);
    EXPECT_EQ(runs[2].top, 2);
    EXPECT_EQ(runs[2].bottom, 3);
    EXPECT_EQ(runs[3].left, 4);

    runs.clear();  // with a tolerance of 1 the off-white pixels are outside too
    CollectSkinRuns(pixels.data(), 5, 3, 0xFEFEFE, 1, [&](const std::vector<RunRect>& batch) {
        runs.insert(runs.end(), batch.begin(), batch.end());
    });
    EXPECT_EQ(runs.size(), 2u);
}

TEST(SkinRuns, BatchesHoldAtMost2000AndLoseNothing) {
    // A checkerboard row of 4001 pixels has 2001 runs per row.
    const int width = 4001, height = 3;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = (i % width) % 2 == 0 ? 0 : 0xFFFFFF;
    std::vector<std::size_t> sizes;
    std::set<std::pair<int, int>> seen;
    CollectSkinRuns(pixels.data(), width, height, 0xFFFFFF, 0, [&](const std::vector<RunRect>& batch) {
        sizes.push_back(batch.size());
        for (const RunRect& r : batch) seen.insert({r.left, r.top});
    });
    EXPECT_EQ(sizes, std::vector<std::size_t>({2000, 2000, 2000, 3}));
    EXPECT_EQ(seen.size(), 3u * 2001u);
}

}  // namespace
}  // namespace brenik::updater::test
