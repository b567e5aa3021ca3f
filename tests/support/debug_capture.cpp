#include "debug_capture.h"

#include "debug_output.h"

#include <mutex>

namespace brenik {
namespace {

std::mutex& LinesLock() {
    static std::mutex lock;
    return lock;
}

std::vector<std::string>& Lines() {
    static std::vector<std::string> lines;
    return lines;
}

}  // namespace

void DebugOutput(std::string_view text) {
    std::lock_guard<std::mutex> hold(LinesLock());
    Lines().emplace_back(text);
}

namespace test {

const std::vector<std::string>& DebugLines() { return Lines(); }

void ClearDebugLines() {
    std::lock_guard<std::mutex> hold(LinesLock());
    Lines().clear();
}

bool DebugLinesContain(const std::string& fragment) {
    std::lock_guard<std::mutex> hold(LinesLock());
    for (const std::string& line : Lines()) {
        if (line.find(fragment) != std::string::npos) return true;
    }
    return false;
}

}  // namespace test
}  // namespace brenik
