#include "engine/order_strength_generator.h"

#include "engine/closure_rows.h"

#include <algorithm>
#include <bit>
#include <cassert>

namespace tavrin {

OrderStrengthGenerator::OrderStrengthGenerator(int activityCount, int removalCount,
                                               RandomSource& random)
    : m_removalCount(removalCount), m_random(random), m_network(activityCount),
      m_pairs(activityCount), m_listedBefore(static_cast<std::size_t>(activityCount + 1)
                                             * static_cast<std::size_t>(m_network.rowWords())) {
    assert(0 <= removalCount && removalCount <= m_pairs.pairCount());
}

void OrderStrengthGenerator::buildNetwork() {
    WorkNetwork& net = m_network;
    net.serialReset(m_pairs);
    std::fill(m_listedBefore.begin(), m_listedBefore.end(), Word{0});
    for (int a = 0; a + 1 < net.activityCount(); ++a) {
        net.insert(listedBefore(a + 1), a);
    }
    for (int r = 0; r < m_removalCount; ++r) {
        const int length = net.coverLength();
        assert(length > 0);
        int* list = net.coverList();
        const int k = m_random.below(length);
        const int pair = list[k];
        list[k] = list[length - 1];
        net.setCoverLength(length - 1);
        removeCoveringPair(m_pairs.first(pair), m_pairs.second(pair));
    }
}

inline void OrderStrengthGenerator::listPair(int i, int j) {
    m_network.appendCover(m_pairs(i, j));
    m_network.insert(m_network.cover(i), j);
    m_network.insert(listedBefore(j), i);
}

// Only (f, j) with (f, i) covering and (i, g) with (j, g) covering can become covering: any
// other pair keeps an activity between its ends (for f, one between f and i, which still
// precedes j; for g, one between j and g, which i still precedes). Unrelated and covering pairs
// are marked, so the related covering pairs of i and j are exactly the marked related ones,
// and the unmarked members of the two families are the only pairs a full scan could list.
// They are walked in its order, f decreasing, then g increasing.
void OrderStrengthGenerator::removeCoveringPair(int i, int j) {
    WorkNetwork& net = m_network;
    const int words = net.rowWords();
    net.erase(net.succ(i), j);
    net.erase(net.pred(j), i);
    const Word* predI = net.pred(i);
    const Word* markedBeforeI = listedBefore(i);
    const Word* markedBeforeJ = listedBefore(j);
    for (int w = 0; w < words; ++w) {
        Word candidates = predI[w] & markedBeforeI[w] & ~markedBeforeJ[w];
        while (candidates != 0) {
            const int bit = std::countr_zero(candidates);
            candidates &= candidates - 1;
            const int f = net.activityAt(bit + 32 * w);
            if (!hasActivityBetween(net, f, j)) {
                listPair(f, j);
            }
        }
    }
    const Word* succJ = net.succ(j);
    const Word* markedI = net.cover(i);
    const Word* markedJ = net.cover(j);
    for (int w = words - 1; w >= 0; --w) {
        Word candidates = succJ[w] & markedJ[w] & ~markedI[w];
        while (candidates != 0) {
            const int bit = highestBit(candidates);
            candidates ^= kBitMasks[static_cast<std::size_t>(bit)];
            const int g = net.activityAt(bit + 32 * w);
            if (!hasActivityBetween(net, i, g)) {
                listPair(i, g);
            }
        }
    }
}

void OrderStrengthGenerator::runAttempt(NetworkStore& store, ComplexityIndex& complexity,
                                        std::vector<std::int32_t>& storedCi,
                                        RunStatistics& statistics) {
    buildNetwork();
    ++statistics.offers;
    const bool kept = store.offer(m_network);
    if (store.lastLeafCount() >= CanonicalSearch::kLeafLimit) {
        ++statistics.leafLimitedOffers;
    }
    if (kept) {
        storedCi.push_back(complexity.compute(m_network));
        assert(static_cast<int>(storedCi.size()) == store.count());
    }
}

LoopEnd OrderStrengthGenerator::runCountLimited(NetworkStore& store, ComplexityIndex& complexity,
                                                std::vector<std::int32_t>& storedCi,
                                                const RunHooks& hooks, std::int64_t startMs,
                                                RunStatistics& statistics) {
    const int maximum = store.capacity();
    store.reset();
    storedCi.clear();
    RunBoundary boundary(hooks);
    // Exactly M attempts: each keeps at most one network, so the store never overflows. 64-bit,
    // since M may be the largest int.
    for (std::int64_t attempt = 1; attempt <= maximum; ++attempt) {
        reportProgress(hooks, maximum, store.count());
        if (boundary.reached()) {
            break;
        }
        ++statistics.attempts;
        runAttempt(store, complexity, storedCi, statistics);
    }
    return {elapsedSeconds(startMs, hooks.clock()), boundary.interrupted()};
}

LoopEnd OrderStrengthGenerator::runTimeLimited(NetworkStore& store, ComplexityIndex& complexity,
                                               std::vector<std::int32_t>& storedCi,
                                               const RunHooks& hooks, double timeLimitSeconds,
                                               RunStatistics& statistics) {
    store.reset();
    storedCi.clear();
    TimeCheck timeCheck(hooks.clock, timeLimitSeconds);
    const int maximum = progressMaximum(timeLimitSeconds);
    const std::int64_t startMs = hooks.clock();
    timeCheck.restart(startMs);
    // One offer per attempt, so the attempt boundary is the offer boundary.
    RunBoundary boundary(hooks, &timeCheck);
    while (!timeCheck.passed()) {
        reportProgress(hooks, maximum, wholeSeconds(startMs, hooks.clock()));
        if (boundary.reached()) {
            break;
        }
        ++statistics.attempts;
        runAttempt(store, complexity, storedCi, statistics);
        if (store.count() >= store.capacity()) {
            break;
        }
    }
    return {elapsedSeconds(startMs, hooks.clock()), boundary.interrupted()};
}

} // namespace tavrin
