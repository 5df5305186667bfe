#pragma once

#include "formats/instance.h"

#include <cstdint>

namespace tavrin::solve::testing {

// A random instance of `jobs` real jobs (plus the two dummies) on `resources` resources, with
// some zero durations and demands, tight capacities and about `arcPercent` % of forward arcs.
formats::Instance randomInstance(std::uint32_t seed, int jobs, int resources, int arcPercent);

// The least makespan, by decoding every precedence-feasible job order with the serial scheme
// (the schedules it makes include an optimal one). Only for a handful of jobs.
int bruteForceOptimum(const formats::Instance& instance);

} // namespace tavrin::solve::testing
