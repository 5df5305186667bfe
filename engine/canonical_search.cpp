#include "engine/canonical_search.h"

#include <algorithm>
#include <cassert>

namespace tavrin {

CanonicalSearch::CanonicalSearch(int activityCount)
    : m_n(activityCount), m_words((activityCount + 31) / 32), m_weights(activityCount) {
    const auto n = static_cast<std::size_t>(m_n);
    const std::size_t rows = n * static_cast<std::size_t>(m_words);
    m_inClosure.resize(n);
    m_outClosure.resize(n);
    m_inCover.resize(n);
    m_outCover.resize(n);
    m_unnumbered.resize(n);
    m_key.resize(n);
    m_label.resize(n);
    m_best.resize(n);
    m_directPred.resize(rows);
    m_candidates.resize(rows);
    m_coverScratch.resize(static_cast<std::size_t>(m_words));
    m_sumSources.resize(n);
    m_sumEnds.resize(n);
    m_sumTargets.resize(static_cast<std::size_t>(m_weights.pairCount()));
    m_coverBegin.resize(n);
    m_coverEnd.resize(n);
    m_coverTargets.resize(static_cast<std::size_t>(m_weights.pairCount()));
}

void CanonicalSearch::run(const WorkNetwork& network) {
    assert(network.activityCount() == m_n && network.rowWords() == m_words);
    m_network = &network;
    prepare(network);
    m_leafCount = 0;
    m_bestSignature = m_weights.baseSum();
    search(0);
    m_network = nullptr;
}

// Closure and cover degrees, the direct closure rows, the summation order and the first
// candidate set, all from the successor closure.
void CanonicalSearch::prepare(const WorkNetwork& network) {
    std::fill(m_inClosure.begin(), m_inClosure.end(), 0);
    std::fill(m_inCover.begin(), m_inCover.end(), 0);
    // Row n-1 is never walked.
    m_outClosure[static_cast<std::size_t>(m_n - 1)] = 0;
    m_outCover[static_cast<std::size_t>(m_n - 1)] = 0;
    std::fill(m_directPred.begin(), m_directPred.end(), Word{0});
    const auto at = [](std::vector<int>& table, int a) -> int& {
        return table[static_cast<std::size_t>(a)];
    };

    Word* cover = m_coverScratch.data();
    int* inClosure = m_inClosure.data();
    int* inCover = m_inCover.data();
    int pairs = 0;
    int covering = 0;
    m_sumSourceCount = 0;
    at(m_coverBegin, m_n - 1) = 0;
    at(m_coverEnd, m_n - 1) = 0;
    for (int x = m_n - 2; x >= 0; --x) {
        const Word* succ = network.succ(x);
        std::copy(succ, succ + m_words, cover);
        const int start = pairs;
        // Successors come in increasing order, so every successor preceded by another one has
        // already been struck by it, together with its own successors: only covering ones
        // need their rows removed.
        network.forEachMember(succ, [&](int y) {
            ++inClosure[y];
            setBit(directPred(y), x);
            if (network.contains(cover, y)) {
                const Word* later = network.succ(y);
                for (int w = 0; w < m_words; ++w) {
                    cover[w] &= ~later[w];
                }
            }
            m_sumTargets[static_cast<std::size_t>(pairs++)] = y;
        });
        at(m_outClosure, x) = pairs - start;
        at(m_coverBegin, x) = covering;
        network.forEachMember(cover, [&](int y) {
            ++inCover[y];
            m_coverTargets[static_cast<std::size_t>(covering++)] = y;
        });
        at(m_coverEnd, x) = covering;
        at(m_outCover, x) = covering - at(m_coverBegin, x);
        if (at(m_outClosure, x) > 0) {
            at(m_sumSources, m_sumSourceCount) = x;
            at(m_sumEnds, m_sumSourceCount) = pairs;
            ++m_sumSourceCount;
        }
    }

    Word* first = candidates(0);
    std::fill(first, first + m_words, Word{0});
    for (int a = m_n - 1; a >= 0; --a) {
        const auto i = static_cast<std::size_t>(a);
        if (m_inClosure[i] == 0) {
            setBit(first, a);
        }
        m_unnumbered[i] = m_inCover[i];
        m_key[i] = activityKey(m_outClosure[i], m_outCover[i], m_inClosure[i], m_inCover[i]);
    }
}

bool CanonicalSearch::sameClosureRows(int a, int b) const {
    return rowsEqual(directPred(a), directPred(b), m_words)
           && rowsEqual(m_network->succ(a), m_network->succ(b), m_words);
}

// Branches on the candidates of largest key in decreasing activity number: the first of them
// (the reference), and every later one that differs from it in a closure row. Equal rows make
// the two activities interchangeable, so the reference's subtree covers the other's.
void CanonicalSearch::search(int depth) {
    if (m_leafCount == kLeafLimit) {
        return;
    }
    if (depth == m_n - 1) {
        evaluateLeaf();
        return;
    }
    const Word* cand = candidates(depth);
    std::int64_t largest = -1;
    int reference = -1;
    forEachSetBit(cand, m_words, [&](int a) {
        if (m_key[static_cast<std::size_t>(a)] > largest) {
            largest = m_key[static_cast<std::size_t>(a)];
            reference = a;
        }
    });
    // cand[depth] stays as it is while deeper levels run, so it can be walked again here.
    for (int w = m_words - 1; w >= 0; --w) {
        Word word = cand[w];
        while (word != 0) {
            const int b = highestBit(word);
            word ^= kBitMasks[static_cast<std::size_t>(b)];
            const int a = b + 32 * w;
            const auto i = static_cast<std::size_t>(a);
            if (m_key[i] != largest) {
                continue;
            }
            if (a != reference
                && (m_inClosure[i] + m_outClosure[i] < 1 || sameClosureRows(a, reference))) {
                continue;
            }
            branch(depth, a);
            if (m_leafCount == kLeafLimit) {
                return;
            }
        }
    }
}

void CanonicalSearch::branch(int depth, int a) {
    const Word* cand = candidates(depth);
    Word* next = candidates(depth + 1);
    std::copy(cand, cand + m_words, next);
    clearBit(next, a);
    m_label[static_cast<std::size_t>(a)] = depth;
    const auto i = static_cast<std::size_t>(a);
    const int* first = m_coverTargets.data() + m_coverBegin[i];
    const int* last = m_coverTargets.data() + m_coverEnd[i];
    int* unnumbered = m_unnumbered.data();
    for (const int* y = first; y != last; ++y) {
        if (--unnumbered[*y] == 0) {
            setBit(next, *y);
        }
    }
    search(depth + 1);
    for (const int* y = first; y != last; ++y) {
        ++unnumbered[*y];
    }
}

// The signature is summed in the fixed order and abandoned as soon as the partial sum reaches
// the best: weights are positive, so the rest could only keep it there. The first leaf is kept
// even when it does not beat the bound, which happens only once the weights have overflowed.
void CanonicalSearch::evaluateLeaf() {
    ++m_leafCount;
    const Word* cand = candidates(m_n - 1);
    int last = -1;
    forEachSetBit(cand, m_words, [&](int a) { last = a; });
    assert(last >= 0);
    m_label[static_cast<std::size_t>(last)] = m_n - 1;

    const long double* w = m_weights.data();
    const int* label = m_label.data();
    const int* targets = m_sumTargets.data();
    const long double bound = m_bestSignature;
    long double sum = 0.0L;
    bool below = true;
    int k = 0;
    for (int r = 0; r < m_sumSourceCount; ++r) {
        const int base = m_weights.rowOffset(label[m_sumSources[static_cast<std::size_t>(r)]]);
        const int end = m_sumEnds[static_cast<std::size_t>(r)];
        for (; k < end; ++k) {
            sum += w[base + label[targets[k]]];
        }
        if (!(sum < bound)) {
            below = false;
            break;
        }
    }
    if (below) {
        m_bestSignature = sum;
    }
    if (below || m_leafCount == 1) {
        std::copy(m_label.begin(), m_label.end(), m_best.begin());
    }
}

void CanonicalSearch::writeCanonicalForm(Word* arcSet) const {
    int k = 0;
    for (int r = 0; r < m_sumSourceCount; ++r) {
        const int x = m_sumSources[static_cast<std::size_t>(r)];
        for (; k < m_sumEnds[static_cast<std::size_t>(r)]; ++k) {
            const int y = m_sumTargets[static_cast<std::size_t>(k)];
            setBit(arcSet, m_weights.pairOf(label(x), label(y)));
        }
    }
}

} // namespace tavrin
