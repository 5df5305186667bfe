#pragma once

#include "engine/bits.h"
#include "engine/complexity_graph.h"

#include <vector>

namespace tavrin {

// A maximum matching in the bipartite form of a ComplexityGraph: every event once on the left
// and once on the right, an edge (i, r) per arc i -> r. A greedy start matches each left
// event to its lowest free right event; then alternating searches from the unmatched left
// events augment one path per phase. A phase ends without augmenting only once its frontier
// is exhausted, so the matching found is maximum. Tables are sized for 2n events.
class ComplexityMatching {
public:
    explicit ComplexityMatching(int activityCount);

    // Size of a maximum matching of the graph.
    int maximumMatching(const ComplexityGraph& graph);

private:
    int greedyStart(const ComplexityGraph& graph);
    bool augmentingPhase(const ComplexityGraph& graph);
    bool examine(const ComplexityGraph& graph, int left);
    void augment(int left, int right);
    // Bits of word w that stand for events 0..N-1.
    Word eventsInWord(int w) const {
        const int used = m_events - 32 * w;
        return used >= 32 ? ~Word{0} : used <= 0 ? Word{0} : (Word{1} << used) - 1;
    }

    int m_maxEvents;
    int m_events = 0;
    int m_words = 0;
    std::vector<int> m_mateOfLeft;  // right event, or kUnmatched
    std::vector<int> m_mateOfRight; // left event, or kUnmatched
    std::vector<int> m_parent;      // per right event: the left event it was reached from
    std::vector<Word> m_matchedLeft;
    std::vector<Word> m_matchedRight;
    std::vector<Word> m_parented; // right events with a parent in this phase
    std::vector<Word> m_frontier; // left events still to examine in this phase
};

} // namespace tavrin
