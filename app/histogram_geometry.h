#pragma once

#include "session/selection_counts.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tavrin {

// The result pictures as lists of filled pixel rectangles in design pixels, in drawing order
// (later runs cover earlier ones). Painting only fills them, so the geometry is testable here.

enum class PenColour { Silver, Red, Black };

struct PixelRun {
    PenColour pen;
    int left;
    int top;
    int width;
    int height;
    bool operator==(const PixelRun&) const = default;
};

// The pixels of a horizontal or vertical pen line from (x1, y1) to (x2, y2) as the design's
// canvas draws it: the start point is drawn, the end point is not, so a line of length zero
// draws nothing.
std::optional<PixelRun> canvasLine(PenColour pen, int x1, int y1, int x2, int y2);

// Indicator boxes: percentage p fills the columns 10 + 2p and 11 + 2p above the base line.
inline constexpr int kIndicatorBoxWidth = 271;
inline constexpr int kIndicatorBoxHeight = 169;
inline constexpr int kIndicatorBaseLine = 127;
inline constexpr int kIndicatorBarHeight = 120;
// One measure's box: silver bars of all networks, red bars of the selection (never lower than
// one pixel when not empty), then the black axis with a tick every ten percentage points.
// A maximum of 0 (no kept network) draws the axis alone.
std::vector<PixelRun> indicatorPicture(const PercentCounts& all, const PercentCounts& selected,
                                       std::int32_t maximum);

// The complexity index page.
inline constexpr int kCiBoxWidth = 779;
inline constexpr int kCiBoxHeight = 415;
inline constexpr int kCiLabelTop = 307;

// x(v) = 567 / span * (v - low) + 33 in extended precision; 33 for a span of 0.
long double ciPosition(const CiHistogram& histogram, std::int32_t value);

// The bar columns run from x(v) - reach to x(v) + reach; narrower as the span grows.
int ciBarReach(std::int32_t span);

// Axis, then for every CI value its tick and its bar, red inside selectedLow..selectedHigh and
// silver outside.
std::vector<PixelRun> ciPicture(const CiHistogram& histogram, std::int32_t selectedLow,
                                std::int32_t selectedHigh);

} // namespace tavrin
