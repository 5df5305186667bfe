#pragma once

#include "solve/project.h"

namespace tavrin::solve {

// The energy bound: for each resource, the work it must do divided by its capacity, rounded up,
// plus the earliest head and the shortest tail of the jobs that use it (they all run between
// those). 0 for an instance without resources. Expects no job to exceed a capacity.
int energyBound(const Project& project);

// The destructive bound: the least makespan T >= from (and below limit) that propagation over
// time windows does not refute, or limit when every T below it is refuted. The propagation
// combines precedences, the compulsory parts of jobs on each resource, and the order forced on
// pairs of jobs that cannot overlap. Expects no job to exceed a capacity.
int destructiveBound(const Project& project, int from, int limit);

// The best of the bounds above, the destructive one capped by the makespan of a few heuristic
// schedules; the critical path and energy bounds alone when a job exceeds a capacity or the
// durations are too long for time windows. Throws std::invalid_argument as makeProject does.
int bestLowerBound(const formats::Instance& instance);

} // namespace tavrin::solve
