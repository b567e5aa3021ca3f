// The real Monitor.exe under Wine, against the virtual keyboard, with the shipped WAV files:
// which file PlaySound opened for each cue. The monitor runs with WINEDEBUG=-all,+pid,+winmm,
// so Wine's winmm writes a line for every PlaySound call (its flags), for the file its playing
// thread opens and for the WAVE header it reads from it. Those lines go to the Unix standard
// error that the monitor inherits from this test; with_wine_log.sh copies that into the file
// named by --wine-log=, which this test reads back. No sound device is needed: without one
// the file is still opened and read, then the output device fails to open.
//
// Each step presses keys on the virtual keyboard and compares the cues heard since the last
// step with the expected list. A step that must be silent ends with a cue that must be heard:
// the monitor takes its key events in order, so once that cue shows, a cue of the silent
// events would already have shown before it.

#include "ini_file.h"
#include "monitor_installation_win32.h"
#include "peer_messages.h"
#include "profile_store.h"
#include "program_windows.h"
#include "running_monitor_win32.h"
#include "sound_cue_table.h"
#include "wine_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace brenik::monitor::sound {
namespace {

using test::PeerWindows;

const test::MonitorPrograms g_programs = test::MonitorProgramsFromArguments();
const std::string g_waveFolder = test::ArgumentPath("wave");  // the committed Wave tree, to install
// This process's Unix standard error, as with_wine_log.sh keeps it.
const std::string g_wineLog = test::ArgumentPath("wine-log");

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kCueTimeoutMs = 10000;
constexpr const char* kMonitorTrace = "-all,+pid,+winmm";
constexpr const char* kPlayFlags = "00022003";  // SND_FILENAME | SND_ASYNC | SND_NOWAIT | SND_NODEFAULT, as winmm prints them

// A switch left out of the profile file: it loads as -1.
constexpr std::int32_t kKeyMissing = -1000;

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && _strnicmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

// An install with the Wave tree, profile 1 current, and the keyboard's token already known, so
// the first synchronisation is two reads instead of a read-back of everything.
class Installation : public test::MonitorInstallation {
public:
    explicit Installation(const std::string& pipe)
        : MonitorInstallation("sound-e2e", g_programs.monitor, g_programs.kbhid, pipe) {
        const std::array<std::uint8_t, 16> token{};
        ini::CIniFile config(ConfigIni());
        config.WriteStruct("HidAccessCode", "Code", token.data(), token.size());
        config.WriteInt("Setting", "CurrentProfile", 0);
        waveInstalled_ = test::CopyTree(g_waveFolder, Folder() + "Wave");
    }
    bool WaveInstalled() const { return waveInstalled_; }

    // Profile n (0..4) with its defaults and these switches (kKeyMissing: the key left out).
    void WriteProfile(int n, const SoundSwitches& switches) const {
        auto record = std::make_unique<ProfileRecord>();
        SetDefaultProfile(*record, n);
        const std::string path = ProfileFile(n);
        const std::pair<const char*, std::int32_t> values[] = {{"ProfileSwitchSound", switches.ProfileSwitchSound},
                                                               {"MacroLiveRecordSound", switches.MacroLiveRecordSound},
                                                               {"CountdownTimerSound", switches.CountdownTimerSound},
                                                               {"LayerSwitchSound", switches.LayerSwitchSound}};
        record->ProfileSwitchSound = switches.ProfileSwitchSound;
        record->MacroLiveRecordSound = switches.MacroLiveRecordSound;
        record->CountdownTimerSound = switches.CountdownTimerSound;
        record->LayerSwitchSound = switches.LayerSwitchSound;
        ASSERT_TRUE(SaveProfileFile(*record, path, ini::SystemIniStorage()));
        for (const auto& [key, value] : values) {
            if (value == kKeyMissing) WritePrivateProfileStringA("Setting", key, nullptr, path.c_str());
        }
    }

private:
    bool waveInstalled_ = false;
};

// One PlaySound call of the monitor as winmm's trace tells it.
struct Cue {
    std::string flags;  // as printed, "%08X"
    std::string hmod;
    std::string file;   // as the playing thread got it
    bool readAsWave = false;
    bool done = false;
};

// The monitor's winmm lines in the log, from where the log stood when this was made.
class CueTrace {
    using ThreadCues = std::vector<std::pair<unsigned, std::size_t>>;

public:
    CueTrace(std::string log, DWORD processId) : log_(std::move(log)), processId_(processId), from_(Size()) {}

    std::vector<Cue> Read() const {
        std::vector<Cue> cues;
        std::size_t threadsSeen = 0;  // playing threads run one after another, in call order
        ThreadCues threadCue;         // thread id -> its cue
        FILE* file = std::fopen(log_.c_str(), "rb");
        if (file == nullptr) return cues;
        std::fseek(file, static_cast<long>(from_), SEEK_SET);
        char line[2048];
        while (std::fgets(line, sizeof line, file)) {
            unsigned pid = 0, tid = 0;
            int textAt = 0;
            if (std::sscanf(line, "%x:%x:trace:winmm:%n", &pid, &tid, &textAt) != 2 || textAt == 0) continue;
            if (pid != processId_) continue;
            std::string text(line + textAt);
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
            if (text.rfind("MULTIMEDIA_PlaySound ", 0) == 0) {
                Cue cue;
                cue.hmod = Field(text, "hmod=");
                cue.flags = Field(text, "fdwSound=");
                cues.push_back(cue);
            } else if (text.rfind("proc_PlaySound SoundName=L\"", 0) == 0 && threadsSeen < cues.size()) {
                cues[threadsSeen].file = Unescape(text.substr(27, text.rfind("\" !") - 27));
                threadCue.emplace_back(tid, threadsSeen++);
            } else if (Cue* cue = CueOf(cues, threadCue, tid)) {
                if (text.rfind("proc_PlaySound ParentChunk ckid=RIFF fccType=WAVE", 0) == 0) cue->readAsWave = true;
                if (text.rfind("proc_PlaySound Done playing=", 0) == 0) cue->done = true;
            }
        }
        std::fclose(file);
        return cues;
    }

private:
    std::size_t Size() const {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        return GetFileAttributesExA(log_.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
    }
    static std::string Field(const std::string& text, const std::string& name) {
        const std::size_t at = text.find(name);
        if (at == std::string::npos) return {};
        const std::size_t start = at + name.size();
        return text.substr(start, text.find(' ', start) - start);
    }
    // winmm prints the name with C escapes: a backslash is doubled.
    static std::string Unescape(const std::string& text) {
        std::string plain;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\\' && i + 1 < text.size()) ++i;
            plain += text[i];
        }
        return plain;
    }
    // The latest cue of a playing thread (Wine may hand a thread id out again later).
    static Cue* CueOf(std::vector<Cue>& cues, const ThreadCues& threadCue, unsigned tid) {
        for (auto it = threadCue.rbegin(); it != threadCue.rend(); ++it) {
            if (it->first == tid) return &cues[it->second];
        }
        return nullptr;
    }

    std::string log_;
    DWORD processId_;
    std::size_t from_;
};

// Monitor.exe started with winmm's trace on; closed at the end.
class TracedMonitor {
public:
    explicit TracedMonitor(const Installation& install) : install_(install) {}

    bool Start() {
        char previous[256] = {};
        const DWORD had = GetEnvironmentVariableA("WINEDEBUG", previous, sizeof previous);
        SetEnvironmentVariableA("WINEDEBUG", kMonitorTrace);  // only the monitor is started with it
        const bool started = process_.Launch(install_.Monitor());
        SetEnvironmentVariableA("WINEDEBUG", had > 0 && had < sizeof previous ? previous : nullptr);
        if (!started) return false;
        trace_ = std::make_unique<CueTrace>(g_wineLog, GetProcessId(process_.Handle()));
        return test::WaitForMonitorWindow(kStartTimeoutMs);
    }
    long Close() { return process_.Close(); }

    // The files of the cues played since the last call, relative to the install folder, once
    // `count` new cues have finished (or the time is up). Each is printed as "played <file>".
    std::vector<std::string> NewCues(std::size_t count) {
        std::vector<Cue> cues;
        test::WaitUntil(
            [&] {
                cues = trace_->Read();
                std::size_t done = 0;
                for (std::size_t i = seen_; i < cues.size(); ++i) done += cues[i].done ? 1 : 0;
                return done >= count;
            },
            kCueTimeoutMs, 50);
        std::vector<std::string> files;
        for (std::size_t i = seen_; i < cues.size(); ++i) {
            const Cue& cue = cues[i];
            EXPECT_EQ(cue.flags, kPlayFlags) << cue.file;
            EXPECT_EQ(cue.hmod, "0000000000000000") << cue.file;
            EXPECT_TRUE(cue.readAsWave) << cue.file << ": not opened and read as a WAVE file";
            const bool inInstall = StartsWithNoCase(cue.file, install_.Folder());
            EXPECT_TRUE(inInstall) << cue.file;
            const std::string file = inInstall ? cue.file.substr(install_.Folder().size()) : cue.file;
            std::printf("played %s\n", file.c_str());
            files.push_back(file);
        }
        std::fflush(stdout);
        seen_ = cues.size();
        return files;
    }

private:
    const Installation& install_;
    test::RunningMonitor process_;
    std::unique_ptr<CueTrace> trace_;
    std::size_t seen_ = 0;
};

using Files = std::vector<std::string>;

// Runs vkbd commands in order; every one must be taken.
void Keys(test::VirtualKeyboardServer& keyboard, const std::vector<std::string>& commands) {
    for (const std::string& command : commands) {
        std::printf("vkbd %s\n", command.c_str());
        ASSERT_EQ(keyboard.Command(command), 0) << command;
    }
}

constexpr SoundSwitches kAllOn{1, 1, 1, 1};

class SoundEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(g_wineLog.empty()) << "run through with_wine_log.sh, which gives --wine-log=";
        ASSERT_TRUE(keyboard_.Start());
        install_ = std::make_unique<Installation>(keyboard_.Pipe());
        ASSERT_TRUE(install_->WaveInstalled()) << "the Wave tree from " << g_waveFolder;
    }
    // Starts the monitor and waits for the end of its first synchronisation.
    void StartMonitor() {
        monitor_ = std::make_unique<TracedMonitor>(*install_);
        ASSERT_TRUE(monitor_->Start());
        ASSERT_TRUE(peers_.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kStartTimeoutMs))
            << "first synchronisation";
    }

    test::VirtualKeyboardServer keyboard_{g_programs.tools, "BrenikSoundE2E"};
    std::unique_ptr<Installation> install_;
    PeerWindows peers_{{kTitleVolumeController}};
    std::unique_ptr<TracedMonitor> monitor_;
};

TEST_F(SoundEndToEnd, EveryCuePlaysItsFileFromTheWaveFolder) {
    for (int n = 0; n < kProfileCount; ++n) install_->WriteProfile(n, kAllOn);
    StartMonitor();

    Keys(keyboard_, {"profile 2", "profile 3", "profile 4", "profile 5", "profile 1"});
    EXPECT_EQ(monitor_->NewCues(5), (Files{"Wave\\Profile\\profile_two.wav", "Wave\\Profile\\profile_three.wav",
                                           "Wave\\Profile\\profile_four.wav", "Wave\\Profile\\profile_five.wav",
                                           "Wave\\Profile\\profile_one.wav"}));

    // A macro recorded live on key 7, one aborted on key 8; steps 5 and 6 the keyboard sends
    // when the key cannot take a macro or the memory is full.
    Keys(keyboard_, {"record-macro 7 0x04 0x05", "abort-macro 8", "event 0x5000 0x0509", "event 0x5000 0x0600"});
    EXPECT_EQ(monitor_->NewCues(8), (Files{"Wave\\MacroLiveRecord\\1_driver_select_macro_key.wav",
                                           "Wave\\MacroLiveRecord\\2_driver_enter_macro_key_and_press.wav",
                                           "Wave\\MacroLiveRecord\\3_driver_macro_recorded_successfuly.wav",
                                           "Wave\\MacroLiveRecord\\1_driver_select_macro_key.wav",
                                           "Wave\\MacroLiveRecord\\2_driver_enter_macro_key_and_press.wav",
                                           "Wave\\MacroLiveRecord\\4_driver_macro_recording_aborted.wav",
                                           "Wave\\MacroLiveRecord\\5_driver_key_not_available.wav",
                                           "Wave\\MacroLiveRecord\\6_driver_Macro_full_recorded.wav"}));

    Keys(keyboard_, {"countdown 1", "countdown 2", "countdown 3", "countdown 4", "countdown 5", "countdown 6",
                     "countdown 7", "countdown 8", "countdown 1", "countdown stop"});
    EXPECT_EQ(monitor_->NewCues(10), (Files{"Wave\\Timer\\timer_activated.wav", "Wave\\Timer\\10_second.wav",
                                            "Wave\\Timer\\5_second.wav", "Wave\\Timer\\4_second.wav",
                                            "Wave\\Timer\\3_second.wav", "Wave\\Timer\\2_second.wav",
                                            "Wave\\Timer\\1_second.wav", "Wave\\Timer\\go.wav",
                                            "Wave\\Timer\\timer_activated.wav", "Wave\\Timer\\timer_stopped.wav"}));

    Keys(keyboard_, {"layer extended", "layer standard"});
    EXPECT_EQ(monitor_->NewCues(2),
              (Files{"Wave\\ExtendedLayer\\Extended_layer.wav", "Wave\\ExtendedLayer\\Standard_Layer.wav"}));
    EXPECT_EQ(monitor_->Close(), 0);
}

TEST_F(SoundEndToEnd, ASwitchThatIsNotOneAndSubCodesWithoutAFileStaySilent) {
    install_->WriteProfile(0, kAllOn);
    install_->WriteProfile(1, kAllOn);
    install_->WriteProfile(2, {0, 1, 1, 1});  // profile 3: no profile cue
    install_->WriteProfile(3, {0, 0, 0, 0});  // profile 4: nothing
    install_->WriteProfile(4, {1, kKeyMissing, 1, kKeyMissing});
    StartMonitor();

    // Profile key 3 from profile 1, whose switch is on: profile 3's own switch (0) decides.
    Keys(keyboard_, {"profile 3", "countdown 1"});
    EXPECT_EQ(monitor_->NewCues(1), (Files{"Wave\\Timer\\timer_activated.wav"}));

    // Everything off on profile 4: its key, a macro, the countdown and the layer.
    Keys(keyboard_, {"profile 4", "record-macro 3 0x06", "abort-macro 4", "countdown 2", "countdown stop",
                     "layer extended", "layer standard", "profile 5"});
    EXPECT_EQ(monitor_->NewCues(1), (Files{"Wave\\Profile\\profile_five.wav"}));

    // Profile 5 has no layer or macro keys in its file: read as -1, off.
    Keys(keyboard_, {"layer extended", "layer standard", "abort-macro 9", "countdown stop"});
    EXPECT_EQ(monitor_->NewCues(1), (Files{"Wave\\Timer\\timer_stopped.wav"}));

    // Sub-codes without a file, on profile 2 where every switch is on: 0x3000 with qualifier 1
    // and key byte 2 switches to profile 2 without a cue; macro steps 0 and 7; countdown step 9
    // and stop qualifier 2; layer sub-code 0 (the standard layer, silently) and 0x01FF.
    Keys(keyboard_, {"event 0x3000 0x0102", "event 0x5000 0x0001", "event 0x5000 0x0701", "event 0xB000 0x0900",
                     "event 0xC000 0x0200", "event 0xE000 0x0000", "event 0xE000 0x01FF", "countdown 8"});
    EXPECT_EQ(monitor_->NewCues(1), (Files{"Wave\\Timer\\go.wav"}));
    EXPECT_EQ(monitor_->Close(), 0);
}

}  // namespace
}  // namespace brenik::monitor::sound
