#include "solve/project.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace tavrin::solve {

namespace {

void checkJob(const formats::Job& job, int jobs, int resources, std::size_t index) {
    const std::string name = "job " + std::to_string(index + 1);
    if (job.duration < 0) {
        throw std::invalid_argument(name + " has a negative duration");
    }
    if (static_cast<int>(job.demands.size()) != resources) {
        throw std::invalid_argument(name + " has " + std::to_string(job.demands.size())
                                    + " demands for " + std::to_string(resources) + " resources");
    }
    for (std::int32_t need : job.demands) {
        if (need < 0) {
            throw std::invalid_argument(name + " has a negative demand");
        }
    }
    for (std::int32_t next : job.successors) {
        if (next < 0 || next >= jobs) {
            throw std::invalid_argument(name + " has a successor out of range");
        }
    }
}

std::vector<int> topologicalOrder(const Project& project) {
    std::vector<int> missing(static_cast<std::size_t>(project.jobCount));
    std::vector<int> order;
    for (int j = 0; j < project.jobCount; ++j) {
        missing[j] = static_cast<int>(project.predecessors[j].size());
        if (missing[j] == 0) {
            order.push_back(j);
        }
    }
    for (std::size_t at = 0; at < order.size(); ++at) {
        for (int next : project.successors[order[at]]) {
            if (--missing[next] == 0) {
                order.push_back(next);
            }
        }
    }
    if (static_cast<int>(order.size()) != project.jobCount) {
        throw std::invalid_argument("the precedences form a cycle");
    }
    return order;
}

void computePaths(Project& project) {
    project.head.assign(project.jobCount, 0);
    project.tail.assign(project.jobCount, 0);
    for (int j : project.order) {
        for (int next : project.successors[j]) {
            project.head[next] =
                std::max(project.head[next], project.head[j] + project.duration[j]);
        }
    }
    for (auto it = project.order.rbegin(); it != project.order.rend(); ++it) {
        for (int next : project.successors[*it]) {
            project.tail[*it] =
                std::max(project.tail[*it], project.tail[next] + project.duration[next]);
        }
    }
    for (int j = 0; j < project.jobCount; ++j) {
        project.criticalPath =
            std::max(project.criticalPath, project.head[j] + project.duration[j]);
    }
}

} // namespace

bool Project::resourceConflict(int i, int j) const {
    for (int k = 0; k < resourceCount; ++k) {
        if (need(i, k) + need(j, k) > capacity[k]) {
            return true;
        }
    }
    return false;
}

std::int64_t totalDuration(const formats::Instance& instance) {
    std::int64_t total = 0;
    for (const formats::Job& job : instance.jobs) {
        total += job.duration;
    }
    return total;
}

Project makeProject(const formats::Instance& instance) {
    if (totalDuration(instance) > kMaxTotalDuration) {
        throw std::invalid_argument("the durations add up to more than "
                                    + std::to_string(kMaxTotalDuration));
    }
    Project project;
    project.jobCount = instance.jobCount();
    project.resourceCount = instance.resourceCount();
    if (project.jobCount == 0) {
        throw std::invalid_argument("the instance has no jobs");
    }
    // Their schedules need a mode per job or a lag graph: other models, not this one.
    if (instance.multiMode() || instance.hasTimeLags()) {
        throw std::invalid_argument(
            std::string("solving ")
            + (instance.multiMode() ? "multi-mode instances" : "instances with time lags")
            + " is not supported; only single-mode instances are");
    }
    for (std::int32_t available : instance.availability) {
        if (available < 0) {
            throw std::invalid_argument("a resource has a negative availability");
        }
        project.capacity.push_back(available);
    }
    project.successors.resize(project.jobCount);
    project.predecessors.resize(project.jobCount);
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        const formats::Job& job = instance.jobs[j];
        checkJob(job, project.jobCount, project.resourceCount, j);
        project.duration.push_back(job.duration);
        project.demand.insert(project.demand.end(), job.demands.begin(), job.demands.end());
        for (std::int32_t next : job.successors) {
            project.successors[j].push_back(next);
            project.predecessors[next].push_back(static_cast<int>(j));
        }
    }
    project.order = topologicalOrder(project);
    computePaths(project);
    return project;
}

bool fitsTimeProfile(const Project& project) {
    constexpr std::int64_t kMaxProfileCells = std::int64_t{1} << 20;
    std::int64_t total = 0;
    for (int d : project.duration) {
        total += d;
    }
    return (total + 1) * std::max(project.resourceCount, 1) <= kMaxProfileCells;
}

int overloadedResource(const Project& project) {
    for (int j = 0; j < project.jobCount; ++j) {
        for (int k = 0; k < project.resourceCount; ++k) {
            if (project.need(j, k) > project.capacity[k]) {
                return k;
            }
        }
    }
    return -1;
}

} // namespace tavrin::solve
