#pragma once
// What the gauge shows and where: one line per reading the settings ask for ("CPU 23 %" above
// "RAM 61 %"), in a small panel of fixed size in the top-right corner of the primary screen's
// work area, a margin in from its edges, where it stays clear of the task bar and of most
// games' own corner read-outs at the top left. The panel's width holds "RAM 100 %" in the
// gauge's font; only its height follows the count of lines.

#include "cpu_usage.h"
#include "gauge_settings.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace brenik::sysgauge {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

constexpr int kScreenMargin = 16;  // from the work area's top and right edges
constexpr int kPanelWidth = 132;
constexpr int kLineHeight = 22;
constexpr int kPanelPadding = 6;   // around the lines, inside the panel

enum class Reading { kCpu, kRam };

struct GaugeLine {
    Reading reading;
    std::string text;
};

// The lines the settings ask for, processor first. A reading not known yet (the processor
// needs two samples a second apart) shows as "--".
std::vector<GaugeLine> GaugeLines(const GaugeSettings& settings, std::optional<unsigned> cpuPercent,
                                  std::optional<unsigned> ramPercent);

// "CPU 23 %", "RAM 61 %", "CPU -- %".
std::string ReadingText(Reading reading, std::optional<unsigned> percent);

struct GaugeLayout {
    Rect panel;               // on the screen
    std::vector<Rect> lines;  // in the panel, one per line, top to bottom
};

// The panel for that many lines in the work area (screen coordinates); a work area narrower
// or lower than the panel puts it at the area's left or top edge instead of off the screen.
GaugeLayout LayoutGauge(const Rect& workArea, std::size_t lineCount);

}  // namespace brenik::sysgauge
