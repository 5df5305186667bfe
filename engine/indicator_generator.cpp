#include "engine/indicator_generator.h"

#include "engine/closure_rows.h"

#include <algorithm>
#include <cassert>

namespace tavrin {
namespace {

constexpr int kBiasRange = 20;

std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

// Ends an attempt at the next offer once the run must end, as a full store does.
class BoundedSink final : public NetworkSink {
public:
    BoundedSink(NetworkSink& sink, RunBoundary& boundary) : m_sink(sink), m_boundary(boundary) {}

    bool full() const override { return m_sink.full() || m_boundary.reached(); }
    void offer(const WorkNetwork& network) override { m_sink.offer(network); }

private:
    NetworkSink& m_sink;
    RunBoundary& m_boundary;
};

} // namespace

void IndicatorStoreSink::offer(const WorkNetwork& network) {
    ++m_statistics.offers;
    const bool kept = m_store.offer(network);
    if (m_store.lastLeafCount() >= CanonicalSearch::kLeafLimit) {
        ++m_statistics.leafLimitedOffers;
    }
    if (kept) {
        m_meter.progressiveLevels(network);
        m_store.recordIndicators(m_store.count() - 1, m_meter.measure(network));
    }
}

int rouletteIndex(const std::int64_t* cum, int length, std::int64_t r) {
    assert(length > 0 && r < cum[length - 1]);
    return static_cast<int>(std::lower_bound(cum, cum + length, r) - cum);
}

IndicatorGenerator::IndicatorGenerator(int activityCount, int levelTarget, RandomSource& random)
    : m_n(activityCount), m_levelTarget(levelTarget), m_random(random), m_network(activityCount),
      m_pairs(activityCount), m_plan(activityCount),
      m_coverPred(at(activityCount + 1) * at(m_network.rowWords())), m_level(at(activityCount)),
      m_levelPopulation(at(activityCount) + 2), m_dirty(at(m_network.rowWords())),
      m_trial(std::max<std::size_t>(at(m_pairs.pairCount()), 1)), m_cum(m_trial.size()),
      m_coverPosition(m_trial.size()), m_undoFirst(at(activityCount)),
      m_undoSecond(at(activityCount)) {
    assert(1 <= levelTarget && levelTarget <= activityCount);
    // One entry pair per activity at most: a removal lowers each level once.
    m_levelLog.reserve(2 * at(activityCount));
}

void IndicatorGenerator::startLayered() {
    m_plan.draw(m_levelTarget, m_random);
    m_plan.buildLayeredNetwork(m_network, m_pairs);
}

void IndicatorGenerator::startSerial() {
    m_network.serialReset(m_pairs);
}

void IndicatorGenerator::runAttempt(NetworkSink& sink) {
    computeLevels();
    m_bias = m_random.below(kBiasRange);
    reduceToTarget();
    if (sink.full()) {
        return;
    }
    sink.offer(m_network);
    localSearch(sink);
}

void IndicatorGenerator::reduceToTarget() {
    while (m_levelCount > m_levelTarget) {
        const int length = m_network.coverLength();
        int* list = m_network.coverList();
        const int k = m_random.below(length);
        const int pair = list[k];
        list[k] = list[length - 1];
        m_network.setCoverLength(length - 1);
        removeCoveringPair(m_pairs.first(pair), m_pairs.second(pair), Listing::CoverOnly);
        m_levelLog.clear();
    }
}

void IndicatorGenerator::localSearch(NetworkSink& sink) {
    m_trialLength = m_network.coverLength();
    const int* list = m_network.coverList();
    for (int e = 0; e < m_trialLength; ++e) {
        m_trial[at(e)] = list[e];
        m_coverPosition[at(list[e])] = e;
    }
    while (m_trialLength > 0) {
        fillRoulette();
        const std::int64_t total = m_cum[at(m_trialLength - 1)];
        const std::int64_t r = static_cast<std::int64_t>(m_random.draw()) % total;
        if (!tryRemoval(rouletteIndex(m_cum.data(), m_trialLength, r))) {
            continue;
        }
        if (sink.full()) {
            return;
        }
        sink.offer(m_network);
    }
}

// Sums are 64-bit: for n beyond a few hundred, 32 bits could wrap.
void IndicatorGenerator::fillRoulette() {
    std::int64_t sum = 0;
    for (int e = 0; e < m_trialLength; ++e) {
        const int pair = m_trial[at(e)];
        const int span = m_level[at(m_pairs.second(pair))] - m_level[at(m_pairs.first(pair))];
        sum += rouletteWeight(e, span, m_bias);
        m_cum[at(e)] = sum;
    }
}

bool IndicatorGenerator::tryRemoval(int entry) {
    const int pair = m_trial[at(entry)];
    const int position = m_coverPosition[at(pair)];
    assert(m_network.coverList()[position] == pair);
    const int i = m_pairs.first(pair);
    const int j = m_pairs.second(pair);
    m_undoFirstLength = 0;
    m_undoSecondLength = 0;
    m_levelLog.clear();
    const int savedLevelCount = m_levelCount;
    removeCoveringPair(i, j, Listing::WithTrial);
    if (m_levelCount < m_levelTarget) {
        restoreCoveringPair(i, j);
        undoLevels(savedLevelCount);
        dropTrialEntry(entry);
        return false;
    }
    int* list = m_network.coverList();
    const int last = m_network.coverLength() - 1;
    list[position] = list[last];
    m_coverPosition[at(list[position])] = position;
    m_network.setCoverLength(last);
    dropTrialEntry(entry);
    return true;
}

void IndicatorGenerator::dropTrialEntry(int entry) {
    --m_trialLength;
    m_trial[at(entry)] = m_trial[at(m_trialLength)];
}

// Removes the covering pair (i, j) and lists the pairs that become covering: only (f, j) with
// (f, i) covering and (i, g) with (j, g) covering can, since any other pair keeps an activity
// between its ends. Both families are walked in the order a full scan would list them: f
// decreasing, then g increasing.
void IndicatorGenerator::removeCoveringPair(int i, int j, Listing listing) {
    WorkNetwork& net = m_network;
    const int words = net.rowWords();
    Word* coverPredJ = &m_coverPred[at(j) * at(words)];
    net.erase(net.succ(i), j);
    net.erase(net.pred(j), i);
    net.erase(net.cover(i), j);
    net.erase(coverPredJ, i);
    const Word* coverPredI = &m_coverPred[at(i) * at(words)];
    for (int w = 0; w < words; ++w) {
        Word candidates = coverPredI[w] & ~coverPredJ[w];
        while (candidates != 0) {
            const int bit = std::countr_zero(candidates);
            candidates &= candidates - 1;
            const int f = net.activityAt(bit + 32 * w);
            if (!hasActivityBetween(net, f, j)) {
                listPair(f, j, listing);
                net.insert(net.cover(f), j);
                net.insert(coverPredJ, f);
                if (listing == Listing::WithTrial) {
                    m_undoFirst[at(m_undoFirstLength++)] = f;
                }
            }
        }
    }
    const Word* coverJ = net.cover(j);
    Word* coverI = net.cover(i);
    for (int w = words - 1; w >= 0; --w) {
        Word candidates = coverJ[w] & ~coverI[w];
        while (candidates != 0) {
            const int bit = highestBit(candidates);
            candidates ^= kBitMasks[at(bit)];
            const int g = net.activityAt(bit + 32 * w);
            if (!hasActivityBetween(net, i, g)) {
                listPair(i, g, listing);
                net.insert(coverI, g);
                net.insert(&m_coverPred[at(g) * at(words)], i);
                if (listing == Listing::WithTrial) {
                    m_undoSecond[at(m_undoSecondLength++)] = g;
                }
            }
        }
    }
    lowerLevelsFrom(j);
}

void IndicatorGenerator::listPair(int i, int j, Listing listing) {
    const int pair = m_pairs(i, j);
    m_coverPosition[at(pair)] = m_network.coverLength();
    m_network.appendCover(pair);
    if (listing == Listing::WithTrial) {
        m_trial[at(m_trialLength++)] = pair;
    }
}

void IndicatorGenerator::restoreCoveringPair(int i, int j) {
    WorkNetwork& net = m_network;
    const int words = net.rowWords();
    Word* coverPredJ = &m_coverPred[at(j) * at(words)];
    net.insert(net.succ(i), j);
    net.insert(net.pred(j), i);
    net.insert(net.cover(i), j);
    net.insert(coverPredJ, i);
    for (int k = m_undoFirstLength - 1; k >= 0; --k) {
        const int f = m_undoFirst[at(k)];
        net.erase(net.cover(f), j);
        net.erase(coverPredJ, f);
    }
    for (int k = m_undoSecondLength - 1; k >= 0; --k) {
        const int g = m_undoSecond[at(k)];
        net.erase(net.cover(i), g);
        net.erase(&m_coverPred[at(g) * at(words)], i);
    }
    const int listed = m_undoFirstLength + m_undoSecondLength;
    net.setCoverLength(net.coverLength() - listed);
    m_trialLength -= listed;
}

// Longest-path levels over the covering pairs, and the covering-predecessor rows.
void IndicatorGenerator::computeLevels() {
    const WorkNetwork& net = m_network;
    const int words = net.rowWords();
    std::fill(m_level.begin(), m_level.end(), 1);
    std::fill(m_coverPred.begin(), m_coverPred.end(), Word{0});
    for (int a = 0; a < m_n; ++a) {
        const int next = m_level[at(a)] + 1;
        net.forEachMember(net.cover(a), [&](int b) {
            m_level[at(b)] = std::max(m_level[at(b)], next);
            net.insert(&m_coverPred[at(b) * at(words)], a);
        });
    }
    std::fill(m_levelPopulation.begin(), m_levelPopulation.end(), 0);
    m_levelCount = 0;
    for (int a = 0; a < m_n; ++a) {
        ++m_levelPopulation[at(m_level[at(a)])];
        m_levelCount = std::max(m_levelCount, m_level[at(a)]);
    }
    m_levelLog.clear();
}

void IndicatorGenerator::setLevel(int a, int level) {
    --m_levelPopulation[at(m_level[at(a)])];
    ++m_levelPopulation[at(level)];
    m_level[at(a)] = level;
}

// After a removal ending at activity j: levels can only drop, and only for j and the
// activities after it, so they are recomputed in increasing activity order from j along the
// cover rows, stopping wherever a level stays.
void IndicatorGenerator::lowerLevelsFrom(int activity) {
    WorkNetwork& net = m_network;
    const int words = net.rowWords();
    net.insert(m_dirty.data(), activity);
    for (int w = wordOf(net.position(activity)); w >= 0; --w) {
        while (m_dirty[at(w)] != 0) {
            const int bit = highestBit(m_dirty[at(w)]);
            m_dirty[at(w)] ^= kBitMasks[at(bit)];
            const int x = net.activityAt(bit + 32 * w);
            const int previous = m_level[at(x)];
            const int level = levelFromCoverPredecessors(x, previous);
            if (level == previous) {
                continue;
            }
            m_levelLog.push_back(x);
            m_levelLog.push_back(previous);
            setLevel(x, level);
            const Word* cover = net.cover(x);
            for (int k = 0; k < words; ++k) {
                m_dirty[at(k)] |= cover[k];
            }
        }
    }
    while (m_levelPopulation[at(m_levelCount)] == 0) {
        --m_levelCount;
    }
}

// 1 + the highest level of a covering predecessor; levels never rise, so a predecessor one
// below the previous level settles it.
int IndicatorGenerator::levelFromCoverPredecessors(int x, int previous) const {
    const int words = m_network.rowWords();
    const Word* row = &m_coverPred[at(x) * at(words)];
    int highest = 0;
    for (int w = words - 1; w >= 0; --w) {
        Word word = row[w];
        while (word != 0) {
            const int bit = highestBit(word);
            word ^= kBitMasks[at(bit)];
            const int level = m_level[at(m_network.activityAt(bit + 32 * w))];
            if (level == previous - 1) {
                return previous;
            }
            highest = std::max(highest, level);
        }
    }
    return highest + 1;
}

void IndicatorGenerator::undoLevels(int savedLevelCount) {
    for (std::size_t k = m_levelLog.size(); k > 0; k -= 2) {
        setLevel(m_levelLog[k - 2], m_levelLog[k - 1]);
    }
    m_levelLog.clear();
    m_levelCount = savedLevelCount;
}

LoopEnd IndicatorGenerator::runCountLimited(NetworkSink& sink, NetworkStore& store,
                                            const RunHooks& hooks, std::int64_t startMs,
                                            RunStatistics& statistics) {
    const int maximum = store.capacity();
    store.reset();
    RunBoundary boundary(hooks);
    BoundedSink bounded(sink, boundary);
    // 64-bit, since M may be the largest int.
    for (std::int64_t attempt = 1; attempt <= maximum; ++attempt) {
        reportProgress(hooks, maximum, store.count());
        if (boundary.reached()) {
            break;
        }
        ++statistics.attempts;
        startLayered();
        runAttempt(bounded);
        if (bounded.full()) {
            break;
        }
    }
    return {elapsedSeconds(startMs, hooks.clock()), boundary.interrupted()};
}

LoopEnd IndicatorGenerator::runTimeLimited(NetworkSink& sink, NetworkStore& store,
                                           const RunHooks& hooks, double timeLimitSeconds,
                                           RunStatistics& statistics) {
    store.reset();
    TimeCheck timeCheck(hooks.clock, timeLimitSeconds);
    const int maximum = progressMaximum(timeLimitSeconds);
    const std::int64_t startMs = hooks.clock();
    timeCheck.restart(startMs);
    RunBoundary boundary(hooks, &timeCheck);
    BoundedSink bounded(sink, boundary);
    while (!timeCheck.passed()) {
        reportProgress(hooks, maximum, wholeSeconds(startMs, hooks.clock()));
        if (boundary.reached()) {
            break;
        }
        ++statistics.attempts;
        startSerial();
        runAttempt(bounded);
        if (bounded.full()) {
            break;
        }
    }
    return {elapsedSeconds(startMs, hooks.clock()), boundary.interrupted()};
}

} // namespace tavrin
