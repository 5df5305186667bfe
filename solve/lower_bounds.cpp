#include "solve/lower_bounds.h"

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

} // namespace tavrin::solve
