#include "engine/complexity_graph.h"

#include "engine/index_cast.h"
#include "engine/row_words.h"
#include "engine/run_settings.h"

#include <algorithm>
#include <cassert>

namespace tavrin {

static_assert(2 * kMaxActivities < ComplexityGraph::kNoEvent, "event numbers must stay below none");

namespace {

// Bits of a word that lie below position `limit` (a row over events).
Word wordBelow(int limit, int w) {
    const int limitWord = wordOf(limit);
    if (w < limitWord) {
        return ~Word{0};
    }
    return w == limitWord ? maskOf(limit) - 1 : Word{0};
}

bool wordsEmpty(const Word* row, int from, int to) {
    for (int w = from; w < to; ++w) {
        if (row[w] != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

ComplexityGraph::ComplexityGraph(int activityCount)
    : m_maxEvents(2 * std::max(activityCount, 1)), m_maxWords((m_maxEvents + 31) / 32) {
    const std::size_t rows = index(m_maxEvents) * index(m_maxWords);
    m_successors.resize(rows);
    m_predecessors.resize(rows);
    m_reach.resize(rows);
    m_graph.resize(rows);
    m_dominated.resize(index(m_maxWords));
    m_idom.resize(index(m_maxEvents));
    m_ipdom.resize(index(m_maxEvents));
    m_idomHead.resize(index(m_maxEvents));
    m_idomNext.resize(index(m_maxEvents));
}

void ComplexityGraph::build(const EventNetwork& events) {
    assert(events.eventCount() <= m_maxEvents);
    m_events = events.virtualEnd();
    m_words = events.eventWords();
    computeReachability(events);
    fillPredecessorRows(events);
    computeDominators();
    computePostDominators();
    buildArcs();
}

// Descending, so every successor's row is complete when it is merged; successor rows run
// upward, so a successor s only contributes words from its own on. The VirtualEnd's row is
// empty, so merging it needs no test.
void ComplexityGraph::computeReachability(const EventNetwork& events) {
    const int end = m_events;
    const int words = m_words;
    const Word* first = events.successors(0);
    std::copy(first, first + index(end) * index(words), row(m_successors, 0));
    clearWords(row(m_reach, end), words);
    for (int l = end - 1; l >= 0; --l) {
        Word* successors = row(m_successors, l);
        Word* reach = row(m_reach, l);
        Word any = 0;
        for (int w = 0; w < words; ++w) {
            reach[w] = successors[w];
            any |= successors[w];
        }
        if (any == 0) {
            setBit(successors, end);
            continue;
        }
        for (int v = words - 1; v >= wordOf(l); --v) {
            for (Word pending = successors[v]; pending != 0;) {
                const int b = highestBit(pending);
                pending ^= kBitMasks[index(b)];
                const int s = 32 * v + b;
                const Word* further = row(m_reach, s);
                for (int w = v; w < words; ++w) {
                    reach[w] |= further[w];
                }
            }
        }
        clearBit(reach, end);
    }
}

void ComplexityGraph::fillPredecessorRows(const EventNetwork& events) {
    const Word* first = events.predecessors(0);
    std::copy(first, first + index(m_events) * index(m_words), row(m_predecessors, 0));
}

void ComplexityGraph::computeDominators() {
    m_idom[0] = kNoEvent;
    for (int i = 1; i < m_events; ++i) {
        m_idom[index(i)] = liftToDominator(i);
    }
    m_idom[index(m_events)] = 0;
}

// The arcs into i come from lower events. While several remain, the highest one h cannot
// dominate the others, so replacing h -> i by idom(h) -> i keeps their common dominator.
int ComplexityGraph::liftToDominator(int i) {
    Word* predecessors = row(m_predecessors, i);
    int top = wordOf(i);
    for (;;) {
        if ((predecessors[0] & 1u) != 0) {
            return 0;
        }
        while (top >= 0 && predecessors[top] == 0) {
            --top;
        }
        if (top < 0) {
            return kNoEvent;
        }
        const int bit = highestBit(predecessors[top]);
        predecessors[top] ^= kBitMasks[index(bit)];
        const int highest = 32 * top + bit;
        if (predecessors[top] == 0 && wordsEmpty(predecessors, 0, top)) {
            return highest;
        }
        const int lifted = m_idom[index(highest)];
        assert(lifted < highest);
        setBit(predecessors, lifted);
    }
}

void ComplexityGraph::computePostDominators() {
    for (int x = m_events - 1; x >= 0; --x) {
        m_ipdom[index(x)] = liftToPostDominator(x);
    }
    m_ipdom[index(m_events)] = kNoEvent;
}

// Mirror image on the working copies: the lowest successor is replaced by its ipdom.
int ComplexityGraph::liftToPostDominator(int x) {
    const int end = m_events;
    Word* successors = row(m_successors, x);
    int low = wordOf(x);
    for (;;) {
        if (testBit(successors, end)) {
            return end;
        }
        while (successors[low] == 0) {
            ++low;
            assert(low < m_words);
        }
        const int bit = std::countr_zero(successors[low]);
        successors[low] ^= kBitMasks[index(bit)];
        const int lowest = 32 * low + bit;
        if (successors[low] == 0 && wordsEmpty(successors, low + 1, m_words)) {
            return lowest;
        }
        setBit(successors, m_ipdom[index(lowest)]);
    }
}

// Row i keeps the reachable r with r < ipdom(i) and idom(r) < i. The events with idom below i
// grow as i rises, so they are added bucket by bucket rather than tested per pair.
void ComplexityGraph::buildArcs() {
    const int end = m_events;
    std::fill(m_idomHead.begin(), m_idomHead.begin() + end, -1);
    for (int r = end - 1; r >= 0; --r) {
        const int dominator = m_idom[index(r)];
        if (dominator < end) {
            m_idomNext[index(r)] = m_idomHead[index(dominator)];
            m_idomHead[index(dominator)] = r;
        }
    }
    Word* dominated = m_dominated.data();
    clearWords(dominated, m_words);
    for (int i = 0; i < end; ++i) {
        if (i > 0) {
            for (int r = m_idomHead[index(i - 1)]; r >= 0; r = m_idomNext[index(r)]) {
                setBit(dominated, r);
            }
        }
        const Word* reach = row(m_reach, i);
        Word* arcs = row(m_graph, i);
        const int limit = m_ipdom[index(i)];
        for (int w = 0; w < m_words; ++w) {
            arcs[w] = reach[w] & dominated[w] & wordBelow(limit, w);
        }
    }
}

} // namespace tavrin
