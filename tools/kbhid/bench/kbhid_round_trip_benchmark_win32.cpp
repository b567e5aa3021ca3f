// How long one report takes through kbhid.dll to the virtual keyboard's server and back:
// the cost every monitor command and every update block pays on top of the keyboard's own
// pacing. Prints figures; asserts nothing about speed. Uses its own copies of kbhid.dll and
// vkbd-server.exe in bench\kbhid-round-trip\ and a pipe of its own, and stops the server.

#include "hid_library.h"
#include "pipe_client_win32.h"
#include "program_folder.h"
#include "scoped_handle.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

namespace pipe = brenik::vkb::pipe;
using Clock = std::chrono::steady_clock;

bool Control(const std::string& pipeName, const std::string& line) {
    pipe::Request request;
    request.kind = pipe::Kind::kControl;
    request.command = line;
    pipe::Reply reply;
    return pipe::CallServer(pipeName, request, reply) && reply.ok;
}

template <typename Call>
void Measure(const char* what, int rounds, Call call) {
    const auto start = Clock::now();
    int failures = 0;
    for (int i = 0; i < rounds; ++i) failures += call() ? 0 : 1;
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("kbhid round trip: %-40s %5d calls, %8.3f ms each, %d failed\n", what, rounds, ms / rounds, failures);
}

}  // namespace

int main() {
    const std::string folder = brenik::ProgramFolder() + "kbhid-round-trip\\";
    const std::string pipeName = "BrenikVkbBench" + std::to_string(GetCurrentProcessId());
    std::FILE* ini = std::fopen((folder + "kbhid.ini").c_str(), "wb");
    if (ini == nullptr) return 1;
    std::fprintf(ini, "[Backend]\r\nType=virtual\r\nPipeName=%s\r\n", pipeName.c_str());
    std::fclose(ini);

    std::string line = "\"" + folder + "vkbd-server.exe\" --pipe " + pipeName;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &process)) {
        return 1;
    }
    brenik::win32::ScopedHandle server(process.hProcess);
    CloseHandle(process.hThread);
    for (int i = 0; i < 200 && !Control(pipeName, "status"); ++i) Sleep(50);

    int result = 0;
    {
        brenik::hid::HidLibrary library;
        if (library.LoadFrom(folder + "kbhid.dll", brenik::hid::kAllEntryPoints) && library.OpenFeatureDevice()) {
            std::vector<unsigned char> status(3, 0);
            Measure("GetFeature status (3 bytes)", 2000, [&] {
                status[0] = 4;
                return library.GetFeature(status.data(), 3);
            });
            std::vector<unsigned char> select{4, 0, 0x60};
            Measure("SetFeature select (3 bytes)", 2000, [&] { return library.SetFeature(select.data(), 3); });
            std::vector<unsigned char> block(1026, 0);
            block[0] = 0x1B;
            block[1] = 0x04;  // block data outside update mode: carried whole, answered with a failed status
            Measure("SetFeature update block (1026 bytes)", 1000, [&] { return library.SetFeature(block.data(), 1026); });
            std::vector<unsigned char> macro(1674, 0);
            Measure("select + GetFeature macro (1674 bytes)", 1000, [&] {
                select[2] = 3;
                macro[0] = 20;
                return library.SetFeature(select.data(), 3) && library.GetFeature(macro.data(), 1674);
            });
            library.CloseFeatureDevice();
        } else {
            std::printf("kbhid round trip: the library or the server is not there\n");
            result = 1;
        }
    }
    Control(pipeName, "stop");
    if (WaitForSingleObject(server.Get(), 10000) != WAIT_OBJECT_0) TerminateProcess(server.Get(), 1);
    return result;
}
