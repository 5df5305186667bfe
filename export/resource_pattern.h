#pragma once

#include "engine/random_source.h"
#include "engine/run_settings.h"
#include "export/project_instance.h"

namespace tavrin {

// Clears the requirement masks, demands, users, peaks and largest demands.
void resetResourceData(ProjectInstance& instance);

// RF: trunc(n*K * resourceFactor) (extended precision, no tolerance) of the n*K
// (activity, resource) pairs, drawn without replacement. Requires 0 <= resourceFactor <= 1.
void drawByResourceFactor(ProjectInstance& instance, double resourceFactor, RandomSource& random);

// RU: resourceUse distinct resources for every activity, activities n-1 down to 0. Requires
// 0 <= resourceUse <= K.
void drawByResourceUse(ProjectInstance& instance, int resourceUse, RandomSource& random);

// The pattern of the request measure the settings choose, after a reset.
void buildRequirementPattern(ProjectInstance& instance, const RunSettings& settings,
                             RandomSource& random);

} // namespace tavrin
