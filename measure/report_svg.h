#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// Drawing pieces shared by the report's charts: plain SVG text, no scripts.
namespace tavrin::measure::svg {

// Plot geometry of one chart, in SVG pixels.
struct Frame {
    double width;
    double height;
    double left = 52.0;
    double right = 12.0;
    double top = 12.0;
    double bottom = 34.0;
    double plotWidth() const { return width - left - right; }
    double plotHeight() const { return height - top - bottom; }
};

// The colour of a set, by its position in the legend.
const char* colourOf(int group);

std::string escaped(std::string_view text);

// Three significant digits are plenty on an axis; values in the thousands are written whole.
std::string axisLabel(double value);

// A coordinate to a tenth of a pixel.
std::string pixels(double value);

void writeAxes(std::ostream& out, const Frame& f);
void writeText(std::ostream& out, double x, double y, const std::string& text, const char* anchor);

// low - pad, but never below zero for values that are never negative: an axis below zero would
// suggest values there.
double paddedLow(double low, double pad);

// The span an axis shows for the values: padded a little, or one unit around a single value.
struct Range {
    double low = 0.0;
    double high = 1.0;
};
Range rangeOf(const std::vector<double>& values);

// The points of a scatter and the set each belongs to.
struct Points {
    std::vector<double> xs;
    std::vector<double> ys;
    std::vector<int> owner;
};

// The axes, the points in their sets' colours, the ends of both axes (the y labels followed by
// ySuffix) and the x axis's name.
void writePoints(std::ostream& out, const Frame& f, const Points& points, const Range& rx,
                 const Range& ry, const std::string& xName, const std::string& ySuffix);

} // namespace tavrin::measure::svg
