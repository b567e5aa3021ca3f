#include "run_length.h"

namespace brenik::history {
namespace {

// Shorter runs cost as much packed as they do plain.
constexpr std::size_t kShortestRun = 4;
constexpr std::size_t kLongestRun = 255;

}  // namespace

std::string PackRuns(std::string_view bytes) {
    std::string packed;
    packed.reserve(bytes.size() / 8 + 16);
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char byte = bytes[i];
        std::size_t run = 1;
        while (i + run < bytes.size() && bytes[i + run] == byte && run < kLongestRun) ++run;
        if (run >= kShortestRun || static_cast<unsigned char>(byte) == kRunMark) {
            packed.push_back(static_cast<char>(kRunMark));
            packed.push_back(static_cast<char>(run));
            packed.push_back(byte);
        } else {
            packed.append(run, byte);
        }
        i += run;
    }
    return packed;
}

bool UnpackRuns(std::string_view packed, std::size_t limit, std::string& bytes) {
    bytes.clear();
    for (std::size_t i = 0; i < packed.size();) {
        if (static_cast<unsigned char>(packed[i]) != kRunMark) {
            bytes.push_back(packed[i++]);
        } else {
            if (i + 2 >= packed.size() || packed[i + 1] == 0) {
                bytes.clear();
                return false;
            }
            bytes.append(static_cast<unsigned char>(packed[i + 1]), packed[i + 2]);
            i += 3;
        }
        if (bytes.size() > limit) {
            bytes.clear();
            return false;
        }
    }
    return true;
}

}  // namespace brenik::history
