#pragma once

#include "measure/instance_measures.h"

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::measure {

// One measured instance of a report and the set it belongs to (its folder, say).
struct ReportEntry {
    std::string group;
    InstanceMeasures measures;
};

struct ReportOptions {
    std::string title = "Instance measures";
    std::string scatterX = "OS"; // column names, see reportMeasureNames()
    std::string scatterY = "CI";
};

// The columns a report draws, in page order: every one-number-per-instance column but I1 (= n).
const std::vector<std::string>& reportMeasureNames();

// The value of a named column for an instance; nothing where it is undefined (RC, RS). Throws
// std::invalid_argument for a name outside reportMeasureNames().
std::optional<double> measureValue(const InstanceMeasures& measures, std::string_view name);

// Counts per group over equal bins. A measure that only takes whole values over a range of at
// most kMaxWholeBins gets one bin per value; others get kRealBins bins from the least to the
// greatest value; a single value gets one bin.
struct Histogram {
    static constexpr int kMaxWholeBins = 40;
    static constexpr int kRealBins = 20;
    double low = 0.0;                     // left edge of the first bin
    double width = 1.0;                   // bin width
    bool whole = false;                   // one bin per whole value, labelled by it
    std::vector<std::vector<int>> counts; // [group][bin]
    int binCount() const { return counts.empty() ? 0 : static_cast<int>(counts.front().size()); }
};
Histogram histogramOf(const std::vector<std::vector<double>>& valuesPerGroup);

// Writes one self-contained HTML page: a legend of the groups, a histogram per measure (shares
// of each group when there are several) and a scatter of the two chosen measures, all as
// inline SVG without scripts. Throws std::invalid_argument for an unknown scatter measure.
void writeReport(const std::vector<ReportEntry>& entries, const ReportOptions& options,
                 std::ostream& out);

} // namespace tavrin::measure
