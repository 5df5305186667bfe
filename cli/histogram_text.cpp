#include "cli/histogram_text.h"

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <sstream>

namespace tavrin::cli {

std::string histogramText(const std::string& title, const std::vector<HistogramBin>& bins,
                          int width) {
    std::ostringstream out;
    out << title << '\n';
    std::int64_t tallest = 0;
    std::size_t labelWidth = 0;
    for (const HistogramBin& bin : bins) {
        tallest = std::max(tallest, bin.count);
        labelWidth = std::max(labelWidth, bin.label.size());
    }
    for (const HistogramBin& bin : bins) {
        std::int64_t marks = tallest > 0 ? bin.count * width / tallest : 0;
        if (bin.count > 0 && marks == 0) {
            marks = 1;
        }
        out << "  " << std::string(labelWidth - bin.label.size(), ' ') << bin.label << " |"
            << std::string(static_cast<std::size_t>(marks), '#')
            << std::string(static_cast<std::size_t>(width - marks), ' ') << "| " << bin.count
            << '\n';
    }
    return out.str();
}

std::vector<HistogramBin> ciBins(const CiHistogram& histogram) {
    std::vector<HistogramBin> bins;
    for (std::size_t i = 0; i < histogram.bins.size(); ++i) {
        bins.push_back(
            {std::to_string(histogram.low + static_cast<std::int32_t>(i)), histogram.bins[i]});
    }
    return bins;
}

std::vector<HistogramBin> percentBins(const PercentCounts& counts) {
    std::vector<HistogramBin> bins;
    for (std::ptrdiff_t b = 0; b < 10; ++b) {
        const std::ptrdiff_t low = 10 * b;
        const std::ptrdiff_t high = b == 9 ? 100 : low + 9;
        bins.push_back(
            {std::to_string(low) + "-" + std::to_string(high),
             std::accumulate(counts.begin() + low, counts.begin() + high + 1, std::int64_t{0})});
    }
    return bins;
}

} // namespace tavrin::cli
