#pragma once
// The system's only diagnostics: lines for a debugger. There is no log file and no levels.
// Each program links one backend that defines DebugOutput: OutputDebugString in the
// Windows programs, a recorder in the native unit tests.

#include <string_view>

namespace brenik {

// Passes the text on unchanged; callers end their lines with "\n" themselves, as the
// texts the system prints (for example "CMonitorWnd OnCustomizer\n") do.
void DebugOutput(std::string_view text);

// printf-style convenience over DebugOutput; output longer than 1023 characters is cut.
void DebugPrintf(const char* format, ...)
#if defined(__MINGW32__)
    // libstdc++ builds use MinGW's own C99 printf, not msvcrt's: check against that one.
    __attribute__((format(gnu_printf, 1, 2)))
#elif defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace brenik
