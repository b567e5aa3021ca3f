#include "debug_output.h"

#include <windows.h>

#include <string>

namespace brenik {

void DebugOutput(std::string_view text) {
    const std::string line(text);
    OutputDebugStringA(line.c_str());
}

}  // namespace brenik
