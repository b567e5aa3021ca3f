// BrenikSettings.exe: the command-line settings tool (BrenikSettings --help). It lives beside
// Monitor.exe, so its program folder is the monitor's and config.ini is found there.

#include "command_line.h"
#include "exit_codes.h"
#include "monitor_link_win32.h"
#include "program_folder.h"
#include "settings_services_win32.h"
#include "settings_tool.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace brenik::settings;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    if (!parsed.command) {
        std::cerr << "BrenikSettings: " << parsed.error << "\n(BrenikSettings --help lists the commands)\n";
        for (const std::string& word : arguments) {
            if (word == "--json") {
                std::cout << ErrorJson("usage", parsed.error, kExitUsage, AnsiToUtf8);
                break;
            }
        }
        return kExitUsage;
    }
    const std::string folder = brenik::ProgramFolder();
    StateBlockWin32 block;
    MonitorLinkWin32 monitor(brenik::ConfigIniPathIn(folder));
    ProfileFilesWin32 files(folder);
    SettingsTool tool(block, monitor, files, std::cout, std::cerr, AnsiToUtf8);
    const int status = tool.Run(*parsed.command);
    std::cout.flush();
    return status;
}
