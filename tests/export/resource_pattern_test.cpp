#include "export/resource_pattern.h"

#include <bit>
#include <gtest/gtest.h>

namespace tavrin {
namespace {

int requiredPairs(const ProjectInstance& instance) {
    int pairs = 0;
    for (const Word mask : instance.requirementMask) {
        pairs += std::popcount(mask);
    }
    return pairs;
}

// Users must agree with the masks, and no bit may lie beyond K.
void expectConsistent(const ProjectInstance& instance) {
    for (int k = 0; k < instance.resourceCount; ++k) {
        int users = 0;
        for (int a = 0; a < instance.activityCount; ++a) {
            users += instance.requiresResource(a, k) ? 1 : 0;
        }
        EXPECT_EQ(instance.users[static_cast<std::size_t>(k)], users) << k;
    }
    const Word beyond = instance.resourceCount == 32 ? 0 : ~Word{0} << instance.resourceCount;
    for (const Word mask : instance.requirementMask) {
        EXPECT_EQ(mask & beyond, 0u);
    }
}

// Draws made since `before`, found by replaying the sequence up to the current state.
int drawsSince(RandomSource before, const RandomSource& after) {
    int draws = 0;
    while (before.state() != after.state() && draws < 1000000) {
        before.draw();
        ++draws;
    }
    return draws;
}

struct FactorCase {
    int n;
    int k;
    double rf;
    int expectedPairs; // worked by hand
};

TEST(RequirementPattern, ResourceFactorChoosesTruncatedShareOfPairs) {
    const FactorCase cases[] = {
        {5, 2, 0.7, 6},      // 10 x 0.7 lies just below 7: 6, not 7
        {2, 3, 0.5, 3},      // 6 x 0.5
        {4, 4, 1.0, 16},     // every pair, still drawn one by one
        {4, 4, 0.0, 0},      // no draw at all
        {3, 3, 0.1, 0},      // 0.9 truncates to 0
        {10, 30, 0.57, 170}, // the double 0.57 lies below it: 300 x 0.57 just below 171
    };
    for (const FactorCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.n << "x" << c.k << " RF " << c.rf);
        ProjectInstance instance(c.n, c.k);
        resetResourceData(instance);
        RandomSource random;
        random.seed(3);
        const RandomSource before = random;
        drawByResourceFactor(instance, c.rf, random);
        EXPECT_EQ(requiredPairs(instance), c.expectedPairs);
        EXPECT_EQ(drawsSince(before, random), c.expectedPairs);
        expectConsistent(instance);
    }
}

TEST(RequirementPattern, ResourceFactorFirstDrawPicksActivityAndResourceOfTheEntry) {
    // n = 2, K = 3, RF = 0.5: entry x of the first draw (rand() mod 6) is activity x div 3,
    // resource x mod 3.
    for (std::int32_t seed = 0; seed < 20; ++seed) {
        RandomSource random;
        random.seed(seed);
        RandomSource replay = random;
        ProjectInstance instance(2, 3);
        resetResourceData(instance);
        drawByResourceFactor(instance, 0.5, random);
        const int x = replay.below(6);
        EXPECT_TRUE(instance.requiresResource(x / 3, x % 3)) << seed;
    }
}

TEST(RequirementPattern, ResourceUseGivesEveryActivityThatManyResources) {
    for (int k : {1, 4, 30, 32}) {
        for (int ru : {1, k / 2 + 1, k}) {
            ProjectInstance instance(7, k);
            resetResourceData(instance);
            RandomSource random;
            random.seed(k + ru);
            const RandomSource before = random;
            drawByResourceUse(instance, ru, random);
            for (const Word mask : instance.requirementMask) {
                EXPECT_EQ(std::popcount(mask), ru) << k << ' ' << ru;
            }
            EXPECT_EQ(drawsSince(before, random), 7 * ru);
            expectConsistent(instance);
        }
    }
}

TEST(RequirementPattern, ResetClearsTheLastInstance) {
    ProjectInstance instance(4, 3);
    RandomSource random;
    resetResourceData(instance);
    drawByResourceFactor(instance, 1.0, random);
    instance.demand(2, 1) = 5;
    instance.peak[0] = 9;
    instance.largestDemand[2] = 4;
    resetResourceData(instance);
    EXPECT_EQ(requiredPairs(instance), 0);
    for (int v : instance.users) {
        EXPECT_EQ(v, 0);
    }
    EXPECT_EQ(instance.demand(2, 1), 0);
    EXPECT_EQ(instance.peak[0], 0);
    EXPECT_EQ(instance.largestDemand[2], 0);
}

} // namespace
} // namespace tavrin
