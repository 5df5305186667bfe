#include "engine/pair_index.h"

namespace tavrin {

PairIndex::PairIndex(int activityCount)
    : m_n(activityCount), m_pairCount(activityCount * (activityCount - 1) / 2),
      m_rowStart(static_cast<std::size_t>(activityCount) + 1),
      m_first(static_cast<std::size_t>(m_pairCount) + 1),
      m_second(static_cast<std::size_t>(m_pairCount) + 1) {
    int p = 0;
    for (int i = 0; i < m_n; ++i) {
        m_rowStart[static_cast<std::size_t>(i)] = p;
        for (int j = i + 1; j < m_n; ++j) {
            m_first[static_cast<std::size_t>(p)] = i;
            m_second[static_cast<std::size_t>(p)] = j;
            ++p;
        }
    }
}

} // namespace tavrin
