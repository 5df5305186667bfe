#include "formats/instance_check.h"

#include "formats/instance_io.h"

#include <algorithm>

namespace tavrin::formats {
namespace {

bool allZero(const std::vector<std::int32_t>& values) {
    return std::ranges::all_of(values, [](std::int32_t v) { return v == 0; });
}

void checkSuccessors(const Instance& instance, const std::vector<int>& jobLines,
                     const std::string& fileName) {
    const std::size_t jobs = instance.jobs.size();
    const bool lagged = instance.hasTimeLags();
    std::vector<std::size_t> listedBy(jobs, jobs);
    for (std::size_t j = 0; j < jobs; ++j) {
        const Job& job = instance.jobs[j];
        if (lagged && job.lags.size() != job.successors.size()) {
            throw FormatError(fileName, jobLines[j],
                              jobName(j) + " needs one time lag for each successor");
        }
        for (std::size_t i = 0; i < job.successors.size(); ++i) {
            const std::int32_t s = job.successors[i];
            const auto fault = [&](const std::string& what) {
                throw FormatError(fileName, jobLines[j], jobName(j) + what);
            };
            if (s < 0 || static_cast<std::size_t>(s) >= jobs) {
                fault(" lists a successor " + std::to_string(static_cast<std::int64_t>(s) + 1)
                      + " outside 1.." + std::to_string(jobs));
            }
            const auto successor = static_cast<std::size_t>(s);
            if (successor == j) {
                fault(" lists itself as a successor");
            }
            // A maximal lag may bind a job to the start: a backward arc with a negative lag.
            if (successor == 0 && !(lagged && job.lags[i] < 0)) {
                fault(" lists the dummy start job 1 as a successor");
            }
            if (listedBy[successor] == j) {
                fault(" lists " + jobName(successor) + " twice");
            }
            listedBy[successor] = j;
        }
    }
}

void checkDummies(const Instance& instance, const std::vector<int>& jobLines,
                  const std::string& fileName) {
    const Job& start = instance.jobs.front();
    const Job& end = instance.jobs.back();
    if (start.duration != 0 || !allZero(start.demands)) {
        throw FormatError(fileName, jobLines.front(),
                          "the dummy start job 1 must have no duration and no demand");
    }
    const std::string endName = jobName(instance.jobs.size() - 1);
    if (end.duration != 0 || !allZero(end.demands)) {
        throw FormatError(fileName, jobLines.back(),
                          "the dummy end " + endName + " must have no duration and no demand");
    }
    if (!end.successors.empty() && !instance.hasTimeLags()) {
        throw FormatError(fileName, jobLines.back(),
                          "the dummy end " + endName + " must have no successors");
    }
}

// Kahn's order; a job never released lies on a cycle or after one.
void checkAcyclic(const Instance& instance, const std::vector<int>& jobLines,
                  const std::string& fileName) {
    const std::size_t jobs = instance.jobs.size();
    std::vector<int> pending(jobs, 0);
    for (const Job& job : instance.jobs) {
        for (const std::int32_t s : job.successors) {
            ++pending[static_cast<std::size_t>(s)];
        }
    }
    std::vector<std::size_t> ready;
    for (std::size_t j = 0; j < jobs; ++j) {
        if (pending[j] == 0) {
            ready.push_back(j);
        }
    }
    std::size_t released = 0;
    while (!ready.empty()) {
        const std::size_t j = ready.back();
        ready.pop_back();
        ++released;
        for (const std::int32_t s : instance.jobs[j].successors) {
            if (--pending[static_cast<std::size_t>(s)] == 0) {
                ready.push_back(static_cast<std::size_t>(s));
            }
        }
    }
    if (released == jobs) {
        return;
    }
    // Every job left has a predecessor left: walking back jobs steps surely ends on the cycle.
    std::vector<std::size_t> predecessorLeft(jobs, jobs);
    std::size_t at = jobs;
    for (std::size_t j = 0; j < jobs; ++j) {
        if (pending[j] == 0) {
            continue;
        }
        for (const std::int32_t s : instance.jobs[j].successors) {
            if (pending[static_cast<std::size_t>(s)] != 0) {
                predecessorLeft[static_cast<std::size_t>(s)] = j;
            }
        }
        at = j;
    }
    for (std::size_t step = 0; step < jobs; ++step) {
        at = predecessorLeft[at];
    }
    throw FormatError(fileName, jobLines[at],
                      "the precedences form a cycle through " + jobName(at));
}

} // namespace

void checkInstance(const Instance& instance, const std::vector<int>& jobLines,
                   const std::string& fileName) {
    if (instance.jobs.size() < 2) {
        throw FormatError(fileName, 0, "an instance needs a dummy start and a dummy end job");
    }
    checkSuccessors(instance, jobLines, fileName);
    checkDummies(instance, jobLines, fileName);
    // The arcs of time lags may form cycles; whether they admit a schedule is measured, not
    // refused.
    if (!instance.hasTimeLags()) {
        checkAcyclic(instance, jobLines, fileName);
    }
}

} // namespace tavrin::formats
