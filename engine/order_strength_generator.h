#pragma once

#include "engine/complexity_index.h"
#include "engine/network_store.h"
#include "engine/pair_index.h"
#include "engine/random_source.h"
#include "engine/run_driver.h"
#include "engine/work_network.h"

#include <cstdint>
#include <vector>

namespace tavrin {

// The order-strength generator: every network it offers has exactly TargetPairCount related
// pairs. An attempt starts from the complete order and removes RemovalCount randomly drawn
// covering pairs; removing a covering pair keeps the relation transitive. The C rows of the
// work network hold the ListedMarks: j in C(i) once the pair (i, j) has entered the cover list
// in this attempt. Tables are sized once from n; an attempt allocates nothing.
class OrderStrengthGenerator {
public:
    OrderStrengthGenerator(int activityCount, int removalCount, RandomSource& random);

    WorkNetwork& network() { return m_network; }
    const PairIndex& pairs() const { return m_pairs; }

    // The network of one attempt: serial reset, then the removals.
    void buildNetwork();

    // One attempt: builds, offers, and for a kept network appends its CI to storedCi (so
    // slot k of the store has storedCi[k]). The store must not be full.
    void runAttempt(NetworkStore& store, ComplexityIndex& complexity,
                    std::vector<std::int32_t>& storedCi, RunStatistics& statistics);

    // Exactly M attempts (M = store capacity) unless hooks.stop ends the loop at an attempt
    // boundary; elapsed seconds from startMs.
    LoopEnd runCountLimited(NetworkStore& store, ComplexityIndex& complexity,
                            std::vector<std::int32_t>& storedCi, const RunHooks& hooks,
                            std::int64_t startMs, RunStatistics& statistics);
    // Attempts until the time limit passes (checked at every attempt), hooks.stop is set or the
    // store is full, timed from its own start.
    LoopEnd runTimeLimited(NetworkStore& store, ComplexityIndex& complexity,
                           std::vector<std::int32_t>& storedCi, const RunHooks& hooks,
                           double timeLimitSeconds, RunStatistics& statistics);

private:
    void removeCoveringPair(int i, int j);
    void listPair(int i, int j);
    Word* listedBefore(int j) {
        return &m_listedBefore[static_cast<std::size_t>(j)
                               * static_cast<std::size_t>(m_network.rowWords())];
    }

    int m_removalCount;
    RandomSource& m_random;
    WorkNetwork m_network;
    PairIndex m_pairs;
    // The ListedMarks by second activity (reversed rows): i in listedBefore(j) when j in C(i).
    std::vector<Word> m_listedBefore;
};

} // namespace tavrin
