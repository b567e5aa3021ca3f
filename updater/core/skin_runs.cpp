#include "skin_runs.h"

#include <algorithm>

namespace brenik::updater {

namespace {

bool ChannelIsKey(std::uint32_t pixel, std::uint32_t key, int shift, std::uint8_t tolerance) {
    const int value = static_cast<int>((pixel >> shift) & 0xFF);
    const int low = static_cast<int>((key >> shift) & 0xFF);
    const int high = std::min(255, low + tolerance);
    return value >= low && value <= high;
}

bool IsKey(std::uint32_t pixel, std::uint32_t key, std::uint8_t tolerance) {
    return ChannelIsKey(pixel, key, 16, tolerance) && ChannelIsKey(pixel, key, 8, tolerance) &&
           ChannelIsKey(pixel, key, 0, tolerance);
}

}  // namespace

void CollectSkinRuns(const std::uint32_t* pixels, int width, int height, std::uint32_t keyRgb, std::uint8_t tolerance,
                     const RunBatch& onBatch) {
    std::vector<RunRect> batch;
    batch.reserve(kRegionGrowRects);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        int x = 0;
        while (x < width) {
            while (x < width && IsKey(row[x], keyRgb, tolerance)) ++x;
            if (x == width) break;
            const int start = x;
            while (x < width && !IsKey(row[x], keyRgb, tolerance)) ++x;
            if (batch.size() == batch.capacity()) batch.reserve(batch.capacity() + kRegionGrowRects);
            batch.push_back({start, y, x, y + 1});
            if (batch.size() == kRegionBatchRects) {
                onBatch(batch);
                batch.clear();
            }
        }
    }
    onBatch(batch);
}

}  // namespace brenik::updater
