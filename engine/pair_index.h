#pragma once

#include <cassert>
#include <vector>

namespace tavrin {

// Pairs (i, j), i < j < n, numbered row by row over the upper triangle:
// (0,1), (0,2), ..., (0,n-1), (1,2), ..., (n-2,n-1). Also maps a pair number back to i and j.
class PairIndex {
public:
    explicit PairIndex(int activityCount);

    int activityCount() const { return m_n; }
    int pairCount() const { return m_pairCount; }

    int operator()(int i, int j) const {
        assert(0 <= i && i < j && j < m_n);
        return m_rowStart[static_cast<std::size_t>(i)] + (j - i - 1);
    }
    int first(int pair) const { return m_first[static_cast<std::size_t>(pair)]; }
    int second(int pair) const { return m_second[static_cast<std::size_t>(pair)]; }

private:
    int m_n;
    int m_pairCount;
    std::vector<int> m_rowStart; // PairIndex(i, i+1)
    std::vector<int> m_first;
    std::vector<int> m_second;
};

} // namespace tavrin
