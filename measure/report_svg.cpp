#include "measure/report_svg.h"

#include "measure/instance_measures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace tavrin::measure::svg {
namespace {

constexpr std::array<const char*, 10> kPalette{"#1f77b4", "#d62728", "#2ca02c", "#ff7f0e",
                                               "#9467bd", "#8c564b", "#e377c2", "#7f7f7f",
                                               "#bcbd22", "#17becf"};

} // namespace

const char* colourOf(int group) {
    return kPalette[static_cast<std::size_t>(group) % kPalette.size()];
}

std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// Counts and lengths in the thousands read better whole than as 2e+04.
std::string axisLabel(double value) {
    std::array<char, 32> buffer{};
    std::snprintf(buffer.data(), buffer.size(), std::fabs(value) >= 1000 ? "%.0f" : "%.3g", value);
    return buffer.data();
}

std::string pixels(double value) {
    return formatMeasure(std::round(value * 10.0) / 10.0);
}

void writeAxes(std::ostream& out, const Frame& f) {
    const double x0 = f.left;
    const double y0 = f.top + f.plotHeight();
    out << "<line x1=\"" << pixels(x0) << "\" y1=\"" << pixels(y0) << "\" x2=\""
        << pixels(x0 + f.plotWidth()) << "\" y2=\"" << pixels(y0) << R"(" stroke="#333"/>)"
        << "<line x1=\"" << pixels(x0) << "\" y1=\"" << pixels(f.top) << "\" x2=\"" << pixels(x0)
        << "\" y2=\"" << pixels(y0) << R"(" stroke="#333"/>)";
}

void writeText(std::ostream& out, double x, double y, const std::string& text, const char* anchor) {
    out << "<text x=\"" << pixels(x) << "\" y=\"" << pixels(y) << "\" text-anchor=\"" << anchor
        << R"(" font-size="11">)" << escaped(text) << "</text>";
}

double paddedLow(double low, double pad) {
    return low >= 0 ? std::max(0.0, low - pad) : low - pad;
}

Range rangeOf(const std::vector<double>& values) {
    if (values.empty()) {
        return {};
    }
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    if (*low == *high) {
        return {paddedLow(*low, 0.5), *high + 0.5};
    }
    const double pad = (*high - *low) * 0.03;
    return {paddedLow(*low, pad), *high + pad};
}

void writePoints(std::ostream& out, const Frame& f, const Points& points, const Range& rx,
                 const Range& ry, const std::string& xName, const std::string& ySuffix) {
    writeAxes(out, f);
    for (std::size_t i = 0; i < points.xs.size(); ++i) {
        const double px = f.left + (points.xs[i] - rx.low) / (rx.high - rx.low) * f.plotWidth();
        const double py =
            f.top + (1.0 - (points.ys[i] - ry.low) / (ry.high - ry.low)) * f.plotHeight();
        out << "<circle cx=\"" << pixels(px) << "\" cy=\"" << pixels(py)
            << R"(" r="3" fill-opacity="0.6" fill=")" << colourOf(points.owner[i]) << "\"/>";
    }
    const double base = f.top + f.plotHeight() + 14;
    writeText(out, f.left, base, axisLabel(rx.low), "start");
    writeText(out, f.left + f.plotWidth(), base, axisLabel(rx.high), "end");
    writeText(out, f.left + f.plotWidth() / 2, base + 14, xName, "middle");
    writeText(out, f.left - 4, f.top + 10, axisLabel(ry.high) + ySuffix, "end");
    writeText(out, f.left - 4, f.top + f.plotHeight(), axisLabel(ry.low) + ySuffix, "end");
}

} // namespace tavrin::measure::svg
