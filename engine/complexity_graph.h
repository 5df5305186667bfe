#pragma once

#include "engine/bits.h"
#include "engine/event_network.h"

#include <vector>

namespace tavrin {

// The ComplexityGraph over the events 0..N-1 of a topologically numbered EventNetwork (N is
// the VirtualEnd): an arc i -> r when r is reachable from i, idom(r) < i and r < ipdom(i).
// Events without successors are joined to N first. Dominators and post-dominators are found by
// lifting arcs: a node's highest predecessor (lowest successor) is replaced by its own
// immediate dominator (post-dominator) until one is left. Tables are sized for 2n events.
class ComplexityGraph {
public:
    // None, for an immediate dominator.
    static constexpr int kNoEvent = 9999;

    explicit ComplexityGraph(int activityCount);

    void build(const EventNetwork& events);

    // N: the graph's events are 0..N-1.
    int eventCount() const { return m_events; }
    int words() const { return m_words; }
    // Arcs i -> r as a direct row over events.
    const Word* arcs(int i) const { return row(m_graph, i); }
    // idom of events 1..N (0 for N), kNoEvent for event 0 and for an event nothing reaches;
    // ipdom of events 0..N-1.
    int immediateDominator(int event) const { return m_idom[static_cast<std::size_t>(event)]; }
    int immediatePostDominator(int event) const { return m_ipdom[static_cast<std::size_t>(event)]; }

private:
    // Rows are laid out with the current row length, as in the event network.
    Word* row(std::vector<Word>& table, int event) const {
        return &table[static_cast<std::size_t>(event) * static_cast<std::size_t>(m_words)];
    }
    const Word* row(const std::vector<Word>& table, int event) const {
        return &table[static_cast<std::size_t>(event) * static_cast<std::size_t>(m_words)];
    }

    void computeReachability(const EventNetwork& events);
    void fillPredecessorRows(const EventNetwork& events);
    void computeDominators();
    int liftToDominator(int i);
    void computePostDominators();
    int liftToPostDominator(int x);
    void buildArcs();

    int m_maxEvents;
    int m_maxWords;
    int m_events = 0;                 // N
    int m_words = 0;                  // words of a row over 0..N
    std::vector<Word> m_successors;   // working copies, lifted for the post-dominators
    std::vector<Word> m_predecessors; // lifted for the dominators
    std::vector<Word> m_reach;
    std::vector<Word> m_graph;
    std::vector<Word> m_dominated; // events whose idom lies below the current event
    std::vector<int> m_idom;
    std::vector<int> m_ipdom;
    std::vector<int> m_idomHead; // events grouped by their idom
    std::vector<int> m_idomNext;
};

} // namespace tavrin
