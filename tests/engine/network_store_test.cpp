#include "engine/bucket_chains.h"
#include "engine/network_store.h"
#include "engine/random_source.h"
#include "support/literal_reference.h"
#include "support/network_builder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <map>
#include <numeric>
#include <stdexcept>
#include <utility>
#include <vector>

namespace tavrin {
namespace {

using Arcs = std::vector<std::pair<int, int>>;

// Closure rows S and P only (what the store reads), word-parallel so that n = 1000 stays cheap.
WorkNetwork closedNetwork(int n, const Arcs& arcs) {
    WorkNetwork net(n);
    for (int a = 0; a <= n; ++a) {
        net.clear(net.succ(a));
        net.clear(net.pred(a));
        net.clear(net.cover(a));
    }
    std::vector<std::vector<int>> direct(static_cast<std::size_t>(n));
    for (auto [i, j] : arcs) {
        direct[static_cast<std::size_t>(i)].push_back(j);
    }
    for (int i = n - 1; i >= 0; --i) {
        Word* row = net.succ(i);
        for (int j : direct[static_cast<std::size_t>(i)]) {
            net.insert(row, j);
            for (int w = 0; w < net.rowWords(); ++w) {
                row[w] |= net.succ(j)[w];
            }
        }
    }
    for (int i = 0; i < n; ++i) {
        net.forEachMember(net.succ(i), [&](int j) { net.insert(net.pred(j), i); });
    }
    return net;
}

Arcs randomArcs(int n, int permille, RandomSource& random) {
    Arcs arcs;
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (random.below(1000) < permille) {
                arcs.emplace_back(i, j);
            }
        }
    }
    return arcs;
}

// A random topological numbering (Kahn with random picks): activity a gets number[a].
std::vector<int> randomTopologicalNumbering(const WorkNetwork& net, RandomSource& random) {
    const int n = net.activityCount();
    std::vector<int> waiting(static_cast<std::size_t>(n));
    std::vector<int> ready;
    for (int a = 0; a < n; ++a) {
        waiting[static_cast<std::size_t>(a)] = popCount(net.pred(a), net.rowWords());
        if (waiting[static_cast<std::size_t>(a)] == 0) {
            ready.push_back(a);
        }
    }
    std::vector<int> number(static_cast<std::size_t>(n));
    for (int next = 0; next < n; ++next) {
        const auto pick = static_cast<std::size_t>(random.below(static_cast<int>(ready.size())));
        const int a = ready[pick];
        ready.erase(ready.begin() + static_cast<std::ptrdiff_t>(pick));
        number[static_cast<std::size_t>(a)] = next;
        net.forEachMember(net.succ(a), [&](int y) {
            if (--waiting[static_cast<std::size_t>(y)] == 0) {
                ready.push_back(y);
            }
        });
    }
    return number;
}

WorkNetwork renumbered(const WorkNetwork& net, const std::vector<int>& number) {
    Arcs arcs;
    for (auto [x, y] : testing::relatedPairs(net)) {
        arcs.emplace_back(number[static_cast<std::size_t>(x)], number[static_cast<std::size_t>(y)]);
    }
    return closedNetwork(net.activityCount(), arcs);
}

std::vector<Word> storedRow(const NetworkStore& store, int slot) {
    const Word* row = store.row(slot);
    return {row, row + store.arcWords()};
}

// The last search's numbering is a topological permutation and the kept form is the closure
// under it.
void expectCanonicalFormOf(const WorkNetwork& net, const NetworkStore& store,
                           const std::vector<Word>& form) {
    const int n = net.activityCount();
    const CanonicalSearch& search = store.lastSearch();
    std::vector<int> seen(static_cast<std::size_t>(n), 0);
    for (int a = 0; a < n; ++a) {
        ASSERT_GE(search.label(a), 0);
        ASSERT_LT(search.label(a), n);
        ++seen[static_cast<std::size_t>(search.label(a))];
    }
    ASSERT_TRUE(std::all_of(seen.begin(), seen.end(), [](int c) { return c == 1; }));
    PairIndex pairs(n);
    std::vector<Word> image(static_cast<std::size_t>(store.arcWords()), 0);
    for (auto [x, y] : testing::relatedPairs(net)) {
        ASSERT_LT(search.label(x), search.label(y));
        setBit(image.data(), pairs(search.label(x), search.label(y)));
    }
    ASSERT_EQ(image, form);
}

TEST(PairWeights, GrowGeometricallyWithTheRatioChosenByActivityCount) {
    EXPECT_EQ(PairWeights::ratio(61), 1.23456789);
    EXPECT_EQ(PairWeights::ratio(62), 1.023456789);
    const PairWeights weights(5);
    ASSERT_EQ(weights.pairCount(), 10);
    EXPECT_EQ(weights.weight(0), static_cast<long double>(0.00001));
    long double w = 0.00001;
    long double sum = 0.0L;
    for (int p = 0; p <= 10; ++p) {
        EXPECT_EQ(weights.weight(p), w) << p;
        sum += w;
        w *= static_cast<long double>(1.23456789);
    }
    EXPECT_EQ(weights.baseSum(), sum);
    PairIndex pairs(5);
    EXPECT_EQ(weights.weight(1, 3), weights.weight(pairs(1, 3)));
    EXPECT_EQ(weights.weight(3, 4), weights.weight(9));
}

TEST(PairWeights, OverflowNearOneThousandActivities) {
    const PairWeights weights(1000);
    EXPECT_TRUE(std::isfinite(weights.weight(400000)));
    EXPECT_TRUE(std::isinf(weights.weight(weights.pairCount())));
    EXPECT_TRUE(std::isinf(weights.baseSum()));
}

// The packed key outT*2^24 + outD*2^16 + inT*2^8 + inD, held as an extended real, against the
// wide key: the same order for every count up to 127.
TEST(ActivityKey, OrdersLikeThePackedKeyUpTo128Activities) {
    const int values[] = {0, 1, 126, 127};
    std::vector<std::array<int, 4>> tuples;
    for (int a : values) {
        for (int b : values) {
            for (int c : values) {
                for (int d : values) {
                    tuples.push_back({a, b, c, d});
                }
            }
        }
    }
    auto packed = [](const std::array<int, 4>& t) {
        const auto key =
            (static_cast<std::uint32_t>(t[0]) << 24) + (static_cast<std::uint32_t>(t[1]) << 16)
            + (static_cast<std::uint32_t>(t[2]) << 8) + static_cast<std::uint32_t>(t[3]);
        return static_cast<long double>(key);
    };
    auto wide = [](const std::array<int, 4>& t) { return activityKey(t[0], t[1], t[2], t[3]); };
    for (const auto& t : tuples) {
        // Fits the signed reference key, and -1 lies below it.
        ASSERT_LT(packed(t), 2147483648.0L);
        ASSERT_GT(wide(t), -1);
        for (const auto& u : tuples) {
            ASSERT_EQ(packed(t) < packed(u), wide(t) < wide(u));
            ASSERT_EQ(packed(t) == packed(u), wide(t) == wide(u));
        }
    }
}

TEST(NetworkStore, SingleActivityKeepsOneNetwork) {
    NetworkStore store(1, 10);
    const WorkNetwork net = closedNetwork(1, {});
    EXPECT_TRUE(store.offer(net));
    EXPECT_EQ(store.lastLeafCount(), 1);
    EXPECT_EQ(store.lastSearch().bestSignature(), 0.0L);
    EXPECT_FALSE(store.offer(net));
    EXPECT_FALSE(store.offer(net));
    EXPECT_EQ(store.count(), 1);
    EXPECT_EQ(store.arcWords(), 1);
    EXPECT_EQ(store.row(0)[0], 0u);
}

TEST(NetworkStore, SingleRelationsOnThreeActivitiesShareOneForm) {
    NetworkStore store(3, 10);
    EXPECT_TRUE(store.offer(testing::network(3, "0>1")));
    EXPECT_FALSE(store.offer(testing::network(3, "0>2")));
    EXPECT_FALSE(store.offer(testing::network(3, "1>2")));
    ASSERT_EQ(store.count(), 1);
    EXPECT_EQ(store.row(0)[0], 1u); // only PairIndex(0, 1)
    EXPECT_EQ(NetworkStore::bucketOf(store.row(0), store.arcWords()), 1);
}

TEST(NetworkStore, ChainHasOneTopologicalOrder) {
    for (int n : {2, 7, 40}) {
        NetworkStore store(n, 1);
        WorkNetwork net(n);
        net.serialReset(PairIndex(n));
        ASSERT_TRUE(store.offer(net));
        EXPECT_EQ(store.lastLeafCount(), 1) << n;
        const int pairs = n * (n - 1) / 2;
        EXPECT_EQ(popCount(store.row(0), store.arcWords()), pairs) << n;
    }
}

TEST(NetworkStore, ResetEmptiesTheStore) {
    NetworkStore store(4, 5);
    const WorkNetwork net = testing::network(4, "0>1 2>3");
    ASSERT_TRUE(store.offer(net));
    ASSERT_TRUE(store.offer(testing::network(4, "0>1")));
    store.reset();
    EXPECT_EQ(store.count(), 0);
    EXPECT_TRUE(store.offer(net));
    EXPECT_EQ(store.count(), 1);
}

TEST(NetworkStore, RejectsMisuse) {
    EXPECT_THROW(NetworkStore(0, 1), std::invalid_argument);
    EXPECT_THROW(NetworkStore(2001, 1), std::invalid_argument);
    EXPECT_THROW(NetworkStore(5, -1), std::invalid_argument);
    NetworkStore store(4, 1);
    ASSERT_TRUE(store.offer(testing::network(4, "0>1")));
    EXPECT_THROW(store.offer(testing::network(4, "1>2 0>3")), std::length_error);
    EXPECT_THROW(store.offer(testing::network(5, "0>1")), std::invalid_argument);
    EXPECT_THROW(store.row(1), std::out_of_range);
    EXPECT_THROW(store.recordIndicators(-1, {}), std::out_of_range);
    const IndicatorRecord record{49, 0, 100, 50};
    store.recordIndicators(0, record);
    EXPECT_EQ(store.indicators(0), record);
}

// Networks on six activities have at most 720 orders, so the search is always complete: the
// store must keep exactly one network per isomorphism class, checked against a brute-force
// smallest relabelling.
TEST(NetworkStore, KeepsOneNetworkPerIsomorphismClass) {
    constexpr int n = 6;
    RandomSource random;
    random.seed(7);
    NetworkStore store(n, 1000);
    std::vector<int> perm(n);
    std::map<std::vector<bool>, std::vector<Word>> formOfClass;
    std::map<std::vector<Word>, std::vector<bool>> classOfForm;
    for (int trial = 0; trial < 200; ++trial) {
        const WorkNetwork net = closedNetwork(n, randomArcs(n, 100 + 3 * trial, random));
        std::iota(perm.begin(), perm.end(), 0);
        std::vector<bool> smallest;
        do {
            std::vector<bool> relation(n * n);
            for (auto [x, y] : testing::relatedPairs(net)) {
                relation[static_cast<std::size_t>(perm[x] * n + perm[y])] = true;
            }
            if (smallest.empty() || relation < smallest) {
                smallest = relation;
            }
        } while (std::next_permutation(perm.begin(), perm.end()));

        const int before = store.count();
        const bool kept = store.offer(net);
        ASSERT_LT(store.lastLeafCount(), CanonicalSearch::kLeafLimit);
        std::vector<Word> form(static_cast<std::size_t>(store.arcWords()), 0);
        store.lastSearch().writeCanonicalForm(form.data());
        expectCanonicalFormOf(net, store, form);

        const bool newClass = formOfClass.emplace(smallest, form).second;
        ASSERT_EQ(kept, newClass) << trial;
        ASSERT_EQ(formOfClass[smallest], form) << trial;
        ASSERT_EQ(classOfForm.emplace(form, smallest).first->second, smallest) << trial;
        if (kept) {
            ASSERT_EQ(storedRow(store, before), form);
        }
    }
    EXPECT_EQ(store.count(), static_cast<int>(formOfClass.size()));
    EXPECT_GT(store.count(), 50);
}

// Up to 20 activities (190 pairs) every weight still shows in an extended-precision signature.
// Beyond that the smallest weights vanish in the sum, so numberings that differ only in their
// low pairs tie by rounding and renumbered copies may get different forms.
TEST(NetworkStore, RenumberedCopiesShareTheCanonicalForm) {
    RandomSource random;
    random.seed(2024);
    int complete = 0;
    for (int trial = 0; trial < 150; ++trial) {
        const int n = 2 + random.below(19);
        const WorkNetwork net = closedNetwork(n, randomArcs(n, 20 + random.below(300), random));
        NetworkStore store(n, 10);
        ASSERT_TRUE(store.offer(net));
        const std::vector<Word> form = storedRow(store, 0);
        expectCanonicalFormOf(net, store, form);
        const bool underLimit = store.lastLeafCount() < CanonicalSearch::kLeafLimit;

        const WorkNetwork copy = renumbered(net, randomTopologicalNumbering(net, random));
        const bool kept = store.offer(copy);
        std::vector<Word> copyForm(form.size(), 0);
        store.lastSearch().writeCanonicalForm(copyForm.data());
        expectCanonicalFormOf(copy, store, copyForm);
        if (underLimit && store.lastLeafCount() < CanonicalSearch::kLeafLimit) {
            ++complete;
            ASSERT_FALSE(kept) << trial << " n=" << n;
            ASSERT_EQ(copyForm, form) << trial;
        }
    }
    EXPECT_GT(complete, 80);
}

// Sparse layered networks share degrees widely, so the search is often cut off at its leaf
// limit; which 1000 numberings it reaches then decides the form. Checked against the plain
// matrix implementation.
TEST(NetworkStore, AgreesWithThePlainSearchWhenCutOff) {
    RandomSource random;
    random.seed(41);
    int cutOff = 0;
    for (int trial = 0; trial < 16; ++trial) {
        const int n = 12 + random.below(40);
        const int width = 2 + random.below(6);
        Arcs arcs;
        for (int b = width; b < n; ++b) {
            arcs.emplace_back((b / width - 1) * width + random.below(width), b);
        }
        const WorkNetwork net = closedNetwork(n, arcs);
        testing::Relation closure(static_cast<std::size_t>(n),
                                  std::vector<bool>(static_cast<std::size_t>(n)));
        for (auto [x, y] : testing::relatedPairs(net)) {
            closure[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)] = true;
        }
        int leaves = 0;
        const std::vector<Word> expected = testing::literalCanonicalForm(closure, &leaves);
        NetworkStore store(n, 1);
        ASSERT_TRUE(store.offer(net));
        ASSERT_EQ(store.lastLeafCount(), leaves) << trial;
        ASSERT_EQ(storedRow(store, 0), expected) << trial;
        cutOff += leaves == CanonicalSearch::kLeafLimit ? 1 : 0;
    }
    EXPECT_GE(cutOff, 4);
}

// Two different networks in one bucket: the second is chained in front of the first, and both
// stay findable.
TEST(NetworkStore, KeepsBothNetworksOfOneBucket) {
    constexpr int n = 9;
    RandomSource random;
    random.seed(99);
    NetworkStore store(n, 20000);
    std::map<int, WorkNetwork> firstInBucket;
    for (int trial = 0; trial < 20000; ++trial) {
        const WorkNetwork net = closedNetwork(n, randomArcs(n, 50 + random.below(400), random));
        if (!store.offer(net)) {
            continue;
        }
        const int slot = store.count() - 1;
        const int bucket = NetworkStore::bucketOf(store.row(slot), store.arcWords());
        const auto [earlier, fresh] = firstInBucket.emplace(bucket, net);
        if (fresh) {
            continue;
        }
        // Both members of the chain, also as renumbered copies, are now duplicates.
        const int count = store.count();
        EXPECT_FALSE(store.offer(net));
        EXPECT_FALSE(store.offer(earlier->second));
        EXPECT_FALSE(store.offer(renumbered(net, randomTopologicalNumbering(net, random))));
        EXPECT_FALSE(store.offer(
            renumbered(earlier->second, randomTopologicalNumbering(earlier->second, random))));
        EXPECT_EQ(store.count(), count);
        return;
    }
    FAIL() << "no two kept networks met in one bucket";
}

// The store's chains past a million slots, which a store test reaches without a million
// canonical searches. Slot s goes to bucket s mod 65536, so bucket 16959 holds 16959 + 65536k:
// 999999 (k = 15) and then 1065535. Slot 999999 once doubled as the end marker, which cut the
// chain after 1065535 and let duplicates of every older member in.
TEST(BucketChains, EveryMemberStaysReachablePastAMillionSlots) {
    constexpr int kSlots = 1065536;
    constexpr int kBucket = 999999 % BucketChains::kBucketCount;
    BucketChains chains;
    for (int s = 0; s < kSlots; ++s) {
        chains.reserveOne();
        chains.add(s % BucketChains::kBucketCount);
    }
    std::vector<int> members;
    for (int s = chains.head(kBucket); s != BucketChains::kEnd; s = chains.next(s)) {
        members.push_back(s);
    }
    std::vector<int> expected;
    for (int k = 16; k >= 0; --k) {
        expected.push_back(kBucket + k * BucketChains::kBucketCount);
    }
    EXPECT_EQ(members, expected);
    chains.reset();
    EXPECT_EQ(chains.head(kBucket), BucketChains::kEnd);
}

// Beyond 128 activities a closure count of 128 or more no longer fits eight bits: the activity
// with 140 successors must still outrank the one with 10 and take number 0.
//   0 > 10 > 11 > ... > 149      1 > 2 > ... > 9 > 148
// Keys differ everywhere but between no two candidates, so the search has a single leaf.
TEST(NetworkStore, WideKeysOrderLargeNetworks) {
    constexpr int n = 150;
    Arcs arcs{{0, 10}, {1, 2}, {9, 148}};
    for (int j = 10; j + 1 < n; ++j) {
        arcs.emplace_back(j, j + 1);
    }
    for (int j = 2; j < 9; ++j) {
        arcs.emplace_back(j, j + 1);
    }
    RandomSource random;
    random.seed(5);
    const WorkNetwork net = closedNetwork(n, arcs);
    NetworkStore store(n, 10);
    ASSERT_TRUE(store.offer(net));
    EXPECT_EQ(store.lastLeafCount(), 1);
    EXPECT_EQ(store.lastSearch().label(0), 0);
    expectCanonicalFormOf(net, store, storedRow(store, 0));
    for (int copy = 0; copy < 3; ++copy) {
        const std::vector<int> number = randomTopologicalNumbering(net, random);
        const WorkNetwork other = renumbered(net, number);
        EXPECT_FALSE(store.offer(other));
        EXPECT_EQ(store.lastSearch().label(number[0]), 0);
    }
}

// At n = 1000 the last pair weights are infinite; the search must still leave a valid
// numbering (its first leaf when no signature beats the infinite bound).
TEST(NetworkStore, ThousandActivitiesGiveValidCanonicalForms) {
    constexpr int n = 1000;
    RandomSource random;
    random.seed(11);
    struct Case {
        const char* name;
        Arcs arcs;
    };
    Arcs sparse;
    for (int i = 0; i + 1 < n; ++i) {
        if (random.below(3) != 0) {
            sparse.emplace_back(i, std::min(n - 1, i + 1 + random.below(40)));
        }
    }
    const Case cases[] = {{"dense", randomArcs(n, 300, random)}, {"sparse", sparse}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const WorkNetwork net = closedNetwork(n, c.arcs);
        NetworkStore store(n, 2);
        ASSERT_TRUE(store.offer(net));
        EXPECT_GE(store.lastLeafCount(), 1);
        const std::vector<Word> form = storedRow(store, 0);
        expectCanonicalFormOf(net, store, form);
        EXPECT_EQ(popCount(form.data(), store.arcWords()),
                  static_cast<int>(testing::relatedPairs(net).size()));
    }
}

} // namespace
} // namespace tavrin
