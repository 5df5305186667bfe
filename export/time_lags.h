#pragma once

#include "engine/random_source.h"
#include "export/instance_class.h"
#include "formats/instance.h"

#include <cstdint>
#include <vector>

namespace tavrin {

// Turns the precedences of out (a completed single-mode instance) into time lags: each arc gets
// the minimal start-to-start lag of the predecessor's duration (0 from the dummy start). Of the
// arcs between activities, trunc(arcs * share) drawn at random also get a maximal lag, written
// as a backward arc with the negative lag. A maximal lag is the distance of the two starts in
// the reference schedule (tight; at least the longest path between them) plus
// trunc((1 - tightness) * the sum of the durations). The reference schedule meets every lag and
// every capacity, so the instance has a schedule by construction; it is left in reference, and
// the returned longest-path check confirms the temporal part.
formats::Feasibility addTimeLags(const TimeLagSettings& settings, RandomSource& random,
                                 formats::Instance& out, std::vector<std::int64_t>& reference);

// The serial schedule of a single-mode instance whose successors come later in the job order:
// each job in turn at the earliest time its predecessors have finished and the capacities allow.
// Throws std::invalid_argument for a demand above its availability.
std::vector<std::int64_t> referenceSchedule(const formats::Instance& instance);

// The share of arcs between activities that carry a maximal lag, and the mean tightness of those
// lags: 1 - (maximal lag - longest path of minimal lags between the two) / sum of the durations,
// clamped to 0..1. Generated lags are tight against the reference schedule, whose distances are
// at least the longest paths: their measured tightness is at most the one asked for.
struct LagMeasures {
    double maxLagShare = 0.0;
    double tightness = 0.0;
};
LagMeasures measureLags(const formats::Instance& instance);

} // namespace tavrin
