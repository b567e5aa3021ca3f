#include "gauge_layout.h"

#include <algorithm>

namespace brenik::sysgauge {

std::string ReadingText(Reading reading, std::optional<unsigned> percent) {
    const std::string label = reading == Reading::kCpu ? "CPU " : "RAM ";
    return label + (percent ? std::to_string(*percent) : std::string("--")) + " %";
}

std::vector<GaugeLine> GaugeLines(const GaugeSettings& settings, std::optional<unsigned> cpuPercent,
                                  std::optional<unsigned> ramPercent) {
    std::vector<GaugeLine> lines;
    if (settings.showCpu) lines.push_back({Reading::kCpu, ReadingText(Reading::kCpu, cpuPercent)});
    if (settings.showRam) lines.push_back({Reading::kRam, ReadingText(Reading::kRam, ramPercent)});
    return lines;
}

GaugeLayout LayoutGauge(const Rect& workArea, std::size_t lineCount) {
    const int height = 2 * kPanelPadding + static_cast<int>(lineCount) * kLineHeight;
    const int left = std::max(workArea.left, workArea.right - kScreenMargin - kPanelWidth);
    const int top = std::min(workArea.top + kScreenMargin, std::max(workArea.top, workArea.bottom - height));
    GaugeLayout layout;
    layout.panel = {left, top, left + kPanelWidth, top + height};
    for (std::size_t index = 0; index < lineCount; ++index) {
        const int lineTop = kPanelPadding + static_cast<int>(index) * kLineHeight;
        layout.lines.push_back({kPanelPadding, lineTop, kPanelWidth - kPanelPadding, lineTop + kLineHeight});
    }
    return layout;
}

}  // namespace brenik::sysgauge
