#pragma once
// Native-test backend of DebugOutput: records every line so tests can assert that a
// refusal was reported.

#include <string>
#include <vector>

namespace brenik::test {

// Everything passed to DebugOutput since the last Clear, in order.
const std::vector<std::string>& DebugLines();
void ClearDebugLines();
// True if some recorded line contains the fragment.
bool DebugLinesContain(const std::string& fragment);

}  // namespace brenik::test
