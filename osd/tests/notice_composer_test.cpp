// The words of each notice, from config.ini and the shared block's profile names.

#include "notice_composer.h"

#include "debug_capture.h"
#include "memory_ini_storage.h"

#include <gtest/gtest.h>

#include <map>

namespace brenik::osd {
namespace {

constexpr const char* kPath = "C:\\Brenik\\config.ini";

class FakeProfileNames final : public IProfileNames {
public:
    std::optional<std::string> ProfileName(int index) override {
        asked.push_back(index);
        const auto found = names.find(index);
        if (found == names.end()) return std::nullopt;
        return found->second;
    }
    std::map<int, std::string> names;
    std::vector<int> asked;
};

class NoticeComposerTest : public ::testing::Test {
protected:
    void SetUp() override { test::ClearDebugLines(); }
    std::optional<Notice> Compose(NoticeKind kind, int value = 0) { return composer.Compose({kind, value}); }
    void Ini(const std::string& text) { storage.files[kPath] = text; }

    ini::test::MemoryIniStorage storage;
    ini::CIniFile config{kPath, storage};
    FakeProfileNames names;
    NoticeComposer composer{config, names};
};

void ExpectNotice(const std::optional<Notice>& notice, const std::string& caption, const std::string& text,
                  int bar = -1) {
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ(notice->caption, caption);
    EXPECT_EQ(notice->text, text);
    EXPECT_EQ(notice->barPercent, bar);
}

TEST_F(NoticeComposerTest, ProfileShowsItsNumberFromOneAndItsStoredName) {
    names.names[2] = "Strategy";
    ExpectNotice(Compose(NoticeKind::kProfile, 2), "Profile 3", "Strategy");
    EXPECT_EQ(names.asked, std::vector<int>{2});
}

TEST_F(NoticeComposerTest, ProfileWithoutAReadableNameShowsOnlyItsNumber) {
    ExpectNotice(Compose(NoticeKind::kProfile, 0), "", "Profile 1");  // no block, or the lock busy
    names.names[4] = "   ";
    ExpectNotice(Compose(NoticeKind::kProfile, 4), "", "Profile 5");
}

TEST_F(NoticeComposerTest, ProfileNameWithoutTerminatorIsCut) {
    names.names[1] = std::string(250, 'W');
    const auto notice = Compose(NoticeKind::kProfile, 1);
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ(notice->text, std::string(kMaxProfileNameBytes, 'W') + "...");
}

TEST_F(NoticeComposerTest, TextMessageIsReadFreshFromConfigIniEachTime) {
    Ini("[OSDData]\r\nMessage=Raid starts in 5 minutes\r\n");
    ExpectNotice(Compose(NoticeKind::kMessage), "Message", "Raid starts in 5 minutes");
    Ini("[OSDData]\r\nMessage=" + std::string(400, 'm') + "\r\n");
    const auto notice = Compose(NoticeKind::kMessage);
    ASSERT_TRUE(notice.has_value());
    EXPECT_EQ(notice->text, std::string(kMaxMessageBytes, 'm') + "...");
    EXPECT_TRUE(notice->Wraps());
}

TEST_F(NoticeComposerTest, EmptyOrMissingTextMessageShowsNothing) {
    EXPECT_FALSE(Compose(NoticeKind::kMessage).has_value());
    EXPECT_TRUE(test::DebugLinesContain("shows no text message"));
    Ini("[OSDData]\r\nMessage=  \r\n");
    EXPECT_FALSE(Compose(NoticeKind::kMessage).has_value());
}

TEST_F(NoticeComposerTest, MacroShowsItsNameAndTheKeyCountedFromOne) {
    Ini("[MacroOSD]\r\nNumber=0\r\nMacroName=Reload\r\n");
    ExpectNotice(Compose(NoticeKind::kMacro), "Macro on key 1", "Reload");
    Ini("[MacroOSD]\r\nNumber=43\r\nMacroName=" + std::string(40, 'x') + "\r\n");
    ExpectNotice(Compose(NoticeKind::kMacro), "Macro on key 44", std::string(kMaxMacroNameBytes, 'x') + "...");
}

TEST_F(NoticeComposerTest, MacroWithoutKeyOrNameSaysWhatItKnows) {
    Ini("[MacroOSD]\r\nNumber=44\r\nMacroName=Combo\r\n");  // no such key entry
    ExpectNotice(Compose(NoticeKind::kMacro), "Macro", "Combo");
    Ini("[MacroOSD]\r\nNumber=7\r\nMacroName=\r\n");
    ExpectNotice(Compose(NoticeKind::kMacro), "Macro on key 8", "Unnamed macro");
    Ini("[MacroOSD]\r\nNumber=-3\r\n");
    EXPECT_FALSE(Compose(NoticeKind::kMacro).has_value());
    EXPECT_TRUE(test::DebugLinesContain("shows no macro"));
}

TEST_F(NoticeComposerTest, WindowsKeyAndVolume) {
    ExpectNotice(Compose(NoticeKind::kWindowsKey, 1), "Windows key", "Locked");
    ExpectNotice(Compose(NoticeKind::kWindowsKey, 0), "Windows key", "Unlocked");
    ExpectNotice(Compose(NoticeKind::kVolume, 0), "Volume", "0%", 0);
    ExpectNotice(Compose(NoticeKind::kVolume, 73), "Volume", "73%", 73);
    EXPECT_TRUE(names.asked.empty()) << "only a profile notice opens the shared block";
}

}  // namespace
}  // namespace brenik::osd
