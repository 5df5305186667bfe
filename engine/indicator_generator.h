#pragma once

#include "engine/indicators.h"
#include "engine/level_plan.h"
#include "engine/network_store.h"
#include "engine/pair_index.h"
#include "engine/random_source.h"
#include "engine/run_driver.h"
#include "engine/work_network.h"

#include <cstdint>
#include <vector>

namespace tavrin {

// Receives every network an attempt reaches.
class NetworkSink {
public:
    virtual ~NetworkSink() = default;
    // True when nothing more may be offered (the store holds M networks).
    virtual bool full() const = 0;
    virtual void offer(const WorkNetwork& network) = 0;
};

// Offers to the store and records the indicators of each kept network. Indicators depend on
// the network alone, so measuring only the kept ones gives the same records.
class IndicatorStoreSink final : public NetworkSink {
public:
    IndicatorStoreSink(NetworkStore& store, IndicatorMeter& meter, RunStatistics& statistics)
        : m_store(store), m_meter(meter), m_statistics(statistics) {}

    bool full() const override { return m_store.count() >= m_store.capacity(); }
    void offer(const WorkNetwork& network) override;

private:
    NetworkStore& m_store;
    IndicatorMeter& m_meter;
    RunStatistics& m_statistics;
};

// Roulette weight of a TrialList entry: the first weighs its level span plus the bias, every
// later one its squared span plus the bias.
inline std::int64_t rouletteWeight(int entry, int span, int bias) {
    const std::int64_t d = span;
    return (entry == 0 ? d : d * d) + bias;
}

// First index e with r <= cum[e]; cum is strictly increasing and r < cum[length-1].
int rouletteIndex(const std::int64_t* cum, int length, std::int64_t r);

// The indicator-targeted generator: every network it offers has exactly m progressive levels.
// An attempt starts from a dense network with at least m levels, removes random covering pairs
// down to m levels, then keeps removing covering pairs chosen by a roulette weighted by their
// level spans, as long as the level count stays m. Each network reached is offered.
// Tables are sized once from n; an attempt allocates nothing.
class IndicatorGenerator {
public:
    IndicatorGenerator(int activityCount, int levelTarget, RandomSource& random);

    WorkNetwork& network() { return m_network; }
    const PairIndex& pairs() const { return m_pairs; }
    int levelTarget() const { return m_levelTarget; }

    // Starting networks: the layered network of a drawn LevelPlan, or the chain.
    void startLayered();
    void startSerial();

    // One attempt from the starting network in place.
    void runAttempt(NetworkSink& sink);

    // The loops. Both empty the store first; the count-limited loop measures its elapsed time
    // from startMs, the time-limited loop from its own start reading. Both also end at the next
    // attempt or offer once hooks.stop is set, the time-limited one also once its limit has
    // passed. hooks.clock must be set.
    LoopEnd runCountLimited(NetworkSink& sink, NetworkStore& store, const RunHooks& hooks,
                            std::int64_t startMs, RunStatistics& statistics);
    LoopEnd runTimeLimited(NetworkSink& sink, NetworkStore& store, const RunHooks& hooks,
                           double timeLimitSeconds, RunStatistics& statistics);

    // Progressive level of activity a and the level count of the network in place, valid
    // after an attempt.
    int level(int a) const { return m_level[static_cast<std::size_t>(a)]; }
    int levelCount() const { return m_levelCount; }

private:
    enum class Listing { CoverOnly, WithTrial };

    void computeLevels();
    void lowerLevelsFrom(int activity);
    int levelFromCoverPredecessors(int x, int previous) const;
    void undoLevels(int savedLevelCount);
    void setLevel(int a, int level);

    void reduceToTarget();
    void localSearch(NetworkSink& sink);
    void fillRoulette();
    bool tryRemoval(int entry);
    void removeCoveringPair(int i, int j, Listing listing);
    void listPair(int i, int j, Listing listing);
    void restoreCoveringPair(int i, int j);
    void dropTrialEntry(int entry);

    int m_n;
    int m_levelTarget;
    RandomSource& m_random;
    WorkNetwork m_network;
    PairIndex m_pairs;
    LevelPlan m_plan;
    int m_bias = 0; // AttemptBias, 0..19

    // Progressive levels, kept current across removals: covering predecessors (reversed rows)
    // mirror the cover rows, levels only ever drop along the successors of a removed pair.
    std::vector<Word> m_coverPred;
    std::vector<int> m_level;
    std::vector<int> m_levelPopulation;
    int m_levelCount = 0;
    std::vector<int> m_levelLog; // pairs (activity, previous level) of the current trial
    std::vector<Word> m_dirty;

    // TrialList with its cumulative weights; position of each listed pair in the cover list.
    std::vector<int> m_trial;
    int m_trialLength = 0;
    std::vector<std::int64_t> m_cum;
    std::vector<int> m_coverPosition;
    // Undo lists of one trial: f of each listed (f, j), g of each listed (i, g).
    std::vector<int> m_undoFirst;
    std::vector<int> m_undoSecond;
    int m_undoFirstLength = 0;
    int m_undoSecondLength = 0;
};

} // namespace tavrin
