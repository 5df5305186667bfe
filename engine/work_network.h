#pragma once

#include "engine/bits.h"
#include "engine/pair_index.h"

#include <cassert>
#include <vector>

namespace tavrin {

// The network a generator is building, as closure and cover rows over activities 0..n-1.
// Rows use the reversed mapping: activity a sits at position n-1-a, so the set-bit walk visits
// members in increasing activity number. Rows 0..n exist; row n is a spare row from which the
// layered construction starts its top level.
//   succ(a)  = S(a): activities a precedes (successor closure)
//   pred(a)  = P(a): activities preceding a (predecessor closure)
//   cover(a) = C(a): covering pairs (a, b) in the indicator generator, listed marks in the
//              order-strength generator
// The cover list holds pair numbers; its capacity is P (every pair at most once).
class WorkNetwork {
public:
    explicit WorkNetwork(int activityCount);

    int activityCount() const { return m_n; }
    int rowWords() const { return m_words; }

    Word* succ(int a) { return &m_succ[rowOffset(a)]; }
    Word* pred(int a) { return &m_pred[rowOffset(a)]; }
    Word* cover(int a) { return &m_cover[rowOffset(a)]; }
    const Word* succ(int a) const { return &m_succ[rowOffset(a)]; }
    const Word* pred(int a) const { return &m_pred[rowOffset(a)]; }
    const Word* cover(int a) const { return &m_cover[rowOffset(a)]; }

    // Reversed mapping of activity a.
    int position(int a) const { return m_n - 1 - a; }
    // Activity at a position of a reversed row.
    int activityAt(int position) const { return m_n - 1 - position; }

    bool contains(const Word* row, int a) const { return testBit(row, position(a)); }
    void insert(Word* row, int a) const { setBit(row, position(a)); }
    void erase(Word* row, int a) const { clearBit(row, position(a)); }

    // Visits the members of a reversed row in increasing activity number.
    template <class Visit> void forEachMember(const Word* row, Visit&& visit) const {
        forEachSetBit(row, m_words, [&](int p) { visit(m_n - 1 - p); });
    }

    // Cover list: pair numbers, length coverLength().
    int* coverList() { return m_coverList.data(); }
    const int* coverList() const { return m_coverList.data(); }
    int coverLength() const { return m_coverLength; }
    void setCoverLength(int length) {
        assert(length >= 0 && static_cast<std::size_t>(length) <= m_coverList.size());
        m_coverLength = length;
    }
    void appendCover(int pair) {
        assert(static_cast<std::size_t>(m_coverLength) < m_coverList.size());
        m_coverList[static_cast<std::size_t>(m_coverLength++)] = pair;
    }

    // Makes the chain 0 -> 1 -> ... -> n-1: S(a) = {a+1..n-1}, P(a) = {0..a-1}, C(a) = {a+1},
    // the cover list (n-2,n-1), ..., (0,1). Row n is not touched.
    void serialReset(const PairIndex& pairs);

    // Every activity 0..n-1 set, bits beyond n-1 clear.
    void fillAll(Word* row) const;
    void clear(Word* row) const;
    void copy(Word* to, const Word* from) const;

private:
    std::size_t rowOffset(int a) const {
        assert(a >= 0 && a <= m_n);
        return static_cast<std::size_t>(a) * static_cast<std::size_t>(m_words);
    }

    int m_n;
    int m_words;
    std::vector<Word> m_succ;
    std::vector<Word> m_pred;
    std::vector<Word> m_cover;
    std::vector<int> m_coverList;
    int m_coverLength = 0;
};

} // namespace tavrin
