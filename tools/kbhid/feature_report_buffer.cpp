#include "feature_report_buffer.h"

#include "debug_output.h"

#include <algorithm>

namespace brenik::kbhid {
namespace {

bool FitsCollection(std::size_t length, std::size_t featureLength) {
    if (length == 0 || length > featureLength) {
        DebugPrintf("kbhid: a report of %zu bytes does not fit the collection's %zu-byte feature reports\n", length,
                    featureLength);
        return false;
    }
    return true;
}

}  // namespace

bool PadFeatureReport(const std::uint8_t* report, std::size_t length, std::size_t featureLength,
                      std::vector<std::uint8_t>& out) {
    if (report == nullptr || !FitsCollection(length, featureLength)) return false;
    out.assign(featureLength, 0);
    std::copy(report, report + length, out.begin());
    return true;
}

bool PrepareFeatureRead(std::uint8_t reportId, std::size_t length, std::size_t featureLength,
                        std::vector<std::uint8_t>& out) {
    if (!FitsCollection(length, featureLength)) return false;
    out.assign(featureLength, 0);
    out[0] = reportId;
    return true;
}

bool CopyFeatureReply(const std::vector<std::uint8_t>& reply, std::uint8_t* buffer, std::size_t length) {
    if (buffer == nullptr || length == 0 || reply.size() < length) return false;
    if (reply[0] != buffer[0]) {
        DebugPrintf("kbhid: asked for report %u, the device answered report %u\n", buffer[0], reply[0]);
        return false;
    }
    std::copy(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(length), buffer);
    return true;
}

}  // namespace brenik::kbhid
