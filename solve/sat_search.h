#pragma once

#include "solve/cp_search.h"

#include <cstdint>

namespace tavrin::solve {

// The horizons from lowerBound up to upperBound - 1 decided in turn by one incremental SAT
// solver (CaDiCaL) over a time-indexed encoding of the jobs' windows for upperBound - 1: what it
// learns refuting one horizon carries over to the next. spentFails counts towards the fail
// limit, and the solver's conflicts (counted by the clauses it learns) are added to it. Nothing
// is searched when the encoding would be too large; the outcome then only repeats lowerBound.
SearchOutcome satSearch(const Project& project, int lowerBound, int upperBound,
                        const SearchLimits& limits, std::int64_t spentFails);

} // namespace tavrin::solve
