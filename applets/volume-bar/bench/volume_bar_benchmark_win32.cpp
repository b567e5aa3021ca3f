// The volume controller from a change of the system's volume until the monitor has its level
// (1332), with the stand-in system volume: the stand-in's notice is posted, the controller
// reads the level, decides and posts 1332 to a window titled as the monitor in this process.
// The baseline of the same run is one message sent to the controller and answered (the
// cheapest way across the two processes); the figure is how many of those a change costs.

#include "monitor_inbox.h"
#include "program_folder.h"
#include "program_windows.h"
#include "volume_bar_messages.h"
#include "wine_test_support.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using brenik::test::NowMicroseconds;

constexpr int kRounds = 40;
constexpr DWORD kAnswerTimeoutMs = 5000;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::string program = argc > 1 ? argv[1] : brenik::ProgramFolder() + "VolumeBar.exe";
    brenik::test::TempFolder folder("volume-bar-bench");
    const std::string level = folder.File("system-volume.ini");
    if (!brenik::test::CopyInto(program, folder.Path()) ||
        !brenik::test::WriteTextFile(level, "[SystemVolume]\r\nLevel=50\r\n") ||
        !brenik::test::WriteTextFile(folder.File("VolumeBar.ini"),
                                     "[SystemVolume]\r\nType=stand-in\r\nFile=" + level + "\r\n")) {
        std::printf("volume_bar_benchmark: could not lay out %s\n", folder.Path().c_str());
        return 1;
    }
    brenik::test::PeerWindows monitor({brenik::kTitleMonitor});
    brenik::test::ChildProcess controller;
    HWND window = nullptr;
    if (!controller.Start(folder.File("VolumeBar.exe"), "") ||
        !brenik::test::WaitUntil([&] { return (window = FindWindowA(nullptr, brenik::kTitleVolumeController)) != nullptr; },
                                 10000)) {
        std::printf("volume_bar_benchmark: the controller did not start\n");
        return 1;
    }

    std::vector<double> changes;
    std::vector<double> roundTrips;
    for (int round = 0; round < kRounds; ++round) {
        const int wanted = round % 2 == 0 ? 20 + round : 80 - round;
        brenik::test::WriteTextFile(level, "[SystemVolume]\r\nLevel=" + std::to_string(wanted) + "\r\n");
        monitor.Clear();
        const std::int64_t start = NowMicroseconds();
        PostMessageA(window, brenik::volumebar::kMsgStandInChanged, 0, 0);
        if (!monitor.WaitFor(brenik::kTitleMonitor, brenik::kMsgVolumeLevel, 1, kAnswerTimeoutMs)) {
            std::printf("volume_bar_benchmark: no 1332 for the level %d\n", wanted);
            return 1;
        }
        changes.push_back((monitor.Log().front().microseconds - start) / 1000.0);

        DWORD_PTR answer = 0;
        const std::int64_t sent = NowMicroseconds();
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, kAnswerTimeoutMs, &answer);
        roundTrips.push_back((NowMicroseconds() - sent) / 1000.0);
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    controller.Wait(kAnswerTimeoutMs);

    const double change = Median(changes);
    const double roundTrip = Median(roundTrips);
    std::printf("volume_bar_benchmark: a system volume change until the monitor has its level (1332), %d rounds\n",
                kRounds);
    std::printf("  change to 1332 (median):           %7.2f ms  (slowest %.2f ms)\n", change,
                *std::max_element(changes.begin(), changes.end()));
    std::printf("  one message sent and answered:     %7.2f ms  (the baseline)\n", roundTrip);
    std::printf("  ratio:                             %7.1fx\n", roundTrip > 0 ? change / roundTrip : 0.0);
    return 0;
}
