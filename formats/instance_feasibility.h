#pragma once

#include "formats/instance.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace tavrin::formats {

// Whether an instance admits what it asks for; Unknown when a check ran out of its budget.
enum class Feasibility { Feasible, Infeasible, Unknown };

// "feasible", "infeasible", "unknown".
std::string_view feasibilityName(Feasibility feasibility);

// Whether one mode per job meets every nonrenewable availability, decided exactly by a dynamic
// program over the jobs: for each usage of the first nonrenewable resource it keeps the
// Pareto-minimal usages of the others (one number with two resources). Unknown only when those
// fronts outgrow a budget of a few million entries. Feasible without nonrenewable resources.
Feasibility nonrenewableFeasibility(const Instance& instance);

// Whether the start times can meet every arc (start-to-start lags, or finish-to-start without
// lags): longest paths from the dummy start by label correction, Infeasible on a positive cycle.
// On Feasible, earliest holds the earliest start of every job.
Feasibility temporalFeasibility(const Instance& instance, std::vector<std::int64_t>& earliest);

// Whether the starts (one per job) meet every arc of a single-mode instance (its lags, or
// finish-to-start without them), start no job before 0 and keep every renewable capacity.
bool meetsLagsAndCapacities(const Instance& instance, const std::vector<std::int64_t>& starts);

// The peak total demand per renewable resource of the earliest-start schedule (finish-to-start
// precedences, the durations of single-mode code: the first modes), without a positive cycle.
std::vector<std::int64_t> earliestStartPeaks(const Instance& instance);

// Both checks that apply to the instance.
Feasibility instanceFeasibility(const Instance& instance);

} // namespace tavrin::formats
