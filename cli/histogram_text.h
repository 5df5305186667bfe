#pragma once

#include "session/selection_counts.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavrin::cli {

struct HistogramBin {
    std::string label;
    std::int64_t count = 0;
};

// One line per bin: the label right-aligned, a bar scaled so the tallest bin has `width`
// marks (a non-empty bin at least one), then the count.
std::string histogramText(const std::string& title, const std::vector<HistogramBin>& bins,
                          int width = 50);

// One bin per CI value from the lowest to the highest stored value; no kept network, no bins.
std::vector<HistogramBin> ciBins(const CiHistogram& histogram);

// Counts per percentage 0..100 in ten bins: 0-9, 10-19, ..., 80-89, 90-100.
std::vector<HistogramBin> percentBins(const PercentCounts& counts);

} // namespace tavrin::cli
