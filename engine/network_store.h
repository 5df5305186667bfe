#pragma once

#include "engine/bits.h"
#include "engine/bucket_chains.h"
#include "engine/canonical_search.h"
#include "engine/indicators.h"
#include "engine/work_network.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tavrin {

// The kept networks of a run, each in canonical form: the transitive closure under the
// numbering a bounded search over topological orders finds smallest by signature, as an
// ArcSet (bit PairIndex(i, j) set when i precedes j). Duplicates, renumbered copies included,
// are found through a 16-bit hash with a presence bitmap and bucket chains.
// Rows grow as networks are kept (no capacity-sized preallocation); running out of memory
// throws std::bad_alloc out of offer() and leaves the store as it was.
class NetworkStore {
public:
    // Throws std::invalid_argument unless 1 <= activityCount <= kMaxActivities and
    // capacity >= 0.
    NetworkStore(int activityCount, int capacity);

    // Run-start initialisation: empties the store.
    void reset();

    // Brings the network (its S and P closure rows) into canonical form and keeps it when new.
    // Returns true when kept (then in slot count()-1). Throws std::length_error when the store
    // is already at capacity.
    bool offer(const WorkNetwork& network);

    int count() const { return m_count; }
    int capacity() const { return m_capacity; }
    int activityCount() const { return m_n; }
    int arcWords() const { return m_arcWords; }
    // The canonical ArcSet of a slot, 0 <= slot < count(); arcWords() words.
    const Word* row(int slot) const;

    // Slots outside 0..count()-1 throw std::out_of_range. A slot never recorded reads as zeros.
    void recordIndicators(int slot, const IndicatorRecord& record);
    const IndicatorRecord& indicators(int slot) const;

    // Complete numberings the last offer's search evaluated (at most 1000).
    int lastLeafCount() const { return m_search.leafCount(); }

    // The search of the last offer, with its numbering.
    const CanonicalSearch& lastSearch() const { return m_search; }

    // 16-bit bucket of an ArcSet: all words folded by XOR, then the halves.
    static int bucketOf(const Word* arcSet, int words);

private:
    Word* rowStorage(int slot) const;
    void growRows();
    void checkSlot(int slot) const;

    int m_n;
    int m_capacity;
    int m_arcWords;
    int m_count = 0;
    CanonicalSearch m_search;
    std::vector<Word> m_canonical; // K, the form being tested

    // Rows live in chunks of m_chunkRows so that growing never moves a kept row.
    int m_chunkRows;
    std::vector<std::unique_ptr<Word[]>> m_chunks;
    BucketChains m_chains;
    std::vector<IndicatorRecord> m_records;
};

} // namespace tavrin
