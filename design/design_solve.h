#pragma once

#include "design/design_file.h"
#include "design/design_reader.h"
#include "formats/instance.h"
#include "solve/solve_instance.h"

#include <atomic>
#include <string>
#include <vector>

namespace tavrin::design {

// Reads the [solve] table. Refuses unknown keys, values out of range, a budget without any
// limit, min_fails above fail_limit, and filters in a paired design (each cell would keep other
// networks than its pairs).
DesignSolve readSolveTable(const Reader& reader, const toml::node& node, bool paired);

// The columns a solved design adds to its index, before sha256.
std::vector<std::string> solveColumns(const DesignSolve& solve);

// An instance solved as the design asks, with the fields of its index columns.
struct SolvedInstance {
    solve::SolveResult result;
    std::vector<std::string> fields; // lb0, lb, ub, status, gap, fails

    // Whether the instance passes the design's tests of hardness.
    bool passes(const DesignSolve& solve) const;
};

// Solves with the design's budget, the same as the solve command with that budget. A raised
// stop ends the search early. Throws std::logic_error for a schedule that breaks a constraint.
SolvedInstance solveForDesign(const formats::Instance& instance, const DesignSolve& solve,
                              const std::atomic<bool>* stop);

} // namespace tavrin::design
