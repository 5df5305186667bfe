#pragma once

#include "measure/measure_report.h"

#include <ostream>
#include <string>
#include <vector>

namespace tavrin::measure {

// The sets of a report in order of first appearance, with their entries.
struct ReportGroups {
    std::vector<std::string> names;
    std::vector<std::vector<const ReportEntry*>> members;
};
ReportGroups groupsOf(const std::vector<ReportEntry>& entries);

// Trivial: the best schedule is as long as the critical path, so resources never bind. Optimal:
// proved, and longer than the critical path. Open: a schedule or none, optimality not proved.
enum class HardnessClass { Trivial, Optimal, Open, Infeasible };
HardnessClass hardnessClass(const InstanceHardness& hardness);

// The report's hardness section: per set the shares of trivial, optimal, open and infeasible
// instances (of those solved) and the mean gap, then a scatter of measureX against the gap.
void writeHardnessSection(const ReportGroups& groups, const std::string& measureX,
                          std::ostream& out);

} // namespace tavrin::measure
