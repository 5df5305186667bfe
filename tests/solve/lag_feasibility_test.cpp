#include "solve/lag_feasibility.h"

#include <gtest/gtest.h>

namespace tavrin::solve {
namespace {

using formats::Feasibility;

// Two activities of 2 units on one resource, the second starting 0..1 after the first: they
// must overlap, which only a capacity of 2 allows.
formats::Instance overlappingPair(std::int32_t capacity) {
    formats::Instance instance;
    instance.availability = {capacity};
    instance.jobs = {{0, {0}, {1, 2}}, {2, {1}, {2, 3}}, {2, {1}, {1, 3}}, {0, {0}, {}}};
    instance.jobs[0].lags = {0, 0};
    instance.jobs[1].lags = {0, 2};
    instance.jobs[2].lags = {-1, 2};
    return instance;
}

TEST(LagScheduleFeasibility, ProvesOrFindsWhatTheCapacitiesAllow) {
    std::vector<std::int64_t> starts;
    EXPECT_EQ(lagScheduleFeasibility(overlappingPair(1), 1000, starts), Feasibility::Infeasible);
    ASSERT_EQ(lagScheduleFeasibility(overlappingPair(2), 1000, starts), Feasibility::Feasible);
    EXPECT_TRUE(formats::meetsLagsAndCapacities(overlappingPair(2), starts));
    EXPECT_FALSE(formats::meetsLagsAndCapacities(overlappingPair(1), starts));

    formats::Instance cycle = overlappingPair(2);
    cycle.jobs[2].lags[0] = 1; // each at least 1 after the other
    cycle.jobs[1].lags[0] = 1;
    EXPECT_EQ(lagScheduleFeasibility(cycle, 1000, starts), Feasibility::Infeasible);
}

} // namespace
} // namespace tavrin::solve
