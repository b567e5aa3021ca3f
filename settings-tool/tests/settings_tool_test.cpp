#include "settings_tool.h"

#include "exit_codes.h"
#include "ini_file.h"
#include "memory_history_folder.h"
#include "memory_ini_storage.h"
#include "profile_export.h"
#include "profile_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <sstream>

namespace brenik::settings {
namespace {

// The shared block in memory, counting reads and writes.
class FakeBlock final : public IStateBlock {
public:
    FakeBlock() : state(std::make_unique<StateRecord>()) {
        std::memset(state.get(), 0, sizeof *state);
        for (int p = 0; p < kProfileCount; ++p) SetDefaultProfile(state->Profiles[p], p);
        state->CurrentProfile = 1;
    }
    bool Read(StateRecord& out) override {
        ++reads;
        if (!available) return false;
        out = *state;
        return true;
    }
    BlockEdit Edit(const std::function<bool(StateRecord&)>& edit) override {
        if (!available) return BlockEdit::kUnavailable;
        ++edits;
        auto copy = std::make_unique<StateRecord>(*state);
        if (!edit(*copy)) return BlockEdit::kNotWritten;
        *state = *copy;
        ++writes;
        return BlockEdit::kWritten;
    }
    std::unique_ptr<StateRecord> state;
    bool available = true;
    int reads = 0, edits = 0, writes = 0;
};

// The monitor's side: what is there, and the order of what the tool did.
class FakeMonitor final : public IMonitorLink {
public:
    bool MonitorRunning() override { return running; }
    KeyboardPresence Keyboard() override { return keyboard; }
    std::string ConfigIniPath() const override { return "C:\\Brenik\\config.ini"; }
    bool TakeChangeTurn(int timeoutMs) override {
        Log("turn " + std::to_string(timeoutMs));
        return turnFree;
    }
    void EndChangeTurn() override { Log("end turn"); }
    bool SettingsWindowExists() override { return settingsProgram; }
    bool OpenAnswerWindow() override { return Log("open"), true; }
    void CloseAnswerWindow() override { Log("close"); }
    bool NotifySettingsChanged() override {
        Log("notify");
        if (onNotify) onNotify();
        return told;
    }
    bool WaitForAnswer(int timeoutMs) override {
        Log("wait " + std::to_string(timeoutMs));
        return answers;
    }
    void Log(const std::string& step) { steps.push_back(step); }

    bool running = true, settingsProgram = false, answers = true, turnFree = true, told = true;
    KeyboardPresence keyboard = KeyboardPresence::kPresent;
    std::function<void()> onNotify;  // the monitor's own doings between our write and its re-read
    std::vector<std::string> steps;
};

class FakeFiles final : public IProfileFiles {
public:
    int LoadAll(StateRecord& state) override {
        ++loads;
        for (int p = 0; p < kProfileCount; ++p) SetDefaultProfile(state.Profiles[p], p);
        std::strcpy(state.Profiles[0].ProFileName, "FromFiles");
        state.CurrentProfile = 0;
        return found;
    }
    std::string ProfileFolder() const override { return "C:\\Brenik\\config\\"; }
    ini::IIniStorage& Storage() override { return storage; }
    history::ProfileHistory& History() override { return history; }
    history::HistoryTime Now() override { return {now, "2025-12-09 08:00:" + std::to_string(10 + now % 50)}; }
    ini::test::MemoryIniStorage storage;
    history::test::MemoryHistoryFolder folder{storage};
    history::ProfileHistory history{"C:\\Brenik\\", storage, folder};
    std::int64_t now = 1765267200;
    int loads = 0;
    int found = kProfileCount;
};

class SettingsToolRun : public ::testing::Test {
protected:
    int Run(std::vector<std::string> words) {
        out.str("");
        err.str("");
        const ParsedCommandLine parsed = ParseCommandLine(words);
        EXPECT_TRUE(parsed.command) << parsed.error;
        if (!parsed.command) return -1;
        SettingsTool tool(block, monitor, files, out, err, toUtf8);
        return tool.Run(*parsed.command);
    }
    // The block's bytes now, to show that a refused run wrote nothing.
    std::string BlockBytes() const { return std::string(reinterpret_cast<const char*>(block.state.get()), kStateRecordBytes); }

    FakeBlock block;
    FakeMonitor monitor;
    FakeFiles files;
    json::ToUtf8 toUtf8;
    std::ostringstream out, err;
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(SettingsToolRun, AChangeIsWrittenWithItsFlagThenAnnouncedAndAnswered) {
    block.state->LightingChanged[3] = 1;  // stale, from an earlier apply
    EXPECT_EQ(Run({"--timeout", "4", "set", "2", "key-green", "77"}), kExitOk);
    EXPECT_EQ(block.state->Profiles[1].LtColorGreen, 77);
    EXPECT_EQ(block.state->LightingChanged[1], 1);
    EXPECT_EQ(block.state->LightingChanged[3], 0);
    EXPECT_EQ(monitor.steps,
              (std::vector<std::string>{"turn 4000", "open", "notify", "wait 4000", "close", "end turn"}));
    EXPECT_NE(out.str().find("key-green = 77 (LightingChanged[1]); applied"), std::string::npos) << out.str();
    EXPECT_TRUE(err.str().empty()) << err.str();
}

TEST_F(SettingsToolRun, KeySwitchAndMonitorOnlyFieldsRaiseTheirFlags) {
    EXPECT_EQ(Run({"key", "1", "12", "single", "A"}), kExitOk);
    EXPECT_EQ(block.state->Profiles[0].MacroKeyInfo[11].FunctionType, kFunctionSingleKey);
    EXPECT_EQ(block.state->KeyChanged[0][11], 1);

    EXPECT_EQ(Run({"switch", "2"}), kExitOk) << "2 is current already; the keyboard is told anyway";
    EXPECT_EQ(block.state->ProfileChanged, 1);
    EXPECT_EQ(block.state->KeyChanged[0][11], 0) << "cleared: it belonged to the earlier change";

    EXPECT_EQ(Run({"--json", "set", "3", "media-player", "vlc"}), kExitOk);
    EXPECT_EQ(block.state->Profiles[2].MediaOption, 2);
    EXPECT_EQ(out.str(), "{\"command\":\"set\",\"profile\":3,\"change\":\"media-player = vlc\",\"written\":true,"
                         "\"flags\":[],\"answered\":true,\"status\":0}\n");
    EXPECT_EQ(block.state->ProfileChanged, 0);
}

TEST_F(SettingsToolRun, RefusedInputWritesNothingAndTellsNoOne) {
    const std::string before = BlockBytes();
    const std::vector<std::vector<std::string>> refused = {
        {"set", "1", "key-red", "256"},   {"set", "1", "colour", "1"},         {"set", "1", "fn-status", "1"},
        {"set", "1", "name", std::string(250, 'x')}, {"key", "1", "3", "macro", "M", "+Nope"},
        {"import", "1", "C:\\missing.cmp"}};
    for (const auto& words : refused) {
        EXPECT_EQ(Run(words), kExitRefused) << words[2];
        EXPECT_NE(err.str().find("BrenikSettings"), std::string::npos);
        EXPECT_TRUE(out.str().empty());
    }
    EXPECT_EQ(BlockBytes(), before);
    EXPECT_EQ(block.edits, 0);
    EXPECT_TRUE(monitor.steps.empty());
}

TEST_F(SettingsToolRun, NoMonitorOrNoKeyboardWritesNothingAndSaysWhereItLooked) {
    const std::string before = BlockBytes();
    monitor.running = false;
    EXPECT_EQ(Run({"set", "1", "key-red", "1"}), kExitNoMonitor);
    EXPECT_NE(err.str().find("monitor is not running"), std::string::npos);
    monitor.running = true;
    const struct {
        KeyboardPresence presence;
        const char* says;
    } absent[] = {{KeyboardPresence::kAbsent, "keyboard is not present (\"Device\" is not 1 in C:\\Brenik\\config.ini)"},
                  {KeyboardPresence::kNoValue, "C:\\Brenik\\config.ini has no \"Device\" value"},
                  {KeyboardPresence::kNoConfigFile, "there is no C:\\Brenik\\config.ini (BrenikSettings.exe belongs"}};
    for (const auto& a : absent) {
        monitor.keyboard = a.presence;
        EXPECT_EQ(Run({"switch", "4"}), kExitNoMonitor);
        EXPECT_TRUE(Contains(err.str(), a.says)) << err.str();
    }
    EXPECT_EQ(BlockBytes(), before);
    EXPECT_TRUE(monitor.steps.empty());
}

TEST_F(SettingsToolRun, WithTheSettingsProgramOpenItAppliesWithoutWaitingAndKeepsItsFlags) {
    monitor.settingsProgram = true;
    block.state->LightingChanged[3] = 1;  // the settings program's own change, not yet announced
    EXPECT_EQ(Run({"set", "1", "lock-tab", "off"}), kExitOk);
    EXPECT_EQ(block.state->LockKeysChanged[0], 1);
    EXPECT_EQ(block.state->LightingChanged[3], 1) << "added to, not cleared";
    EXPECT_EQ(monitor.steps, (std::vector<std::string>{"turn 30000", "notify", "end turn"}))
        << "its window is not replaced, and not waited on";
    EXPECT_NE(err.str().find("without waiting"), std::string::npos);
    EXPECT_TRUE(Contains(out.str(), "lock-tab = off (LockKeysChanged[0])")) << "our flags only: " << out.str();
}

TEST_F(SettingsToolRun, NoAnswerInTimeAndAnUnavailableBlockHaveTheirCodes) {
    monitor.answers = false;
    EXPECT_EQ(Run({"set", "1", "key-red", "3"}), kExitNoAnswer);
    EXPECT_EQ(block.state->Profiles[0].LtColorRed, 3) << "written before the wait";
    EXPECT_EQ(monitor.steps.back(), "end turn");
    EXPECT_NE(err.str().find("did not answer within 30 s"), std::string::npos);

    monitor.steps.clear();
    block.available = false;
    EXPECT_EQ(Run({"set", "1", "key-red", "4"}), kExitFailed);
    EXPECT_EQ(monitor.steps, (std::vector<std::string>{"turn 30000", "open", "close", "end turn"}))
        << "the monitor is not told";
}

TEST_F(SettingsToolRun, AChangeToTheSameValueWritesNothing) {
    EXPECT_EQ(Run({"set", "1", "key-red", "255"}), kExitOk);  // the default already
    EXPECT_EQ(block.writes, 0);
    EXPECT_EQ(std::count(monitor.steps.begin(), monitor.steps.end(), "notify"), 0);
    EXPECT_NE(out.str().find("already so"), std::string::npos);
}

TEST_F(SettingsToolRun, ReadsFromTheBlockOrFromTheFilesWhenNoMonitorRuns) {
    EXPECT_EQ(Run({"list"}), kExitOk);
    EXPECT_NE(out.str().find("* 2  Default2"), std::string::npos) << out.str();
    EXPECT_EQ(files.loads, 0);

    monitor.running = false;
    EXPECT_EQ(Run({"--json", "list"}), kExitOk);
    EXPECT_EQ(files.loads, 1);
    EXPECT_NE(out.str().find("\"source\":\"files\",\"current\":1"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("FromFiles"), std::string::npos);
    EXPECT_NE(err.str().find("not running"), std::string::npos);

    monitor.running = true;
    block.available = false;
    EXPECT_EQ(Run({"show", "1"}), kExitFailed);
    EXPECT_TRUE(out.str().empty());
}

TEST_F(SettingsToolRun, ExportThenImportRoundTripsAProfileAndFlagsWhatChanged) {
    block.state->Profiles[0].LtColorBlue = 9;
    block.state->Profiles[0].Tab = 0;
    block.state->Profiles[0].MacroKeyInfo[20].FunctionType = kFunctionLaunchProgram;
    EXPECT_EQ(Run({"export", "1", "C:\\p1.cmp"}), kExitOk);
    EXPECT_EQ(ini::CIniFile("C:\\p1.cmp", files.storage).ReadInt("Setting", "LtColorBlue", -7), 9);

    block.state->Profiles[3].ExtendedMode = 1;
    EXPECT_EQ(Run({"import", "4", "C:\\p1.cmp"}), kExitOk);
    const ProfileRecord& imported = block.state->Profiles[3];
    EXPECT_STREQ(imported.ProFileName, "Default1");
    EXPECT_EQ(imported.LtColorBlue, 9);
    EXPECT_EQ(imported.ExtendedMode, 1);
    // Profile 4 differed from profile 1 in name, lighting, a lock and key 21: exactly those flags.
    EXPECT_EQ(block.state->LightingChanged[3], 1);
    EXPECT_EQ(block.state->LockKeysChanged[3], 1);
    EXPECT_EQ(block.state->KeyChanged[3][20], 1);
    EXPECT_EQ(block.state->StandardKeyChanged[3], 0);
    EXPECT_EQ(block.state->ProfileChanged, 0);
    int keyFlags = 0;
    for (int k = 0; k < kProgrammableKeys; ++k) keyFlags += block.state->KeyChanged[3][k];
    EXPECT_EQ(keyFlags, 1);
}

TEST_F(SettingsToolRun, ShowPrintsFieldsKeysAndStandardKeysThatDiffer) {
    auto& p = block.state->Profiles[0];
    p.standardkey[13] = 0x04;
    p.MacroKeyInfo[2] = {};
    p.MacroKeyInfo[2].KeyIndex = 2;
    p.MacroKeyInfo[2].FunctionType = kFunctionMacro;
    std::strcpy(p.MacroKeyInfo[2].MacroName, "Combo");
    p.MacroKeyInfo[2].ActionCount = 1;
    p.MacroKeyInfo[2].Actions[0] = {0xE1, 1, 10};
    EXPECT_EQ(Run({"show", "1"}), kExitOk);
    const std::string text = out.str();
    for (const char* line : {"Profile 1\n", "  name                    Default1\n", "  lock-caps-lock          on\n",
                             "  media-player            wmp\n", "standard key 14: 0x89 -> A\n",
                             "    key 3   macro \"Combo\": +LShift 10\n", "    key 42  standard\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
    EXPECT_EQ(text.find("key 43"), std::string::npos) << "entries the keyboard lacks only when assigned";

    EXPECT_EQ(Run({"--json", "show", "1"}), kExitOk);
    EXPECT_NE(out.str().find("\"key-red\":255"), std::string::npos);
    EXPECT_NE(out.str().find("\"lock-tab\":\"on\""), std::string::npos);
    EXPECT_NE(out.str().find("{\"key\":3,\"kind\":\"macro\",\"text\":\"macro \\\"Combo\\\": +LShift 10\",\"name\":\"Combo\""),
              std::string::npos) << out.str();
}

TEST_F(SettingsToolRun, AWrittenChangeTheMonitorWasNotToldOfHasItsOwnStatus) {
    monitor.told = false;
    EXPECT_EQ(Run({"--json", "set", "1", "key-red", "8"}), kExitNotAnnounced);
    EXPECT_EQ(block.state->Profiles[0].LtColorRed, 8) << "it was written";
    EXPECT_TRUE(Contains(err.str(), "written, but the monitor could not be told")) << err.str();
    EXPECT_FALSE(Contains(err.str(), "nothing was changed"));
    EXPECT_TRUE(Contains(out.str(), "\"written\":true")) << out.str();
    EXPECT_TRUE(Contains(out.str(), "\"status\":6}")) << out.str();
    EXPECT_EQ(std::count(monitor.steps.begin(), monitor.steps.end(), "wait 30000"), 0);
    EXPECT_EQ(monitor.steps.back(), "end turn");
}

TEST_F(SettingsToolRun, AChangeTheMonitorPublishesOverIsMadeOnceMoreThenReportedLost) {
    // The monitor publishes its own older copy between our write and its re-read.
    const auto older = std::make_unique<StateRecord>(*block.state);
    int overwrites = 1;
    monitor.onNotify = [&] {
        if (overwrites-- > 0) *block.state = *older;
    };
    EXPECT_EQ(Run({"set", "2", "logo-red", "5"}), kExitOk);
    EXPECT_EQ(block.state->Profiles[1].LogoColorRed, 5);
    EXPECT_EQ(block.state->LightingChanged[1], 1) << "the second write flags it again";
    EXPECT_EQ(std::count(monitor.steps.begin(), monitor.steps.end(), "notify"), 2);
    EXPECT_TRUE(Contains(err.str(), "making it once more")) << err.str();

    *block.state = *older;
    overwrites = 2;
    EXPECT_EQ(Run({"--json", "key", "1", "3", "single", "B"}), kExitOverwritten);
    EXPECT_EQ(block.state->Profiles[0].MacroKeyInfo[2].FunctionType, older->Profiles[0].MacroKeyInfo[2].FunctionType);
    EXPECT_TRUE(Contains(err.str(), "twice; the change is lost")) << err.str();
    EXPECT_TRUE(Contains(out.str(), "\"status\":7}")) << out.str();

    // The live layer changing meanwhile is not a lost change; a switch is checked by its index.
    monitor.steps.clear();
    monitor.onNotify = [&] { block.state->Profiles[0].ExtendedMode ^= 1; };
    EXPECT_EQ(Run({"set", "1", "lock-app", "off"}), kExitOk);
    EXPECT_EQ(Run({"switch", "5"}), kExitOk);
    EXPECT_EQ(std::count(monitor.steps.begin(), monitor.steps.end(), "notify"), 2) << "one each";
    monitor.onNotify = [&] { block.state->CurrentProfile = 0; };
    EXPECT_EQ(Run({"switch", "3"}), kExitOverwritten);
}

TEST_F(SettingsToolRun, AnotherRunsTurnIsWaitedForWithinTheTimeLimit) {
    monitor.turnFree = false;
    const std::string before = BlockBytes();
    EXPECT_EQ(Run({"--timeout", "2", "set", "1", "key-red", "9"}), kExitFailed);
    EXPECT_EQ(monitor.steps, std::vector<std::string>{"turn 2000"}) << "no window, no notice, no turn to give back";
    EXPECT_TRUE(Contains(err.str(), "another BrenikSettings run kept making its change for 2 s; nothing was changed"));
    EXPECT_EQ(BlockBytes(), before);
}

TEST_F(SettingsToolRun, RefusalsUnderJsonPrintAnErrorObjectToo) {
    EXPECT_EQ(Run({"--json", "set", "1", "fn-status", "1"}), kExitRefused);
    EXPECT_EQ(out.str(), "{\"command\":\"set\",\"error\":\"\\\"fn-status\\\" is read-only: show lists it, set "
                         "cannot change it\",\"status\":3}\n");
    EXPECT_TRUE(Contains(err.str(), "is read-only")) << "the message still goes to standard error";
    EXPECT_EQ(Run({"set", "1", "extended-layer", "on"}), kExitRefused);
    EXPECT_TRUE(Contains(err.str(), "\"extended-layer\" is read-only"));
    EXPECT_TRUE(out.str().empty()) << "without --json nothing on standard output";

    monitor.running = false;
    EXPECT_EQ(Run({"--json", "switch", "2"}), kExitNoMonitor);
    EXPECT_TRUE(Contains(out.str(), "\"status\":4}")) << out.str();
    EXPECT_EQ(ErrorJson("usage", "no command given", 2), "{\"command\":\"usage\",\"error\":\"no command given\",\"status\":2}\n");
}

TEST_F(SettingsToolRun, KeyChangesTheKeyboardDoesNotGetAreNoted) {
    block.state->Profiles[2].HDDKeyboard = 0;
    EXPECT_EQ(Run({"key", "3", "4", "single", "A"}), kExitOk);
    EXPECT_TRUE(Contains(err.str(), "key assignments are off for profile 3")) << err.str();

    EXPECT_EQ(Run({"key", "1", "25", "program", "C:\\x.exe"}), kExitOk);
    EXPECT_TRUE(Contains(err.str(), "key 25 has no key entry on the keyboard")) << err.str();
    for (const std::vector<std::string>& sent : {std::vector<std::string>{"key", "1", "25", "macro", "M", "+A"},
                                                  std::vector<std::string>{"key", "1", "37", "launch", "7"},
                                                  std::vector<std::string>{"key", "1", "38", "single", "A"},
                                                  std::vector<std::string>{"key", "1", "22", "single", "A"}}) {
        EXPECT_EQ(Run(sent), kExitOk);
        EXPECT_TRUE(err.str().empty()) << sent[2] << ": " << err.str();
    }

    EXPECT_EQ(Run({"--json", "set", "3", "key-assignments", "on"}), kExitOk);
    EXPECT_TRUE(Contains(out.str(), "\"KeyChanged[2][0]\"")) << out.str();
    EXPECT_TRUE(Contains(out.str(), "\"KeyChanged[2][41]\"")) << out.str();
    EXPECT_TRUE(Contains(err.str(), "every key assignment of profile 3 is sent")) << err.str();
    EXPECT_EQ(Run({"set", "3", "key-assignments", "off"}), kExitOk);
    EXPECT_TRUE(Contains(out.str(), "nothing for the keyboard")) << out.str();
    EXPECT_TRUE(Contains(err.str(), "no longer sends the key assignments of profile 3")) << err.str();
}

TEST_F(SettingsToolRun, ExportWritesANewFileAndReplacesOneOnlyWhenForced) {
    files.storage.files["C:\\old.cmp"] = "[Setting]\r\nStale=1\r\nLtColorRed=1\r\n";
    EXPECT_EQ(Run({"export", "1", "C:\\old.cmp"}), kExitRefused);
    EXPECT_TRUE(Contains(err.str(), "C:\\old.cmp exists; --force replaces it")) << err.str();
    EXPECT_EQ(files.storage.writes, 0);

    EXPECT_EQ(Run({"--force", "export", "1", "C:\\old.cmp"}), kExitOk);
    const ini::CIniFile file("C:\\old.cmp", files.storage);
    EXPECT_EQ(file.ReadInt("Setting", "Stale", -7), -7) << "replaced whole, not merged";
    EXPECT_EQ(file.ReadInt("Setting", "LtColorRed", -7), 255);
    EXPECT_EQ(files.storage.writes, 1);
}

TEST_F(SettingsToolRun, WithNoProfileFilesTheDefaultsAreShownAsSuch) {
    monitor.running = false;
    files.found = 0;
    EXPECT_EQ(Run({"--json", "list"}), kExitOk);
    EXPECT_TRUE(Contains(out.str(), "\"source\":\"defaults\"")) << out.str();
    EXPECT_TRUE(Contains(err.str(), "no profile files in C:\\Brenik\\config\\")) << err.str();
}

TEST_F(SettingsToolRun, JsonTextGoesThroughTheCodePageConversion) {
    toUtf8 = [](std::string_view text) {
        std::string utf8;
        for (const char c : text) utf8 += c == '\xE9' ? std::string("\xC3\xA9") : std::string(1, c);
        return utf8;
    };
    std::strcpy(block.state->Profiles[0].ProFileName, "Caf\xE9");
    EXPECT_EQ(Run({"--json", "list"}), kExitOk);
    EXPECT_TRUE(Contains(out.str(), "\"name\":\"Caf\xC3\xA9\"")) << out.str();
    EXPECT_EQ(Run({"--json", "show", "1"}), kExitOk);
    EXPECT_TRUE(Contains(out.str(), "\"name\":\"Caf\xC3\xA9\"")) << out.str();
}

}  // namespace
}  // namespace brenik::settings

namespace brenik::settings {
namespace {

class HistoryRun : public SettingsToolRun {
protected:
    // The profile files as the monitor would have saved the block.
    void SaveBlockToFiles() {
        for (int p = 0; p < kProfileCount; ++p) {
            SaveProfileFile(block.state->Profiles[p], ProfileFilePath("C:\\Brenik\\", p), files.storage);
        }
        files.storage.files["C:\\Brenik\\config.ini"] =
            "[Setting]\r\nCurrentProfile=" + std::to_string(block.state->CurrentProfile) + "\r\n";
    }
    std::vector<history::HistoryEntry> Copies() { return files.history.List(); }
};

TEST_F(HistoryRun, HistoryListsTheCopiesAndWhatDiffersFromNow) {
    EXPECT_EQ(Run({"history"}), kExitOk);
    EXPECT_EQ(out.str(), "no copies kept yet in C:\\Brenik\\config\\History\\\n");

    SaveBlockToFiles();
    ASSERT_EQ(files.history.Keep(history::HistoryReason::kReadBack, files.Now()), history::KeepOutcome::kKept);
    std::strcpy(block.state->Profiles[2].ProFileName, "Keyboard's");
    block.state->Profiles[2].LtColorBlue = 9;
    EXPECT_EQ(Run({"history"}), kExitOk);
    EXPECT_EQ(out.str(), "copies of the profiles in C:\\Brenik\\config\\History\\, newest first (restore N brings one back):\n"
                         "  1  2025-12-09 08:00:10  the keyboard's settings were read back\n"
                         "     Profile 3: name, lighting\n");
    EXPECT_EQ(Run({"--json", "history"}), kExitOk);
    EXPECT_EQ(out.str(),
              "{\"command\":\"history\",\"folder\":\"C:\\\\Brenik\\\\config\\\\History\\\\\",\"source\":\"monitor\","
              "\"copies\":[{\"number\":1,\"file\":\"20251209-080000-00-read-back.bkh\",\"bytes\":" +
                  std::to_string(Copies()[0].bytes) +
                  ",\"damaged\":false,\"when\":\"2025-12-09 08:00:10\",\"reason\":\"read-back\","
                  "\"why\":\"the keyboard's settings were read back\",\"differs\":\"Profile 3: name, lighting\"}]}\n");
}

TEST_F(HistoryRun, ARestoreOfACopyThatIsNotThereOrDamagedWritesNothing) {
    SaveBlockToFiles();
    ASSERT_EQ(files.history.Keep(history::HistoryReason::kDaily, files.Now()), history::KeepOutcome::kKept);
    const std::string bytes = BlockBytes();
    EXPECT_EQ(Run({"restore", "2"}), kExitRefused);
    EXPECT_TRUE(Contains(err.str(), "there is no copy 2: the history holds 1")) << err.str();
    std::string& kept = files.storage.files["C:\\Brenik\\config\\History\\" + Copies()[0].file];
    kept.resize(kept.size() - 20);
    EXPECT_EQ(Run({"restore", "1"}), kExitRefused);
    EXPECT_TRUE(Contains(err.str(), "is damaged")) << err.str();
    EXPECT_EQ(BlockBytes(), bytes);
    EXPECT_TRUE(monitor.steps.empty());
    EXPECT_FALSE(ParseCommandLine({"restore", "0"}).command);
    EXPECT_FALSE(ParseCommandLine({"restore"}).command);
}

TEST_F(HistoryRun, AnImportKeepsTheProfilesAsTheyWere) {
    SaveBlockToFiles();
    ASSERT_EQ(editing::ExportProfileFile(block.state->Profiles[3], "C:\\p.cmp", files.storage, false), editing::ExportOutcome::kWritten);
    std::strcpy(block.state->Profiles[0].ProFileName, "Mine");
    SaveBlockToFiles();
    EXPECT_EQ(Run({"import", "1", "C:\\p.cmp"}), kExitOk);
    const std::vector<history::HistoryEntry> copies = Copies();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].copy.reason, history::HistoryReason::kImport);
    EXPECT_NE(copies[0].copy.Find("config\\Default0.cmp")->bytes.find("ProFileName=Mine"), std::string::npos);
}

}  // namespace
}  // namespace brenik::settings
