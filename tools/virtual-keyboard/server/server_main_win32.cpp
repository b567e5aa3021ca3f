// vkbd-server.exe [--pipe NAME]: the virtual keyboard's server. Usually started and stopped
// by "vkbd start" and "vkbd stop". Exit codes: 0 stopped by command, 2 bad arguments, 3 the
// pipe could not be created (another server already uses the name).

#include "keyboard_service.h"
#include "pipe_protocol.h"
#include "pipe_server_win32.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    std::string pipeName = brenik::vkb::pipe::kDefaultPipeName;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pipe") == 0 && i + 1 < argc) {
            pipeName = argv[++i];
        } else {
            std::fprintf(stderr, "usage: vkbd-server [--pipe NAME]\n");
            return 2;
        }
    }
    const auto start = std::chrono::steady_clock::now();
    brenik::vkb::KeyboardService service([start] {
        return static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count());
    });
    return brenik::vkb::RunPipeServer(pipeName, service) ? 0 : 3;
}
