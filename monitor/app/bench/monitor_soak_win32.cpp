#include "monitor_soak_win32.h"

#include "bench_timer.h"
#include "event_word.h"
#include "ini_device_settings.h"
#include "monitor_inbox.h"
#include "monitor_installation_win32.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "shared_block_peer_win32.h"
#include "state_change_flags.h"
#include "wine_test_support.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace brenik::monitor::test {
using brenik::test::ChildProcess;
using brenik::test::CopyTree;
using brenik::test::MonitorInstallation;
using brenik::test::PeerWindows;
using brenik::test::SecondsNow;
using brenik::test::SharedBlockPeer;
using brenik::test::TempFolder;
using brenik::test::VirtualKeyboardServer;
using brenik::test::WaitUntil;

namespace {

constexpr DWORD kStartTimeoutMs = 15000;
// The first synchronisation with a known token is two reads; a read-back of everything
// would take a minute.
constexpr DWORD kFirstSyncTimeoutMs = 60000;
constexpr DWORD kAnswerTimeoutMs = 10000;
// A batch queues at most a few jobs of a few seconds each; far beyond that, it is late.
constexpr DWORD kBatchTimeoutMs = 60000;
constexpr DWORD kSettleMs = 2000;
// Events the keyboard sends on its own arrive a little after vkbd.exe has returned.
constexpr DWORD kKeyboardQuietMs = 1000;
constexpr DWORD kRetryPostMs = 50;
// A checkpoint's counters are the least of readings over 3 s: a cue plays for about a second.
constexpr int kSettledReadings = 13;
constexpr DWORD kSettledIntervalMs = 250;
constexpr DWORD kCloseTimeoutMs = 15000;

// Layer key bytes that are neither the extended (1) nor the standard (255) layer's: the
// layer becomes standard and no cue plays, and each marks one batch's end.
constexpr std::uint32_t kFirstMarker = 2;
constexpr std::uint32_t kMarkerCount = 253;

// The media player each profile chooses, so every player's path runs (none of them is
// installed: Winamp's start is looked up and refused each time).
constexpr std::int32_t kPlayerOfProfile[kProfileCount] = {0, 1, 2, 3, -1};

// Changes of the shared block before each 1224, in turn; the last one asks for the
// whole-keyboard command instead.
constexpr std::uint32_t kChangeKinds = 6;
constexpr WPARAM kApplyFlaggedChanges = 0;
constexpr WPARAM kApplyWholeKeyboard = 1;

// The lighting event of the last check, and its notice to the settings program.
constexpr std::uint16_t kFinalLightingValue = 0x42;

const std::vector<std::string> kPeerTitles = {kTitleSettings, kTitleOsd, kTitleVolumeController};

class SoakRun {
public:
    SoakRun(const SoakPrograms& programs, const SoakOptions& options)
        : programs_(programs), options_(options), keyboard_(programs.tools, "BrenikSoak"), peers_(kPeerTitles) {}

    SoakResult Run() {
        if (Start()) {
            Checkpoint("start");
            RunEvents();
        }
        if (result_.failure.empty()) Finish();
        Close();
        return result_;
    }

private:
    bool Fail(const std::string& why) {
        if (result_.failure.empty()) result_.failure = why;
        return false;
    }

    HWND Window() const { return FindWindowA(nullptr, kTitleMonitor); }

    bool Start() {
        if (!keyboard_.Start()) return Fail("the virtual keyboard's server did not start");
        install_ = std::make_unique<MonitorInstallation>("soak", programs_.monitor, programs_.kbhid, keyboard_.Pipe());
        // The fresh virtual keyboard's token is all zeros: stored beforehand, the first
        // synchronisation reads no settings back.
        IniDeviceSettings(install_->ConfigIni(), ini::SystemIniStorage()).StoreSyncToken(device::SyncToken{});
        if (!programs_.wave.empty()) result_.waveInstalled = CopyTree(programs_.wave, install_->Folder() + "Wave");

        const double started = SecondsNow();
        if (!monitor_.Start(install_->Monitor(), "")) return Fail("Monitor.exe did not start");
        if (!WaitUntil([&] { return install_->DeviceKey() == 1 && Window() != nullptr; }, kStartTimeoutMs)) {
            return Fail("the monitor did not start with the keyboard attached");
        }
        if (!peers_.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kFirstSyncTimeoutMs)) {
            return Fail("the first synchronisation did not end");
        }
        result_.startSeconds = SecondsNow() - started;
        if (!block_.Open()) return Fail("the shared block cannot be opened");
        TurnOnCuesAndPlayers();
        Sleep(kSettleMs);
        return Drain(0);
    }

    // Every profile plays its cues and names a media player, as the settings program would set them.
    void TurnOnCuesAndPlayers() {
        std::unique_ptr<StateRecord> record = block_.Read();
        for (int p = 0; p < kProfileCount; ++p) {
            ProfileRecord& profile = record->Profiles[p];
            profile.ProfileSwitchSound = 1;
            profile.MacroLiveRecordSound = 1;
            profile.CountdownTimerSound = 1;
            profile.LayerSwitchSound = 1;
            profile.MediaOption = kPlayerOfProfile[p];
        }
        block_.Write(*record);
        PostMessageA(Window(), kMsgRereadShared1, 0, 0);
    }

    void RunEvents() {
        const std::uint32_t half = options_.events / 2;
        const std::uint32_t tenth = options_.events / 10 > 0 ? options_.events / 10 : 1;
        bool halfTaken = false;
        first_ = SecondsNow();
        std::uint32_t done = 0;
        while (done < options_.events) {
            const std::uint32_t count = std::min(options_.batch, options_.events - done);
            for (std::uint32_t i = done; i < done + count; ++i) Send(i);
            const std::uint32_t before = done;
            done += count;
            if (!Drain(done)) return;
            if (!halfTaken && done >= half) {
                Checkpoint("half");
                halfTaken = true;
            }
            if (options_.printProgress && before / tenth != done / tenth) {
                std::printf("  %6u of %u events, %5.0f s\n", done, options_.events, SecondsNow() - first_);
                std::fflush(stdout);
            }
        }
        Sleep(kKeyboardQuietMs);
        if (Drain(done)) Checkpoint("end");
    }

    void Send(std::uint32_t index) {
        const SoakEvent event = SoakEventAt(index);
        ++result_.perGroup[static_cast<std::size_t>(event.group)];
        ++result_.eventsSent;
        switch (event.kind) {
            case SoakEvent::Kind::kKeyEvent: PostKeyEvent(event.eventClass, event.subCode); break;
            case SoakEvent::Kind::kTextMessage: SendText(index, event.textBytes); break;
            case SoakEvent::Kind::kKeyboardAction:
                if (keyboard_.Command(event.keyboardWords) != 0) ++result_.keyboardRefusals;
                break;
        }
    }

    // As kbhid.dll posts it; a full queue is tried once more after a short pause.
    void PostKeyEvent(std::uint16_t eventClass, std::uint16_t subCode) {
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (PostMessageA(Window(), kMsgKeyEvent, eventClass, subCode)) return;
            ++result_.refusedPosts;
            Sleep(kRetryPostMs);
        }
    }

    // As another program sends it: the block lives only for the call.
    void SendText(std::uint32_t index, std::size_t bytes) {
        std::string block = SoakTextBlock(index, bytes);
        COPYDATASTRUCT data{0, static_cast<DWORD>(block.size()), block.data()};
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutA(Window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                                 kAnswerTimeoutMs, &answer)) {
            ++result_.unansweredTexts;
        }
    }

    bool SawLayerMarker(std::uint32_t marker) const {
        for (const PeerWindows::Received& r : peers_.Log()) {
            if (r.title == kTitleSettings && r.message == kMsgLayerChanged && static_cast<std::uint32_t>(r.lParam) == marker) {
                return true;
            }
        }
        return false;
    }

    // The change the settings program makes before its n-th 1224; returns 1224's wParam.
    WPARAM EditSharedBlock(std::uint32_t n) {
        std::unique_ptr<StateRecord> record = block_.Read();
        ClearChangeFlags(*record);  // last round's flags are in the block, published back
        const int p = static_cast<int>((n / kChangeKinds) % kProfileCount);
        WPARAM argument = kApplyFlaggedChanges;
        switch (n % kChangeKinds) {
            case 0:
                record->Profiles[p].LtColorRed = static_cast<std::int32_t>(n % 256);
                record->LightingChanged[p] = 1;
                break;
            case 1: record->StandardKeyChanged[p] = 1; break;
            case 2: record->LockKeysChanged[p] = 1; break;
            case 3: record->ProfileChanged = 1; break;
            case 4: record->KeyChanged[p][n % kProgrammableKeys] = 1; break;
            default: argument = kApplyWholeKeyboard; break;
        }
        block_.Write(*record);
        return argument;
    }

    // Waits until the window and the job thread have worked through everything sent so far,
    // then asks the window for an answer. False when the monitor ended or did not answer.
    bool Drain(std::uint32_t eventsDone) {
        bool late = false;
        const std::uint32_t marker = kFirstMarker + result_.markers % kMarkerCount;
        ++result_.markers;
        PostKeyEvent(kClassLayer, static_cast<std::uint16_t>(marker));
        late |= !WaitUntil([&] { return SawLayerMarker(marker) || !monitor_.Running(); }, kBatchTimeoutMs);

        const WPARAM argument = EditSharedBlock(result_.settingsChanges++);
        PostMessageA(Window(), kMsgSettingsChanged, argument, 0);
        late |= !WaitUntil([&] { return peers_.Count(kTitleSettings, kMsgEnableButtons) > 0 || !monitor_.Running(); },
                           kBatchTimeoutMs);
        if (late) ++result_.lateBatches;
        peers_.Clear();

        if (!monitor_.Running()) {
            return Fail("the monitor ended after " + std::to_string(eventsDone) + " events (exit code " +
                        std::to_string(monitor_.Wait(0)) + ")");
        }
        const double asked = SecondsNow();
        if (!Answers()) return Fail("the monitor did not answer after " + std::to_string(eventsDone) + " events");
        result_.slowestAnswerMs = std::max(result_.slowestAnswerMs, static_cast<DWORD>((SecondsNow() - asked) * 1000));
        return true;
    }

    bool Answers() const {
        DWORD_PTR answer = 0;
        return SendMessageTimeoutA(Window(), kMsgNoActionTrue, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &answer) != 0 &&
               answer == 1;
    }

    void Checkpoint(const char* name) {
        SoakCheckpoint checkpoint;
        checkpoint.name = name;
        checkpoint.eventsDone = result_.eventsSent;
        checkpoint.seconds = first_ > 0 ? SecondsNow() - first_ : 0;
        checkpoint.counters = ReadSettledCounters(monitor_.Handle(), kSettledReadings, kSettledIntervalMs);
        checkpoint.keyboardReports = TakeKeyboardReports();
        result_.checkpoints.push_back(checkpoint);
    }

    // The SET and GET lines of the keyboard's trace, which is then cleared for the next count.
    long TakeKeyboardReports() {
        const std::string file = traceFolder_.File("trace.txt");
        long reports = -1;
        if (keyboard_.Command("trace " + file) == 0) {
            reports = 0;
            if (FILE* trace = std::fopen(file.c_str(), "rb")) {
                char line[512];
                while (std::fgets(line, sizeof line, trace)) {
                    reports += std::strstr(line, " SET ") != nullptr || std::strstr(line, " GET ") != nullptr;
                }
                std::fclose(trace);
            }
        }
        keyboard_.Command("trace clear");
        return reports;
    }

    void Finish() {
        Sleep(options_.idleMs);
        Checkpoint("idle");
        if (!monitor_.Running()) {
            Fail("the monitor ended while idle");
            return;
        }
        result_.answeredAfterIdle = Answers();
        peers_.Clear();
        PostKeyEvent(kClassLighting, kFinalLightingValue);
        result_.eventHandledAfterIdle = peers_.WaitFor(kTitleSettings, kMsgLightingChanged, 1, kAnswerTimeoutMs);
    }

    void Close() {
        if (!monitor_.Running()) return;
        PostMessageA(Window(), WM_CLOSE, 0, 0);
        result_.exitCode = monitor_.Wait(kCloseTimeoutMs);
    }

    const SoakPrograms& programs_;
    const SoakOptions& options_;
    SoakResult result_;
    VirtualKeyboardServer keyboard_;
    PeerWindows peers_;
    std::unique_ptr<MonitorInstallation> install_;
    ChildProcess monitor_;
    SharedBlockPeer block_;
    TempFolder traceFolder_{"soak-trace"};
    double first_ = 0;
};

}  // namespace

SoakResult RunMonitorSoak(const SoakPrograms& programs, const SoakOptions& options) {
    SoakRun run(programs, options);
    return run.Run();
}

}  // namespace brenik::monitor::test
