#pragma once

#include "engine/bits.h"
#include "engine/indicators.h"
#include "engine/work_network.h"

#include <cstdint>
#include <vector>

namespace tavrin {

// The kept networks of a run, each in canonical form: the transitive closure under the
// numbering a bounded search over topological orders finds smallest by signature, as an
// ArcSet (bit PairIndex(i, j) set when i precedes j). Duplicates, renumbered copies included,
// are found through a 16-bit hash with a presence bitmap and bucket chains.
// Rows grow as networks are kept (no capacity-sized preallocation); running out of memory
// throws std::bad_alloc out of offer().
class NetworkStore {
public:
    NetworkStore(int activityCount, int capacity);

    // Run-start initialisation: empties the store.
    void reset();

    // Brings the network (its S and P closure rows) into canonical form and keeps it when new.
    // Returns true when kept (then in slot count()-1). Callers never offer at capacity.
    bool offer(const WorkNetwork& network);

    int count() const { return m_count; }
    int capacity() const { return m_capacity; }
    int activityCount() const { return m_n; }
    int arcWords() const { return m_arcWords; }
    const Word* row(int slot) const;

    void recordIndicators(int slot, const IndicatorRecord& record);
    const IndicatorRecord& indicators(int slot) const;

    // Complete numberings the last offer's search evaluated (at most 1000).
    int lastLeafCount() const;

private:
    int m_n;
    int m_capacity;
    int m_arcWords;
    int m_count = 0;
    // Implementation state follows (search tables, weights, rows, buckets).
};

} // namespace tavrin
