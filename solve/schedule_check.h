#pragma once

#include "solve/solve_instance.h"

#include <string>
#include <vector>

namespace tavrin::solve {

// The latest finish of the jobs of start (0 for none).
int makespanOf(const formats::Instance& instance, const std::vector<int>& start);

} // namespace tavrin::solve
