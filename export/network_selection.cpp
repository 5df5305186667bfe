#include "export/network_selection.h"

#include <algorithm>

namespace tavrin {

ExportPool selectStoredNetworks(const RunSettings& settings, const RunResult& result,
                                const std::optional<std::array<std::int32_t, 2>>& ciRange,
                                const std::array<std::int32_t, 8>& indicatorBounds) {
    ExportPool pool;
    if (settings.variant == GeneratorVariant::Tavrin2) {
        pool.rebuildTavrin2(*result.store, indicatorBounds);
        return pool;
    }
    std::int32_t low = 9999;
    std::int32_t high = 0;
    for (std::int32_t ci : result.storedCi) {
        low = std::min(low, ci);
        high = std::max(high, ci);
    }
    if (ciRange) {
        low = (*ciRange)[0];
        high = (*ciRange)[1];
    }
    pool.rebuildTavrin1(result.storedCi, low, high);
    return pool;
}

} // namespace tavrin
