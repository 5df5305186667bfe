#include "export/export_pool.h"

#include <stdexcept>

namespace tavrin {
namespace {

bool inside(std::int32_t value, std::int32_t low, std::int32_t high) {
    return low <= value && value <= high;
}

bool insideBounds(const IndicatorRecord& record, const std::array<std::int32_t, 8>& bounds) {
    return inside(record.i3, bounds[0], bounds[1]) && inside(record.i4, bounds[2], bounds[3])
           && inside(record.i5, bounds[4], bounds[5]) && inside(record.i6, bounds[6], bounds[7]);
}

} // namespace

template <class RecordOf>
void ExportPool::selectTavrin2(int slotCount, RecordOf recordOf,
                               const std::array<std::int32_t, 8>& bounds) {
    clear();
    // Counted as a real, one at a time, as the result page shows it.
    double selected = 0.0;
    for (int slot = 0; slot < slotCount; ++slot) {
        if (insideBounds(recordOf(slot), bounds)) {
            selected += 1.0;
            m_slots.push_back(slot);
        }
    }
    m_poolCount = static_cast<int>(selected);
}

void ExportPool::rebuildTavrin2(const NetworkStore& store,
                                const std::array<std::int32_t, 8>& bounds) {
    selectTavrin2(
        store.count(), [&](int slot) -> const IndicatorRecord& { return store.indicators(slot); },
        bounds);
}

void ExportPool::rebuildTavrin2(std::span<const IndicatorRecord> records,
                                const std::array<std::int32_t, 8>& bounds) {
    selectTavrin2(
        static_cast<int>(records.size()),
        [&](int slot) -> const IndicatorRecord& { return records[static_cast<std::size_t>(slot)]; },
        bounds);
}

void ExportPool::rebuildTavrin1(const std::vector<std::int32_t>& storedCi, std::int32_t low,
                                std::int32_t high) {
    clear();
    for (std::size_t slot = 0; slot < storedCi.size(); ++slot) {
        if (inside(storedCi[slot], low, high)) {
            m_slots.push_back(static_cast<int>(slot));
        }
    }
    m_poolCount = length();
}

void ExportPool::clear() {
    m_slots.clear(); // keeps the capacity: rebuilds after the first allocate nothing
    m_poolCount = 0;
}

int ExportPool::draw(RandomSource& random) {
    if (m_slots.empty()) {
        throw std::invalid_argument("No network left in the export pool to draw from");
    }
    const auto r = static_cast<std::size_t>(random.below(length()));
    const int slot = m_slots[r];
    m_slots[r] = m_slots.back();
    m_slots.pop_back();
    return slot;
}

} // namespace tavrin
