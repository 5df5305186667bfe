#pragma once

#include "engine/random_source.h"
#include "engine/run_settings.h"
#include "export/project_instance.h"

#include <cstdint>

namespace tavrin {

// The availability of every resource under RC.
inline constexpr int kConstrainedAvailability = kMaxDemand;

// RC: the demand units to hand out for a resource, trunc(users * rc * availability + 0.01) in
// extended precision, multiplied in that order; 0.01 is the double nearest it.
std::int32_t constrainednessTotal(std::int32_t users, double resourceConstrainedness,
                                  std::int32_t availability);

// RS: trunc((peak - largest) * rs + largest) in extended precision, no tolerance.
std::int32_t strengthAvailability(std::int32_t peak, std::int32_t largestDemand,
                                  double resourceStrength);

// RC: availability 10 everywhere; for resources K-1 down to 0 the requiring activities start at
// demand 1 and get the remaining units one at a time, at random, up to 10 each.
void spreadByConstrainedness(ProjectInstance& instance, double resourceConstrainedness,
                             RandomSource& random);

// Earliest finish of every activity and the schedule length, from durations and successors.
void computeEarliestFinish(ProjectInstance& instance);

// RS: demands 1..10 at random (activities n-1 down to 0, resources K-1 down to 0), the peak of the
// earliest-start schedule's profile, and availabilities between largest demand and peak.
void drawByStrength(ProjectInstance& instance, double resourceStrength, RandomSource& random);

// The step of the demand measure the settings choose.
void setDemandsAndAvailabilities(ProjectInstance& instance, const RunSettings& settings,
                                 RandomSource& random);

} // namespace tavrin
