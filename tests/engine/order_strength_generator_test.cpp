#include "engine/complexity_index.h"
#include "engine/network_store.h"
#include "engine/order_strength_generator.h"
#include "support/literal_reference.h"

#include <gtest/gtest.h>
#include <set>

namespace tavrin {
namespace {

std::size_t at(int v) {
    return static_cast<std::size_t>(v);
}

int targetPairCountOf(int n, double os) {
    const int pairs = n * (n - 1) / 2;
    return static_cast<int>(static_cast<long double>(pairs) * os + 0.05);
}

struct Shape {
    int related = 0;
    bool strictOrder = true;
    bool coversListed = true; // cover list = covering pairs, each once
    bool marksExact = true;   // C(i) = covering or unrelated pairs (i, j), i < j
};

Shape shapeOf(const WorkNetwork& net, const PairIndex& pairs) {
    const int n = net.activityCount();
    Shape shape;
    auto rel = [&](int a, int b) { return net.contains(net.succ(a), b); };
    std::set<int> covering;
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b) {
            const bool r = rel(a, b);
            shape.related += r ? 1 : 0;
            shape.strictOrder = shape.strictOrder && r == net.contains(net.pred(b), a);
            shape.strictOrder = shape.strictOrder && (!r || a < b);
            for (int c = 0; c < n && shape.strictOrder; ++c) {
                shape.strictOrder = !(r && rel(b, c)) || rel(a, c);
            }
            if (a >= b) {
                continue;
            }
            bool cover = r;
            for (int c = a + 1; c < b && cover; ++c) {
                cover = !(rel(a, c) && rel(c, b));
            }
            if (cover) {
                covering.insert(pairs(a, b));
            }
            shape.marksExact = shape.marksExact && net.contains(net.cover(a), b) == (cover || !r);
        }
    }
    const std::multiset<int> listed(net.coverList(), net.coverList() + net.coverLength());
    shape.coversListed = listed == std::multiset<int>(covering.begin(), covering.end());
    return shape;
}

// Every built network, for n across the word boundary and order strengths from 0 to 1, has
// exactly TargetPairCount related pairs, lists exactly its covering pairs and marks exactly the
// pairs that were ever listed; an attempt draws once per removal.
TEST(OrderStrengthGenerator, BuildsNetworksWithTheTargetPairCount) {
    for (int n : {1, 2, 3, 10, 33, 40}) {
        for (double os : {0.0, 0.25, 0.5, 0.9, 1.0}) {
            const int pairCount = n * (n - 1) / 2;
            const int target = targetPairCountOf(n, os);
            RandomSource random;
            random.seed(n);
            OrderStrengthGenerator generator(n, pairCount - target, random);
            for (int attempt = 0; attempt < (n > 20 ? 2 : 10); ++attempt) {
                RandomSource replay = random;
                generator.buildNetwork();
                const Shape shape = shapeOf(generator.network(), generator.pairs());
                ASSERT_EQ(shape.related, target) << n << ' ' << os;
                EXPECT_TRUE(shape.strictOrder) << n << ' ' << os;
                EXPECT_TRUE(shape.coversListed) << n << ' ' << os;
                EXPECT_TRUE(shape.marksExact) << n << ' ' << os;
                for (int r = 0; r < pairCount - target; ++r) {
                    replay.draw();
                }
                EXPECT_EQ(replay.state(), random.state());
            }
        }
    }
}

struct StoreRun {
    NetworkStore store;
    std::vector<std::int32_t> storedCi;
};

StoreRun runCountLimited(int n, double os, int maxNetworks, std::int32_t seed) {
    StoreRun run{NetworkStore(n, maxNetworks), {}};
    ComplexityIndex complexity(n);
    RunStatistics statistics;
    RandomSource random;
    const int pairCount = n * (n - 1) / 2;
    OrderStrengthGenerator generator(n, pairCount - targetPairCountOf(n, os), random);
    random.seed(seed);
    RunHooks hooks;
    hooks.clock = [] { return std::int64_t{0}; };
    generator.runCountLimited(run.store, complexity, run.storedCi, hooks, 0, statistics);
    EXPECT_EQ(statistics.attempts, maxNetworks);
    return run;
}

TEST(OrderStrengthGenerator, ExtremeOrderStrengthsKeepOneNetwork) {
    // OS = 1 leaves the complete order, OS = 0 no relation at all.
    for (int n : {1, 4, 12}) {
        for (double os : {0.0, 1.0}) {
            const StoreRun run = runCountLimited(n, os, 25, 3);
            ASSERT_EQ(run.store.count(), 1) << n << ' ' << os;
            EXPECT_EQ(run.storedCi.size(), 1u);
            EXPECT_EQ(popCount(run.store.row(0), run.store.arcWords()), targetPairCountOf(n, os));
        }
    }
}

TEST(OrderStrengthGenerator, CountLimitedRunMatchesThePlainReference) {
    struct Case {
        int n;
        double os;
        int maxNetworks;
    };
    const Case cases[] = {{5, 0.5, 30}, {8, 0.3, 40}, {10, 0.5, 40}, {12, 0.75, 30}};
    for (const Case& c : cases) {
        for (std::int32_t seed : {0, 9}) {
            const StoreRun run = runCountLimited(c.n, c.os, c.maxNetworks, seed);
            const auto expected = testing::literalOrderStrengthRun(c.n, c.os, c.maxNetworks, seed);
            ASSERT_EQ(run.store.count(), static_cast<int>(expected.rows.size())) << c.n;
            ASSERT_EQ(run.storedCi.size(), expected.rows.size());
            for (int s = 0; s < run.store.count(); ++s) {
                const Word* row = run.store.row(s);
                ASSERT_EQ(std::vector<Word>(row, row + run.store.arcWords()), expected.rows[at(s)])
                    << c.n << ' ' << seed << " slot " << s;
            }
        }
    }
}

} // namespace
} // namespace tavrin
