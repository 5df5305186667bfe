#pragma once

#include "engine/run_driver.h"
#include "engine/run_settings.h"
#include "export/export_pool.h"

#include <array>
#include <cstdint>
#include <optional>

namespace tavrin {

// The pool of a finished run, selected as the result page selects: Tavrin2 by the I3..I6 bounds
// (whole percentages), Tavrin1 by the CI range, which defaults to the run's lowest to highest CI.
ExportPool selectStoredNetworks(const RunSettings& settings, const RunResult& result,
                                const std::optional<std::array<std::int32_t, 2>>& ciRange,
                                const std::array<std::int32_t, 8>& indicatorBounds);

} // namespace tavrin
