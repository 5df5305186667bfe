#include "measure/activity_network.h"
#include "measure/instance_measures.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavrin::measure {
namespace {

using formats::Instance;
using formats::Job;

// Jobs are listed by index: 0 the dummy start, the last the dummy end.
//
//   start -> 1 (d3, demands 2 0) -> 3 (d1, demands 1 1) -> end
//   start -> 2 (d5, demands 0 4) ----------------------> end
Instance twoBranches() {
    return Instance{{10, 4},
                    {Job{0, {0, 0}, {1, 2}}, Job{3, {2, 0}, {3}}, Job{5, {0, 4}, {4}},
                     Job{1, {1, 1}, {4}}, Job{0, {0, 0}, {}}},
                    {}};
}

TEST(InstanceMeasures, WorksOutTwoBranchesByHand) {
    const InstanceMeasures m = measureInstance(twoBranches());
    EXPECT_EQ(m.activityCount, 3);
    EXPECT_EQ(m.resourceCount, 2);
    // One related pair (1, 3) of P = 3.
    EXPECT_EQ(m.relatedPairCount, 1);
    EXPECT_DOUBLE_EQ(m.orderStrength, 1.0 / 3.0);
    // Arcs 1>3, start>1, start>2, 2>end, 3>end over 5 nodes.
    EXPECT_DOUBLE_EQ(m.networkComplexity, 1.0);
    // Levels 1, 1, 2: m = 2, I2 = 1/2. Widths 2, 1 around 1.5: I3 = 1 / ((2-1) 2 (1.5-1)) = 100%.
    // Dmax = 2*1 = 2, one short arc: I4 = (1 - 3 + 2) / (2 - 3 + 2) = 0. E = 1 - 3 + 2 = 0: I5 =
    // 100%. RL = (1, 2, 2) against PL = (1, 1, 2): I6 = 1 / ((2-1)(3-2)) = 100%.
    EXPECT_EQ(m.levelCount, 2);
    EXPECT_DOUBLE_EQ(m.serialParallel, 0.5);
    EXPECT_EQ(m.indicators, (IndicatorRecord{100, 0, 100, 100}));
    EXPECT_EQ(m.complexityIndex, 0); // series-parallel
    // 4 of the 6 (activity, resource) pairs carry a demand; jobs use 1, 1 and 2 resources.
    EXPECT_DOUBLE_EQ(m.resourceFactor, 4.0 / 6.0);
    EXPECT_EQ(m.resourceUseMin, 1);
    EXPECT_DOUBLE_EQ(m.resourceUseMean, 4.0 / 3.0);
    EXPECT_EQ(m.resourceUseMax, 2);
    // RC: mean demand of the users over the availability: (2+1)/2/10 and (4+1)/2/4.
    EXPECT_DOUBLE_EQ(*m.constrainednessPerResource[0], 0.15);
    EXPECT_DOUBLE_EQ(*m.constrainednessPerResource[1], 0.625);
    EXPECT_DOUBLE_EQ(*m.resourceConstrainedness, 0.3875);
    // Earliest starts 0, 0, 3. Resource 1 peaks at 2 (job 1 alone), its largest demand: RS
    // undefined. Resource 2 peaks at 4 + 1 in time unit 4 against a largest demand of 4: RS =
    // (4 - 4) / (5 - 4) = 0.
    EXPECT_FALSE(m.strengthPerResource[0].has_value());
    EXPECT_DOUBLE_EQ(*m.strengthPerResource[1], 0.0);
    EXPECT_DOUBLE_EQ(*m.resourceStrength, 0.0);
    // CPL 5; work of resource 2 is 5*4 + 1*1 = 21 over 4 units: ceil(21/4) = 6.
    EXPECT_EQ(m.criticalPathLength, 5);
    EXPECT_EQ(m.lowerBound, 6);
}

TEST(InstanceMeasures, OrdersAFileWhoseNumberingIsNotTopological) {
    // The chain 3 -> 2 -> 1 with the redundant arcs start>1, start>2 and 3>1.
    const Instance chain{{5},
                         {Job{0, {0}, {1, 2, 3}}, Job{2, {1}, {4}}, Job{3, {2}, {1}},
                          Job{4, {3}, {2, 1}}, Job{0, {0}, {}}},
                         {}};
    const JobOrder order = orderJobs(chain);
    EXPECT_TRUE(order.renumbered);
    EXPECT_EQ(order.jobs, (std::vector<int>{0, 3, 2, 1, 4}));

    const InstanceMeasures m = measureInstance(chain);
    EXPECT_DOUBLE_EQ(m.orderStrength, 1.0);
    // 3>2, 2>1, start>3, 1>end over 5 nodes; the redundant arcs do not count.
    EXPECT_DOUBLE_EQ(m.networkComplexity, 0.8);
    EXPECT_EQ(m.levelCount, 3);
    EXPECT_EQ(m.indicators, (IndicatorRecord{0, 100, 100, 0}));
    EXPECT_EQ(m.criticalPathLength, 9);
    // No two jobs overlap: every peak is the largest demand, RS undefined everywhere.
    EXPECT_FALSE(m.resourceStrength.has_value());
}

TEST(InstanceMeasures, RefusesWhatItCannotMeasure) {
    struct Case {
        const char* name;
        Instance instance;
        const char* message;
    };
    const Job start{0, {0}, {1}};
    const Job end{0, {0}, {}};
    const Case cases[] = {
        {"cycle",
         {{5}, {start, Job{1, {1}, {2}}, Job{1, {1}, {3}}, Job{1, {1}, {2}}, end}, {}},
         "the precedences contain a cycle through job 3"},
        {"out of range",
         {{5}, {start, Job{1, {1}, {7}}, end}, {}},
         "job 2 has a successor outside 1..3"},
        {"into the start",
         {{5}, {start, Job{1, {1}, {0}}, end}, {}},
         "job 2 precedes the dummy start"},
        {"no activity", {{5}, {Job{0, {0}, {1}}, end}, {}}, "this one has 2 jobs"},
        {"demand count", {{5}, {start, Job{1, {1, 1}, {2}}, end}, {}}, "job 2 has 2 demands"},
        {"zero availability",
         {{0}, {start, Job{1, {1}, {2}}, end}, {}},
         "job 2 demands resource 1, whose availability is 0"},
    };
    for (const Case& c : cases) {
        try {
            measureInstance(c.instance);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
                << c.name << ": " << e.what();
        }
    }
}

TEST(InstanceMeasures, WritesColumnsAndFieldsInOrder) {
    const std::vector<std::string> names = measureColumnNames(3);
    const std::vector<std::string> expectedNames{
        "n",  "K",    "OS",   "NC",     "I1",      "I2",     "I3",  "I4", "I5",
        "I6", "CI",   "RF",   "RU_min", "RU_mean", "RU_max", "RC",  "RS", "CPL",
        "LB", "RC_1", "RC_2", "RC_3",   "RS_1",    "RS_2",   "RS_3"};
    EXPECT_EQ(names, expectedNames);
    // The hand-worked values above; resource 3 is missing and RS_1 is undefined.
    const std::vector<std::string> fields = measureCsvFields(measureInstance(twoBranches()), 3);
    const std::vector<std::string> expectedFields{
        "3", "2",    "0.333333", "1", "3",        "0.5", "1",      "0", "1",
        "1", "0",    "0.666667", "1", "1.333333", "2",   "0.3875", "0", "5",
        "6", "0.15", "0.625",    "",  "",         "0",   ""};
    EXPECT_EQ(fields, expectedFields);
    EXPECT_EQ(formatMeasure(0.0000004), "0");
    EXPECT_EQ(formatMeasure(-0.25), "-0.25");
}

} // namespace
} // namespace tavrin::measure
