#include "app/histogram_geometry.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>

namespace tavrin {
namespace {

void addLine(std::vector<PixelRun>& runs, PenColour pen, int x1, int y1, int x2, int y2) {
    if (const auto run = canvasLine(pen, x1, y1, x2, y2)) {
        runs.push_back(*run);
    }
}

// Bar height in pixels, held in single precision as the picture was designed.
float scaledHeight(std::int32_t count, std::int32_t maximum) {
    return static_cast<float>(static_cast<long double>(count) / maximum * kIndicatorBarHeight);
}

void addIndicatorBars(std::vector<PixelRun>& runs, PenColour pen, const PercentCounts& counts,
                      std::int32_t maximum, bool atLeastOnePixel) {
    for (int p = 0; p < kPercentBins; ++p) {
        float h = scaledHeight(counts[static_cast<std::size_t>(p)], maximum);
        if (atLeastOnePixel && h < 1.0f && h != 0.0f) {
            h = 1.0f;
        }
        const int top = kIndicatorBaseLine - static_cast<int>(h);
        for (int column = 0; column < 2; ++column) {
            const int x = 10 + 2 * p + column;
            addLine(runs, pen, x, top, x, kIndicatorBaseLine);
        }
    }
}

} // namespace

std::optional<PixelRun> canvasLine(PenColour pen, int x1, int y1, int x2, int y2) {
    assert(x1 == x2 || y1 == y2);
    if (x1 == x2 && y1 == y2) {
        return std::nullopt;
    }
    if (x1 == x2) {
        const int top = y1 < y2 ? y1 : y2 + 1;
        return PixelRun{pen, x1, top, 1, std::abs(y2 - y1)};
    }
    const int left = x1 < x2 ? x1 : x2 + 1;
    return PixelRun{pen, left, y1, std::abs(x2 - x1), 1};
}

std::vector<PixelRun> indicatorPicture(const PercentCounts& all, const PercentCounts& selected,
                                       std::int32_t maximum) {
    std::vector<PixelRun> runs;
    if (maximum > 0) {
        addIndicatorBars(runs, PenColour::Silver, all, maximum, false);
        addIndicatorBars(runs, PenColour::Red, selected, maximum, true);
    }
    addLine(runs, PenColour::Black, 210, kIndicatorBaseLine, 10, kIndicatorBaseLine);
    for (int x = 10; x <= 210; x += 20) {
        addLine(runs, PenColour::Black, x, kIndicatorBaseLine, x, kIndicatorBaseLine + 5);
        addLine(runs, PenColour::Black, x + 1, kIndicatorBaseLine, x + 1, kIndicatorBaseLine + 5);
    }
    return runs;
}

long double ciPosition(const CiHistogram& h, std::int32_t value) {
    if (h.span() <= 0) {
        return 33.0L;
    }
    return 567.0L / h.span() * (value - h.low) + 33.0L;
}

int ciBarReach(std::int32_t span) {
    if (span <= 10) {
        return 20;
    }
    if (span <= 20) {
        return 13;
    }
    if (span <= 30) {
        return 8;
    }
    if (span <= 40) {
        return 6;
    }
    if (span <= 50) {
        return 4;
    }
    if (span <= 60) {
        return 3;
    }
    return 0;
}

std::vector<PixelRun> ciPicture(const CiHistogram& h, std::int32_t selectedLow,
                                std::int32_t selectedHigh) {
    constexpr int kBase = 299;
    constexpr int kAxis = 300;
    std::vector<PixelRun> runs;
    addLine(runs, PenColour::Black, 13, kAxis, 621, kAxis);
    if (h.bins.empty()) {
        return runs;
    }
    const int reach = ciBarReach(h.span());
    for (std::int32_t v = h.low; v <= h.high; ++v) {
        const long double x = ciPosition(h, v);
        const int column = static_cast<int>(x);
        addLine(runs, PenColour::Black, column, kAxis, column, kAxis + 5);
        const PenColour pen =
            selectedLow <= v && v <= selectedHigh ? PenColour::Red : PenColour::Silver;
        const long double ratio =
            static_cast<long double>(h.bins[static_cast<std::size_t>(v - h.low)]) / h.tallest;
        const int top = static_cast<int>(kBase - ratio * 290.0L);
        for (int i = -reach; i <= reach; ++i) {
            const int barColumn = static_cast<int>(x + i);
            addLine(runs, pen, barColumn, kBase, barColumn, top);
        }
    }
    return runs;
}

} // namespace tavrin
