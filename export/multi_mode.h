#pragma once

#include "engine/random_source.h"
#include "export/instance_class.h"
#include "export/project_instance.h"
#include "formats/instance.h"

namespace tavrin {

// Gives every activity of out its modes and sets the availabilities. out holds the precedences of
// the completed instance (fillFormatInstance); its renewable requirement pattern comes from
// project. Each activity requiring any resource gets M modes with distinct durations of
// 1..kMaxDuration, shortest first, and demands of 1..kMaxDemand that never grow with the
// duration, strictly falling on one required resource drawn at random: no mode is dominated.
// Renewable RS places each availability between the largest single minimal demand and the peak
// of the earliest-start schedule in the first (shortest) modes; nonrenewable RS places it
// between the sums of the minimal and of the maximal demands. Modes no schedule can use (a
// renewable demand above its availability, a nonrenewable one that leaves too little for the
// other activities at their minimum) are dropped. The last mode of every activity is its least
// demanding on every resource, so all last modes together always fit: the instance has a
// schedule by construction, and the returned exact check confirms it.
formats::Feasibility completeMultiMode(const ProjectInstance& project, double renewableStrength,
                                       const MultiModeSettings& settings, RandomSource& random,
                                       formats::Instance& out);

} // namespace tavrin
