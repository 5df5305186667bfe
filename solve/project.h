#pragma once

#include "formats/instance.h"

#include <cstdint>
#include <vector>

namespace tavrin::solve {

// An instance laid out for the bounds, the heuristics and the constraint model: flat demands,
// both arc directions, a topological order, and the longest paths from the start (heads) and
// to the end (tails, counted from a job's finish).
struct Project {
    int jobCount = 0;
    int resourceCount = 0;
    std::vector<int> duration;
    std::vector<int> demand; // demand[j * resourceCount + k]
    std::vector<int> capacity;
    std::vector<std::vector<int>> successors;
    std::vector<std::vector<int>> predecessors;
    std::vector<int> order; // topological
    std::vector<int> head;  // earliest start
    std::vector<int> tail;  // longest path from the finish of a job to the end of the project

    int need(int job, int resource) const { return demand[job * resourceCount + resource]; }
    int criticalPath = 0; // the longest path: max over jobs of head + duration
    // Whether job i and job j can never run at the same time on account of resources.
    bool resourceConflict(int i, int j) const;
};

// Start times are ints: a project whose durations add up to more is not laid out.
inline constexpr std::int64_t kMaxTotalDuration = (std::int64_t{1} << 30) - 1;

// The sum of the durations, without overflow.
std::int64_t totalDuration(const formats::Instance& instance);

// Whether the schedule generation schemes, which keep a counter per time unit and resource over
// the sum of the durations, stay within memory for this project.
bool fitsTimeProfile(const Project& project);

// Throws std::invalid_argument for an instance with no jobs, negative values, arcs out of range,
// a cycle, or durations adding up to more than kMaxTotalDuration.
Project makeProject(const formats::Instance& instance);

// The first resource whose capacity some job's demand exceeds, or -1 when every job fits.
int overloadedResource(const Project& project);

} // namespace tavrin::solve
