#include "measure/hardness_report.h"

#include "measure/report_svg.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

namespace tavrin::measure {
namespace {

using namespace svg;

constexpr Frame kGapFrame{720.0, 360.0};
constexpr std::array kClassNames{"trivial", "optimal", "open", "infeasible"};

struct SetHardness {
    std::array<int, 4> counts{};
    int solved = 0;
    int withGap = 0;
    double gapSum = 0.0;
};

SetHardness hardnessOf(const std::vector<const ReportEntry*>& members) {
    SetHardness set;
    for (const ReportEntry* entry : members) {
        if (!entry->hardness) {
            continue;
        }
        ++set.solved;
        ++set.counts[static_cast<std::size_t>(hardnessClass(*entry->hardness))];
        if (entry->hardness->gap) {
            ++set.withGap;
            set.gapSum += *entry->hardness->gap;
        }
    }
    return set;
}

// One decimal is enough for a share or a mean gap.
std::string percent(double value) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.1f%%", value);
    return text.data();
}

std::string share(int part, int whole) {
    return whole == 0 ? std::string("-") : percent(100.0 * part / whole);
}

void writeShares(const ReportGroups& groups, std::ostream& out) {
    out << "<table class=\"legend\"><tr><th></th><th>set</th><th>solved</th>";
    for (const char* name : kClassNames) {
        out << "<th>" << name << "</th>";
    }
    out << "<th>mean gap</th></tr>\n";
    for (std::size_t g = 0; g < groups.names.size(); ++g) {
        const SetHardness set = hardnessOf(groups.members[g]);
        out << R"(<tr><td><svg width="14" height="14"><rect width="14" height="14" fill=")"
            << colourOf(static_cast<int>(g)) << "\"/></svg></td><td>" << escaped(groups.names[g])
            << "</td><td>" << set.solved << " of " << groups.members[g].size() << "</td>";
        for (const int count : set.counts) {
            out << "<td>" << share(count, set.solved) << "</td>";
        }
        out << "<td>"
            << (set.withGap == 0 ? std::string("-") : percent(100.0 * set.gapSum / set.withGap))
            << "</td></tr>\n";
    }
    out << "</table>\n";
}

void writeGapScatter(const ReportGroups& groups, const std::string& measureX, std::ostream& out) {
    Points points;
    for (std::size_t g = 0; g < groups.members.size(); ++g) {
        for (const ReportEntry* entry : groups.members[g]) {
            const std::optional<double> x = measureValue(entry->measures, measureX);
            if (x && entry->hardness && entry->hardness->gap) {
                points.xs.push_back(*x);
                points.ys.push_back(100.0 * *entry->hardness->gap);
                points.owner.push_back(static_cast<int>(g));
            }
        }
    }
    const Frame& f = kGapFrame;
    out << "<figure><figcaption>gap (%) against " << escaped(measureX)
        << R"(</figcaption><svg xmlns="http://www.w3.org/2000/svg" width=")" << f.width
        << "\" height=\"" << f.height << "\">";
    writePoints(out, f, points, rangeOf(points.xs), rangeOf(points.ys), measureX, "%");
    out << "</svg></figure>\n";
}

} // namespace

ReportGroups groupsOf(const std::vector<ReportEntry>& entries) {
    ReportGroups groups;
    std::map<std::string, std::size_t> slot;
    for (const ReportEntry& entry : entries) {
        auto [it, added] = slot.emplace(entry.group, groups.names.size());
        if (added) {
            groups.names.push_back(entry.group);
            groups.members.emplace_back();
        }
        groups.members[it->second].push_back(&entry);
    }
    return groups;
}

HardnessClass hardnessClass(const InstanceHardness& hardness) {
    if (hardness.status == "infeasible") {
        return HardnessClass::Infeasible;
    }
    if (hardness.ub && *hardness.ub == hardness.lb0) {
        return HardnessClass::Trivial;
    }
    return hardness.status == "optimal" ? HardnessClass::Optimal : HardnessClass::Open;
}

void writeHardnessSection(const ReportGroups& groups, const std::string& measureX,
                          std::ostream& out) {
    out << "<h2>Hardness</h2>\n<p>Shares of the solved instances of each set: trivial (the best "
           "schedule is as long as the critical path), optimal (proved, longer than the critical "
           "path), open (optimality not proved), infeasible. The gap is (ub &minus; lb) / lb."
           "</p>\n";
    writeShares(groups, out);
    writeGapScatter(groups, measureX, out);
}

} // namespace tavrin::measure
