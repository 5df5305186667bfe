#include "session/selection_counts.h"

#include <algorithm>

namespace tavrin {

IndicatorHistograms countIndicators(std::span<const IndicatorRecord> records,
                                    std::span<const int> selectedSlots) {
    IndicatorHistograms h;
    const auto count = [](std::array<PercentCounts, 4>& into, const IndicatorRecord& r) {
        const std::array<std::int32_t, 4> values{r.i3, r.i4, r.i5, r.i6};
        for (std::size_t k = 0; k < 4; ++k) {
            ++into[k][static_cast<std::size_t>(std::clamp(values[k], 0, 100))];
        }
    };
    for (const IndicatorRecord& record : records) {
        count(h.all, record);
    }
    for (std::size_t k = 0; k < 4; ++k) {
        h.maximum[k] = *std::max_element(h.all[k].begin(), h.all[k].end());
    }
    for (const int slot : selectedSlots) {
        count(h.selected, records[static_cast<std::size_t>(slot)]);
    }
    return h;
}

CiHistogram formCiHistogram(std::span<const std::int32_t> storedCi) {
    CiHistogram h;
    for (const std::int32_t ci : storedCi) {
        h.low = std::min(h.low, ci);
        h.high = std::max(h.high, ci);
    }
    if (storedCi.empty()) {
        return h;
    }
    h.bins.assign(static_cast<std::size_t>(h.span()) + 1, 0);
    for (const std::int32_t ci : storedCi) {
        ++h.bins[static_cast<std::size_t>(ci - h.low)];
    }
    h.tallest = *std::max_element(h.bins.begin(), h.bins.end());
    return h;
}

} // namespace tavrin
