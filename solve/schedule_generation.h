#pragma once

#include "solve/project.h"

#include <cstdint>
#include <vector>

namespace tavrin::solve {

// A small, fully specified generator (splitmix64), so that sampled schedules are the same with
// every standard library.
class SampleRandom {
public:
    explicit SampleRandom(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next();
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; } // in [0, 1)

private:
    std::uint64_t m_state;
};

// How a schedule generation scheme picks the next job among those it may start: the least
// priority value (ties: the lower index), or with random set, at random with weights growing
// with the regret max - value (regret-biased random sampling).
struct JobChoice {
    const std::vector<int>* priority = nullptr;
    SampleRandom* random = nullptr;
};

// Serial and parallel schedule generation schemes over one project. The buffers are kept
// between calls; one builder per thread.
class ScheduleBuilder {
public:
    explicit ScheduleBuilder(const Project& project);

    // Serial scheme: picks among the jobs whose predecessors are scheduled and starts each at
    // the earliest time that precedences and capacities allow. Returns the makespan.
    int serial(const JobChoice& choice, std::vector<int>& start);
    // Parallel scheme: advances in time and starts, at each time, the picked jobs that fit.
    int parallel(const JobChoice& choice, std::vector<int>& start);

private:
    int choose(const JobChoice& choice, const std::vector<int>& candidates);
    bool fits(int job, int time) const;
    int earliestFit(int job, int from) const;
    void place(int job, int time, std::vector<int>& start);
    void reset();

    const Project& m_project;
    std::vector<int> m_usage; // m_usage[t * resourceCount + k]
    std::vector<int> m_missing;
    std::vector<int> m_eligible;
    std::vector<double> m_weight;
};

} // namespace tavrin::solve
