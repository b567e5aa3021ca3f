// desktop-tool.exe: what a script needs of the Windows desktop to drive our programs under
// Wine as a person would: wait for a window, post it a message, close it.
//   desktop-tool wait TITLE [SECONDS]      exit 0 once a window with that title exists
//   desktop-tool gone TITLE [SECONDS]      exit 0 once no window has that title
//   desktop-tool post TITLE MSG [W [L]]    post a message (numbers in decimal or 0x hex)
//   desktop-tool close TITLE               post WM_CLOSE
//   desktop-tool copydata TITLE TEXT       send a text message as another program does: WM_COPYDATA
//                                          with a 151-byte block, the text from byte 1; prints the answer
//   desktop-tool shot FILE.bmp [TITLE]     a picture of the screen, or of that window's rectangle
// TITLE may be "class:NAME" for the first window of that class (an open pop-up menu is
// "class:#32768"). Exit code 1 when the window is not there (or still there), 2 for a usage
// error.

#include "text_message_block.h"
#include "window_capture.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace brenik::desktop {
namespace {

constexpr DWORD kPollMs = 50;
constexpr double kDefaultSeconds = 20;

int Usage() {
    std::fputs("usage: desktop-tool wait|gone TITLE [SECONDS] | post TITLE MSG [W [L]] | close TITLE\n"
               "       desktop-tool copydata TITLE TEXT | shot FILE.bmp [TITLE]\n",
               stderr);
    return 2;
}

bool ParseNumber(const char* text, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text, &end, 0);
    return end != text && *end == '\0';
}

constexpr const char* kClassPrefix = "class:";

HWND FindNamed(const char* name) {
    const std::size_t prefix = std::strlen(kClassPrefix);
    if (std::strncmp(name, kClassPrefix, prefix) == 0) return FindWindowA(name + prefix, nullptr);
    return FindWindowA(nullptr, name);
}

int WaitFor(const char* title, bool present, double seconds) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    for (;;) {
        if ((FindNamed(title) != nullptr) == present) return 0;
        if (GetTickCount64() >= deadline) break;
        Sleep(kPollMs);
    }
    std::fprintf(stderr, "desktop-tool: \"%s\" %s\n", title, present ? "did not appear" : "is still there");
    return 1;
}

int Post(const char* title, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = FindNamed(title);
    if (window == nullptr || !PostMessageA(window, message, wParam, lParam)) {
        std::fprintf(stderr, "desktop-tool: no window \"%s\"\n", title);
        return 1;
    }
    return 0;
}

constexpr DWORD kSendTimeoutMs = 5000;

int SendText(const char* title, const char* text) {
    HWND window = FindNamed(title);
    if (window == nullptr) {
        std::fprintf(stderr, "desktop-tool: no window \"%s\"\n", title);
        return 1;
    }
    // The text from its start, always ended by a zero inside the block.
    char block[brenik::kTextMessageBytes] = {};
    std::strncpy(block + brenik::kTextMessageStart, text, brenik::kTextMessageMaxChars - 1);
    COPYDATASTRUCT data{0, static_cast<DWORD>(sizeof block), block};
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, kSendTimeoutMs,
                             &answer)) {
        std::fprintf(stderr, "desktop-tool: \"%s\" did not answer\n", title);
        return 1;
    }
    std::printf("answered %lu\n", static_cast<unsigned long>(answer));
    return 0;
}

int Shot(const char* path, const char* title) {
    if (title == nullptr) return brenik::test::SaveScreenImage(path) ? 0 : 1;
    HWND window = FindNamed(title);
    if (window == nullptr) {
        std::fprintf(stderr, "desktop-tool: no window \"%s\"\n", title);
        return 1;
    }
    return brenik::test::SaveWindowImage(window, path) ? 0 : 1;
}

}  // namespace
}  // namespace brenik::desktop

int main(int argc, char** argv) {
    using namespace brenik::desktop;
    if (argc < 3) return Usage();
    const std::string verb = argv[1];
    const char* title = argv[2];
    if (verb == "wait" || verb == "gone") {
        double seconds = kDefaultSeconds;
        if (argc > 3) seconds = std::atof(argv[3]);
        if (argc > 4 || seconds <= 0) return Usage();
        return WaitFor(title, verb == "wait", seconds);
    }
    if (verb == "close" && argc == 3) return Post(title, WM_CLOSE, 0, 0);
    if (verb == "copydata" && argc == 4) return SendText(title, argv[3]);
    if (verb == "shot" && (argc == 3 || argc == 4)) return Shot(argv[2], argc == 4 ? argv[3] : nullptr);
    if (verb == "post" && argc >= 4 && argc <= 6) {
        long long numbers[3] = {0, 0, 0};
        for (int i = 3; i < argc; ++i) {
            if (!ParseNumber(argv[i], numbers[i - 3])) return Usage();
        }
        return Post(title, static_cast<UINT>(numbers[0]), static_cast<WPARAM>(numbers[1]), static_cast<LPARAM>(numbers[2]));
    }
    return Usage();
}
