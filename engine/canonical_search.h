#pragma once

#include "engine/bits.h"
#include "engine/pair_weights.h"
#include "engine/work_network.h"

#include <cstdint>
#include <vector>

namespace tavrin {

// Orders activities by (outT, outD, inT, inD) lexicographically: closure successors, covering
// successors, closure predecessors, covering predecessors. 16 bits per count keep the order for
// every n the engine accepts; for n <= 128 it agrees with the packed 8-bit-per-count key.
inline std::int64_t activityKey(int outT, int outD, int inT, int inD) {
    return (static_cast<std::int64_t>(outT) << 48) | (static_cast<std::int64_t>(outD) << 32)
           | (static_cast<std::int64_t>(inT) << 16) | static_cast<std::int64_t>(inD);
}

// The canonical numbering of a network: a depth-first search over its topological orders that
// branches only on the unnumbered activities of largest key (skipping those with the same
// closure rows as the first of them) and keeps the complete numbering of smallest signature.
// The search stops after kLeafLimit complete numberings. Tables are sized once from n; run()
// allocates nothing.
class CanonicalSearch {
public:
    static constexpr int kLeafLimit = 1000;

    explicit CanonicalSearch(int activityCount);

    // Searches the network held in the closure rows S of the work network.
    void run(const WorkNetwork& network);

    // The best numbering of the last run: activity a gets number label(a).
    int label(int a) const { return m_best[static_cast<std::size_t>(a)]; }
    int leafCount() const { return m_leafCount; }
    // Smallest signature found; the base sum when no numbering beat it (overflowed weights).
    long double bestSignature() const { return m_bestSignature; }

    // Sets bit PairIndex(label(x), label(y)) of the cleared arc set for every related pair.
    void writeCanonicalForm(Word* arcSet) const;

    const PairWeights& weights() const { return m_weights; }
    int activityCount() const { return m_n; }

private:
    void prepare(const WorkNetwork& network);
    void search(int depth);
    void evaluateLeaf();
    void branch(int depth, int a);
    bool sameClosureRows(int a, int b) const;

    Word* candidates(int depth) { return &m_candidates[rowOffset(depth)]; }
    Word* directPred(int a) { return &m_directPred[rowOffset(a)]; }
    const Word* directPred(int a) const { return &m_directPred[rowOffset(a)]; }
    std::size_t rowOffset(int index) const {
        return static_cast<std::size_t>(index) * static_cast<std::size_t>(m_words);
    }

    int m_n;
    int m_words;
    PairWeights m_weights;

    // Per activity.
    std::vector<int> m_inClosure;  // inT
    std::vector<int> m_outClosure; // outT
    std::vector<int> m_inCover;    // inD
    std::vector<int> m_outCover;   // outD
    std::vector<int> m_unnumbered; // rem: closure predecessors not yet numbered
    std::vector<std::int64_t> m_key;
    std::vector<int> m_label; // numbering being built
    std::vector<int> m_best;  // best numbering found

    // Direct rows (activity a at position a): closure predecessors, and one candidate set per
    // depth. Closure successors are compared on the network's own rows.
    std::vector<Word> m_directPred;
    std::vector<Word> m_candidates;
    std::vector<Word> m_coverScratch; // one reversed row
    const WorkNetwork* m_network = nullptr;

    // Covering successors of each activity: m_coverTargets[m_coverBegin[a] .. m_coverEnd[a]).
    std::vector<int> m_coverBegin;
    std::vector<int> m_coverEnd;
    std::vector<int> m_coverTargets;

    // The related pairs in summation order: for each source x (n-2 down to 0, empty rows left
    // out) its successors y in increasing order.
    std::vector<int> m_sumSources;
    std::vector<int> m_sumEnds; // end of each source's run in m_sumTargets
    std::vector<int> m_sumTargets;
    int m_sumSourceCount = 0;

    int m_leafCount = 0;
    long double m_bestSignature = 0.0L;
};

} // namespace tavrin
