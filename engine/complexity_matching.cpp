#include "engine/complexity_matching.h"

#include "engine/index_cast.h"
#include "engine/row_words.h"

#include <algorithm>
#include <cassert>

namespace tavrin {

namespace {

constexpr int kUnmatched = -1;

} // namespace

ComplexityMatching::ComplexityMatching(int activityCount)
    : m_maxEvents(2 * std::max(activityCount, 1)) {
    const std::size_t words = index((m_maxEvents + 31) / 32);
    m_mateOfLeft.resize(index(m_maxEvents));
    m_mateOfRight.resize(index(m_maxEvents));
    m_parent.resize(index(m_maxEvents));
    m_matchedLeft.resize(words);
    m_matchedRight.resize(words);
    m_parented.resize(words);
    m_frontier.resize(words);
}

int ComplexityMatching::maximumMatching(const ComplexityGraph& graph) {
    m_events = graph.eventCount();
    m_words = graph.words();
    assert(m_events < m_maxEvents);
    int size = greedyStart(graph);
    while (augmentingPhase(graph)) {
        ++size;
    }
    return size;
}

int ComplexityMatching::greedyStart(const ComplexityGraph& graph) {
    std::fill(m_mateOfLeft.begin(), m_mateOfLeft.begin() + m_events, kUnmatched);
    std::fill(m_mateOfRight.begin(), m_mateOfRight.begin() + m_events, kUnmatched);
    clearWords(m_matchedLeft.data(), m_words);
    clearWords(m_matchedRight.data(), m_words);
    int size = 0;
    for (int j = 0; j < m_events; ++j) {
        const Word* arcs = graph.arcs(j);
        for (int w = wordOf(j); w < m_words; ++w) {
            const Word free = arcs[w] & ~m_matchedRight[index(w)];
            if (free != 0) {
                const int k = 32 * w + std::countr_zero(free);
                m_mateOfLeft[index(j)] = k;
                m_mateOfRight[index(k)] = j;
                setBit(m_matchedLeft.data(), j);
                setBit(m_matchedRight.data(), k);
                ++size;
                break;
            }
        }
    }
    return size;
}

// One alternating search from all unmatched left events. Left events reached through their
// matched right event join the frontier; the words are passed again while it holds events,
// since an event may join in a word already passed and still lead to a free right event.
bool ComplexityMatching::augmentingPhase(const ComplexityGraph& graph) {
    Word* frontier = m_frontier.data();
    clearWords(m_parented.data(), m_words);
    for (int w = 0; w < m_words; ++w) {
        frontier[w] = ~m_matchedLeft[index(w)] & eventsInWord(w);
    }
    bool pending = true;
    while (pending) {
        pending = false;
        for (int w = m_words - 1; w >= 0; --w) {
            while (frontier[w] != 0) {
                const int b = highestBit(frontier[w]);
                frontier[w] ^= kBitMasks[index(b)];
                if (examine(graph, b + 32 * w)) {
                    return true;
                }
            }
        }
        pending = !rowEmpty(frontier, m_words);
    }
    return false;
}

// Edges are taken in decreasing order of the right event, as the set-bit walk runs: right
// events without a parent take b as parent and send their matched left events to the frontier,
// until a free right event allows an augmentation. The phase then restarts, so the parents
// given before it in the same word do not matter.
bool ComplexityMatching::examine(const ComplexityGraph& graph, int left) {
    const Word* arcs = graph.arcs(left);
    Word* parented = m_parented.data();
    Word* frontier = m_frontier.data();
    const Word* matchedRight = m_matchedRight.data();
    const int first = wordOf(left);
    for (int w = m_words - 1; w >= first; --w) {
        Word fresh = arcs[w] & ~parented[w];
        if (fresh == 0) {
            continue;
        }
        const Word free = fresh & ~matchedRight[w];
        if (free != 0) {
            const int right = 32 * w + highestBit(free);
            m_parent[index(right)] = left;
            augment(left, right);
            return true;
        }
        parented[w] |= fresh;
        while (fresh != 0) {
            const int b = highestBit(fresh);
            fresh ^= kBitMasks[index(b)];
            const int right = 32 * w + b;
            m_parent[index(right)] = left;
            setBit(frontier, m_mateOfRight[index(right)]);
        }
    }
    return false;
}

// Flips the alternating path ending at the free right event back to its root.
void ComplexityMatching::augment(int left, int right) {
    setBit(m_matchedRight.data(), right);
    for (;;) {
        const int previous = m_mateOfLeft[index(left)];
        m_mateOfLeft[index(left)] = right;
        m_mateOfRight[index(right)] = left;
        if (previous == kUnmatched) {
            setBit(m_matchedLeft.data(), left);
            return;
        }
        right = previous;
        left = m_parent[index(previous)];
    }
}

} // namespace tavrin
