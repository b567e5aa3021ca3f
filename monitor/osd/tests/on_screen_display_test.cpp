// What the monitor tells the on-screen display: which notices go out for which settings and
// events, what is written to config.ini first, and how bad input (unterminated names, texts
// with line breaks, copy-data blocks of the wrong length) is cut or refused.

#include "on_screen_display.h"

#include "debug_capture.h"
#include "ini_file.h"
#include "memory_ini_storage.h"
#include "peer_messages.h"
#include "program_windows.h"
#include "recording_desktop.h"
#include "state_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace brenik::monitor::osd {
namespace {

using test::PostedMessage;
using Posts = std::vector<PostedMessage>;

constexpr const char* kConfig = "C:\\Brenik\\config.ini";
constexpr const char* kMissing = "<missing>";

// The recording desktop, plus what config.ini held at the moment of each post: the display
// reads its texts from the file when the notice arrives.
class FileWatchingDesktop final : public IDesktop {
public:
    FileWatchingDesktop(test::RecordingDesktop& desktop, ini::test::MemoryIniStorage& storage)
        : desktop_(desktop), storage_(storage) {}
    WindowId FindWindowByTitle(const char* title) override { return desktop_.FindWindowByTitle(title); }
    bool Post(WindowId window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        configAtPost.push_back(storage_.files[kConfig]);
        return desktop_.Post(window, message, wParam, lParam);
    }
    void BringForward(WindowId window) override { desktop_.BringForward(window); }
    bool ShellOpen(const std::string& path) override { return desktop_.ShellOpen(path); }

    std::vector<std::string> configAtPost;

private:
    test::RecordingDesktop& desktop_;
    ini::test::MemoryIniStorage& storage_;
};

struct Rig {
    Rig() {
        test::ClearDebugLines();
        state.Use([](StateRecord& s) { s.CurrentProfile = 2; });
    }
    void Macro(int entry, const char* name, std::uint8_t type = kFunctionMacro) {
        state.Use([&](StateRecord& s) {
            MacroKeyInfo& e = s.Profiles[2].MacroKeyInfo[entry];
            e.FunctionType = type;
            std::strncpy(e.MacroName, name, sizeof e.MacroName);
        });
    }
    void StoreSettings(const OsdSettings& settings) {
        ASSERT_TRUE(ini::CIniFile(kConfig, storage).WriteStruct("OSDSetting", "config", &settings, sizeof settings));
    }
    std::string Value(const char* section, const char* key) {
        return ini::CIniFile(kConfig, storage).ReadString(section, key, kMissing);
    }

    test::RecordingDesktop recorded;
    ini::test::MemoryIniStorage storage;
    FileWatchingDesktop desktop{recorded, storage};
    WorkingCopy state;
    OnScreenDisplay osd{desktop, state, kConfig, storage};
};

OsdSettings AllNoticesOn() {
    OsdSettings s{};
    s.ProfileNotice = s.MacroNotice = s.LockKeyNotice = s.VolumeNotice = 1;
    return s;
}

// Loads settings through config.ini, as the monitor does.
void Load(Rig& rig, const OsdSettings& settings) {
    rig.StoreSettings(settings);
    rig.osd.LoadSettings();
}

TEST(OsdSettingsTest, ThePackedParametersAreTheLowHalvesHighThenLow) {
    struct Row {
        std::int32_t first, second;
        std::uint32_t packed;
    };
    const Row rows[] = {
        {3, 7, 0x00030007u},              // 0
        {0x12345, -1, 0x2345FFFFu},       // 1 only the low 16 bits of each
        {0x8000, 0, 0x80000000u},         // 2 the top bit stays a bit, not a sign
        {-1, -1, 0xFFFFFFFFu},            // 3
        {0x10000, 0x70000, 0u},           // 4
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        OsdSettings s{};
        s.DisplayParam1 = rows[i].first;
        s.DisplayParam2 = rows[i].second;
        EXPECT_EQ(PackedDisplayParams(s), rows[i].packed) << "row " << i;
    }
}

TEST(LoadSettingsTest, StartsAllZeroAndTakesTheWholeRecordBytesBeyondTheSwitchesIncluded) {
    Rig rig;
    const OsdSettings zero{};
    EXPECT_EQ(std::memcmp(&rig.osd.Settings(), &zero, sizeof zero), 0);
    rig.osd.LoadSettings();  // no config.ini at all
    EXPECT_EQ(std::memcmp(&rig.osd.Settings(), &zero, sizeof zero), 0);

    OsdSettings stored = AllNoticesOn();
    stored.CallDisplay = 1;
    for (std::size_t i = 0; i < sizeof stored.Unread; ++i) stored.Unread[i] = static_cast<std::uint8_t>(i * 7);
    Load(rig, stored);
    EXPECT_EQ(std::memcmp(&rig.osd.Settings(), &stored, sizeof stored), 0);
}

TEST(LoadSettingsTest, AValueThatDoesNotDecodeLeavesTheSettingsAsTheyWere) {
    Rig rig;
    Load(rig, AllNoticesOn());
    const std::string good = rig.storage.files[kConfig];

    // Each damage on its own: the key gone, a record of another length, a wrong checksum.
    std::uint8_t shorter[kOsdSettingsBytes - 1] = {};
    ini::CIniFile(kConfig, rig.storage).WriteStruct("OSDSetting", "config", shorter, sizeof shorter);
    const std::string wrongLength = rig.storage.files[kConfig];
    std::string wrongSum = good;
    const std::size_t end = wrongSum.find("\r\n", wrongSum.find("config="));
    wrongSum[end - 1] = wrongSum[end - 1] == '0' ? '1' : '0';
    for (const std::string& text : {std::string("[OSDSetting]\r\n"), wrongLength, wrongSum}) {
        rig.storage.files[kConfig] = text;
        rig.osd.LoadSettings();
        EXPECT_TRUE(rig.osd.ShowsWindowsKey()) << text;
        EXPECT_EQ(rig.osd.Settings().VolumeNotice, 1) << text;
    }
    EXPECT_TRUE(test::DebugLinesContain("not 344 checksummed bytes"));
}

TEST(PostSettingsTest, PostsTheParametersOfTheSettingsJustLoadedToARunningDisplayOnly) {
    Rig rig;
    OsdSettings s{};
    s.DisplayParam1 = 3;
    s.DisplayParam2 = 7;
    Load(rig, s);
    rig.osd.PostSettings();  // no display: nothing
    EXPECT_TRUE(rig.recorded.posted.empty());

    rig.recorded.Open(kTitleOsd);
    rig.osd.PostSettings();
    s.DisplayParam1 = 0xFFFF;
    Load(rig, s);
    rig.osd.PostSettings();
    EXPECT_EQ(rig.recorded.posted, (Posts{{kTitleOsd, kMsgOsdSettings, 0, 0x00030007},
                                          {kTitleOsd, kMsgOsdSettings, 0, static_cast<std::intptr_t>(0xFFFF0007u)}}));
    EXPECT_GT(rig.recorded.posted[1].lParam, 0) << "never sign-extended";
}

// One event through Notify: the switches, whether the display runs, and what follows.
struct NotifyCase {
    const char* what;
    std::uint16_t eventClass;
    std::uint16_t value;
    std::int32_t macroSwitch;
    std::int32_t volumeSwitch;
    bool displayRuns;
    Posts posts;
    const char* number;  // "MacroOSD" afterwards
    const char* name;
};

class NotifyTest : public ::testing::TestWithParam<NotifyCase> {};

TEST_P(NotifyTest, PostsAndWritesAsTheClassValueAndSwitchSay) {
    const NotifyCase& c = GetParam();
    Rig rig;
    rig.Macro(0, "Reload");
    rig.Macro(43, "Last");
    rig.Macro(5, "Standard", kFunctionStandard);
    OsdSettings s{};
    s.MacroNotice = c.macroSwitch;
    s.VolumeNotice = c.volumeSwitch;
    Load(rig, s);
    if (c.displayRuns) rig.recorded.Open(kTitleOsd);

    rig.osd.Notify(c.eventClass, c.value);
    EXPECT_EQ(rig.recorded.posted, c.posts);
    EXPECT_EQ(rig.Value("MacroOSD", "Number"), c.number);
    EXPECT_EQ(rig.Value("MacroOSD", "MacroName"), c.name);
}

const PostedMessage kMacroNotice{kTitleOsd, kMsgOsdShow, kOsdKindMacro, 0};
PostedMessage VolumeNotice(std::intptr_t v) { return {kTitleOsd, kMsgOsdShow, kOsdKindVolume, v}; }

INSTANTIATE_TEST_SUITE_P(
    Cases, NotifyTest,
    ::testing::Values(
        NotifyCase{"macro key 1", 0x4000, 1, 1, 0, true, {kMacroNotice}, "0", "Reload"},
        NotifyCase{"macro key 44", 0x4000, 44, 1, 0, true, {kMacroNotice}, "43", "Last"},
        NotifyCase{"no display: stored all the same", 0x4000, 1, 1, 0, false, {}, "0", "Reload"},
        NotifyCase{"not a macro", 0x4000, 6, 1, 0, true, {}, kMissing, kMissing},
        NotifyCase{"no macro notices", 0x4000, 1, 0, 1, true, {}, kMissing, kMissing},
        NotifyCase{"switch 2 is off", 0x4000, 1, 2, 0, true, {}, kMissing, kMissing},
        NotifyCase{"key 0", 0x4000, 0, 1, 0, true, {}, kMissing, kMissing},
        NotifyCase{"key 45", 0x4000, 45, 1, 0, true, {}, kMissing, kMissing},
        NotifyCase{"volume 0", 0xA000, 0, 0, 1, true, {VolumeNotice(0)}, kMissing, kMissing},
        NotifyCase{"volume 100", 0xA000, 100, 0, 1, true, {VolumeNotice(100)}, kMissing, kMissing},
        NotifyCase{"volume 101", 0xA000, 101, 0, 1, true, {}, kMissing, kMissing},
        NotifyCase{"volume, switch -1", 0xA000, 50, 1, -1, true, {}, kMissing, kMissing},
        NotifyCase{"volume, no display", 0xA000, 50, 0, 1, false, {}, kMissing, kMissing},
        NotifyCase{"other class", 0x3000, 1, 1, 1, true, {}, kMissing, kMissing}),
    [](const ::testing::TestParamInfo<NotifyCase>& info) { return "case" + std::to_string(info.index); });

TEST(NotifyTest, TheMacroNameIsInConfigIniWhenTheNoticeIsPosted) {
    Rig rig;
    rig.Macro(3, "Reload");
    Load(rig, AllNoticesOn());
    rig.recorded.Open(kTitleOsd);
    rig.osd.Notify(kClassMacroPlayed, 4);
    ASSERT_EQ(rig.desktop.configAtPost.size(), 1u);
    EXPECT_NE(rig.desktop.configAtPost[0].find("[MacroOSD]\r\nNumber=3\r\nMacroName=Reload\r\n"), std::string::npos)
        << rig.desktop.configAtPost[0];
}

TEST(WriteMacroOsdTest, NamesAreCutAtTheirFieldAndAtALineBreak) {
    Rig rig;
    rig.state.Use([](StateRecord& s) {
        MacroKeyInfo& e = s.Profiles[2].MacroKeyInfo[7];
        e.FunctionType = kFunctionMacro;
        std::memset(e.MacroName, 'M', sizeof e.MacroName);  // no terminator
        e.ActionCount = 0x4141;                              // and letters right behind it
    });
    ASSERT_TRUE(rig.osd.WriteMacroOsd(7));
    EXPECT_EQ(rig.Value("MacroOSD", "MacroName"), std::string(kMacroNameMaxChars, 'M'));

    rig.Macro(8, "Fire\r\n[OSDSetting]");
    ASSERT_TRUE(rig.osd.WriteMacroOsd(8));
    EXPECT_EQ(rig.Value("MacroOSD", "MacroName"), "Fire");
    EXPECT_EQ(rig.Value("MacroOSD", "Number"), "8");
    EXPECT_TRUE(test::DebugLinesContain("kept a macro name up to its line break"));
    EXPECT_EQ(rig.storage.files[kConfig].find("[OSDSetting]"), std::string::npos);
}

TEST(WriteMacroOsdTest, NothingIsWrittenWithoutACurrentProfileOrOutsideTheEntries) {
    Rig rig;
    rig.Macro(0, "Reload");
    rig.Macro(43, "Last");
    EXPECT_FALSE(rig.osd.WriteMacroOsd(-1));
    EXPECT_FALSE(rig.osd.WriteMacroOsd(44));
    rig.state.Use([](StateRecord& s) { s.CurrentProfile = -1; });
    EXPECT_FALSE(rig.osd.WriteMacroOsd(0));
    rig.state.Use([](StateRecord& s) { s.CurrentProfile = 5; });
    EXPECT_FALSE(rig.osd.WriteMacroOsd(0));
    EXPECT_EQ(rig.storage.writes, 0);
}

TEST(WriteMacroOsdTest, AWriteThatFailsIsNoSuccessAndAnnouncesNothing) {
    Rig rig;
    rig.Macro(0, "Reload");
    Load(rig, AllNoticesOn());
    rig.recorded.Open(kTitleOsd);
    rig.storage.failWrites = true;
    EXPECT_FALSE(rig.osd.WriteMacroOsd(0));
    rig.osd.Notify(kClassMacroPlayed, 1);
    rig.storage.failWrites = false;
    rig.storage.unreadable.insert(kConfig);  // exists but cannot be read: must not be replaced
    rig.osd.Notify(kClassMacroPlayed, 1);
    EXPECT_TRUE(rig.recorded.posted.empty());
}

TEST(ProfileSwitchTest, AnnouncedOnlyWhenTheSwitchIsExactlyOneAndTheDisplayRuns) {
    struct Row {
        std::int32_t profileSwitch;
        int index;
        bool displayRuns;
        Posts posts;
    };
    const Row rows[] = {
        {1, 0, true, {{kTitleOsd, kMsgOsdShow, kOsdKindProfile, 0}}},        // 0
        {1, 4, true, {{kTitleOsd, kMsgOsdShow, kOsdKindProfile, 0x40000}}},  // 1 index in the high half
        {0, 4, true, {}},                                                    // 2
        {2, 4, true, {}},                                                    // 3
        {1, 4, false, {}},                                                   // 4
        {1, 5, true, {}},                                                    // 5 not a profile
        {1, -1, true, {}},                                                   // 6
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Rig rig;
        OsdSettings s{};
        s.ProfileNotice = rows[i].profileSwitch;
        Load(rig, s);
        if (rows[i].displayRuns) rig.recorded.Open(kTitleOsd);
        rig.osd.NotifyProfileSwitch(rows[i].index);
        EXPECT_EQ(rig.recorded.posted, rows[i].posts) << "row " << i;
    }
}

TEST(WindowsKeySwitchTest, OnOnlyWhenExactlyOne) {
    for (const std::int32_t value : {0, 1, 2, -1, 256}) {
        Rig rig;
        OsdSettings s{};
        s.LockKeyNotice = value;
        Load(rig, s);
        EXPECT_EQ(rig.osd.ShowsWindowsKey(), value == 1) << value;
    }
}

// A copy-data block of exactly `size` bytes on the heap, so a read past it is caught.
std::unique_ptr<char[]> Block(std::size_t size, const char* text) {
    auto block = std::make_unique<char[]>(size);
    std::memset(block.get(), 0, size);
    if (size > 0) block[0] = 'x';  // byte 0 is not part of the text
    if (size > 1) std::memcpy(block.get() + 1, text, std::min(std::strlen(text), size - 1));
    return block;
}

TEST(CopyDataTest, OnlyABlockOfExactly151BytesIsStoredAndEveryBlockIsAnswered) {
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{150}, std::size_t{152}, std::size_t{4096}}) {
        Rig rig;
        rig.recorded.Open(kTitleOsd);
        const auto block = Block(size, "Hello");
        EXPECT_TRUE(rig.osd.OnCopyData(block.get(), size, true)) << size;
        EXPECT_EQ(rig.storage.writes, 0) << size;
        EXPECT_TRUE(rig.recorded.posted.empty()) << size;
        EXPECT_TRUE(test::DebugLinesContain("refused a text message of " + std::to_string(size) + " bytes")) << size;
    }
    Rig rig;
    EXPECT_TRUE(rig.osd.OnCopyData(nullptr, kTextMessageBytes, true));
    EXPECT_EQ(rig.storage.writes, 0);
    EXPECT_TRUE(test::DebugLinesContain("without its bytes"));
}

TEST(CopyDataTest, TheTextRunsFromByteOneToTheFirstZeroOrTheBlocksEnd) {
    struct Row {
        std::string text;  // bytes 1.. of the block (the rest zero)
        std::string stored;
    };
    const std::string full(150, 'T');
    const Row rows[] = {
        {"Hello", "Hello"},                                 // 0
        {std::string("Hel\0lo", 6), "Hel"},                 // 1
        {"", ""},                                           // 2 an empty text is a text
        {full, full},                                       // 3 no terminator: all 150, nothing beyond
        {"first\r\n[Setting]\r\nCurrentProfile=4", "first"},  // 4 kept up to the break
        {"\nsecond", ""},                                   // 5
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Rig rig;
        auto block = std::make_unique<char[]>(kTextMessageBytes);
        std::memset(block.get(), 0, kTextMessageBytes);
        block[0] = 'x';
        std::memcpy(block.get() + 1, rows[i].text.data(), rows[i].text.size());
        EXPECT_TRUE(rig.osd.OnCopyData(block.get(), kTextMessageBytes, true)) << "row " << i;
        EXPECT_EQ(rig.Value("OSDData", "Message"), rows[i].stored) << "row " << i;
        EXPECT_EQ(rig.Value("Setting", "CurrentProfile"), kMissing) << "row " << i;
    }
    EXPECT_TRUE(test::DebugLinesContain("kept a text message up to its line break"));
}

TEST(CopyDataTest, AnnouncedAfterItIsStoredOnlyWhileTheKeyboardIsOpenAndTheDisplayRuns) {
    struct Row {
        bool keyboardOpen, displayRuns, writesFail;
        bool stored, announced;
    };
    const Row rows[] = {
        {true, true, false, true, true},     // 0
        {false, true, false, true, false},   // 1 stored, not announced
        {true, false, false, true, false},   // 2
        {true, true, true, false, false},    // 3 nothing announced that was not stored
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        Rig rig;
        if (rows[i].displayRuns) rig.recorded.Open(kTitleOsd);
        rig.storage.failWrites = rows[i].writesFail;
        const auto block = Block(kTextMessageBytes, "Game on");
        EXPECT_TRUE(rig.osd.OnCopyData(block.get(), kTextMessageBytes, rows[i].keyboardOpen)) << "row " << i;
        EXPECT_EQ(rig.Value("OSDData", "Message"), rows[i].stored ? "Game on" : kMissing) << "row " << i;
        const Posts expected = rows[i].announced ? Posts{{kTitleOsd, kMsgOsdShow, kOsdKindMessage, 0}} : Posts{};
        EXPECT_EQ(rig.recorded.posted, expected) << "row " << i;
        if (rows[i].announced) {
            EXPECT_NE(rig.desktop.configAtPost[0].find("Message=Game on"), std::string::npos) << "row " << i;
        }
    }
}

}  // namespace
}  // namespace brenik::monitor::osd
