#include "measure/measure_report.h"

#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>

namespace tavrin::measure {
namespace {

TEST(MeasureReport, BinsWholeAndRealValues) {
    struct Case {
        const char* name;
        std::vector<std::vector<double>> values;
        bool whole;
        double low;
        double width;
        std::vector<std::vector<int>> counts;
    };
    const Case cases[] = {
        // Whole values 2..4: one bin per value, centred on it.
        {"whole", {{2, 4, 4}, {3}}, true, 1.5, 1.0, {{1, 0, 2}, {0, 1, 0}}},
        // Reals 0..1 in 20 bins of 0.05: 0.5 opens bin 10, the greatest value closes bin 19.
        {"real", {{0.0, 0.5, 1.0}}, false, 0.0, 0.05, {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                        1, 0, 0, 0, 0, 0, 0, 0, 0, 1}}},
        // One real value: a single bin around it, not reaching below zero unless it is negative.
        {"single", {{0.25, 0.25}}, false, 0.0, 1.0, {{2}}},
        {"single negative", {{-0.25}}, false, -0.75, 1.0, {{1}}},
        // Whole values too far apart for a bin each.
        {"wide", {{0, 100}}, false, 0.0, 5.0, {{1, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                0, 0, 0, 0, 0, 0, 0, 0, 0, 1}}},
    };
    for (const Case& c : cases) {
        const Histogram h = histogramOf(c.values);
        EXPECT_EQ(h.whole, c.whole) << c.name;
        EXPECT_DOUBLE_EQ(h.low, c.low) << c.name;
        EXPECT_DOUBLE_EQ(h.width, c.width) << c.name;
        EXPECT_EQ(h.counts, c.counts) << c.name;
    }
}

TEST(MeasureReport, WritesOneChartPerMeasureWithoutScripts) {
    InstanceMeasures m;
    m.activityCount = 5;
    m.resourceConstrainedness = 0.5;
    const std::vector<ReportEntry> entries{{"<set & one>", m}, {"two", m}};
    std::ostringstream page;
    writeReport(entries, ReportOptions{}, page);
    const std::string html = page.str();
    std::size_t charts = 0;
    for (std::size_t at = html.find("<figure>"); at != std::string::npos;
         at = html.find("<figure>", at + 1)) {
        ++charts;
    }
    EXPECT_EQ(charts, reportMeasureNames().size() + 1); // the histograms and the scatter
    EXPECT_NE(html.find("&lt;set &amp; one&gt;"), std::string::npos);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_NE(html.find("no values"), std::string::npos); // RS is undefined everywhere

    ReportOptions unknown;
    unknown.scatterY = "I7";
    std::ostringstream ignored;
    EXPECT_THROW(writeReport(entries, unknown, ignored), std::invalid_argument);
}

} // namespace
} // namespace tavrin::measure
