#include "program_folder.h"

#include <gtest/gtest.h>

namespace brenik {
namespace {

TEST(ProgramFolderTest, KeepsDriveAndFolderWithTheBackslash) {
    struct Case {
        const char* path;
        const char* folder;
    };
    const Case cases[] = {
        {"E:\\A\\B\\monitor.exe", "E:\\A\\B\\"},          // 0
        {"D:\\Games\\Kb\\monitor.exe", "D:\\Games\\Kb\\"},  // 1
        {"C:\\Monitor.exe", "C:\\"},                      // 2
        {"\\\\server\\share\\Kb\\Monitor.exe", "\\\\server\\share\\Kb\\"},  // 3
        {"C:/mixed\\slashes/Monitor.exe", "C:/mixed\\slashes/"},            // 4
        {"C:Monitor.exe", "C:"},                          // 5
        {"Monitor.exe", ""},                              // 6
        {"", ""},                                         // 7
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(FolderOfPath(cases[i].path), cases[i].folder) << "row " << i;
    }
    EXPECT_EQ(FolderOfPath("D:\\Games\\Kb\\monitor.exe") + "config.ini", "D:\\Games\\Kb\\config.ini");
}

}  // namespace
}  // namespace brenik
