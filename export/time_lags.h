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
// the earliest-start schedule (tight, at least the longest path between them) plus
// trunc((1 - tightness) * the sum of the durations): that schedule meets every lag, so the
// instance is temporally feasible by construction; the returned longest-path check confirms it.
formats::Feasibility addTimeLags(const TimeLagSettings& settings, RandomSource& random,
                                 formats::Instance& out);

// The share of arcs between activities that carry a maximal lag, and the mean tightness of those
// lags: 1 - (maximal lag - tight value) / sum of the durations, clamped to 0..1, where the tight
// value is the distance of the starts in the earliest-start schedule (0 without one).
struct LagMeasures {
    double maxLagShare = 0.0;
    double tightness = 0.0;
};
LagMeasures measureLags(const formats::Instance& instance);

} // namespace tavrin
