#include "engine/indicator_generator.h"
#include "engine/indicators.h"
#include "engine/level_plan.h"
#include "engine/network_store.h"
#include "support/literal_reference.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <set>
#include <utility>

namespace tavrin {
namespace {

using testing::Relation;

std::size_t at(int v) {
    return static_cast<std::size_t>(v);
}

int levelTargetOf(int n, double i2) {
    return static_cast<int>(static_cast<long double>(n - 1) * i2 + 1.0L);
}

Relation closureOf(const WorkNetwork& net) {
    const int n = net.activityCount();
    Relation rel(at(n), std::vector<bool>(at(n)));
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b) {
            rel[at(a)][at(b)] = net.contains(net.succ(a), b);
        }
    }
    return rel;
}

bool covering(const Relation& rel, int a, int b) {
    if (!rel[at(a)][at(b)]) {
        return false;
    }
    for (int c = a + 1; c < b; ++c) {
        if (rel[at(a)][at(c)] && rel[at(c)][at(b)]) {
            return false;
        }
    }
    return true;
}

// Longest chain ending at each activity, over the relation itself (not the cover rows).
std::vector<int> chainLevels(const Relation& rel) {
    const int n = static_cast<int>(rel.size());
    std::vector<int> level(at(n), 1);
    for (int b = 0; b < n; ++b) {
        for (int a = 0; a < b; ++a) {
            if (rel[at(a)][at(b)]) {
                level[at(b)] = std::max(level[at(b)], level[at(a)] + 1);
            }
        }
    }
    return level;
}

int chainLevelCount(const Relation& rel) {
    const auto level = chainLevels(rel);
    return level.empty() ? 0 : *std::max_element(level.begin(), level.end());
}

// Checks every offered network against definitions computed from its closure alone: the rows
// form a strict order, the cover rows and the cover list hold exactly its covering pairs, and
// it has exactly m levels. Within an attempt each offer removes one related pair.
class CheckingSink final : public NetworkSink {
public:
    CheckingSink(int levelTarget, int offerLimit) : m_levels(levelTarget), m_limit(offerLimit) {}

    bool full() const override { return m_offers >= m_limit; }

    void offer(const WorkNetwork& net) override {
        ++m_offers;
        const Relation rel = closureOf(net);
        checkOrder(net, rel);
        checkCovers(net, rel);
        EXPECT_EQ(chainLevelCount(rel), m_levels);
        if (!m_previous.empty()) {
            int removed = 0;
            for (std::size_t a = 0; a < rel.size(); ++a) {
                for (std::size_t b = 0; b < rel.size(); ++b) {
                    EXPECT_FALSE(rel[a][b] && !m_previous[a][b]);
                    removed += m_previous[a][b] && !rel[a][b] ? 1 : 0;
                }
            }
            EXPECT_EQ(removed, 1);
        }
        m_previous = rel;
    }

    void startAttempt() { m_previous.clear(); }
    int offers() const { return m_offers; }

private:
    static void checkOrder(const WorkNetwork& net, const Relation& rel) {
        const int n = net.activityCount();
        for (int a = 0; a < n; ++a) {
            for (int b = 0; b < n; ++b) {
                ASSERT_EQ(net.contains(net.pred(b), a), bool(rel[at(a)][at(b)]));
                ASSERT_TRUE(!rel[at(a)][at(b)] || a < b);
                for (int c = 0; c < n; ++c) {
                    ASSERT_TRUE(!(rel[at(a)][at(b)] && rel[at(b)][at(c)]) || rel[at(a)][at(c)]);
                }
            }
        }
    }

    static void checkCovers(const WorkNetwork& net, const Relation& rel) {
        const int n = net.activityCount();
        const PairIndex pairs(n);
        std::set<int> expected;
        for (int a = 0; a < n; ++a) {
            for (int b = a + 1; b < n; ++b) {
                ASSERT_EQ(net.contains(net.cover(a), b), covering(rel, a, b)) << a << '>' << b;
                if (covering(rel, a, b)) {
                    expected.insert(pairs(a, b));
                }
            }
        }
        std::multiset<int> listed(net.coverList(), net.coverList() + net.coverLength());
        EXPECT_EQ(listed, std::multiset<int>(expected.begin(), expected.end()));
    }

    int m_levels;
    int m_limit;
    int m_offers = 0;
    Relation m_previous;
};

TEST(LevelPlan, DrawnSizesCoverEveryActivityOnce) {
    struct Case {
        int n;
        int m;
    };
    const Case cases[] = {{1, 1}, {2, 1}, {2, 2}, {7, 3}, {10, 5}, {10, 10}, {40, 1}, {150, 60}};
    for (const Case& c : cases) {
        LevelPlan plan(c.n);
        RandomSource random;
        for (int seed = 0; seed < 30; ++seed) {
            random.seed(seed);
            const RandomSource before = random;
            plan.draw(c.m, random);
            const int levels = plan.levelCount();
            ASSERT_GE(levels, c.m);
            ASSERT_LE(levels, c.n);
            int total = 0;
            for (int l = 0; l < levels; ++l) {
                ASSERT_GE(plan.size(l), 1) << c.n << ' ' << seed;
                total += plan.size(l);
            }
            EXPECT_EQ(total, c.n);
            EXPECT_EQ(plan.size(levels), 0);
            // One draw for L when n > m, r1 and r2 for levels L-1..1, two per swap.
            RandomSource replay = before;
            const int draws = (c.n > c.m ? 1 : 0) + 2 * (levels - 1) + 4 * c.n;
            for (int k = 0; k < draws; ++k) {
                replay.draw();
            }
            EXPECT_EQ(replay.state(), random.state()) << c.n << ' ' << c.m << ' ' << seed;
        }
    }
}

TEST(LevelPlan, WorkedDraw) {
    // Seed 0 gives 346, 130, 10982, 1090, 11656, ... For n = 3, m = 2: L = 2 + 346 mod 2 = 2.
    // Level 1: s = 3 - 1 = 2, T = 3, r1 = 130 mod 3 = 1, r2 = 10982 mod 3 = 2; x = 1 - (2 + 2)
    // stops after one subtraction, so size[1] = 2 and size[0] = 1. The 6 swaps follow.
    LevelPlan plan(3);
    RandomSource random;
    random.seed(0);
    RandomSource swaps = random;
    for (int k = 0; k < 3; ++k) {
        swaps.draw();
    }
    std::vector<int> size{1, 2};
    for (int t = 0; t < 6; ++t) {
        const int i = swaps.below(2);
        const int j = swaps.below(2);
        std::swap(size[at(i)], size[at(j)]);
    }
    plan.draw(2, random);
    ASSERT_EQ(plan.levelCount(), 2);
    EXPECT_EQ(plan.size(0), size[0]);
    EXPECT_EQ(plan.size(1), size[1]);
}

TEST(LevelPlan, LayeredNetworkListsCoversTopLevelFirst) {
    // Levels {0,1} -> {2,3,4} -> {5,6}, every activity of a level before all of the next.
    LevelPlan plan(7);
    plan.assign({2, 3, 2});
    WorkNetwork net(7);
    const PairIndex pairs(7);
    plan.buildLayeredNetwork(net, pairs);
    const std::vector<std::pair<int, int>> order = {{4, 6}, {4, 5}, {3, 6}, {3, 5}, {2, 6}, {2, 5},
                                                    {1, 4}, {1, 3}, {1, 2}, {0, 4}, {0, 3}, {0, 2}};
    ASSERT_EQ(net.coverLength(), static_cast<int>(order.size()));
    for (std::size_t k = 0; k < order.size(); ++k) {
        EXPECT_EQ(net.coverList()[k], pairs(order[k].first, order[k].second)) << k;
    }
    const int level[] = {0, 0, 1, 1, 1, 2, 2};
    for (int a = 0; a < 7; ++a) {
        for (int b = 0; b < 7; ++b) {
            EXPECT_EQ(net.contains(net.succ(a), b), level[b] > level[a]);
            EXPECT_EQ(net.contains(net.pred(a), b), level[b] < level[a]);
            EXPECT_EQ(net.contains(net.cover(a), b), level[b] == level[a] + 1);
        }
        EXPECT_TRUE(net.contains(net.pred(7), a));
    }
    EXPECT_TRUE(rowEmpty(net.succ(7), net.rowWords()));
    EXPECT_TRUE(rowEmpty(net.cover(7), net.rowWords()));
    EXPECT_EQ(chainLevelCount(closureOf(net)), 3);
}

TEST(Roulette, FirstEntryWeighsItsSpanAndLaterOnesTheSquare) {
    // Spans 1 and 2, bias 0: cum = (1, 1 + 4) = (1, 5), total 5.
    const std::int64_t cum[] = {rouletteWeight(0, 1, 0),
                                rouletteWeight(0, 1, 0) + rouletteWeight(1, 2, 0)};
    ASSERT_EQ(cum[0], 1);
    ASSERT_EQ(cum[1], 5);
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(rouletteIndex(cum, 2, r), r <= 1 ? 0 : 1) << r;
    }
    EXPECT_EQ(rouletteWeight(0, 3, 7), 10);
    EXPECT_EQ(rouletteWeight(4, 3, 7), 16);
}

// Every offered network of many attempts, from both starting networks, against the checks of
// CheckingSink; after each attempt the generator's levels agree with the chain levels, and
// every remaining covering pair is critical (removing it loses a level).
TEST(IndicatorGenerator, AttemptsOfferOnlyNetworksWithTheTargetLevels) {
    struct Case {
        int n;
        double i2;
        bool serial;
        int attempts;
    };
    const Case cases[] = {{1, 0.5, false, 3},   {2, 0.0, false, 5},   {2, 1.0, true, 5},
                          {6, 0.5, false, 40},  {9, 0.3, true, 30},   {12, 0.0, false, 10},
                          {12, 1.0, false, 10}, {14, 0.6, false, 10}, {14, 0.4, true, 10},
                          {22, 0.5, false, 1}};
    for (const Case& c : cases) {
        const int m = levelTargetOf(c.n, c.i2);
        RandomSource random;
        random.seed(3);
        IndicatorGenerator generator(c.n, m, random);
        CheckingSink sink(m, 1 << 30);
        for (int attempt = 0; attempt < c.attempts; ++attempt) {
            sink.startAttempt();
            c.serial ? generator.startSerial() : generator.startLayered();
            generator.runAttempt(sink);
            const Relation rel = closureOf(generator.network());
            const auto level = chainLevels(rel);
            ASSERT_EQ(generator.levelCount(), m);
            for (int a = 0; a < c.n; ++a) {
                ASSERT_EQ(generator.level(a), level[at(a)]) << c.n << ' ' << a;
            }
            for (int a = 0; a < c.n; ++a) {
                for (int b = a + 1; b < c.n; ++b) {
                    if (covering(rel, a, b)) {
                        Relation less = rel;
                        less[at(a)][at(b)] = false;
                        EXPECT_LT(chainLevelCount(less), m) << c.n << ' ' << a << '>' << b;
                    }
                }
            }
        }
        EXPECT_GE(sink.offers(), c.attempts) << c.n;
    }
}

TEST(IndicatorGenerator, StopsOfferingWhenTheSinkIsFull) {
    RandomSource random;
    random.seed(11);
    IndicatorGenerator generator(20, 10, random);
    for (int limit : {1, 2, 5}) {
        CheckingSink sink(10, limit);
        generator.startLayered();
        generator.runAttempt(sink);
        EXPECT_EQ(sink.offers(), limit);
    }
}

struct StoreRun {
    NetworkStore store;
    std::vector<IndicatorRecord> records;
};

StoreRun runCountLimited(int n, double i2, int maxNetworks, std::int32_t seed) {
    const int m = levelTargetOf(n, i2);
    StoreRun run{NetworkStore(n, maxNetworks), {}};
    IndicatorMeter meter(n, m);
    RunStatistics statistics;
    IndicatorStoreSink sink(run.store, meter, statistics);
    RandomSource random;
    IndicatorGenerator generator(n, m, random);
    random.seed(seed);
    RunHooks hooks;
    hooks.clock = [] { return std::int64_t{0}; };
    generator.runCountLimited(sink, run.store, hooks, 0, statistics);
    for (int s = 0; s < run.store.count(); ++s) {
        run.records.push_back(run.store.indicators(s));
    }
    return run;
}

TEST(IndicatorGenerator, ExtremeTargetsKeepOneNetwork) {
    struct Case {
        int n;
        double i2;
    };
    // I2 = 1 leaves only the chain, I2 = 0 only the empty relation; n = 1 has one network.
    const Case cases[] = {{1, 0.0}, {1, 1.0}, {5, 1.0}, {12, 1.0}, {5, 0.0}, {12, 0.0}};
    for (const Case& c : cases) {
        for (std::int32_t seed : {0, 5}) {
            const StoreRun run = runCountLimited(c.n, c.i2, 30, seed);
            ASSERT_EQ(run.store.count(), 1) << c.n << ' ' << c.i2;
            EXPECT_EQ(testing::literalLevelCount(testing::decodeArcSet(run.store.row(0), c.n)),
                      levelTargetOf(c.n, c.i2));
        }
    }
}

TEST(IndicatorGenerator, CountLimitedRunMatchesThePlainReference) {
    struct Case {
        int n;
        double i2;
        int maxNetworks;
    };
    const Case cases[] = {{4, 0.5, 20}, {7, 0.5, 40}, {9, 0.3, 40}, {11, 0.7, 30}};
    for (const Case& c : cases) {
        for (std::int32_t seed : {0, 1, 42}) {
            const StoreRun run = runCountLimited(c.n, c.i2, c.maxNetworks, seed);
            const auto expected = testing::literalIndicatorRun(c.n, c.i2, c.maxNetworks, seed);
            ASSERT_EQ(run.store.count(), static_cast<int>(expected.rows.size()))
                << c.n << ' ' << seed;
            for (int s = 0; s < run.store.count(); ++s) {
                const Word* row = run.store.row(s);
                ASSERT_EQ(std::vector<Word>(row, row + run.store.arcWords()), expected.rows[at(s)])
                    << c.n << ' ' << seed << " slot " << s;
                ASSERT_EQ(run.records[at(s)], expected.indicators[at(s)]) << s;
            }
        }
    }
}

TEST(IndicatorGenerator, KeptNetworksHaveTheTargetLevelsAcrossSeeds) {
    for (const auto& [n, i2] : {std::pair{30, 0.5}, std::pair{25, 0.2}, std::pair{40, 0.85}}) {
        const int m = levelTargetOf(n, i2);
        for (std::int32_t seed = 0; seed < 4; ++seed) {
            const StoreRun run = runCountLimited(n, i2, 150, seed);
            ASSERT_GT(run.store.count(), 0);
            for (int s = 0; s < run.store.count(); ++s) {
                ASSERT_EQ(chainLevelCount(testing::decodeArcSet(run.store.row(s), n)), m)
                    << n << ' ' << seed << ' ' << s;
            }
        }
    }
}

} // namespace
} // namespace tavrin
