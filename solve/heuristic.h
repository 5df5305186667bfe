#pragma once

#include "solve/project.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace tavrin::solve {

struct HeuristicResult {
    std::vector<int> start;
    int makespan = 0;
    std::string method; // the scheme, the rule or sample, and whether justification helped
    int schedules = 0;  // schedules built, justification passes included
};

// The priority rules tried first; each value is smaller for a job to schedule sooner.
enum class PriorityRule {
    LatestFinish,
    LatestStart,
    MostTotalSuccessors,
    RankPositionalWeight,
    MinimumSlack
};
std::vector<int> priorityValues(const Project& project, PriorityRule rule);

// The best schedule of the priority rules in both schemes, then regret-biased random sampling,
// a genetic search and a local search around the best, each schedule improved by
// forward-backward justification, until budget schedules are built, one reaches lowerBound, or
// stop is raised. Deterministic for a project, bound, budget and seed.
// Expects a project whose jobs each fit their resources.
HeuristicResult runHeuristic(const Project& project, int lowerBound, int budget, std::uint64_t seed,
                             const std::atomic<bool>* stop = nullptr);

} // namespace tavrin::solve
