#pragma once

#include "solve/solve_instance.h"

#include <string>

namespace tavrin::solve {

// gap = (ub - lb) / lb with 4 decimals, "0" when ub = lb; empty without a schedule or when lb
// is not positive. The solve command's CSV and a solved design's index write it so.
std::string gapText(const SolveResult& result);

// The schedule file of a solved instance: {"file", "sha256", "makespan", "status", "lb",
// "start"}, makespan null without a schedule, start in the file's job order.
std::string scheduleJson(const std::string& file, const std::string& sha256,
                         const SolveResult& result);

} // namespace tavrin::solve
