// Monitor.exe under Wine against a faulty virtual keyboard. For each of the four device jobs
// (1 apply changes, 2 synchronise, 3 write the current profile, 4 read back a recorded macro),
// the keyboard is made busy for ever, refuses sends or reads, spoils macro checksums, or is
// pulled out after a counted number of reports, so that the unplug lands at a known point
// inside the job. Every case shows, from the keyboard's decoded trace, where the job stopped
// and that it ended within its bound; that nothing of a failed exchange reached the profile
// files or config.ini's token; that the monitor's window still answers a sent message in
// time; and then that the next good run of the job succeeds.
//
// One row per case. Jobs 1, 4 and 3 share one monitor start (the keyboard's token in
// config.ini, so contacts trust the files); job 2 has its own, with a token the keyboard does
// not hold, so that every contact reads back. Only profile 0 exchanges key functions and
// macros (HDDKeyboard), which keeps a whole read-back near 12 s.

#include "ini_file.h"
#include "ini_storage.h"
#include "keyboard_trace_win32.h"
#include "monitor_inbox.h"
#include "monitor_installation_win32.h"
#include "monitor_messages.h"
#include "peer_messages.h"
#include "profile_store.h"
#include "program_windows.h"
#include "running_monitor_win32.h"
#include "shared_block_peer_win32.h"
#include "state_record.h"
#include "wine_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace brenik::monitor::device {
namespace {

using test::MonitorWindow;
using test::PeerWindows;
using test::TraceEntry;

const test::MonitorPrograms g_programs = test::MonitorProgramsFromArguments();

constexpr DWORD kJobTimeoutMs = 20000;
// The arrival pause, the token check and a synchronisation that trusts the files.
constexpr DWORD kArrivalTimeoutMs = kArrivalSettleMs + 10000;
// The arrival pause and a whole read-back (about 12 s here, 15 s with the macro's retries).
constexpr DWORD kReadBackTimeoutMs = kArrivalSettleMs + 40000;
// How long the monitor's window may take to answer a sent message.
constexpr DWORD kAnswerTimeoutMs = 1000;
// From the report after which the keyboard is pulled out to the end of the job: kbhid sees
// the removal on its next event poll (200 ms), the abort ends the wait in progress within one
// slice (100 ms) and a select's plain 100 ms pause may still run; the rest is Wine's scheduling.
constexpr std::int64_t kAbortBoundUs = 1500000;
// A close takes about 2 s under Wine, most of it the tray icon's removal; one handshake given
// up on a busy keyboard would add 9.3 s.
constexpr std::int64_t kCloseBoundUs = 5000000;
// Slack on a job's own schedule for Wine's scheduling and the messages' way.
constexpr std::int64_t kSlackUs = 1500000;
// A job that tells no one is watched this long after its last report.
constexpr DWORD kQuietMs = 700;

// Profile 0 exchanges key functions and macros; the others only key maps, locked keys and
// lighting. Each file's first standard key differs from the keyboard's (0x35), so a save of
// anything read back shows in the files.
constexpr int kHddProfile = 0;
constexpr std::uint8_t kFileFirstStandardKey = 0x29;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Hex(const std::uint8_t* bytes, std::size_t count) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::size_t i = 0; i < count; ++i) {
        hex += kDigits[bytes[i] >> 4];
        hex += kDigits[bytes[i] & 0x0F];
    }
    return hex;
}

class Keyboard : public test::VirtualKeyboardServer {
public:
    explicit Keyboard(const char* tag) : VirtualKeyboardServer(g_programs.tools, std::string("BrenikDeviceFaults-") + tag) {}

    // Runs a vkbd command that must be taken.
    void Tell(const std::string& words) { ASSERT_EQ(Command(words), 0) << "vkbd " << words; }
    // The trace from `since` (NowMicroseconds) on.
    std::vector<TraceEntry> Trace(std::int64_t since = 0) {
        std::vector<TraceEntry> entries;
        for (TraceEntry& entry : test::ReadKeyboardTrace(*this)) {
            if (entry.microseconds >= since) entries.push_back(std::move(entry));
        }
        return entries;
    }
    // The keyboard's sync token as 32 hex digits.
    std::string Token() {
        std::string json;
        Command("dump", &json);
        const std::string key = "\"syncToken\": \"";
        const std::size_t at = json.find(key);
        return at == std::string::npos ? "" : json.substr(at + key.size(), 32);
    }
};

// What a failed exchange must leave alone: the five profile files and config.ini's token.
struct Stored {
    std::string token;
    std::array<std::string, kProfileCount> profiles;
    bool operator==(const Stored& other) const { return token == other.token && profiles == other.profiles; }
};

class Installation : public test::MonitorInstallation {
public:
    explicit Installation(const std::string& pipe)
        : MonitorInstallation("device-faults", g_programs.monitor, g_programs.kbhid, pipe) {}

    // Profile files as the monitor writes them, current profile 0, and a token of `fill`
    // bytes (the keyboard starts with zeros, so 0 makes the first contact trust the files).
    void Prepare(std::uint8_t fill) const {
        for (int n = 0; n < kProfileCount; ++n) {
            auto record = std::make_unique<ProfileRecord>();
            SetDefaultProfile(*record, n);
            record->HDDKeyboard = n == kHddProfile ? 1 : 0;
            record->standardkey[0] = kFileFirstStandardKey;
            SaveProfileFile(*record, ProfileFile(n), ini::SystemIniStorage());
        }
        ini::CIniFile config(ConfigIni());
        config.WriteInt("Setting", "CurrentProfile", 0);
        std::uint8_t token[16];
        std::memset(token, fill, sizeof token);
        config.WriteStruct("HidAccessCode", "Code", token, sizeof token);
    }
    // config.ini's token as 32 hex digits, "" when it cannot be read.
    std::string Token() const {
        std::uint8_t token[16] = {};
        if (!ini::CIniFile(ConfigIni()).ReadStruct("HidAccessCode", "Code", token, sizeof token)) return "";
        return Hex(token, sizeof token);
    }
    Stored Snapshot() const {
        Stored stored;
        stored.token = Token();
        for (int n = 0; n < kProfileCount; ++n) stored.profiles[n] = ReadBytes(ProfileFile(n));
        return stored;
    }
    bool Entry(int n, int key, MacroKeyInfo& entry) const {
        return ini::CIniFile(ProfileFile(n)).ReadStruct("Setting", "MacroKeyInfo" + std::to_string(key), &entry, sizeof entry);
    }
    int Int(int n, const char* key) const { return ini::CIniFile(ProfileFile(n)).ReadInt("Setting", key, -7); }
    std::uint8_t FirstStandardKey(int n) const {
        std::uint8_t keys[kStandardKeyCount] = {};
        ini::CIniFile(ProfileFile(n)).ReadStruct("Setting", "standardKey", keys, sizeof keys);
        return keys[0];
    }
};

// The monitor's window answers a sent message (1327 is answered 1 and does nothing) in time.
bool MonitorAnswers() {
    HWND window = MonitorWindow();
    DWORD_PTR result = 0;
    return window != nullptr &&
           SendMessageTimeoutA(window, kMsgNoActionTrue, 0, 0, SMTO_NORMAL, kAnswerTimeoutMs, &result) != 0 && result == 1;
}

// The time of the first message `message` the peer `title` received, 0 when none came.
std::int64_t ReceivedAt(const PeerWindows& peers, const std::string& title, UINT message) {
    for (const PeerWindows::Received& r : peers.Log()) {
        if (r.title == title && r.message == message) return r.microseconds;
    }
    return 0;
}

// The reports the keyboard took (status polls included), host notes and refusals aside.
std::vector<TraceEntry> Taken(const std::vector<TraceEntry>& trace) {
    std::vector<TraceEntry> taken;
    for (const TraceEntry& entry : trace) {
        if (!entry.Refused() && !entry.IsHostNote()) taken.push_back(entry);
    }
    return taken;
}

// Every report that reached the keyboard, taken or refused.
std::vector<TraceEntry> Reports(const std::vector<TraceEntry>& trace) {
    std::vector<TraceEntry> reports;
    for (const TraceEntry& entry : trace) {
        if (!entry.IsHostNote()) reports.push_back(entry);
    }
    return reports;
}

std::string Lines(const std::vector<TraceEntry>& trace) {
    std::string text;
    for (const TraceEntry& entry : trace) text += "\n  " + entry.text;
    return text;
}

std::string CaseName(const char* fault, int unplugAfter, const char* shows) {
    std::string name = *fault ? std::string("fault ") + fault : std::string("no fault");
    if (unplugAfter > 0) name += ", unplugged after " + std::to_string(unplugAfter) + " report(s)";
    return name + ": " + shows;
}

// The keyboard server, an install of the monitor and the stand-ins for the two companions
// that hear of the jobs (the settings program and the volume controller).
struct Rig {
    explicit Rig(const char* tag) : keyboard(tag) {}

    // The keyboard and the files; the monitor is started separately, so that a test can arm
    // a fault for the first contact.
    bool Prepare(std::uint8_t tokenFill) {
        if (!keyboard.Start()) return false;
        install = std::make_unique<Installation>(keyboard.Pipe());
        install->Prepare(tokenFill);
        return true;
    }
    bool StartMonitor() { return monitor.Start(install->Monitor()); }
    // Prepare and start with the keyboard's own token, and wait for the first synchronisation
    // (it trusts the files) to end, host state included.
    bool Start() {
        return Prepare(0x00) && StartMonitor() && peers.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kJobTimeoutMs) &&
               peers.Count(kTitleSettings, kMsgSyncDone) == 1;
    }
    long CloseMonitor() { return monitor.Close(); }
    // Waits until the monitor has let go of the keyboard (from `since` on): the first step of
    // its removal, which sets the job's abort flag next.
    void WaitForRemoval(std::int64_t since) {
        auto letGo = [&] { return test::CountStartingWith(keyboard.Trace(since), "HOST close-device") > 0; };
        ASSERT_TRUE(test::WaitUntil(letGo, kJobTimeoutMs, 200)) << "removal handled";
    }
    // Plugs the keyboard in again and waits for the synchronisation that follows, which reads
    // nothing back: the tokens still match.
    void Replug() {
        const std::int64_t plugged = test::NowMicroseconds();
        peers.Clear();
        keyboard.Tell("plug");
        ASSERT_TRUE(peers.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kArrivalTimeoutMs)) << "the next synchronisation";
        EXPECT_EQ(peers.Count(kTitleSettings, kMsgSyncDone), 1);
        EXPECT_EQ(test::CountStartingWith(keyboard.Trace(plugged), "SET select"), 0) << "tokens matched: nothing read back";
    }
    // Waits until `count` reports from `since` on reached the keyboard and then nothing more
    // for a while: the end of a job that tells no one.
    std::vector<TraceEntry> WaitForQuiet(std::int64_t since, std::size_t count) {
        test::WaitUntil([&] { return Reports(keyboard.Trace(since)).size() >= count; }, kJobTimeoutMs, 200);
        Sleep(kQuietMs);
        return keyboard.Trace(since);
    }

    Keyboard keyboard;
    PeerWindows peers{std::vector<std::string>{kTitleSettings, kTitleVolumeController}};
    std::unique_ptr<Installation> install;
    test::RunningMonitor monitor;
};

// ---- Job 2: synchronise, at start-up and after each plug-in, the tokens differing

// The keyboard's reports in a read-back, from the token check on:
//  1 GET sync-token (window thread), 2 GET device-info, 3 GET current-profile,
//  4..18 the five standard key maps (select, status, data each), 19..33 the locked keys,
//  34..42 profile 0's three key blocks, 43..45 its macro on key index 4, 46..60 the lighting,
//  then the token and the host state.
struct SyncCase {
    const char* fault;      // vkbd fault words armed before the first contact ("" none)
    int unplugAfter;        // reports before the keyboard is pulled out; 0: stays in
    const char* lastTaken;  // the last report the keyboard took ("" none)
    const char* shows;
};

const SyncCase kSyncCases[] = {
    {"refuse-read 2", 0, "",
     "at start-up the token and the device information are refused: the job ends at once, no host state"},
    {"", 11, "GET status=1",
     "plugged in, then pulled out between profile 2's select and its key map: the read-back stops there"},
    {"", 43, "SET select profile=0 selector=0x04 macro key=4",
     "pulled out during the macro entry's 1000 ms handshake: the wait and the retries are cut short"},
};

TEST(DeviceFaults, Job2SynchroniseFailsWithoutSavingAndTheNextGoodOneReadsEverythingBack) {
    Rig rig("sync");
    // What the keyboard holds and the files do not: its lighting control and a macro on key 5.
    ASSERT_TRUE(rig.Prepare(0x55));  // a token the keyboard does not hold: every contact reads back
    rig.keyboard.Tell("lighting 77");
    rig.keyboard.Tell("record-macro 5 0x0B 0x0C");
    const Stored before = rig.install->Snapshot();

    for (const SyncCase& c : kSyncCases) {
        SCOPED_TRACE(CaseName(c.fault, c.unplugAfter, c.shows));
        const bool atStart = &c == &kSyncCases[0];
        if (*c.fault) rig.keyboard.Tell(std::string("fault ") + c.fault);
        if (c.unplugAfter > 0) rig.keyboard.Tell("fault unplug-after " + std::to_string(c.unplugAfter));
        const std::int64_t since = test::NowMicroseconds();
        rig.peers.Clear();
        if (atStart) {
            ASSERT_TRUE(rig.StartMonitor());
        } else {
            rig.keyboard.Tell("plug");
        }
        ASSERT_TRUE(rig.peers.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kReadBackTimeoutMs)) << "job 2 ended";
        const std::int64_t ended = ReceivedAt(rig.peers, kTitleVolumeController, kMsgVolumeSyncDone);
        const std::vector<TraceEntry> trace = rig.keyboard.Trace(since);
        const std::vector<TraceEntry> taken = Taken(trace);

        if (c.unplugAfter > 0) {
            ASSERT_EQ(taken.size(), static_cast<std::size_t>(c.unplugAfter)) << Lines(trace);
            EXPECT_TRUE(taken.back().StartsWith(c.lastTaken)) << Lines(trace);
            EXPECT_LT(ended - taken.back().microseconds, kAbortBoundUs) << "from the unplug to the end of the job";
        } else {
            ASSERT_EQ(trace.size(), 2u) << Lines(trace);
            EXPECT_TRUE(trace[0].StartsWith("GET sync-token") && trace[0].Refused()) << trace[0].text;
            EXPECT_TRUE(trace[1].StartsWith("GET device-info") && trace[1].Refused()) << trace[1].text;
            EXPECT_LT(ended - trace[1].microseconds, kAbortBoundUs) << "from the refused read to the end of the job";
        }
        EXPECT_EQ(test::CountStartingWith(trace, "SET host-state"), 0);
        EXPECT_EQ(test::CountStartingWith(trace, "SET sync-token"), 0) << "no token for a failed synchronisation";
        EXPECT_EQ(rig.peers.Count(kTitleSettings, kMsgSyncDone), 0);
        EXPECT_TRUE(rig.install->Snapshot() == before) << "nothing read in a failed synchronisation is saved";
        EXPECT_TRUE(MonitorAnswers());
        if (c.unplugAfter == 0) rig.keyboard.Tell("unplug");
        rig.WaitForRemoval(since);
    }

    // The next good synchronisation, with two spoiled macro replies on the way: the macro is
    // read three times (500 ms apart), everything arrives in the files, a token is issued.
    SCOPED_TRACE(CaseName("bad-checksum 2", 0, "plugged in: the third reading of the macro counts; the read-back succeeds"));
    rig.keyboard.Tell("fault bad-checksum 2");
    const std::int64_t since = test::NowMicroseconds();
    rig.peers.Clear();
    rig.keyboard.Tell("plug");
    ASSERT_TRUE(rig.peers.WaitFor(kTitleSettings, kMsgSyncDone, 1, kReadBackTimeoutMs)) << "read-back finished";
    ASSERT_TRUE(rig.peers.WaitFor(kTitleVolumeController, kMsgVolumeSyncDone, 1, kJobTimeoutMs));
    const std::vector<TraceEntry> trace = rig.keyboard.Trace(since);
    std::vector<std::int64_t> macroSelects;
    for (const TraceEntry& entry : trace) {
        if (entry.StartsWith("SET select profile=0 selector=0x04 macro key=4")) macroSelects.push_back(entry.microseconds);
    }
    ASSERT_EQ(macroSelects.size(), 3u) << Lines(trace);
    for (std::size_t i = 1; i < macroSelects.size(); ++i) {
        // The select's 100 ms, the 1000 ms handshake and the 500 ms pause before the next attempt.
        EXPECT_GE(macroSelects[i] - macroSelects[i - 1], 1600000) << "attempt " << i + 1;
    }
    EXPECT_EQ(test::CountStartingWith(trace, "SET host-state value=1"), 1);
    EXPECT_NE(rig.install->Token(), before.token);
    EXPECT_EQ(rig.install->Token(), rig.keyboard.Token()) << "the issued token is the keyboard's";
    MacroKeyInfo entry{};
    ASSERT_TRUE(rig.install->Entry(0, 4, entry));
    EXPECT_EQ(entry.FunctionType, kFunctionMacro);
    EXPECT_EQ(entry.ActionCount, 4);
    EXPECT_EQ(entry.Actions[0].KeyCode, 0x0B);
    EXPECT_EQ(rig.install->Int(0, "LtControl"), 77);
    for (int n = 0; n < kProfileCount; ++n) EXPECT_EQ(rig.install->FirstStandardKey(n), 0x35) << "the keyboard's key map, profile " << n;
    EXPECT_TRUE(MonitorAnswers());
    EXPECT_EQ(rig.CloseMonitor(), 0);
}

// ---- Jobs 1, 3 and 4 share one monitor, started with the keyboard's own token

class DeviceJobFaults : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        rig_ = new Rig("jobs");
        started_ = rig_->Start();
    }
    static void TearDownTestSuite() {
        EXPECT_EQ(rig_->CloseMonitor(), 0) << "the monitor closes cleanly after every case";
        delete rig_;
        rig_ = nullptr;
    }
    // Each job's cases begin with the keyboard in, no fault armed and the monitor answering,
    // whatever the previous job's cases left.
    void SetUp() override {
        ASSERT_TRUE(started_) << "the monitor started and synchronised";
        rig_->keyboard.Tell("fault clear");
        if (rig_->install->DeviceKey() == 0) rig_->Replug();  // a previous job's case left it out
        ASSERT_TRUE(MonitorAnswers());
    }
    Rig& rig() { return *rig_; }

private:
    static Rig* rig_;
    static bool started_;
};

Rig* DeviceJobFaults::rig_ = nullptr;
bool DeviceJobFaults::started_ = false;

// ---- Job 1: apply the settings program's changes (message 1224)

// The flagged changes: a macro on key 3 of profile 0 and the lighting of profile 2, sent as
// four commands, each followed by its handshake.
const std::vector<std::string> kApplyCommands = {"SET key-functions-0-11 profile=0", "SET macro profile=0 key=3 actions=2",
                                                 "SET lighting profile=2", "SET sync-token"};

enum class TokenAfter {
    kUnchanged,   // config.ini and the keyboard keep the token they had
    kStoredOnly,  // config.ini holds a new token the keyboard did not take: the next contact reads back
    kTaken,       // config.ini and the keyboard hold the same new token
};

struct ApplyCase {
    const char* fault;    // vkbd fault words armed before 1224 ("" none)
    int unplugAfter;      // reports before the keyboard is pulled out; 0: stays in
    std::size_t taken;    // how many of the four commands the keyboard took
    int polls;            // status polls it answered
    int refused;          // reports it refused (-1: not counted, the unplug races the job)
    TokenAfter token;
    int scheduleMs;       // the job's own schedule, from 1224 to 1256 (an unplugged job: kAbortBoundUs)
    const char* shows;
};

// The schedule of the four commands: three first delays of 500 ms, the macro's 500 ms settle
// and four pauses of 100 ms; each busy answer adds a 100 ms poll.
const ApplyCase kApplyCases[] = {
    {"fail forever", 0, 4, 4, 0, TokenAfter::kStoredOnly, 2400,
     "every write answered failed (2): each polled once, none retried, the job goes on to the token"},
    {"refuse-send forever", 0, 0, 0, 4, TokenAfter::kStoredOnly, 400,
     "every send refused: no handshake follows any; the pauses alone"},
    {"busy 2", 0, 4, 12, 0, TokenAfter::kTaken, 2400 + 4 * 200,
     "two busy answers before each result: three polls per write, all done"},
    {"", 3, 2, 1, -1, TokenAfter::kUnchanged, 0,
     "pulled out in the macro's 500 ms settle: no lighting, no token"},
    {"", 7, 4, 3, -1, TokenAfter::kTaken, 0,
     "pulled out in the token's handshake: config.ini holds the token the keyboard took"},
    {"", 0, 4, 4, 0, TokenAfter::kTaken, 2400, "after the replug: the next good apply"},
};

TEST_F(DeviceJobFaults, Job1ApplyGoesOnPastFailedCommandsStopsWhenUnpluggedAndTheNextApplySucceeds) {
    Rig& rig = this->rig();
    test::SharedBlockPeer block;
    ASSERT_TRUE(block.Open());
    std::unique_ptr<StateRecord> edit = block.Read();
    MacroKeyInfo& macro = edit->Profiles[0].MacroKeyInfo[3];
    macro.FunctionType = kFunctionMacro;
    std::strcpy(macro.MacroName, "Fault macro");
    macro.ActionCount = 2;
    macro.Actions[0] = {0x04, 1, 25};
    macro.Actions[1] = {0x04, 2, 0};
    edit->KeyChanged[0][3] = 1;
    edit->Profiles[2].LtColorRed = 0x21;
    edit->LightingChanged[2] = 1;
    std::string keyboardToken = rig.keyboard.Token();

    for (const ApplyCase& c : kApplyCases) {
        SCOPED_TRACE(CaseName(c.fault, c.unplugAfter, c.shows));
        const Stored files = rig.install->Snapshot();
        if (*c.fault) rig.keyboard.Tell(std::string("fault ") + c.fault);
        if (c.unplugAfter > 0) rig.keyboard.Tell("fault unplug-after " + std::to_string(c.unplugAfter));
        rig.peers.Clear();
        // As the settings program does for each change (a synchronisation clears the key flags).
        block.Write(*edit);
        const std::int64_t posted = test::NowMicroseconds();
        PostMessageA(MonitorWindow(), kMsgSettingsChanged, 0, 0);
        ASSERT_TRUE(rig.peers.WaitFor(kTitleSettings, kMsgEnableButtons, 1, kJobTimeoutMs)) << "job 1 ended";
        const std::int64_t ended = ReceivedAt(rig.peers, kTitleSettings, kMsgEnableButtons);
        if (c.unplugAfter > 0) rig.WaitForRemoval(posted);
        const std::vector<TraceEntry> trace = rig.keyboard.Trace(posted);

        const std::vector<std::string> expected(kApplyCommands.begin(), kApplyCommands.begin() + c.taken);
        EXPECT_EQ(test::AcceptedCommands(trace), expected) << Lines(trace);
        int polls = 0;
        int refused = 0;
        for (const TraceEntry& entry : trace) {
            polls += entry.IsStatusPoll() && !entry.Refused();
            refused += entry.Refused();
        }
        EXPECT_EQ(polls, c.polls) << Lines(trace);
        if (c.refused >= 0) {
            EXPECT_EQ(refused, c.refused) << Lines(trace);
        }
        if (c.unplugAfter > 0) {
            const std::vector<TraceEntry> taken = Taken(trace);
            ASSERT_EQ(taken.size(), static_cast<std::size_t>(c.unplugAfter)) << Lines(trace);
            EXPECT_LT(ended - taken.back().microseconds, kAbortBoundUs) << "from the unplug to the end of the job";
        } else {
            EXPECT_GE(ended - posted, c.scheduleMs * 1000 - 100000) << "the job keeps its schedule";
            EXPECT_LT(ended - posted, c.scheduleMs * 1000 + kSlackUs) << "from 1224 to 1256";
        }
        const std::string token = rig.install->Token();
        const std::string keyboardTokenAfter = rig.keyboard.Token();
        switch (c.token) {
            case TokenAfter::kUnchanged:
                EXPECT_EQ(token, files.token);
                EXPECT_EQ(keyboardTokenAfter, keyboardToken);
                break;
            case TokenAfter::kStoredOnly:
                EXPECT_NE(token, files.token);
                EXPECT_EQ(keyboardTokenAfter, keyboardToken);
                break;
            case TokenAfter::kTaken:
                EXPECT_NE(token, files.token);
                EXPECT_EQ(keyboardTokenAfter, token);
                break;
        }
        keyboardToken = keyboardTokenAfter;
        // The monitor saves on 1224, before the job: the change is in the files whatever the
        // keyboard answers, and each case after the first finds them so already.
        const Stored after = rig.install->Snapshot();
        EXPECT_NE(after.profiles[2].find("LtColorRed=33\r\n"), std::string::npos) << "the applied change is saved";
        if (&c != &kApplyCases[0]) {
            EXPECT_TRUE(after.profiles == files.profiles) << "saved once, not changed again";
        }
        EXPECT_TRUE(MonitorAnswers());
        if (*c.fault) rig.keyboard.Tell("fault clear");
        if (c.unplugAfter > 0) rig.Replug();
    }
    // The settings program's flags down again, as after its last change.
    std::memset(edit->KeyChanged, 0, sizeof edit->KeyChanged);
    std::memset(edit->LightingChanged, 0, sizeof edit->LightingChanged);
    block.Write(*edit);
    PostMessageA(MonitorWindow(), kMsgRereadShared1, 0, 0);
}

// ---- Job 4: read back a macro recorded on the keyboard

// The select request of profile 0's macro entry `key` as the trace shows it.
std::string MacroSelect(int key) {
    char text[64];
    std::snprintf(text, sizeof text, "SET select profile=0 selector=0x%02X macro key=%d", key, key);
    return text;
}

struct MacroCase {
    const char* fault;    // vkbd fault words armed before the recording ("" none)
    int unplugAfter;      // reports before the keyboard is pulled out; 0: stays in
    int key;              // the key recorded on (1..44)
    std::size_t reports;  // reports that reach the keyboard, taken or refused
    const char* shows;
};

// One attempt: a 1500 ms pause, the select, 100 ms and a 1000 ms handshake, the read.
constexpr std::int64_t kMacroJobUs = 2600000;

const MacroCase kMacroCases[] = {
    {"bad-checksum 1", 0, 6, 3, "the reply's checksum is wrong: refused; nothing kept, told, saved or issued"},
    {"refuse-read 2", 0, 7, 3, "the status poll and the macro read refused: nothing kept"},
    {"", 1, 8, 1, "pulled out during the handshake after the select: nothing kept"},
    {"", 2, 9, 2, "pulled out after the status poll, before the macro is read: nothing kept"},
};

TEST_F(DeviceJobFaults, Job4RecordedMacroThatCannotBeReadChangesNothingAndTheNextOneArrives) {
    Rig& rig = this->rig();
    // A macro is recorded on the current profile; profile key 1 makes that profile 0 on both sides.
    const std::int64_t switched = test::NowMicroseconds();
    rig.keyboard.Tell("profile 1");
    ASSERT_EQ(Taken(rig.WaitForQuiet(switched, 2)).size(), 2u) << "the profile written";
    const Stored before = rig.install->Snapshot();

    for (const MacroCase& c : kMacroCases) {
        SCOPED_TRACE(CaseName(c.fault, c.unplugAfter, c.shows));
        if (*c.fault) rig.keyboard.Tell(std::string("fault ") + c.fault);
        if (c.unplugAfter > 0) rig.keyboard.Tell("fault unplug-after " + std::to_string(c.unplugAfter));
        rig.peers.Clear();
        const std::int64_t recorded = test::NowMicroseconds();
        rig.keyboard.Tell("record-macro " + std::to_string(c.key));
        if (c.unplugAfter > 0) rig.WaitForRemoval(recorded);
        const std::vector<TraceEntry> trace = rig.WaitForQuiet(recorded, c.reports);
        const std::vector<TraceEntry> reports = Reports(trace);
        ASSERT_GE(reports.size(), c.reports) << Lines(trace);
        EXPECT_EQ(reports[0].text, MacroSelect(c.key - 1));
        if (c.unplugAfter > 0) {
            EXPECT_EQ(Taken(trace).size(), static_cast<std::size_t>(c.unplugAfter)) << Lines(trace);
        } else {
            EXPECT_EQ(reports.size(), c.reports) << Lines(trace);
            EXPECT_LT(reports.back().microseconds - recorded, kMacroJobUs + kSlackUs) << "one attempt only";
        }
        EXPECT_EQ(rig.peers.Count(kTitleSettings, kMsgMacroReadBack), 0);
        EXPECT_EQ(test::CountStartingWith(trace, "SET sync-token"), 0);
        EXPECT_TRUE(rig.install->Snapshot() == before) << "nothing of a failed read is saved";
        EXPECT_TRUE(MonitorAnswers());
        if (*c.fault) rig.keyboard.Tell("fault clear");
        if (c.unplugAfter > 0) rig.Replug();
    }

    SCOPED_TRACE(CaseName("", 0, "the next recorded macro is read, told, saved, and a token issued"));
    rig.peers.Clear();
    rig.keyboard.Tell("record-macro 10 0x1D 0x1E");
    ASSERT_TRUE(rig.peers.WaitFor(kTitleSettings, kMsgMacroReadBack, 1, kJobTimeoutMs));
    for (const PeerWindows::Received& r : rig.peers.Log()) {
        if (r.message != kMsgMacroReadBack) continue;
        EXPECT_EQ(r.wParam, 0u);
        EXPECT_EQ(r.lParam, 9);
    }
    MacroKeyInfo entry{};
    ASSERT_TRUE(test::WaitUntil([&] { return rig.install->Entry(0, 9, entry) && entry.ActionCount == 4; }, kJobTimeoutMs));
    EXPECT_EQ(entry.Actions[0].KeyCode, 0x1D);
    EXPECT_NE(rig.install->Token(), before.token);
    EXPECT_EQ(rig.install->Token(), rig.keyboard.Token());
    EXPECT_TRUE(MonitorAnswers());
}

// ---- Job 3: write the current profile after a profile key. Last of the shared monitor's
// cases: it ends by closing the monitor while a job waits on a busy keyboard.

TEST_F(DeviceJobFaults, Job3BusyKeyboardIsGivenUpAfterTenPollsWhileTheWindowAnswersAndTheMonitorStillClosesAtOnce) {
    Rig& rig = this->rig();
    const std::string token = rig.install->Token();
    {
        SCOPED_TRACE(CaseName("busy forever", 0, "ten polls on their schedule, given up 100 + 9200 ms after the write; "
                                                 "the window answers meanwhile, a volume message included"));
        rig.keyboard.Tell("fault busy forever");
        const std::int64_t since = test::NowMicroseconds();
        rig.keyboard.Tell("profile 2");
        Sleep(1000);
        EXPECT_TRUE(MonitorAnswers()) << "while the job waits for the keyboard";
        PostMessageA(MonitorWindow(), kMsgVolumeLevel, 40, 0);
        Sleep(200);
        EXPECT_TRUE(MonitorAnswers()) << "a volume message does not wait for the keyboard on the window";
        // The write already taken stays busy to the end; the volume after it is answered.
        rig.keyboard.Tell("fault clear");
        std::vector<TraceEntry> trace;
        auto job = [&] {
            trace = rig.keyboard.Trace(since);
            for (std::size_t i = 0; i < trace.size(); ++i) {
                if (trace[i].StartsWith("SET volume")) trace.resize(i);
            }
            return trace.size() >= 11;
        };
        ASSERT_TRUE(test::WaitUntil(job, kJobTimeoutMs, 200)) << Lines(trace);
        ASSERT_EQ(trace.size(), 11u) << Lines(trace);
        EXPECT_EQ(trace[0].text, "SET current-profile profile=1");
        for (std::size_t i = 1; i < trace.size(); ++i) EXPECT_EQ(trace[i].text, "GET status=3") << i;
        const std::int64_t waited = trace.back().microseconds - trace[0].microseconds;
        EXPECT_GE(waited, 9300000 - 100000) << "the whole schedule";
        EXPECT_LT(waited, 9300000 + kSlackUs) << "and no more";
        const std::vector<TraceEntry> all = rig.WaitForQuiet(since, 13);
        ASSERT_EQ(all.size(), 13u) << "the volume after the job" << Lines(all);
        EXPECT_EQ(all[11].text, "SET volume profile=1 level=3 volume=40");
        EXPECT_EQ(all[12].text, "GET status=1");
    }
    {
        SCOPED_TRACE(CaseName("refuse-send 1", 0, "the write refused, no handshake"));
        rig.keyboard.Tell("fault refuse-send 1");
        const std::int64_t since = test::NowMicroseconds();
        rig.keyboard.Tell("profile 3");
        const std::vector<TraceEntry> trace = rig.WaitForQuiet(since, 1);
        ASSERT_EQ(trace.size(), 1u) << Lines(trace);
        EXPECT_TRUE(trace[0].StartsWith("SET current-profile length=3 refused")) << trace[0].text;
        EXPECT_TRUE(MonitorAnswers());
    }
    {
        SCOPED_TRACE(CaseName("", 1, "pulled out in the write's handshake: the job ends, the replug's synchronisation runs"));
        rig.keyboard.Tell("fault unplug-after 1");
        const std::int64_t since = test::NowMicroseconds();
        rig.keyboard.Tell("profile 4");
        rig.WaitForRemoval(since);
        const std::vector<TraceEntry> taken = Taken(rig.keyboard.Trace(since));
        ASSERT_EQ(taken.size(), 1u) << Lines(taken);
        EXPECT_EQ(taken[0].text, "SET current-profile profile=3");
        EXPECT_TRUE(MonitorAnswers());
        const std::int64_t plugged = test::NowMicroseconds();
        rig.Replug();
        EXPECT_EQ(test::CountStartingWith(rig.keyboard.Trace(plugged), "GET current-profile profile=3"), 1);
    }
    {
        SCOPED_TRACE(CaseName("", 0, "the next profile key is written and answered"));
        const std::int64_t since = test::NowMicroseconds();
        rig.keyboard.Tell("profile 5");
        const std::vector<TraceEntry> trace = rig.WaitForQuiet(since, 2);
        ASSERT_EQ(trace.size(), 2u) << Lines(trace);
        EXPECT_EQ(trace[0].text, "SET current-profile profile=4");
        EXPECT_EQ(trace[1].text, "GET status=1");
    }
    EXPECT_EQ(rig.install->Token(), token) << "writing the current profile issues no token";
    EXPECT_TRUE(MonitorAnswers());
    {
        SCOPED_TRACE(CaseName("busy forever", 0, "closed while the job waits: the job is stopped, the keyboard told "
                                                 "the host leaves, and the monitor ends at once"));
        rig.keyboard.Tell("fault busy forever");
        const std::int64_t since = test::NowMicroseconds();
        rig.keyboard.Tell("profile 1");
        Sleep(1000);
        const std::int64_t closing = test::NowMicroseconds();
        EXPECT_EQ(rig.CloseMonitor(), 0);
        EXPECT_LT(test::NowMicroseconds() - closing, kCloseBoundUs) << "no handshake holds the shutdown";
        const std::vector<std::string> commands = test::AcceptedCommands(rig.keyboard.Trace(since));
        ASSERT_FALSE(commands.empty());
        EXPECT_EQ(commands.back(), "SET host-state value=0");
    }
}

}  // namespace
}  // namespace brenik::monitor::device
