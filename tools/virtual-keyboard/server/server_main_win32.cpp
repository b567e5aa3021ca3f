// vkbd-server.exe [--pipe NAME]: the virtual keyboard's server. Usually started and stopped
// by "vkbd start" and "vkbd stop". Exit codes: 0 stopped by command, 2 bad arguments, 3 the
// pipe could not be created (another server already uses the name).

#include "keyboard_service.h"
#include "pipe_protocol.h"
#include "pipe_server_win32.h"

#include <windows.h>

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
    // Trace times are the machine's performance counter in microseconds, the same figure in
    // every process, so a test can line the trace up with its own log of window messages.
    brenik::vkb::KeyboardService service([] {
        LARGE_INTEGER counter, frequency;
        QueryPerformanceCounter(&counter);
        QueryPerformanceFrequency(&frequency);
        return static_cast<std::uint64_t>(counter.QuadPart * 1000000.0 / static_cast<double>(frequency.QuadPart));
    });
    return brenik::vkb::RunPipeServer(pipeName, service) ? 0 : 3;
}
