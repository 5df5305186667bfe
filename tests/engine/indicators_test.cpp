#include "engine/indicators.h"
#include "engine/random_source.h"
#include "support/network_builder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tavrin {
namespace {

struct Case {
    const char* name;
    int n;
    int m;
    const char* arcs;
    IndicatorRecord expected;
};

// Worked by hand; w = widths per level, n'_l = covering pairs of length l.
const Case kCases[] = {
    // Chain: I3 = I6 = 0 (m = n); Dmax = n-1 = n - w1, so I4 = 100; E = 5 - 6 + 1 = 0, I5 = 100.
    {"chain", 6, 6, "0>1 1>2 2>3 3>4 4>5", {0, 100, 100, 0}},
    // No relation (m = 1): Dmax = 0, no covering pairs, E = 0.
    {"empty", 5, 1, "", {0, 100, 100, 0}},
    // w = 2,2: D = 0; I4 = (4-4+2)*100/(4-4+2); I5 = (4+0-4+2)*100/2.
    {"complete bipartite", 4, 2, "0>2 0>3 1>2 1>3", {0, 100, 100, 0}},
    // I4 = (2-4+2)*100/(4-4+2) = 0; E = 2-4+2 = 0.
    {"two parallel arcs", 4, 2, "0>2 1>3", {0, 0, 100, 0}},
    // w = 4,1: avg 2.5, denominator 1*2*1.5 = 3, D = 1.5+1.5 = 3: I3 = 100.
    {"fan in", 5, 2, "0>4 1>4 2>4 3>4", {100, 100, 100, 0}},
    // w = 2,2,1: exactly 50, but the double steps give 49.99999999999999. RL = (1,2,3,2,3),
    // PL = (1,2,3,1,2): I6 = 100*2/(2*2) = 50. Dmax = 6, n'_1 = 3: I4 = 0; E = 0.
    {"half trap", 5, 3, "0>1 1>2 3>4", {49, 0, 100, 50}},
    // w = 4,3,2,1: avg 2.5, denominator 3*2*1.5 = 9, D = 4: I3 = trunc(400/9) = 44.
    // Dmax = 20, n'_1 = 6: I4 = 0; E = 0. Slack RL-PL sums to 10 over (3*6): I6 = 55.
    {"widths 4 3 2 1", 10, 4, "0>4 1>5 2>6 4>7 5>8 7>9", {44, 0, 100, 55}},
    // PL = (1,1,2,3,2,4), w = 2,2,1,1: D = 4*0.5 over denominator 3*2*0.5: I3 = 66.
    // n'_1 = 5, n'_2 = 1 (0>3), Dmax = 7: I4 = (5-6+2)*100/(7-6+2) = 33.
    // s = (2-4+1)*1 / (2-4) = 0.5, E = 6-6+2: I5 = (5+0.5-6+2)*100/2 = 75.
    // RL = (2,1,2,3,4,4): slack 3 over 3*2: I6 = 50.
    {"long arc", 6, 4, "0>3 0>4 1>2 1>4 2>3 3>5", {66, 33, 75, 50}},
};

TEST(IndicatorMeter, MeasuresWorkedExamples) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const WorkNetwork net = testing::network(c.n, c.arcs);
        IndicatorMeter meter(c.n, c.m);
        ASSERT_EQ(meter.progressiveLevels(net), c.m);
        EXPECT_EQ(meter.measure(net), c.expected);
    }
}

TEST(IndicatorMeter, LevelsOfTheHalfTrapNetwork) {
    const WorkNetwork net = testing::network(5, "0>1 1>2 3>4");
    IndicatorMeter meter(5, 3);
    ASSERT_EQ(meter.progressiveLevels(net), 3);
    meter.measure(net);
    const int progressive[] = {1, 2, 3, 1, 2};
    const int regressive[] = {1, 2, 3, 2, 3};
    for (int a = 0; a < 5; ++a) {
        EXPECT_EQ(meter.progressiveLevel(a), progressive[a]) << a;
        EXPECT_EQ(meter.regressiveLevel(a), regressive[a]) << a;
    }
}

// A cover mark outside the closure is not a covering pair.
TEST(IndicatorMeter, IgnoresCoverMarksOutsideTheClosure) {
    WorkNetwork net = testing::network(4, "1>2 2>3");
    net.insert(net.cover(0), 3);
    IndicatorMeter meter(4, 3);
    EXPECT_EQ(meter.progressiveLevels(net), 3);
    EXPECT_EQ(meter.progressiveLevel(0), 1);
    EXPECT_EQ(meter.progressiveLevel(3), 3);
}

TEST(IndicatorMeter, RejectsAnotherLevelCount) {
    EXPECT_THROW(IndicatorMeter(5, 0), std::invalid_argument);
    EXPECT_THROW(IndicatorMeter(5, 6), std::invalid_argument);
    const WorkNetwork net = testing::network(5, "0>1 1>2 3>4");
    for (int m : {2, 4}) {
        IndicatorMeter meter(5, m);
        meter.progressiveLevels(net);
        EXPECT_THROW(meter.measure(net), std::invalid_argument) << m;
    }
}

// Levels over rows of several words against longest paths computed pair by pair.
TEST(IndicatorMeter, LevelsAreLongestPaths) {
    RandomSource random;
    random.seed(3);
    for (int trial = 0; trial < 30; ++trial) {
        const int n = 2 + random.below(90);
        std::vector<std::pair<int, int>> arcs;
        for (int i = 0; i < n; ++i) {
            for (int j = i + 1; j < n; ++j) {
                if (random.below(1000) < 30) {
                    arcs.emplace_back(i, j);
                }
            }
        }
        const WorkNetwork net = testing::networkFromArcs(n, arcs);
        const auto related = testing::relatedPairs(net);
        std::vector<int> down(static_cast<std::size_t>(n), 1); // longest chain ending at a
        std::vector<int> up(static_cast<std::size_t>(n), 0);   // longest chain above a
        for (auto [x, y] : related) {
            down[static_cast<std::size_t>(y)] =
                std::max(down[static_cast<std::size_t>(y)], down[static_cast<std::size_t>(x)] + 1);
        }
        for (auto it = related.rbegin(); it != related.rend(); ++it) {
            up[static_cast<std::size_t>(it->first)] =
                std::max(up[static_cast<std::size_t>(it->first)],
                         up[static_cast<std::size_t>(it->second)] + 1);
        }
        const int m = *std::max_element(down.begin(), down.end());
        IndicatorMeter meter(n, m);
        ASSERT_EQ(meter.progressiveLevels(net), m);
        meter.regressiveLevels(net);
        for (int a = 0; a < n; ++a) {
            ASSERT_EQ(meter.progressiveLevel(a), down[static_cast<std::size_t>(a)])
                << n << ' ' << a;
            ASSERT_EQ(meter.regressiveLevel(a), m - up[static_cast<std::size_t>(a)])
                << n << ' ' << a;
        }
        const IndicatorRecord record = meter.measure(net);
        for (int value : {record.i3, record.i4, record.i5, record.i6}) {
            EXPECT_GE(value, 0) << n;
            EXPECT_LE(value, 100) << n;
        }
    }
}

} // namespace
} // namespace tavrin
