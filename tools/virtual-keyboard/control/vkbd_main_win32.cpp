// vkbd.exe: the virtual keyboard's control command (vkbd help lists every command). start,
// stop, help and writing the trace to a file are done here; every other command is sent to
// the server as one line and its answer printed. Exit code 0 when the command was done, 1
// when it was refused or the server is not running, 2 for a usage error.

#include "control_command.h"
#include "pipe_client_win32.h"
#include "pipe_protocol.h"
#include "program_folder.h"
#include "scoped_handle.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace brenik::vkb {
namespace {

using brenik::win32::ScopedHandle;

constexpr DWORD kStartTimeoutMs = 10000;
constexpr DWORD kStopTimeoutMs = 10000;
constexpr DWORD kPollMs = 100;

bool Send(const std::string& pipeName, const std::string& line, pipe::Reply& reply) {
    pipe::Request request;
    request.kind = pipe::Kind::kControl;
    request.command = line;
    return pipe::CallServer(pipeName, request, reply);
}

bool Running(const std::string& pipeName) {
    pipe::Reply reply;
    return Send(pipeName, "status", reply) && reply.ok;
}

int NotRunning() {
    std::fprintf(stderr, "vkbd: the virtual keyboard server is not running (vkbd start)\n");
    return 1;
}

// The server runs detached and inherits no handle, so that no console or pipe of whoever
// called vkbd is held open by it after vkbd has ended.
int Start(const std::string& pipeName) {
    if (Running(pipeName)) {
        std::printf("vkbd: the server is already running on %s\n", pipeName.c_str());
        return 0;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    const std::string server = brenik::ProgramFolder() + "vkbd-server.exe";
    std::string commandLine = "\"" + server + "\" --pipe " + pipeName;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(server.c_str(), commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "vkbd: cannot start %s (error %lu)\n", server.c_str(), static_cast<unsigned long>(GetLastError()));
        return 1;
    }
    ScopedHandle processHandle(process.hProcess);
    ScopedHandle threadHandle(process.hThread);
    const ULONGLONG deadline = GetTickCount64() + kStartTimeoutMs;
    while (GetTickCount64() < deadline) {
        if (Running(pipeName)) {
            std::printf("vkbd: server started on %s (process %lu)\n", pipeName.c_str(), static_cast<unsigned long>(process.dwProcessId));
            return 0;
        }
        if (WaitForSingleObject(processHandle.Get(), kPollMs) == WAIT_OBJECT_0) break;
    }
    DWORD code = 0;
    GetExitCodeProcess(processHandle.Get(), &code);
    std::fprintf(stderr, "vkbd: the server did not come up (exit code %lu)\n", static_cast<unsigned long>(code));
    return 1;
}

int Stop(const std::string& pipeName) {
    pipe::Reply reply;
    if (!Send(pipeName, "stop", reply)) return NotRunning();
    const ULONGLONG deadline = GetTickCount64() + kStopTimeoutMs;
    while (GetTickCount64() < deadline) {
        if (!Running(pipeName)) {
            std::printf("vkbd: server stopped\n");
            return 0;
        }
        Sleep(kPollMs);
    }
    std::fprintf(stderr, "vkbd: the server did not stop\n");
    return 1;
}

// Sends a command whose answer goes into a file: the trace, or the firmware image.
int WriteAnswer(const std::string& pipeName, const std::string& command, const std::string& path) {
    pipe::Reply reply;
    if (!Send(pipeName, command, reply)) return NotRunning();
    const std::string text = pipe::ReplyText(reply);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "vkbd: cannot write %s\n", path.c_str());
        return 1;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "vkbd: writing %s failed\n", path.c_str());
        return 1;
    }
    std::printf("vkbd: %s written to %s (%zu bytes)\n", command.c_str(), path.c_str(), text.size());
    return 0;
}

int Forward(const std::string& pipeName, const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words) line += (line.empty() ? "" : " ") + word;
    pipe::Reply reply;
    if (!Send(pipeName, line, reply)) return NotRunning();
    const std::string text = pipe::ReplyText(reply);
    std::FILE* out = reply.ok ? stdout : stderr;
    std::fprintf(out, "%s%s", text.c_str(), !text.empty() && text.back() == '\n' ? "" : "\n");
    return reply.ok ? 0 : 1;
}

}  // namespace
}  // namespace brenik::vkb

int main(int argc, char** argv) {
    using namespace brenik::vkb;
    std::string pipeName = pipe::kDefaultPipeName;
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--pipe") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "vkbd: --pipe needs a name\n");
                return 2;
            }
            pipeName = argv[++i];
        } else {
            words.push_back(arg);
        }
    }
    if (words.empty() || words[0] == "help" || words[0] == "--help" || words[0] == "-h") {
        std::fputs(brenik::vkb::ControlHelp(), stdout);
        return words.empty() ? 2 : 0;
    }
    if (words[0] == "start" && words.size() == 1) return Start(pipeName);
    if (words[0] == "stop" && words.size() == 1) return Stop(pipeName);
    if (words[0] == "trace" && words.size() == 2 && words[1] != "clear") return WriteAnswer(pipeName, "trace", words[1]);
    if (words[0] == "image") {
        if (words.size() != 2) {
            std::fprintf(stderr, "vkbd: image needs a file name\n");
            return 2;
        }
        return WriteAnswer(pipeName, "image", words[1]);
    }
    return Forward(pipeName, words);
}
