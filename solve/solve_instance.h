#pragma once

#include "formats/instance.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::solve {

enum class SolveStatus { Optimal, Feasible, Infeasible, Unknown };

// "optimal", "feasible", "infeasible", "unknown".
std::string_view statusName(SolveStatus status);

struct SolveBudget {
    std::int64_t failLimit = 0;    // failures per instance, 0 = no limit
    double timeLimitSeconds = 0;   // wall clock per instance, 0 = no limit
    int heuristicSchedules = 1000; // schedules the heuristic may build
    std::uint64_t seed = 0;
};

struct SolveResult {
    int lb0 = 0;           // critical path
    int lb = 0;            // best sound lower bound (after search: proved bound)
    std::optional<int> ub; // makespan of `start`, when a schedule is known
    SolveStatus status = SolveStatus::Unknown;
    std::vector<int> start; // start time per job in the file's job order (dummies included);
                            // empty without a schedule
    std::int64_t fails = 0; // search effort spent
    double seconds = 0;     // wall clock used (the only non-deterministic field)
    std::string method;     // how the best schedule was found
};

// Deterministic for a given instance, budget (fail limit without time limit) and seed.
// stop (may be null) ends the search early, returning what is known. Throws
// std::invalid_argument for an instance the readers would refuse (a cycle, negative values),
// and std::logic_error if a schedule it found breaks a constraint (a fault of this library).
SolveResult solveInstance(const formats::Instance& instance, const SolveBudget& budget,
                          const std::atomic<bool>* stop = nullptr);

// Empty when start meets every precedence and every capacity, else the first violation in words.
std::string scheduleViolation(const formats::Instance& instance, const std::vector<int>& start);

} // namespace tavrin::solve
