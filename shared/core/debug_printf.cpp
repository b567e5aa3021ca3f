#include "debug_output.h"

#include <cstdarg>
#include <cstdio>

namespace brenik {

void DebugPrintf(const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (n < 0) return;
    DebugOutput(line);
}

}  // namespace brenik
