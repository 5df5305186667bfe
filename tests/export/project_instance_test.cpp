#include "export/project_instance.h"
#include "instance_fixtures.h"

#include <gtest/gtest.h>
#include <random>

namespace tavrin {
namespace {

using fixtures::Relation;

// The immediate successors, predecessor and successor counts the instance holds, as a relation.
Relation immediatePrecedences(const ProjectInstance& instance) {
    const int n = instance.activityCount;
    Relation rel = fixtures::emptyRelation(n);
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b) {
            rel[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] =
                testBit(instance.successorRow(a), b);
        }
    }
    return rel;
}

void expectCountsMatch(const ProjectInstance& instance, const Relation& reduced) {
    const int n = instance.activityCount;
    for (int a = 0; a < n; ++a) {
        int predecessors = 0;
        int successors = 0;
        for (int b = 0; b < n; ++b) {
            predecessors += reduced[static_cast<std::size_t>(b)][static_cast<std::size_t>(a)];
            successors += reduced[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)];
        }
        EXPECT_EQ(instance.precedence.predecessorCount[static_cast<std::size_t>(a)], predecessors)
            << a;
        EXPECT_EQ(instance.precedence.successorCount[static_cast<std::size_t>(a)], successors) << a;
    }
}

struct ReductionCase {
    const char* name;
    int n;
    const char* closure;  // related pairs of the stored closure
    const char* expected; // immediate precedences
};

TEST(CompletePrecedence, ReducesStoredClosures) {
    const ReductionCase cases[] = {
        {"single activity", 1, "", ""},
        {"no relation", 4, "", ""},
        {"triangle loses its long arc", 3, "0>1 0>2 1>2", "0>1 1>2"},
        {"join keeps both arcs", 3, "0>2 1>2", "0>2 1>2"},
        {"complete order of 5 is the chain", 5, "0>1 0>2 0>3 0>4 1>2 1>3 1>4 2>3 2>4 3>4",
         "0>1 1>2 2>3 3>4"},
        {"diamond", 4, "0>1 0>2 0>3 1>3 2>3", "0>1 0>2 1>3 2>3"},
        {"across a word boundary", 34, "0>31 0>32 0>33 31>32 31>33 32>33", "0>31 31>32 32>33"},
    };
    for (const ReductionCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Relation closure = fixtures::relationFromText(c.n, c.closure);
        const std::vector<Word> arcSet = fixtures::arcSetOf(closure);
        ProjectInstance instance(c.n, 1);
        RandomSource random;
        completePrecedence(instance, arcSet.data(), random);
        const Relation expected = fixtures::relationFromText(c.n, c.expected);
        EXPECT_EQ(immediatePrecedences(instance), expected);
        expectCountsMatch(instance, expected);
    }
}

TEST(CompletePrecedence, CompleteOrderOnManyActivitiesIsTheChain) {
    for (int n : {32, 33, 65, 100}) {
        Relation all = fixtures::emptyRelation(n);
        for (int i = 0; i < n; ++i) {
            for (int j = i + 1; j < n; ++j) {
                all[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = true;
            }
        }
        ProjectInstance instance(n, 2);
        RandomSource random;
        completePrecedence(instance, fixtures::arcSetOf(all).data(), random);
        for (int a = 0; a < n; ++a) {
            EXPECT_EQ(instance.precedence.successorCount[static_cast<std::size_t>(a)],
                      a < n - 1 ? 1 : 0);
            EXPECT_EQ(instance.precedence.predecessorCount[static_cast<std::size_t>(a)],
                      a > 0 ? 1 : 0);
            if (a < n - 1) {
                EXPECT_TRUE(testBit(instance.successorRow(a), a + 1)) << n << ' ' << a;
            }
        }
    }
}

TEST(CompletePrecedence, MatchesPlainReductionOnRandomClosures) {
    std::mt19937 generator(7);
    for (int n : {2, 3, 9, 31, 32, 33, 64, 70}) {
        ProjectInstance instance(n, 3);
        RandomSource random;
        random.seed(n);
        // The instance is reused, as an export does: nothing of the last network may survive.
        for (double density : {0.05, 0.2, 0.6, 0.0}) {
            const Relation closure = fixtures::randomClosure(n, density, generator);
            completePrecedence(instance, fixtures::arcSetOf(closure).data(), random);
            const Relation expected = fixtures::transitiveReduction(closure);
            ASSERT_EQ(immediatePrecedences(instance), expected) << n << ' ' << density;
            expectCountsMatch(instance, expected);
            for (int d : instance.duration) {
                ASSERT_TRUE(d >= 1 && d <= kMaxDuration);
            }
        }
    }
}

TEST(CompletePrecedence, ThirtyThreeActivitiesUseTwoWordsInBothMappings) {
    // Only relation: 0 before 32. Reversed closure row: activity 32 at position 0 (word 0);
    // direct successor row: position 32 (word 1, bit 0).
    const std::vector<Word> arcSet = fixtures::arcSetOf(fixtures::relationFromText(33, "0>32"));
    ProjectInstance instance(33, 1);
    RandomSource random;
    completePrecedence(instance, arcSet.data(), random);
    ASSERT_EQ(instance.rowWords, 2);
    EXPECT_EQ(instance.closureRow(0)[0], 1u);
    EXPECT_EQ(instance.closureRow(0)[1], 0u);
    EXPECT_EQ(instance.successorRow(0)[0], 0u);
    EXPECT_EQ(instance.successorRow(0)[1], 1u);
    EXPECT_EQ(instance.precedence.predecessorCount[32], 1);
}

TEST(CompletePrecedence, DrawsDurationsFromTheSecondLastActivityDownThenTheLast) {
    for (std::int32_t seed : {0, 1, 12345}) {
        RandomSource random;
        random.seed(seed);
        RandomSource expected = random;
        ProjectInstance instance(3, 1);
        completePrecedence(instance, fixtures::arcSetOf(fixtures::emptyRelation(3)).data(), random);
        // n = 3: activity 1, then 0, then 2.
        EXPECT_EQ(instance.duration[1], expected.draw() % 10 + 1);
        EXPECT_EQ(instance.duration[0], expected.draw() % 10 + 1);
        EXPECT_EQ(instance.duration[2], expected.draw() % 10 + 1);
        EXPECT_EQ(random.state(), expected.state());
    }
}

TEST(CompletePrecedence, SingleActivityMakesExactlyOneDraw) {
    RandomSource random;
    random.seed(0);
    ProjectInstance instance(1, 1);
    const Word empty[1] = {0};
    completePrecedence(instance, empty, random);
    // Seed 0: the first value used is 346.
    EXPECT_EQ(instance.duration[0], 346 % 10 + 1);
    EXPECT_EQ(random.draw(), 130);
    EXPECT_EQ(instance.precedence.predecessorCount[0], 0);
    EXPECT_EQ(instance.precedence.successorCount[0], 0);
}

} // namespace
} // namespace tavrin
