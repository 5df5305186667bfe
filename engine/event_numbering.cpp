#include "engine/event_network.h"
#include "engine/index_cast.h"
#include "engine/row_words.h"

#include <algorithm>
#include <cassert>
#include <initializer_list>
#include <utility>

namespace tavrin {

// Exchange scanning: the last arc in the list that runs downward has the numbers of its two
// events exchanged, until no arc runs downward. Each exchange only changes the arcs at those
// two events, so the downward arcs are kept as a bit set over the arc list and only those arcs
// are re-tested, which gives the same exchanges as rescanning the whole list.
void EventNetwork::renumber() {
    for (int e = 0; e < m_eventCount; ++e) {
        m_number[index(e)] = e;
    }
    const int arcWords = (m_arcCount + 31) / 32;
    clearWords(m_inverted.data(), arcWords);
    m_invertedTop = -1;
    for (int arc = 0; arc < m_arcCount; ++arc) {
        if (isInverted(arc)) {
            markInverted(arc);
        }
    }
    if (m_invertedTop < 0) {
        return;
    }
    buildIncidence();
    for (int arc = lastInvertedArc(); arc >= 0; arc = lastInvertedArc()) {
        const int u = m_arcFrom[index(arc)];
        const int v = m_arcTo[index(arc)];
        std::swap(m_number[index(u)], m_number[index(v)]);
        for (const int event : {u, v}) {
            for (int k = m_incidenceStart[index(event)]; k < m_incidenceStart[index(event + 1)];
                 ++k) {
                const int touched = m_incidence[index(k)];
                if (isInverted(touched)) {
                    markInverted(touched);
                } else {
                    clearBit(m_inverted.data(), touched);
                }
            }
        }
    }
    assert(m_number[index(m_eventCount - 1)] == m_eventCount - 1);
}

// Arcs at each event, grouped by event (compressed rows).
void EventNetwork::buildIncidence() {
    std::fill(m_incidenceStart.begin(), m_incidenceStart.begin() + m_eventCount + 1, 0);
    for (int arc = 0; arc < m_arcCount; ++arc) {
        ++m_incidenceStart[at(m_arcFrom, arc) + 1];
        ++m_incidenceStart[at(m_arcTo, arc) + 1];
    }
    for (int e = 0; e < m_eventCount; ++e) {
        m_incidenceStart[index(e + 1)] += m_incidenceStart[index(e)];
    }
    for (int arc = 0; arc < m_arcCount; ++arc) {
        m_incidence[index(m_incidenceStart[at(m_arcFrom, arc)]++)] = arc;
        m_incidence[index(m_incidenceStart[at(m_arcTo, arc)]++)] = arc;
    }
    for (int e = m_eventCount; e > 0; --e) {
        m_incidenceStart[index(e)] = m_incidenceStart[index(e - 1)];
    }
    m_incidenceStart[0] = 0;
}

bool EventNetwork::isInverted(int arc) const {
    return m_number[at(m_arcTo, arc)] < m_number[at(m_arcFrom, arc)];
}

void EventNetwork::markInverted(int arc) {
    setBit(m_inverted.data(), arc);
    m_invertedTop = std::max(m_invertedTop, wordOf(arc));
}

int EventNetwork::lastInvertedArc() {
    while (m_invertedTop >= 0 && m_inverted[index(m_invertedTop)] == 0) {
        --m_invertedTop;
    }
    if (m_invertedTop < 0) {
        return -1;
    }
    return 32 * m_invertedTop + highestBit(m_inverted[index(m_invertedTop)]);
}

void EventNetwork::fillEventRows() {
    const std::size_t stride = index(m_eventWords);
    Word* const successors = m_successors.data();
    Word* const predecessors = m_predecessors.data();
    std::fill(successors, successors + index(m_eventCount) * stride, Word{0});
    std::fill(predecessors, predecessors + index(m_eventCount) * stride, Word{0});
    const int arcs = m_arcCount;
    for (int arc = 0; arc < arcs; ++arc) {
        const int start = arcStart(arc);
        const int end = arcEnd(arc);
        setBit(successors + index(start) * stride, end);
        setBit(predecessors + index(end) * stride, start);
    }
}

} // namespace tavrin
