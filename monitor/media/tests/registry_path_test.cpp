// Root words of a registry path, and the paths that name no key.

#include "debug_capture.h"
#include "registry_path.h"

#include <gtest/gtest.h>

namespace brenik::monitor::media {
namespace {

TEST(RegistryPath, RootWordsWithoutRegardToCase) {
    const struct {
        const char* path;
        RegistryRoot root;
        const char* subKey;
    } cases[] = {
        {"hkey_current_user\\Control Panel\\Mouse", RegistryRoot::kCurrentUser, "Control Panel\\Mouse"},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes", RegistryRoot::kLocalMachine, "SOFTWARE\\Classes"},
        {"Hkey_Current_Config\\System", RegistryRoot::kCurrentConfig, "System"},
        {"HKEY_CLASSES_ROOT\\Winamp.File\\shell", RegistryRoot::kClassesRoot, "Winamp.File\\shell"},
        {"HKEY_CURRENT_USER\\", RegistryRoot::kCurrentUser, ""},
    };
    for (const auto& c : cases) {
        const std::optional<RegistryPath> parsed = ParseRegistryPath(c.path);
        ASSERT_TRUE(parsed) << c.path;
        EXPECT_EQ(parsed->root, c.root) << c.path;
        EXPECT_EQ(parsed->subKey, c.subKey) << c.path;
    }
}

TEST(RegistryPath, AnyOtherFirstWordMeansTheMachineAndTheWholePath) {
    for (const char* path : {"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\wmplayer.exe",
                             "HKEY_LOCAL_MACHINES\\x", "HKLM\\SOFTWARE", "\\SOFTWARE\\x"}) {
        const std::optional<RegistryPath> parsed = ParseRegistryPath(path);
        ASSERT_TRUE(parsed) << path;
        EXPECT_EQ(parsed->root, RegistryRoot::kLocalMachine) << path;
        EXPECT_EQ(parsed->subKey, path);
    }
}

TEST(RegistryPath, WithoutBackslashIsRefused) {
    test::ClearDebugLines();
    EXPECT_FALSE(ParseRegistryPath("HKEY_CURRENT_USER"));
    EXPECT_FALSE(ParseRegistryPath("Software"));
    EXPECT_FALSE(ParseRegistryPath(""));
    EXPECT_TRUE(test::DebugLinesContain("without a backslash refused"));
}

TEST(RegistryPath, AtMost263Characters) {
    const std::string longest = "HKEY_CURRENT_USER\\" + std::string(kMaxRegistryPathChars - 18, 'k');
    ASSERT_EQ(longest.size(), 263u);
    EXPECT_TRUE(ParseRegistryPath(longest));
    test::ClearDebugLines();
    EXPECT_FALSE(ParseRegistryPath(longest + "k"));
    EXPECT_TRUE(test::DebugLinesContain("path of 264 characters refused"));
}

}  // namespace
}  // namespace brenik::monitor::media
