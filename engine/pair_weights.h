#pragma once

#include <vector>

namespace tavrin {

// The weight of every pair number 0..P, in extended precision: w[0] = 0.00001 (a double),
// w[p+1] = w[p] * r, r = 1.23456789 for n-1 <= 60 and 1.023456789 above (both doubles). A
// network's signature under a numbering sums the weights of its numbered related pairs; the
// base sum w[0] + ... + w[P] exceeds every signature and bounds the search. Near n = 1000 the
// last weights overflow to infinity.
class PairWeights {
public:
    explicit PairWeights(int activityCount);

    static double ratio(int activityCount);

    int activityCount() const { return m_n; }
    int pairCount() const { return static_cast<int>(m_weights.size()) - 1; }

    // p = 0..P.
    long double weight(int pair) const { return m_weights[static_cast<std::size_t>(pair)]; }
    // The weight of the pair (i, j), i < j < n.
    long double weight(int i, int j) const {
        return m_weights[static_cast<std::size_t>(pairOf(i, j))];
    }
    long double baseSum() const { return m_baseSum; }

    // PairIndex(i, j) = rowOffset(i) + j, for the search's inner loop.
    int rowOffset(int i) const { return m_rowOffset[static_cast<std::size_t>(i)]; }
    int pairOf(int i, int j) const { return rowOffset(i) + j; }
    const long double* data() const { return m_weights.data(); }

private:
    int m_n;
    std::vector<long double> m_weights;
    std::vector<int> m_rowOffset;
    long double m_baseSum = 0.0L;
};

} // namespace tavrin
