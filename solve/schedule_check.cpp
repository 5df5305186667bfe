#include "solve/schedule_check.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace tavrin::solve {

namespace {

std::string jobName(std::size_t job) {
    return "job " + std::to_string(job + 1);
}

std::string precedenceViolation(const formats::Instance& instance, const std::vector<int>& start) {
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        if (start[j] < 0) {
            return jobName(j) + " starts before time 0";
        }
        const std::int64_t finish = std::int64_t{start[j]} + instance.jobs[j].duration;
        for (std::int32_t next : instance.jobs[j].successors) {
            if (next < 0 || next >= instance.jobCount()) {
                return jobName(j) + " has a successor out of range";
            }
            if (start[next] < finish) {
                return jobName(next) + " starts at " + std::to_string(start[next])
                       + " before its predecessor " + jobName(j) + " finishes at "
                       + std::to_string(finish);
            }
        }
    }
    return {};
}

// Sweeps the start and finish events of the jobs using the resource; usage only changes there.
std::string capacityViolation(const formats::Instance& instance, const std::vector<int>& start,
                              int resource) {
    std::map<std::int64_t, std::int64_t> change;
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        const formats::Job& job = instance.jobs[j];
        const std::int32_t need = job.demands[static_cast<std::size_t>(resource)];
        if (need > 0 && job.duration > 0) {
            change[start[j]] += need;
            change[std::int64_t{start[j]} + job.duration] -= need;
        }
    }
    std::int64_t usage = 0;
    const std::int64_t capacity = instance.availability[static_cast<std::size_t>(resource)];
    for (const auto& [time, delta] : change) {
        usage += delta;
        if (usage > capacity) {
            return "resource " + std::to_string(resource + 1) + " is used " + std::to_string(usage)
                   + " > " + std::to_string(capacity) + " at time " + std::to_string(time);
        }
    }
    return {};
}

} // namespace

std::string scheduleViolation(const formats::Instance& instance, const std::vector<int>& start) {
    if (start.size() != instance.jobs.size()) {
        return "the schedule has " + std::to_string(start.size()) + " start times for "
               + std::to_string(instance.jobs.size()) + " jobs";
    }
    for (std::size_t j = 0; j < instance.jobs.size(); ++j) {
        if (instance.jobs[j].demands.size() != instance.availability.size()) {
            return jobName(j) + " has demands for another number of resources";
        }
    }
    std::string violation = precedenceViolation(instance, start);
    for (int k = 0; violation.empty() && k < instance.resourceCount(); ++k) {
        violation = capacityViolation(instance, start, k);
    }
    return violation;
}

int makespanOf(const formats::Instance& instance, const std::vector<int>& start) {
    int makespan = 0;
    for (std::size_t j = 0; j < instance.jobs.size() && j < start.size(); ++j) {
        makespan = std::max(makespan, start[j] + instance.jobs[j].duration);
    }
    return makespan;
}

} // namespace tavrin::solve
