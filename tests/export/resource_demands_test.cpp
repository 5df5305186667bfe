#include "export/resource_demands.h"
#include "export/resource_pattern.h"
#include "instance_fixtures.h"

#include <gtest/gtest.h>
#include <numeric>

namespace tavrin {
namespace {

// An instance of n activities with the given immediate precedences, K resources and the
// requirement pattern of the given RF.
ProjectInstance makeInstance(int n, const char* arcs, int k, double rf, RandomSource& random) {
    ProjectInstance instance(n, k);
    const auto closure = fixtures::transitiveClosure(fixtures::relationFromText(n, arcs));
    completePrecedence(instance, fixtures::arcSetOf(closure).data(), random);
    resetResourceData(instance);
    drawByResourceFactor(instance, rf, random);
    return instance;
}

int demandSum(const ProjectInstance& instance, int k) {
    int sum = 0;
    for (int a = 0; a < instance.activityCount; ++a) {
        sum += instance.demand(a, k);
    }
    return sum;
}

struct TotalCase {
    std::int32_t users;
    double rc;
    std::int32_t expected; // users x rc x 10 + 0.01, truncated
};

TEST(ResourceConstrainedness, TotalIsTruncatedAfterTheSmallTolerance) {
    const TotalCase cases[] = {
        {1, 0.7, 7},   // 7 - 4e-16 + 0.01
        {3, 0.5, 15},  //
        {4, 0.05, 2},  // below users: nothing to spread
        {0, 0.9, 0},   // resource nobody requires
        {5, 1.0, 50},  //
        {7, 0.29, 20}, // 20.3 + 0.01
    };
    for (const TotalCase& c : cases) {
        EXPECT_EQ(constrainednessTotal(c.users, c.rc, kConstrainedAvailability), c.expected)
            << c.users << ' ' << c.rc;
    }
}

TEST(ResourceConstrainedness, SingleRequiringActivityTakesTheWholeTotalWithoutDraws) {
    RandomSource random;
    ProjectInstance instance = makeInstance(1, "", 1, 1.0, random);
    const std::uint32_t before = random.state();
    spreadByConstrainedness(instance, 0.7, random);
    EXPECT_EQ(instance.demand(0, 0), 7);
    EXPECT_EQ(instance.availability[0], 10);
    EXPECT_EQ(random.state(), before);
}

struct SpreadCase {
    double rf;
    double rc;
};

// Every requiring activity gets 1..10, and a resource's demands add up to max(total, users).
TEST(ResourceConstrainedness, DemandsAddUpToTheTotal) {
    const SpreadCase cases[] = {{1.0, 1.0}, {1.0, 0.5},  {0.5, 0.05}, {0.3, 0.77},
                                {0.0, 0.6}, {0.9, 0.99}, {1.0, 0.0}};
    for (int seed = 0; seed < 10; ++seed) {
        for (const SpreadCase& c : cases) {
            RandomSource random;
            random.seed(seed);
            ProjectInstance instance = makeInstance(12, "0>3 1>3 3>4", 4, c.rf, random);
            spreadByConstrainedness(instance, c.rc, random);
            for (int k = 0; k < 4; ++k) {
                const int users = instance.users[static_cast<std::size_t>(k)];
                const int total = constrainednessTotal(users, c.rc, 10);
                EXPECT_EQ(demandSum(instance, k), std::max(total, users)) << seed << ' ' << k;
                EXPECT_EQ(instance.availability[static_cast<std::size_t>(k)], 10);
                for (int a = 0; a < 12; ++a) {
                    const int d = instance.demand(a, k);
                    if (instance.requiresResource(a, k)) {
                        EXPECT_TRUE(d >= 1 && d <= 10) << d;
                        EXPECT_TRUE(c.rc < 1.0 || d == 10) << "RC 1 fills every demand";
                    } else {
                        EXPECT_EQ(d, 0);
                    }
                }
            }
        }
    }
}

struct AvailabilityCase {
    std::int32_t peak;
    std::int32_t largest;
    double rs;
    std::int32_t expected;
};

TEST(ResourceStrength, AvailabilityLiesBetweenLargestDemandAndPeak) {
    const AvailabilityCase cases[] = {
        {20, 10, 0.7, 16}, // 10 x 0.7 lies just below 7 in extended precision
        {20, 10, 0.0, 10}, {20, 10, 1.0, 20}, {0, 0, 0.5, 0}, {31, 8, 0.5, 19}, {9, 9, 0.3, 9},
    };
    for (const AvailabilityCase& c : cases) {
        EXPECT_EQ(strengthAvailability(c.peak, c.largest, c.rs), c.expected)
            << c.peak << ' ' << c.largest << ' ' << c.rs;
    }
}

TEST(ResourceStrength, ChainOccupiesConsecutiveTimeUnits) {
    RandomSource random;
    ProjectInstance instance = makeInstance(3, "0>1 1>2", 2, 1.0, random);
    instance.duration = {2, 3, 1};
    drawByStrength(instance, 1.0, random);
    EXPECT_EQ(instance.earliestFinish, (std::vector<std::int32_t>{2, 5, 6}));
    EXPECT_EQ(instance.scheduleLength, 6);
    // Units 1-2 activity 0, 3-5 activity 1, 6 activity 2; unit 0 stays empty.
    const int owner[] = {-1, 0, 0, 1, 1, 1, 2};
    for (int k = 0; k < 2; ++k) {
        for (int t = 0; t <= 6; ++t) {
            const int expected = owner[t] < 0 ? 0 : instance.demand(owner[t], k);
            EXPECT_EQ(instance.profile.counter(t, k), expected) << t;
        }
        EXPECT_EQ(instance.peak[static_cast<std::size_t>(k)],
                  std::max({instance.demand(0, k), instance.demand(1, k), instance.demand(2, k)}));
        EXPECT_EQ(instance.availability[static_cast<std::size_t>(k)],
                  instance.peak[static_cast<std::size_t>(k)]);
    }
}

TEST(ResourceStrength, WithoutPrecedencesThePeakIsTheSumOfDemands) {
    for (int seed = 0; seed < 5; ++seed) {
        RandomSource random;
        random.seed(seed);
        ProjectInstance instance = makeInstance(6, "", 3, 0.6, random);
        const RandomSource beforeDemands = random;
        drawByStrength(instance, 0.0, random);
        EXPECT_EQ(instance.scheduleLength,
                  *std::max_element(instance.duration.begin(), instance.duration.end()));
        RandomSource replay = beforeDemands;
        for (int a = 5; a >= 0; --a) {
            for (int k = 2; k >= 0; --k) {
                if (instance.requiresResource(a, k)) {
                    EXPECT_EQ(instance.demand(a, k), replay.below(10) + 1) << a << ' ' << k;
                }
            }
        }
        EXPECT_EQ(replay.state(), random.state());
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(instance.peak[static_cast<std::size_t>(k)], demandSum(instance, k));
            // RS 0: the largest single demand; 0 for a resource nobody requires.
            EXPECT_EQ(instance.availability[static_cast<std::size_t>(k)],
                      instance.largestDemand[static_cast<std::size_t>(k)]);
        }
    }
}

} // namespace
} // namespace tavrin
