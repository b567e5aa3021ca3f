// A full read-back (job 2 with tokens that differ) of five profiles holding 10 macros and 5
// launch entries, against the virtual keyboard in this process, which answers at once, in
// real time. The floor is what the protocol's pauses and handshake delays add up to for the
// same exchange (every sleep the code asks for, summed); the figure is how far above it the
// run ends, and the job thread's CPU time for the exchange. It runs twice, saving the profiles
// to files as the monitor does: once without the profiles' history, once keeping a copy of
// them before the read-back, and prints how far the history moves the figure.

#include "device_commands.h"
#include "device_jobs.h"
#include "report_codec.h"
#include "system_device_clock_win32.h"
#include "virtual_keyboard.h"

#include "history_folder.h"
#include "profile_history.h"
#include "profile_store.h"

#include "scoped_find.h"
#include "scoped_handle.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace brenik::monitor::device {
namespace {

std::uint64_t NowMicroseconds() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<std::uint64_t>(counter.QuadPart * 1'000'000 / frequency.QuadPart);
}

// Real sleeps, counted: their sum is the floor of the exchange.
class CountingClock final : public IDeviceClock {
public:
    void SleepMs(unsigned milliseconds) override {
        requestedMs_ += milliseconds;
        real_.SleepMs(milliseconds);
    }
    std::uint32_t NowUnixSeconds() override { return real_.NowUnixSeconds(); }
    std::uint64_t RequestedMs() const { return requestedMs_; }

private:
    SystemDeviceClock real_;
    std::uint64_t requestedMs_ = 0;
};

class Transport final : public hid::IFeatureReports {
public:
    explicit Transport(vkb::VirtualKeyboard& keyboard) : keyboard_(keyboard) {}
    bool SetFeature(std::uint8_t* report, std::size_t length) override { return keyboard_.SetFeature(report, length); }
    bool GetFeature(std::uint8_t* report, std::size_t length) override { return keyboard_.GetFeature(report, length); }

private:
    vkb::VirtualKeyboard& keyboard_;
};

class LockedState final : public IStateAccess {
public:
    LockedState() : state_(std::make_unique<StateRecord>()) {
        ClearState(*state_);
        for (int p = 0; p < kProfileCount; ++p) SetDefaultProfile(state_->Profiles[p], p);
        state_->CurrentProfile = 0;
    }
    void Read(const std::function<void(const StateRecord&)>& f) override {
        std::lock_guard<std::mutex> hold(lock_);
        f(*state_);
    }
    void Update(const std::function<void(StateRecord&)>& f) override {
        std::lock_guard<std::mutex> hold(lock_);
        f(*state_);
    }

private:
    std::mutex lock_;
    std::unique_ptr<StateRecord> state_;
};

class NoSettings final : public IDeviceSettingsStore {
public:
    void StoreFirmwareVersion(int) override {}
    bool LoadSyncToken(SyncToken&) override { return false; }  // never equal: read everything back
    void StoreSyncToken(const SyncToken&) override {}
};

class NoRepeat final : public IKeyboardRepeatSink {
public:
    void SetKeyboardDelay(int) override {}
    void SetKeyboardSpeed(int) override {}
};

// Removes a folder and everything below it (the benchmark's own program folder).
void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found{};
    const win32::ScopedFind search(FindFirstFileA((folder + "*").c_str(), &found));
    if (search.Valid()) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(folder + name + "\\");
            else DeleteFileA((folder + name).c_str());
        } while (FindNextFileA(search.Get(), &found));
    }
    RemoveDirectoryA(folder.c_str());
}

// A program folder of its own below the temporary folder, with a "config" folder.
std::string MakeProgramFolder(const char* tag) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "brenik-read-back-" + tag + "-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "config").c_str(), nullptr);
    return folder;
}

// Saves the profiles to files as the monitor does and, with the history on, keeps a copy of
// them before the read-back.
class FileHost final : public IDeviceJobHost {
public:
    FileHost(IStateAccess& state, const std::string& folder, bool keepHistory)
        : state_(state),
          store_(folder, ini::SystemIniStorage(), repeat_),
          history_(folder, ini::SystemIniStorage(), history::SystemHistoryFolder()),
          keepHistory_(keepHistory) {}
    void SaveProfiles() override {
        auto copy = std::make_unique<StateRecord>();
        state_.Read([&](const StateRecord& s) { *copy = s; });
        store_.SaveProfiles(*copy);
    }
    void PublishState() override {}
    void NotifySynchronised() override {}
    void NotifyMacroReadBack(int, int) override {}
    bool KeepProfilesBeforeReadBack() override {
        if (keepHistory_) kept = history_.Keep(history::HistoryReason::kReadBack, history::HistoryTimeNow()) == history::KeepOutcome::kKept;
        return kept;
    }
    void NotifyProfilesReadBack() override {}
    bool kept = false;

private:
    IStateAccess& state_;
    NoRepeat repeat_;
    ProfileStore store_;
    history::ProfileHistory history_;
    bool keepHistory_;
};

void Load(vkb::VirtualKeyboard& keyboard, std::vector<std::uint8_t> report) { keyboard.SetFeature(report.data(), report.size()); }

// Two macros (keys 1 and 13, 50 actions each) and one launch entry (key 38) per profile.
void LoadKeyboard(vkb::VirtualKeyboard& keyboard) {
    auto record = std::make_unique<ProfileRecord>();
    for (int p = 0; p < kProfileCount; ++p) {
        std::memset(record.get(), 0, sizeof *record);
        SetDefaultProfile(*record, p);
        for (int key : {1, 13}) {
            MacroKeyInfo& entry = record->MacroKeyInfo[key];
            entry.FunctionType = kFunctionMacro;
            std::snprintf(entry.MacroName, sizeof entry.MacroName, "Macro %d-%d", p, key);
            entry.ActionCount = 50;
            for (int a = 0; a < 50; ++a) entry.Actions[a] = {0x04, static_cast<std::uint8_t>(1 + a % 2), 10};
            std::vector<std::uint8_t> report(kMacroLength, 0);
            EncodeMacro(entry, static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(key), report.data());
            Load(keyboard, report);
        }
        MacroKeyInfo& launch = record->MacroKeyInfo[38];
        launch.FunctionType = kFunctionLaunchEntry;
        std::strcpy(launch.MacroName, "notepad");
        std::vector<std::uint8_t> report(kLaunchLength, 0);
        EncodeLaunch(launch, static_cast<std::uint8_t>(p), 38, report.data());
        Load(keyboard, report);
        for (const KeyBlockLayout* block : {&kKeyBlockA, &kKeyBlockB, &kKeyBlockC}) {
            std::vector<std::uint8_t> blockReport(block->length, 0);
            EncodeKeyBlock(*block, *record, static_cast<std::uint8_t>(p), blockReport.data());
            Load(keyboard, blockReport);
        }
    }
    keyboard.ClearTrace();
}

// The same floor from the protocol's figures: device information and current profile; per
// settings block a select pause, its handshake delay and the pause after it; per macro or
// launch entry a select pause, its handshake and the pause after its first attempt, and a
// pause after each profile's pass; the new token's handshake.
std::uint64_t ProtocolFloorMs(int entries) {
    const std::uint64_t block = kSelectPauseMs + kSelectBlockFirstDelayMs + 100;
    const std::uint64_t entry = kSelectPauseMs + kSelectEntryFirstDelayMs + 500;
    const std::uint64_t blocks = 5 + 5 + 15 + 5;  // key maps, locked keys, key functions, lighting
    return 100 + 1000 + 100 + blocks * block + static_cast<std::uint64_t>(entries) * entry + 2 * 5 * 100 +
           kBlockFirstDelayMs;
}

double FileTimeMs(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 10'000.0;
}

double ThreadCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return -1;
    return FileTimeMs(kernel) + FileTimeMs(user);
}

struct Run {
    bool keepHistory = false;
    bool kept = false;
    bool synchronised = false;
    double wallMs = 0;
    double cpuMs = 0;
    std::uint64_t floorMs = 0;
    std::size_t reports = 0;
    int macros = 0;
    int launches = 0;
};

DWORD WINAPI JobThread(void* argument) {
    Run& run = *static_cast<Run*>(argument);
    vkb::VirtualKeyboard keyboard(NowMicroseconds);
    LoadKeyboard(keyboard);
    Transport transport(keyboard);
    CountingClock clock;
    std::atomic<int> abort{0};
    std::atomic<int> synced{0};
    ReportChannel channel(transport, clock, abort);
    LockedState state;
    NoSettings settings;
    const std::string folder = MakeProgramFolder(run.keepHistory ? "history" : "plain");
    FileHost host(state, folder, run.keepHistory);
    host.SaveProfiles();  // the profile files a user has, before the keyboard is read back
    DeviceCommands commands(channel, state, settings);
    DeviceJobs jobs(commands, state, host, synced);
    commands.CheckSyncToken();

    const double cpuBefore = ThreadCpuMs();
    const std::uint64_t start = NowMicroseconds();
    run.synchronised = jobs.SynchroniseKeyboard();
    run.wallMs = static_cast<double>(NowMicroseconds() - start) / 1000.0;
    run.cpuMs = ThreadCpuMs() - cpuBefore;
    run.kept = host.kept;
    RemoveTree(folder);
    run.floorMs = clock.RequestedMs();
    run.reports = keyboard.Trace().Entries().size();
    for (const std::string& line : keyboard.Trace().Lines()) {
        if (line.rfind("GET macro", 0) == 0) ++run.macros;
        if (line.rfind("GET launch", 0) == 0) ++run.launches;
    }
    return 0;
}

}  // namespace
}  // namespace brenik::monitor::device

int main() {
    // Unbuffered, so that the figures printed are never lost, whatever happens after them.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    using brenik::monitor::device::Run;
    Run runs[2];
    runs[1].keepHistory = true;
    for (Run& run : runs) {
        const brenik::win32::ScopedHandle thread(CreateThread(nullptr, 0, &brenik::monitor::device::JobThread, &run, 0, nullptr));
        if (!thread.Valid()) return 1;
        WaitForSingleObject(thread.Get(), INFINITE);
    }

    const Run& run = runs[0];
    const double overhead = run.floorMs == 0 ? 0 : 100.0 * (run.wallMs - run.floorMs) / run.floorMs;
    std::printf("read_back_benchmark: full read-back, 5 profiles, %d macros, %d launch entries, %zu reports\n",
                run.macros, run.launches, run.reports);
    std::printf("  synchronised:            %s\n", run.synchronised ? "yes" : "NO");
    std::printf("  floor (pauses, delays):  %8.1f ms  (from the protocol's figures: %llu ms)\n",
                static_cast<double>(run.floorMs),
                static_cast<unsigned long long>(brenik::monitor::device::ProtocolFloorMs(run.macros + run.launches)));
    std::printf("  measured:                %8.1f ms\n", run.wallMs);
    std::printf("  above the floor:         %8.2f %%  (target: within 3 %%) %s\n", overhead,
                overhead <= 3.0 ? "met" : "NOT MET");
    std::printf("  job thread CPU time:     %8.1f ms\n", run.cpuMs);

    const Run& kept = runs[1];
    const double moved = run.wallMs == 0 ? 0 : 100.0 * (kept.wallMs - run.wallMs) / run.wallMs;
    std::printf("  with the profiles' history (a copy kept before the read-back: %s):\n", kept.kept ? "yes" : "NO");
    std::printf("    measured:              %8.1f ms  (without: %.1f ms)\n", kept.wallMs, run.wallMs);
    std::printf("    moved by:              %+8.2f %%  (target: within 1 %%) %s\n", moved,
                moved <= 1.0 && kept.kept ? "met" : "NOT MET");
    std::printf("    job thread CPU time:   %8.1f ms  (without: %.1f ms)\n", kept.cpuMs, run.cpuMs);
    return run.synchronised && kept.synchronised ? 0 : 1;
}
