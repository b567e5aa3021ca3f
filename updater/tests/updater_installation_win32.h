#pragma once
// The install tree an updater test runs in, as it ships: KeyFwFlash.exe in KeyFwFlash\ with
// its own kbhid.dll, kbhid.ini (the virtual keyboard's pipe) and config.ini naming the image,
// below the monitor's folder, which holds Monitor.exe, kbhid.dll, kbhid.ini and config\ when
// the test wants a monitor the updater closes and starts again. Removed at the end.

#include "wine_test_support.h"

#include <windows.h>

#include <string>

namespace brenik::test {

// The programs an updater test installs, as CMake hands them over (--updater=, --monitor=,
// --kbhid=, --tools=).
struct UpdaterPrograms {
    std::string updater;  // KeyFwFlash.exe
    std::string monitor;  // Monitor.exe
    std::string kbhid;    // kbhid.dll
    std::string tools;    // folder of vkbd.exe and vkbd-server.exe, with a trailing backslash

    static UpdaterPrograms FromArguments() {
        return {ArgumentPath("updater"), ArgumentPath("monitor"), ArgumentPath("kbhid"), ArgumentFolder("tools")};
    }
};

class UpdaterInstallation {
public:
    struct Options {
        bool withMonitor = true;
        bool withUpdaterLibrary = true;  // kbhid.dll beside the updater
        std::string imageName = "firmware.bin";  // as config.ini names it
    };

    UpdaterInstallation(const std::string& tag, const UpdaterPrograms& programs, const std::string& pipe,
                        const Options& options)
        : root_(tag) {
        const std::string ini = VirtualKbhidIni(pipe);
        if (options.withMonitor) {
            CopyInto(programs.monitor, root_.Path());
            CopyInto(programs.kbhid, root_.Path());
            WriteTextFile(root_.File("kbhid.ini"), ini);
            CreateDirectoryA(root_.File("config").c_str(), nullptr);
        }
        CreateDirectoryA(Folder().c_str(), nullptr);
        CopyInto(programs.updater, Folder());
        if (options.withUpdaterLibrary) CopyInto(programs.kbhid, Folder());
        WriteTextFile(Folder() + "kbhid.ini", ini);
        WriteTextFile(Folder() + "config.ini", "[Firmware]\r\nName=" + options.imageName + "\r\n");
    }
    std::string Folder() const { return root_.File("KeyFwFlash\\"); }
    std::string Updater() const { return Folder() + "KeyFwFlash.exe"; }
    std::string Monitor() const { return root_.File("Monitor.exe"); }
    std::string Image() const { return Folder() + "firmware.bin"; }
    std::string Scratch(const std::string& name) const { return root_.File(name); }

private:
    TempFolder root_;
};

}  // namespace brenik::test
