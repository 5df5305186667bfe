#pragma once

#include "engine/bits.h"
#include "engine/work_network.h"

#include <cstdint>
#include <vector>

namespace tavrin {

// The activity-on-arc form of a network. An event is identified by its EventKey, two activity
// rows in the reversed mapping: Before (activities finished when it occurs) and After
// (activities starting after it). Arcs 0..n-1 are the activities; the DummyArcs follow, one
// per link between an activity's end event and a successor's start event that no two other
// links already bridge. The last activity always gets two fresh events with empty keys; its
// end event is the VirtualEnd. After build() the events are numbered topologically (every arc
// runs from a lower to a higher number), the VirtualEnd keeping the highest number.
//
// Tables are sized from n: at most 2n events, at most n*n/4 links (links come from distinct
// covering pairs, and a cover graph has no triangle). build() allocates nothing.
class EventNetwork {
public:
    explicit EventNetwork(int activityCount);

    // Throws std::invalid_argument when the network has a different activity count.
    void build(const WorkNetwork& network);

    int activityCount() const { return m_n; }
    // Events including the VirtualEnd, numbered 0..eventCount()-1.
    int eventCount() const { return m_eventCount; }
    int virtualEnd() const { return m_eventCount - 1; }
    // Words of an event row for the current network, ceil(eventCount() / 32).
    int eventWords() const { return m_eventWords; }
    int linkCount() const { return m_linkCount; }
    int arcCount() const { return m_arcCount; }
    int dummyArcCount() const { return m_arcCount - m_n; }

    // Ends of an arc under the topological numbering.
    int arcStart(int arc) const { return m_number[at(m_arcFrom, arc)]; }
    int arcEnd(int arc) const { return m_number[at(m_arcTo, arc)]; }

    // Successor and predecessor rows of an event (direct mapping over events), under the
    // topological numbering. The rows of events 0..eventCount()-1 follow each other,
    // eventWords() words apart.
    const Word* successors(int event) const { return eventRow(m_successors, event); }
    const Word* predecessors(int event) const { return eventRow(m_predecessors, event); }

private:
    static std::size_t at(const std::vector<int>& table, int index) {
        return static_cast<std::size_t>(table[static_cast<std::size_t>(index)]);
    }
    Word* activityRow(std::vector<Word>& table, int row) const {
        return &table[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_activityWords)];
    }
    const Word* activityRow(const std::vector<Word>& table, int row) const {
        return &table[static_cast<std::size_t>(row) * static_cast<std::size_t>(m_activityWords)];
    }
    // Event rows are laid out with the current network's row length, so the rows of all its
    // events form one block.
    Word* eventRow(std::vector<Word>& table, int event) const {
        return &table[static_cast<std::size_t>(event) * static_cast<std::size_t>(m_eventWords)];
    }
    const Word* eventRow(const std::vector<Word>& table, int event) const {
        return &table[static_cast<std::size_t>(event) * static_cast<std::size_t>(m_eventWords)];
    }

    // Events and arcs.
    void createEvents(const WorkNetwork& network);
    void deriveImmediateSuccessors(const WorkNetwork& network, int a);
    void placeActivity(const WorkNetwork& network, int j);
    int createEvent(const Word* before, const Word* after);
    int createEmptyEvent();
    std::uint32_t keyHash(const Word* before, const Word* after) const;
    int findEvent(const Word* before, const Word* after, std::uint32_t hash) const;
    void remember(int event, std::uint32_t hash);
    void nextStamp();

    // Links and dummy arcs.
    void buildLinks(const WorkNetwork& network);
    bool precedesOrEquals(int u, int v) const;
    bool isBridged(int from, int to, const Word* candidates);
    void appendDummyArcs();
    void appendArc(int from, int to);

    // Topological numbering (event_numbering.cpp).
    void renumber();
    void buildIncidence();
    bool isInverted(int arc) const;
    void markInverted(int arc);
    int lastInvertedArc();
    void fillEventRows();

    int m_n;
    int m_activityWords;
    int m_maxEvents;
    int m_maxEventWords;
    int m_maxLinks;
    int m_maxArcs;

    int m_eventCount = 0;
    int m_eventWords = 0;
    int m_linkCount = 0;
    int m_arcCount = 0;

    // Per activity: immediate successors IS, the After row of its start key (the
    // intersection of S(x) over its immediate predecessors x, built up as the pairs (x, a)
    // are found), its start and end events; the Before row of the end key being placed.
    std::vector<Word> m_immediateSucc;
    std::vector<Word> m_startAfter;
    std::vector<int> m_startEvent;
    std::vector<int> m_endEvent;
    std::vector<Word> m_endBefore;

    // EventKeys, found again through an open-addressing table that is emptied by a new stamp.
    std::vector<Word> m_before;
    std::vector<Word> m_after;
    std::vector<int> m_slotEvent;
    std::vector<std::uint32_t> m_slotStamp;
    std::uint32_t m_stamp = 0;
    std::uint32_t m_slotMask;

    // LinkList, with each event's links out (to-events) and in (from-events) as event rows.
    std::vector<int> m_linkFrom;
    std::vector<int> m_linkTo;
    std::vector<Word> m_linksOut;
    std::vector<Word> m_linksIn;
    std::vector<Word> m_pSet;
    std::vector<Word> m_qSet;
    std::vector<Word> m_candidates;

    // Arc list in creation numbers; m_number maps them to the topological numbers.
    std::vector<int> m_arcFrom;
    std::vector<int> m_arcTo;
    std::vector<int> m_number;
    std::vector<int> m_incidenceStart;
    std::vector<int> m_incidence;
    std::vector<Word> m_inverted;
    int m_invertedTop = -1;

    std::vector<Word> m_successors;
    std::vector<Word> m_predecessors;
};

} // namespace tavrin
