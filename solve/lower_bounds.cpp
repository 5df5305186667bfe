#include "solve/lower_bounds.h"

#include "solve/heuristic.h"
#include "solve/time_windows.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tavrin::solve {

int energyBound(const Project& project) {
    std::int64_t best = 0;
    for (int k = 0; k < project.resourceCount; ++k) {
        std::int64_t work = 0;
        int firstHead = std::numeric_limits<int>::max();
        int shortestTail = std::numeric_limits<int>::max();
        for (int j = 0; j < project.jobCount; ++j) {
            if (project.need(j, k) > 0 && project.duration[j] > 0) {
                work += std::int64_t{project.need(j, k)} * project.duration[j];
                firstHead = std::min(firstHead, project.head[j]);
                shortestTail = std::min(shortestTail, project.tail[j]);
            }
        }
        if (work == 0 || project.capacity[k] == 0) {
            continue;
        }
        const std::int64_t span = (work + project.capacity[k] - 1) / project.capacity[k];
        best = std::max(best, firstHead + span + shortestTail);
    }
    return static_cast<int>(std::min<std::int64_t>(best, std::numeric_limits<int>::max()));
}

int destructiveBound(const Project& project, int from, int limit) {
    TimeWindows windows(project);
    int horizon = from;
    while (horizon < limit && !windows.propagate(horizon)) {
        ++horizon;
    }
    return horizon;
}

int bestLowerBound(const formats::Instance& instance) {
    // Enough schedules for a cap close to the optimum; more would only slow measuring down.
    constexpr int kCapSchedules = 50;
    if (totalDuration(instance) > kMaxTotalDuration) {
        return 0;
    }
    const Project project = makeProject(instance);
    const int bound = std::max(project.criticalPath, energyBound(project));
    if (overloadedResource(project) >= 0 || !fitsTimeProfile(project)) {
        return bound;
    }
    const HeuristicResult cap = runHeuristic(project, bound, kCapSchedules, 0);
    return destructiveBound(project, bound, cap.makespan);
}

} // namespace tavrin::solve
