#pragma once

#include "measure/instance_measures.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::measure {

// What solving an instance found: a row of the solve command's CSV or of a design's index.
struct InstanceHardness {
    int lb0 = 0; // the critical path
    int lb = 0;  // the best lower bound
    std::optional<int> ub;
    std::string status; // "optimal", "feasible", "infeasible" or "unknown"
    std::optional<double> gap;
    std::int64_t fails = 0;
};

// One measured instance of a report and the set it belongs to (its folder, say), with what
// solving it found when that is known.
struct ReportEntry {
    std::string group;
    InstanceMeasures measures;
    std::optional<InstanceHardness> hardness{};
};

struct ReportOptions {
    std::string title = "Instance measures";
    std::string scatterX = "OS"; // column names, see reportMeasureNames()
    std::string scatterY = "CI";
    std::string hardnessX = "RS"; // drawn against the gap when entries carry hardness
};

// The columns a report draws, in page order: every one-number-per-instance column but I1 (= n).
const std::vector<std::string>& reportMeasureNames();

// The value of a named column for an instance; nothing where it is undefined (RC, RS). Throws
// std::invalid_argument for a name outside reportMeasureNames() and I1.
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
// inline SVG without scripts; when some entry carries hardness, a hardness section too. Throws
// std::invalid_argument for an unknown scatter measure.
void writeReport(const std::vector<ReportEntry>& entries, const ReportOptions& options,
                 std::ostream& out);

} // namespace tavrin::measure
