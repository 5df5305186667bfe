#pragma once

#include "engine/indicators.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tavrin {

inline constexpr int kPercentBins = 101;

using PercentCounts = std::array<std::int32_t, kPercentBins>;

// Counts per percentage of I3, I4, I5 and I6 (in this order) over every kept network and over
// the selected ones. The selected bars are scaled by the maximum of all networks.
struct IndicatorHistograms {
    std::array<PercentCounts, 4> all{};
    std::array<PercentCounts, 4> selected{};
    std::array<std::int32_t, 4> maximum{};
};

// records: one per kept network, by slot; selectedSlots: the slots of the export pool.
IndicatorHistograms countIndicators(std::span<const IndicatorRecord> records,
                                    std::span<const int> selectedSlots);

// CI range and counts per CI value of a Tavrin1 run. With no kept network, low stays 9999,
// high 0 and there are no bins.
struct CiHistogram {
    std::int32_t low = 9999;
    std::int32_t high = 0;
    std::vector<std::int32_t> bins; // bin v - low for CI value v
    std::int32_t tallest = 0;

    std::int32_t span() const { return high - low; }
};

CiHistogram formCiHistogram(std::span<const std::int32_t> storedCi);

} // namespace tavrin
