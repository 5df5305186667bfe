// The engine against the plain reference in tests/support: canonical forms, indicators and whole
// count-limited runs must agree word for word, seed by seed.

#include "engine/indicators.h"
#include "engine/network_store.h"
#include "engine/run_driver.h"
#include "support/literal_reference.h"
#include "support/network_builder.h"

#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace tavrin {
namespace {

using testing::Relation;

WorkNetwork randomNetwork(int n, double density, std::mt19937& rng) {
    std::bernoulli_distribution arc(density);
    std::vector<std::pair<int, int>> arcs;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (arc(rng)) {
                arcs.emplace_back(i, j);
            }
        }
    }
    return testing::networkFromArcs(n, arcs);
}

Relation closureOf(const WorkNetwork& net) {
    const int n = net.activityCount();
    Relation rel(static_cast<std::size_t>(n), std::vector<bool>(static_cast<std::size_t>(n)));
    for (auto [i, j] : testing::relatedPairs(net)) {
        rel[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = true;
    }
    return rel;
}

TEST(ReferenceCross, CanonicalFormsAgree) {
    std::mt19937 rng(7);
    const int sizes[] = {1, 2, 3, 4, 6, 9, 12, 17, 25, 33, 40, 61, 62};
    for (int n : sizes) {
        for (double density : {0.05, 0.15, 0.3, 0.6}) {
            for (int trial = 0; trial < 3; ++trial) {
                const WorkNetwork net = randomNetwork(n, density, rng);
                NetworkStore store(n, 1);
                store.reset();
                ASSERT_TRUE(store.offer(net));
                const auto expected = testing::literalCanonicalForm(closureOf(net));
                ASSERT_EQ(static_cast<int>(expected.size()), store.arcWords());
                const std::vector<Word> got(store.row(0), store.row(0) + store.arcWords());
                ASSERT_EQ(got, expected) << "n " << n << " density " << density;
            }
        }
    }
}

TEST(ReferenceCross, IndicatorsAgree) {
    std::mt19937 rng(11);
    for (int n : {2, 3, 5, 8, 13, 20, 35, 50}) {
        for (double density : {0.05, 0.1, 0.2, 0.4}) {
            for (int trial = 0; trial < 5; ++trial) {
                const WorkNetwork net = randomNetwork(n, density, rng);
                const Relation rel = closureOf(net);
                const int m = testing::literalLevelCount(rel);
                IndicatorMeter meter(n, m);
                ASSERT_EQ(meter.progressiveLevels(net), m);
                EXPECT_EQ(meter.measure(net), testing::literalIndicators(rel, m))
                    << "n " << n << " density " << density;
            }
        }
    }
}

struct RunCase {
    GeneratorVariant variant;
    int n;
    double target;
    int maxNetworks;
};

RunResult engineRun(const RunCase& c, std::int32_t seed) {
    RunSettings s = defaultRunSettings();
    s.variant = c.variant;
    s.activityCount = c.n;
    s.target = c.target;
    s.maxNetworks = c.maxNetworks;
    deriveSizes(s);
    RandomSource random;
    std::int64_t now = 0;
    RunHooks hooks;
    hooks.clock = [&now] { return now++; };
    return runGeneration(s, 0.0, seed, random, hooks);
}

TEST(ReferenceCross, WholeRunsKeepTheSameNetworks) {
    const RunCase cases[] = {
        {GeneratorVariant::Tavrin2, 1, 0.5, 5},   {GeneratorVariant::Tavrin2, 5, 0.5, 40},
        {GeneratorVariant::Tavrin2, 8, 0.0, 10},  {GeneratorVariant::Tavrin2, 8, 1.0, 10},
        {GeneratorVariant::Tavrin2, 10, 0.5, 60}, {GeneratorVariant::Tavrin2, 14, 0.3, 40},
        {GeneratorVariant::Tavrin2, 16, 0.8, 40}, {GeneratorVariant::Tavrin1, 1, 0.5, 5},
        {GeneratorVariant::Tavrin1, 6, 0.5, 30},  {GeneratorVariant::Tavrin1, 10, 0.5, 60},
        {GeneratorVariant::Tavrin1, 12, 0.0, 10}, {GeneratorVariant::Tavrin1, 12, 1.0, 10},
        {GeneratorVariant::Tavrin1, 15, 0.3, 40}, {GeneratorVariant::Tavrin1, 18, 0.7, 40},
    };
    for (const RunCase& c : cases) {
        for (std::int32_t seed : {0, 1, 12345}) {
            const RunResult run = engineRun(c, seed);
            const testing::LiteralRun expected =
                c.variant == GeneratorVariant::Tavrin2
                    ? testing::literalIndicatorRun(c.n, c.target, c.maxNetworks, seed)
                    : testing::literalOrderStrengthRun(c.n, c.target, c.maxNetworks, seed);
            const NetworkStore& store = *run.store;
            ASSERT_EQ(store.count(), static_cast<int>(expected.rows.size()))
                << "n " << c.n << " target " << c.target << " seed " << seed;
            for (int slot = 0; slot < store.count(); ++slot) {
                const std::vector<Word> got(store.row(slot), store.row(slot) + store.arcWords());
                ASSERT_EQ(got, expected.rows[static_cast<std::size_t>(slot)]) << "slot " << slot;
                if (c.variant == GeneratorVariant::Tavrin2) {
                    ASSERT_EQ(store.indicators(slot),
                              expected.indicators[static_cast<std::size_t>(slot)])
                        << "slot " << slot;
                }
            }
        }
    }
}

} // namespace
} // namespace tavrin
