#pragma once

#include "engine/network_store.h"
#include "engine/random_source.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tavrin {

// The store slots inside the current ranges, in increasing slot order, from which an export
// draws without replacement. PoolCount (poolCount()) is the number the last rebuild selected;
// drawing shortens the pool but leaves it alone.
class ExportPool {
public:
    // Tavrin2: slots whose I3..I6 lie inside the bounds (whole percentages, inclusive, in the
    // order I3 low, I3 high, I4 low, ..., I6 high).
    void rebuildTavrin2(const NetworkStore& store, const std::array<std::int32_t, 8>& bounds);
    // The same over the records of slots 0..records.size()-1.
    void rebuildTavrin2(std::span<const IndicatorRecord> records,
                        const std::array<std::int32_t, 8>& bounds);
    // Tavrin1: slots whose CI lies inside low..high (inclusive). storedCi has one entry a slot.
    void rebuildTavrin1(const std::vector<std::int32_t>& storedCi, std::int32_t low,
                        std::int32_t high);
    // Empty pool and a count of 0, as when a bound text does not convert.
    void clear();

    int poolCount() const { return m_poolCount; }
    int length() const { return static_cast<int>(m_slots.size()); }
    int slot(int index) const { return m_slots[static_cast<std::size_t>(index)]; }

    // r := rand() mod length; returns entry r and moves the last entry into its place.
    // Throws std::invalid_argument on an empty pool.
    int draw(RandomSource& random);

private:
    template <class RecordOf>
    void selectTavrin2(int slotCount, RecordOf recordOf, const std::array<std::int32_t, 8>& bounds);

    std::vector<int> m_slots;
    int m_poolCount = 0;
};

} // namespace tavrin
