#include "measure/measure_report.h"

#include "engine/index_cast.h"
#include "measure/hardness_report.h"
#include "measure/report_svg.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <stdexcept>

namespace tavrin::measure {

namespace {

using namespace svg;

constexpr Frame kHistogramFrame{360.0, 210.0};
constexpr Frame kScatterFrame{720.0, 440.0};

using Groups = ReportGroups;

std::vector<std::vector<double>> valuesOf(const Groups& groups, std::string_view name) {
    std::vector<std::vector<double>> values(groups.names.size());
    for (std::size_t g = 0; g < groups.members.size(); ++g) {
        for (const ReportEntry* entry : groups.members[g]) {
            if (const std::optional<double> v = measureValue(entry->measures, name)) {
                values[g].push_back(*v);
            }
        }
    }
    return values;
}

// Bars side by side within a bin, one per group; heights are shares of the group when several
// groups are compared, so sets of different sizes compare at a glance.
void writeHistogram(std::ostream& out, const std::string& name, const Histogram& h,
                    const std::vector<int>& groupSizes) {
    const Frame& f = kHistogramFrame;
    out << "<figure><figcaption>" << escaped(name)
        << R"(</figcaption><svg xmlns="http://www.w3.org/2000/svg" width=")" << f.width
        << "\" height=\"" << f.height << "\">";
    writeAxes(out, f);
    const int bins = h.binCount();
    if (bins == 0) {
        writeText(out, f.left + f.plotWidth() / 2, f.top + f.plotHeight() / 2, "no values",
                  "middle");
        out << "</svg></figure>\n";
        return;
    }
    const bool shares = groupSizes.size() > 1;
    double tallest = 0.0;
    for (std::size_t g = 0; g < h.counts.size(); ++g) {
        for (int count : h.counts[g]) {
            tallest = std::max(tallest, shares ? double(count) / groupSizes[g] : double(count));
        }
    }
    const double binWidth = f.plotWidth() / bins;
    const double barWidth = binWidth / static_cast<double>(h.counts.size());
    for (std::size_t g = 0; g < h.counts.size(); ++g) {
        for (int b = 0; b < bins; ++b) {
            const int count = h.counts[g][index(b)];
            if (count == 0) {
                continue;
            }
            const double value = shares ? double(count) / groupSizes[g] : double(count);
            const double height = value / tallest * f.plotHeight();
            out << "<rect x=\"" << pixels(f.left + b * binWidth + static_cast<double>(g) * barWidth)
                << "\" y=\"" << pixels(f.top + f.plotHeight() - height) << "\" width=\""
                << pixels(std::max(1.0, barWidth - (barWidth > 3 ? 1.0 : 0.0))) << "\" height=\""
                << pixels(height) << "\" fill=\"" << colourOf(static_cast<int>(g)) << "\"/>";
        }
    }
    const double base = f.top + f.plotHeight() + 14;
    if (h.whole) {
        const int step = (bins + 9) / 10;
        for (int b = 0; b < bins; b += step) {
            writeText(out, f.left + (b + 0.5) * binWidth, base, axisLabel(h.low + 0.5 + b),
                      "middle");
        }
    } else {
        writeText(out, f.left, base, axisLabel(h.low), "start");
        writeText(out, f.left + f.plotWidth(), base, axisLabel(h.low + h.width * bins), "end");
    }
    writeText(out, f.left - 4, f.top + 10,
              shares ? axisLabel(tallest * 100) + "%" : axisLabel(tallest), "end");
    writeText(out, f.left - 4, f.top + f.plotHeight(), "0", "end");
    out << "</svg></figure>\n";
}

void writeScatter(std::ostream& out, const Groups& groups, const ReportOptions& options) {
    const Frame& f = kScatterFrame;
    Points points;
    for (std::size_t g = 0; g < groups.members.size(); ++g) {
        for (const ReportEntry* entry : groups.members[g]) {
            const std::optional<double> x = measureValue(entry->measures, options.scatterX);
            const std::optional<double> y = measureValue(entry->measures, options.scatterY);
            if (x && y) {
                points.xs.push_back(*x);
                points.ys.push_back(*y);
                points.owner.push_back(static_cast<int>(g));
            }
        }
    }
    out << "<figure><figcaption>" << escaped(options.scatterY) << " against "
        << escaped(options.scatterX)
        << R"(</figcaption><svg xmlns="http://www.w3.org/2000/svg" width=")" << f.width
        << "\" height=\"" << f.height << "\">";
    writePoints(out, f, points, rangeOf(points.xs), rangeOf(points.ys), options.scatterX, "");
    writeText(out, 12, f.top + f.plotHeight() / 2, options.scatterY, "start");
    out << "</svg></figure>\n";
}

void writeLegend(std::ostream& out, const Groups& groups) {
    out << "<table class=\"legend\"><tr><th></th><th>set</th><th>instances</th></tr>\n";
    for (std::size_t g = 0; g < groups.names.size(); ++g) {
        out << R"(<tr><td><svg width="14" height="14"><rect width="14" height="14" fill=")"
            << colourOf(static_cast<int>(g)) << "\"/></svg></td><td>" << escaped(groups.names[g])
            << "</td><td>" << groups.members[g].size() << "</td></tr>\n";
    }
    out << "</table>\n";
}

} // namespace

const std::vector<std::string>& reportMeasureNames() {
    static const std::vector<std::string> names{"n",       "K",      "OS", "NC", "I2",  "I3",
                                                "I4",      "I5",     "I6", "CI", "RF",  "RU_min",
                                                "RU_mean", "RU_max", "RC", "RS", "CPL", "LB"};
    return names;
}

std::optional<double> measureValue(const InstanceMeasures& m, std::string_view name) {
    const IndicatorRecord& r = m.indicators;
    const std::map<std::string_view, std::optional<double>> values{
        {"n", m.activityCount},
        {"I1", m.activityCount},
        {"K", m.resourceCount},
        {"OS", m.orderStrength},
        {"NC", m.networkComplexity},
        {"I2", m.serialParallel},
        {"I3", r.i3 / 100.0},
        {"I4", r.i4 / 100.0},
        {"I5", r.i5 / 100.0},
        {"I6", r.i6 / 100.0},
        {"CI", m.complexityIndex},
        {"RF", m.resourceFactor},
        {"RU_min", m.resourceUseMin},
        {"RU_mean", m.resourceUseMean},
        {"RU_max", m.resourceUseMax},
        {"RC", m.resourceConstrainedness},
        {"RS", m.resourceStrength},
        {"CPL", static_cast<double>(m.criticalPathLength)},
        {"LB", static_cast<double>(m.lowerBound)}};
    const auto it = values.find(name);
    if (it == values.end()) {
        throw std::invalid_argument("unknown measure '" + std::string(name) + "'");
    }
    return it->second;
}

Histogram histogramOf(const std::vector<std::vector<double>>& valuesPerGroup) {
    Histogram h;
    std::vector<double> all;
    for (const std::vector<double>& values : valuesPerGroup) {
        all.insert(all.end(), values.begin(), values.end());
    }
    if (all.empty()) {
        h.counts.assign(valuesPerGroup.size(), {});
        return h;
    }
    const auto [lowest, highest] = std::minmax_element(all.begin(), all.end());
    const double low = *lowest;
    const double high = *highest;
    h.whole = std::all_of(all.begin(), all.end(), [](double v) { return v == std::floor(v); })
              && high - low < Histogram::kMaxWholeBins;
    int bins = 1;
    if (h.whole) {
        h.low = low - 0.5;
        bins = static_cast<int>(high - low) + 1;
    } else if (high > low) {
        h.low = low;
        h.width = (high - low) / Histogram::kRealBins;
        bins = Histogram::kRealBins;
    } else {
        h.low = paddedLow(low, 0.5);
    }
    h.counts.assign(valuesPerGroup.size(), std::vector<int>(index(bins), 0));
    for (std::size_t g = 0; g < valuesPerGroup.size(); ++g) {
        for (double v : valuesPerGroup[g]) {
            const int bin = std::clamp(static_cast<int>((v - h.low) / h.width), 0, bins - 1);
            ++h.counts[g][index(bin)];
        }
    }
    return h;
}

void writeReport(const std::vector<ReportEntry>& entries, const ReportOptions& options,
                 std::ostream& out) {
    ReportEntry probe;
    measureValue(probe.measures, options.scatterX);
    measureValue(probe.measures, options.scatterY);
    measureValue(probe.measures, options.hardnessX);
    const Groups groups = groupsOf(entries);
    std::vector<int> sizes;
    for (const auto& members : groups.members) {
        sizes.push_back(static_cast<int>(members.size()));
    }
    out << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>"
        << escaped(options.title) << "</title>\n<style>body{font-family:sans-serif;margin:16px;"
        << "color:#222}h1{font-size:20px}h2{font-size:16px}.charts{display:flex;flex-wrap:wrap;"
        << "gap:10px}figure{margin:0}figcaption{font-weight:bold;font-size:13px}"
        << ".legend td,.legend th{padding:2px 8px;text-align:left}</style></head><body>\n<h1>"
        << escaped(options.title) << "</h1>\n<p>" << entries.size() << " instances in "
        << groups.names.size() << (groups.names.size() == 1 ? " set" : " sets")
        << (groups.names.size() > 1 ? "; histograms show the share of each set" : "") << ".</p>\n";
    writeLegend(out, groups);
    if (std::any_of(entries.begin(), entries.end(),
                    [](const ReportEntry& e) { return e.hardness.has_value(); })) {
        writeHardnessSection(groups, options.hardnessX, out);
    }
    out << "<h2>Scatter</h2>\n";
    writeScatter(out, groups, options);
    out << "<h2>Histograms</h2>\n<div class=\"charts\">\n";
    for (const std::string& name : reportMeasureNames()) {
        writeHistogram(out, name, histogramOf(valuesOf(groups, name)), sizes);
    }
    out << "</div>\n</body></html>\n";
}

} // namespace tavrin::measure
