#include "engine/work_network.h"

#include <algorithm>

namespace tavrin {

WorkNetwork::WorkNetwork(int activityCount)
    : m_n(activityCount), m_words((activityCount + 31) / 32),
      m_succ(static_cast<std::size_t>(activityCount + 1) * static_cast<std::size_t>(m_words)),
      m_pred(m_succ.size()), m_cover(m_succ.size()),
      m_coverList(static_cast<std::size_t>(std::max(activityCount * (activityCount - 1) / 2, 1))) {}

void WorkNetwork::fillAll(Word* row) const {
    std::fill(row, row + m_words, ~Word{0});
    const int used = m_n - 32 * (m_words - 1);
    if (used < 32) {
        row[m_words - 1] = (Word{1} << used) - 1;
    }
}

void WorkNetwork::clear(Word* row) const {
    std::fill(row, row + m_words, Word{0});
}

void WorkNetwork::copy(Word* to, const Word* from) const {
    std::copy(from, from + m_words, to);
}

void WorkNetwork::serialReset(const PairIndex& pairs) {
    m_coverLength = 0;
    const int last = m_n - 1;
    clear(succ(last));
    clear(cover(last));
    fillAll(pred(last));
    erase(pred(last), last);
    for (int a = m_n - 2; a >= 0; --a) {
        copy(succ(a), succ(a + 1));
        insert(succ(a), a + 1);
        copy(pred(a), pred(a + 1));
        erase(pred(a), a);
        clear(cover(a));
        insert(cover(a), a + 1);
        appendCover(pairs(a, a + 1));
    }
}

} // namespace tavrin
