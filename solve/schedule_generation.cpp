#include "solve/schedule_generation.h"

#include <algorithm>
#include <numeric>

namespace tavrin::solve {

std::uint64_t SampleRandom::next() {
    std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

ScheduleBuilder::ScheduleBuilder(const Project& project) : m_project(project) {
    const std::int64_t total =
        std::accumulate(project.duration.begin(), project.duration.end(), std::int64_t{0});
    m_usage.assign(static_cast<std::size_t>(total + 1) * project.resourceCount, 0);
}

void ScheduleBuilder::reset() {
    std::fill(m_usage.begin(), m_usage.end(), 0);
    m_missing.assign(m_project.jobCount, 0);
    m_eligible.clear();
    for (int j = 0; j < m_project.jobCount; ++j) {
        m_missing[j] = static_cast<int>(m_project.predecessors[j].size());
        if (m_missing[j] == 0) {
            m_eligible.push_back(j);
        }
    }
}

int ScheduleBuilder::choose(const JobChoice& choice, const std::vector<int>& candidates) {
    const std::vector<int>& priority = *choice.priority;
    std::size_t best = 0;
    for (std::size_t i = 1; i < candidates.size(); ++i) {
        const int a = priority[candidates[i]];
        const int b = priority[candidates[best]];
        if (a < b || (a == b && candidates[i] < candidates[best])) {
            best = i;
        }
    }
    if (choice.random == nullptr || candidates.size() == 1) {
        return static_cast<int>(best);
    }
    const int worst =
        std::accumulate(candidates.begin(), candidates.end(), priority[candidates[best]],
                        [&](int m, int j) { return std::max(m, priority[j]); });
    m_weight.clear();
    double total = 0;
    for (int j : candidates) {
        const double regret = static_cast<double>(worst - priority[j]) + 1.0;
        total += regret * regret;
        m_weight.push_back(total);
    }
    const double pick = choice.random->unit() * total;
    const auto it = std::upper_bound(m_weight.begin(), m_weight.end(), pick);
    const auto last = static_cast<std::ptrdiff_t>(candidates.size()) - 1;
    return static_cast<int>(std::min(it - m_weight.begin(), last));
}

bool ScheduleBuilder::fits(int job, int time) const {
    const int resources = m_project.resourceCount;
    for (int t = time; t < time + m_project.duration[job]; ++t) {
        for (int k = 0; k < resources; ++k) {
            if (m_usage[t * resources + k] + m_project.need(job, k) > m_project.capacity[k]) {
                return false;
            }
        }
    }
    return true;
}

int ScheduleBuilder::earliestFit(int job, int from) const {
    const int resources = m_project.resourceCount;
    int start = from;
    for (int t = start; t < start + m_project.duration[job]; ++t) {
        for (int k = 0; k < resources; ++k) {
            if (m_usage[t * resources + k] + m_project.need(job, k) > m_project.capacity[k]) {
                start = t + 1;
                break;
            }
        }
    }
    return start;
}

void ScheduleBuilder::place(int job, int time, std::vector<int>& start) {
    const int resources = m_project.resourceCount;
    start[job] = time;
    for (int t = time; t < time + m_project.duration[job]; ++t) {
        for (int k = 0; k < resources; ++k) {
            m_usage[t * resources + k] += m_project.need(job, k);
        }
    }
    for (int next : m_project.successors[job]) {
        if (--m_missing[next] == 0) {
            m_eligible.push_back(next);
        }
    }
}

int ScheduleBuilder::serial(const JobChoice& choice, std::vector<int>& start) {
    reset();
    start.assign(m_project.jobCount, 0);
    int makespan = 0;
    while (!m_eligible.empty()) {
        const int index = choose(choice, m_eligible);
        const int job = m_eligible[index];
        m_eligible.erase(m_eligible.begin() + index);
        int ready = 0;
        for (int before : m_project.predecessors[job]) {
            ready = std::max(ready, start[before] + m_project.duration[before]);
        }
        place(job, earliestFit(job, ready), start);
        makespan = std::max(makespan, start[job] + m_project.duration[job]);
    }
    return makespan;
}

int ScheduleBuilder::parallel(const JobChoice& choice, std::vector<int>& start) {
    reset();
    start.assign(m_project.jobCount, -1);
    std::vector<int> finish(m_project.jobCount, 0);
    std::vector<int> candidates;
    int time = 0;
    int makespan = 0;
    while (!m_eligible.empty()) {
        while (true) {
            candidates.clear();
            for (int job : m_eligible) {
                bool ready = true;
                for (int before : m_project.predecessors[job]) {
                    ready = ready && finish[before] <= time;
                }
                if (ready && fits(job, time)) {
                    candidates.push_back(job);
                }
            }
            if (candidates.empty()) {
                break;
            }
            const int job = candidates[choose(choice, candidates)];
            m_eligible.erase(std::find(m_eligible.begin(), m_eligible.end(), job));
            place(job, time, start);
            finish[job] = time + m_project.duration[job];
            makespan = std::max(makespan, finish[job]);
        }
        int next = makespan;
        for (int j = 0; j < m_project.jobCount; ++j) {
            if (start[j] >= 0 && finish[j] > time) {
                next = std::min(next, finish[j]);
            }
        }
        time = next;
    }
    return makespan;
}

} // namespace tavrin::solve
