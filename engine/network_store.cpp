#include "engine/network_store.h"

#include "engine/run_settings.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace tavrin {

namespace {

// About 1 MiB of rows per chunk, at least one row.
constexpr int kChunkWords = 262144;

int arcWordsFor(int activityCount) {
    const int pairs = activityCount * (activityCount - 1) / 2;
    return pairs <= 1 ? 1 : (pairs - 1) / 32 + 1;
}

int checkedActivityCount(int activityCount, int capacity) {
    if (activityCount < 1 || activityCount > kMaxActivities) {
        throw std::invalid_argument("NetworkStore: activity count " + std::to_string(activityCount)
                                    + " is outside 1.." + std::to_string(kMaxActivities));
    }
    if (capacity < 0) {
        throw std::invalid_argument("NetworkStore: capacity " + std::to_string(capacity)
                                    + " is negative");
    }
    return activityCount;
}

// Geometric growth, so that the push_back after it cannot throw.
template <class T> void reserveOneMore(std::vector<T>& table) {
    if (table.size() == table.capacity()) {
        table.reserve(std::max<std::size_t>(64, 2 * table.capacity()));
    }
}

} // namespace

NetworkStore::NetworkStore(int activityCount, int capacity)
    : m_n(checkedActivityCount(activityCount, capacity)), m_capacity(capacity),
      m_arcWords(arcWordsFor(activityCount)), m_search(activityCount),
      m_canonical(static_cast<std::size_t>(m_arcWords)),
      m_chunkRows(std::max(1, kChunkWords / m_arcWords)) {
    reset();
}

void NetworkStore::reset() {
    m_count = 0;
    m_chains.reset();
    m_records.clear();
}

int NetworkStore::bucketOf(const Word* arcSet, int words) {
    Word h = 0;
    for (int w = 0; w < words; ++w) {
        h ^= arcSet[w];
    }
    return static_cast<int>((h ^ (h >> 16)) & 0xFFFFu);
}

bool NetworkStore::offer(const WorkNetwork& network) {
    if (network.activityCount() != m_n) {
        throw std::invalid_argument("NetworkStore: offered network has "
                                    + std::to_string(network.activityCount())
                                    + " activities, the store holds " + std::to_string(m_n));
    }
    if (m_count >= m_capacity) {
        throw std::length_error("NetworkStore: offer at capacity " + std::to_string(m_capacity));
    }
    m_search.run(network);
    Word* form = m_canonical.data();
    std::fill(form, form + m_arcWords, Word{0});
    m_search.writeCanonicalForm(form);

    const int bucket = bucketOf(form, m_arcWords);
    for (int s = m_chains.head(bucket); s != BucketChains::kEnd; s = m_chains.next(s)) {
        if (rowsEqual(rowStorage(s), form, m_arcWords)) {
            return false;
        }
    }

    // Everything that can throw happens before the store changes.
    if (static_cast<std::int64_t>(m_count)
        == static_cast<std::int64_t>(m_chunks.size()) * m_chunkRows) {
        growRows();
    }
    m_chains.reserveOne();
    reserveOneMore(m_records);

    std::copy(form, form + m_arcWords, rowStorage(m_count));
    m_chains.add(bucket);
    m_records.push_back(IndicatorRecord{});
    ++m_count;
    return true;
}

void NetworkStore::growRows() {
    m_chunks.reserve(m_chunks.size() + 1);
    m_chunks.push_back(std::make_unique_for_overwrite<Word[]>(
        static_cast<std::size_t>(m_chunkRows) * static_cast<std::size_t>(m_arcWords)));
}

Word* NetworkStore::rowStorage(int slot) const {
    const auto chunk = static_cast<std::size_t>(slot / m_chunkRows);
    const auto offset = static_cast<std::size_t>(slot % m_chunkRows);
    return m_chunks[chunk].get() + offset * static_cast<std::size_t>(m_arcWords);
}

void NetworkStore::checkSlot(int slot) const {
    if (slot < 0 || slot >= m_count) {
        throw std::out_of_range("NetworkStore: slot " + std::to_string(slot) + " is outside 0.."
                                + std::to_string(m_count - 1));
    }
}

const Word* NetworkStore::row(int slot) const {
    checkSlot(slot);
    return rowStorage(slot);
}

void NetworkStore::recordIndicators(int slot, const IndicatorRecord& record) {
    checkSlot(slot);
    m_records[static_cast<std::size_t>(slot)] = record;
}

const IndicatorRecord& NetworkStore::indicators(int slot) const {
    checkSlot(slot);
    return m_records[static_cast<std::size_t>(slot)];
}

} // namespace tavrin
