#pragma once
// The outline of a skin: every run of neighbouring pixels in a row that is not the key
// colour, as a rectangle one pixel high, handed over in batches of at most 2,000 so that
// each batch can be turned into one region.

#include <cstdint>
#include <functional>
#include <vector>

namespace brenik::updater {

constexpr std::size_t kRegionBatchRects = 2000;
constexpr std::size_t kRegionGrowRects = 100;

struct RunRect {
    int left, top, right, bottom;
};

// Pixels are 0x00RRGGBB, rows from the top. A pixel is key colour when each of its colour
// values lies between the key's and the key's plus tolerance (capped at 255).
using RunBatch = std::function<void(const std::vector<RunRect>&)>;
void CollectSkinRuns(const std::uint32_t* pixels, int width, int height, std::uint32_t keyRgb, std::uint8_t tolerance,
                     const RunBatch& onBatch);

}  // namespace brenik::updater
