#pragma once

#include "formats/instance.h"
#include "measure/instance_measures.h"

#include <cstdint>
#include <vector>

namespace tavrin::measure {

// The largest total demand per resource over the time units of the schedule in which job j
// runs from finish[j] - duration to finish[j]. A job of zero duration occupies no time unit.
std::vector<std::int64_t> peakDemands(const formats::Instance& instance,
                                      const std::vector<std::int64_t>& finish);

// Fills RF, RU, RC, RS and LB of measures from the instance and the earliest finish times;
// needs measures.criticalPathLength. Throws std::invalid_argument for a resource of
// availability 0 that an activity demands, or work too large for 64 bits.
void measureResources(const formats::Instance& instance, const std::vector<std::int64_t>& finish,
                      InstanceMeasures& measures);

} // namespace tavrin::measure
