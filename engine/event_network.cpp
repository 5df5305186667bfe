#include "engine/event_network.h"

#include "engine/index_cast.h"
#include "engine/row_words.h"
#include "engine/run_settings.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace tavrin {

namespace {

std::uint32_t slotCountFor(int events) {
    std::uint32_t slots = 16;
    while (slots < 4u * static_cast<std::uint32_t>(events)) {
        slots *= 2;
    }
    return slots;
}

} // namespace

EventNetwork::EventNetwork(int activityCount)
    : m_n(activityCount), m_activityWords((activityCount + 31) / 32),
      m_maxEvents(2 * activityCount), m_maxEventWords((2 * activityCount + 31) / 32) {
    if (activityCount < 1 || activityCount > kMaxActivities) {
        throw std::invalid_argument("EventNetwork: activity count " + std::to_string(activityCount)
                                    + " outside 1.." + std::to_string(kMaxActivities));
    }
    m_maxLinks = std::max(1, activityCount * activityCount / 4);
    m_maxArcs = activityCount + m_maxLinks;
    const std::size_t activityRows = index(m_n) * index(m_activityWords);
    const std::size_t eventKeys = index(m_maxEvents) * index(m_activityWords);
    const std::size_t eventRows = index(m_maxEvents) * index(m_maxEventWords);
    m_immediateSucc.resize(activityRows);
    m_startAfter.resize(activityRows);
    m_startEvent.resize(index(m_n));
    m_endEvent.resize(index(m_n));
    m_endBefore.resize(index(m_activityWords));
    m_before.resize(eventKeys);
    m_after.resize(eventKeys);
    const std::uint32_t slots = slotCountFor(m_maxEvents);
    m_slotEvent.resize(slots);
    m_slotStamp.assign(slots, 0);
    m_slotMask = slots - 1;
    m_linkFrom.resize(index(m_maxLinks));
    m_linkTo.resize(index(m_maxLinks));
    m_linksOut.resize(eventRows);
    m_linksIn.resize(eventRows);
    m_pSet.resize(index(m_maxEventWords));
    m_qSet.resize(index(m_maxEventWords));
    m_candidates.resize(index(m_maxEventWords));
    m_arcFrom.resize(index(m_maxArcs));
    m_arcTo.resize(index(m_maxArcs));
    m_number.resize(index(m_maxEvents));
    m_incidenceStart.resize(index(m_maxEvents) + 1);
    m_incidence.resize(2 * index(m_maxArcs));
    m_inverted.resize(index((m_maxArcs + 31) / 32));
    m_successors.resize(eventRows);
    m_predecessors.resize(eventRows);
}

void EventNetwork::build(const WorkNetwork& network) {
    if (network.activityCount() != m_n) {
        throw std::invalid_argument("EventNetwork: network has "
                                    + std::to_string(network.activityCount())
                                    + " activities, tables were sized for " + std::to_string(m_n));
    }
    createEvents(network);
    m_eventWords = (m_eventCount + 31) / 32;
    m_arcCount = 0;
    for (int a = 0; a < m_n; ++a) {
        appendArc(m_startEvent[index(a)], m_endEvent[index(a)]);
    }
    buildLinks(network);
    appendDummyArcs();
    renumber();
    fillEventRows();
}

// Activities are placed in increasing order, so when activity a is placed every immediate
// predecessor x < a has already narrowed the After row of a's start key. Event 0 and 1 are
// then the start and end of activity 0. The last activity gets two new events with empty
// keys, created last, so its end event is the VirtualEnd.
void EventNetwork::createEvents(const WorkNetwork& network) {
    nextStamp();
    m_eventCount = 0;
    fillWords(m_startAfter.data(), m_n * m_activityWords);
    for (int a = 0; a <= m_n - 2; ++a) {
        deriveImmediateSuccessors(network, a);
        placeActivity(network, a);
    }
    m_startEvent[index(m_n - 1)] = createEmptyEvent();
    m_endEvent[index(m_n - 1)] = createEmptyEvent();
}

// IS(a) = S(a) without the successors of its members. Members are taken in increasing
// activity order and each survivor strikes out its own successors, so only immediate
// successors cost row operations. Each immediate successor x also narrows the Before row of
// a's end key (by P(x)) and the After row of x's start key (by S(a)).
void EventNetwork::deriveImmediateSuccessors(const WorkNetwork& network, int a) {
    const int words = m_activityWords;
    const int last = m_n - 1;
    Word* immediate = activityRow(m_immediateSucc, a);
    Word* endBefore = m_endBefore.data();
    const Word* successors = network.succ(a);
    copyWords(immediate, successors, words);
    fillWords(endBefore, words);
    for (int w = words - 1; w >= 0; --w) {
        Word pending = immediate[w];
        while (pending != 0) {
            const int b = highestBit(pending);
            pending ^= kBitMasks[index(b)];
            const int x = last - (b + 32 * w);
            const Word* later = network.succ(x);
            for (int k = 0; k <= w; ++k) {
                immediate[k] &= ~later[k];
            }
            pending &= immediate[w];
            const Word* before = network.pred(x);
            Word* startAfter = activityRow(m_startAfter, x);
            for (int k = 0; k < words; ++k) {
                endBefore[k] &= before[k];
                startAfter[k] &= successors[k];
            }
        }
    }
}

// Both keys are looked up among the events that exist before the activity is placed.
void EventNetwork::placeActivity(const WorkNetwork& network, int j) {
    const Word* startBefore = network.pred(j);
    const Word* startAfter = activityRow(m_startAfter, j);
    const Word* endBefore = m_endBefore.data();
    const Word* endAfter = network.succ(j);
    const std::uint32_t startHash = keyHash(startBefore, startAfter);
    const std::uint32_t endHash = keyHash(endBefore, endAfter);
    int start = findEvent(startBefore, startAfter, startHash);
    int end = findEvent(endBefore, endAfter, endHash);
    if (start < 0) {
        start = createEvent(startBefore, startAfter);
        remember(start, startHash);
    }
    if (end < 0) {
        end = createEvent(endBefore, endAfter);
        remember(end, endHash);
    }
    m_startEvent[index(j)] = start;
    m_endEvent[index(j)] = end;
}

int EventNetwork::createEvent(const Word* before, const Word* after) {
    assert(m_eventCount < m_maxEvents);
    const int event = m_eventCount++;
    const int words = m_activityWords;
    copyWords(activityRow(m_before, event), before, words);
    copyWords(activityRow(m_after, event), after, words);
    return event;
}

int EventNetwork::createEmptyEvent() {
    assert(m_eventCount < m_maxEvents);
    const int event = m_eventCount++;
    const int words = m_activityWords;
    clearWords(activityRow(m_before, event), words);
    clearWords(activityRow(m_after, event), words);
    return event;
}

std::uint32_t EventNetwork::keyHash(const Word* before, const Word* after) const {
    std::uint32_t hash = 0x811C9DC5u;
    const int words = m_activityWords;
    for (int w = 0; w < words; ++w) {
        hash = (hash ^ before[w]) * 0x9E3779B1u;
        hash = (hash ^ (hash >> 15) ^ after[w]) * 0x85EBCA77u;
    }
    return hash ^ (hash >> 16);
}

int EventNetwork::findEvent(const Word* before, const Word* after, std::uint32_t hash) const {
    for (std::uint32_t slot = hash & m_slotMask; m_slotStamp[slot] == m_stamp;
         slot = (slot + 1) & m_slotMask) {
        const int event = m_slotEvent[slot];
        if (rowsEqual(activityRow(m_before, event), before, m_activityWords)
            && rowsEqual(activityRow(m_after, event), after, m_activityWords)) {
            return event;
        }
    }
    return -1;
}

void EventNetwork::remember(int event, std::uint32_t hash) {
    std::uint32_t slot = hash & m_slotMask;
    while (m_slotStamp[slot] == m_stamp) {
        slot = (slot + 1) & m_slotMask;
    }
    m_slotStamp[slot] = m_stamp;
    m_slotEvent[slot] = event;
}

// Empties the key table by moving to a new stamp; a full clear happens only on wrap-around.
void EventNetwork::nextStamp() {
    if (++m_stamp == 0) {
        std::fill(m_slotStamp.begin(), m_slotStamp.end(), 0u);
        m_stamp = 1;
    }
}

// One link per distinct (end of a, start of x) over the immediate pairs (a, x), a descending,
// x ascending; an end event that is the successor's start event needs none.
void EventNetwork::buildLinks(const WorkNetwork& network) {
    const std::size_t stride = index(m_eventWords);
    Word* const linksOut = m_linksOut.data();
    Word* const linksIn = m_linksIn.data();
    std::fill(linksOut, linksOut + index(m_eventCount) * stride, Word{0});
    std::fill(linksIn, linksIn + index(m_eventCount) * stride, Word{0});
    int count = 0;
    for (int a = m_n - 2; a >= 0; --a) {
        const int from = m_endEvent[index(a)];
        Word* const out = linksOut + index(from) * stride;
        network.forEachMember(activityRow(m_immediateSucc, a), [&](int x) {
            const int to = m_startEvent[index(x)];
            if (from == to || testBit(out, to)) {
                return;
            }
            assert(count < m_maxLinks);
            m_linkFrom[index(count)] = from;
            m_linkTo[index(count)] = to;
            ++count;
            setBit(out, to);
            setBit(linksIn + index(to) * stride, from);
        });
    }
    m_linkCount = count;
}

// u precedes-or-equals v: Before(u) within Before(v) and After(u) containing After(v), word
// for word including the bits beyond the last activity.
bool EventNetwork::precedesOrEquals(int u, int v) const {
    const Word* beforeU = activityRow(m_before, u);
    const Word* beforeV = activityRow(m_before, v);
    const Word* afterU = activityRow(m_after, u);
    const Word* afterV = activityRow(m_after, v);
    const int words = m_activityWords;
    for (int w = 0; w < words; ++w) {
        if ((beforeU[w] & ~beforeV[w]) != 0 || (afterV[w] & ~afterU[w]) != 0) {
            return false;
        }
    }
    return true;
}

// The P-set of link (e, f) holds the other from-events e2 of links into f with e before e2,
// its Q-set the other to-events f2 of links out of e with f2 before f. An event m in both
// means the links e->m and m->f already join the ends. The P-set lies within the links into f
// and the Q-set within the links out of e, so only events in both rows can be in both sets:
// the sets are built over those events (the candidates) alone, and not at all when there are
// none.
bool EventNetwork::isBridged(int from, int to, const Word* candidates) {
    const int words = m_eventWords;
    Word* pSet = m_pSet.data();
    Word* qSet = m_qSet.data();
    copyWords(pSet, candidates, words);
    copyWords(qSet, candidates, words);
    forEachSetBit(candidates, words, [&](int m) {
        if (!precedesOrEquals(from, m)) {
            clearBit(pSet, m);
        }
        if (!precedesOrEquals(m, to)) {
            clearBit(qSet, m);
        }
    });
    return intersects(pSet, qSet, words);
}

void EventNetwork::appendDummyArcs() {
    const int words = m_eventWords;
    Word* candidates = m_candidates.data();
    for (int link = m_linkCount - 1; link >= 0; --link) {
        const int from = m_linkFrom[index(link)];
        const int to = m_linkTo[index(link)];
        const Word* into = eventRow(m_linksIn, to);
        const Word* outOf = eventRow(m_linksOut, from);
        Word any = 0;
        for (int w = 0; w < words; ++w) {
            candidates[w] = into[w] & outOf[w];
            any |= candidates[w];
        }
        if (any == 0 || !isBridged(from, to, candidates)) {
            appendArc(from, to);
        }
    }
}

void EventNetwork::appendArc(int from, int to) {
    assert(m_arcCount < m_maxArcs);
    m_arcFrom[index(m_arcCount)] = from;
    m_arcTo[index(m_arcCount)] = to;
    ++m_arcCount;
}

} // namespace tavrin
