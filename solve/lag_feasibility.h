#pragma once

#include "formats/instance.h"
#include "formats/instance_feasibility.h"

#include <cstdint>
#include <vector>

namespace tavrin::solve {

// Whether an instance with time lags has a schedule that meets every lag and every renewable
// capacity, searched with a constraint model (Gecode): a start per job within a horizon, one
// linear constraint per arc and a cumulative constraint per resource, depth first with the
// earliest start first. Feasible (with the starts, checked against the instance), Infeasible
// when the search is exhausted (a proof, the horizon being a bound on some schedule's length
// when one exists), Unknown when nodeLimit nodes are spent. Single-mode instances only.
formats::Feasibility lagScheduleFeasibility(const formats::Instance& instance,
                                            std::int64_t nodeLimit,
                                            std::vector<std::int64_t>& starts);

} // namespace tavrin::solve
