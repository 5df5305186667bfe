#include "solve/time_windows.h"

#include <algorithm>

namespace tavrin::solve {

namespace {

// Time-tabling keeps one counter per time unit; beyond this the cheaper rules must do.
constexpr int kMaxProfileLength = 1 << 20;
// Energetic reasoning costs the cube of the job count per resource.
constexpr int kMaxEnergeticJobs = 64;

} // namespace

TimeWindows::TimeWindows(const Project& project) : m_project(project) {
    for (int i = 0; i < project.jobCount; ++i) {
        for (int j = i + 1; j < project.jobCount; ++j) {
            if (project.duration[i] > 0 && project.duration[j] > 0
                && project.resourceConflict(i, j)) {
                m_conflicts.emplace_back(i, j);
            }
        }
    }
}

bool TimeWindows::propagate(int horizon) {
    const Project& p = m_project;
    m_earliest = p.head;
    m_latest.assign(p.jobCount, 0);
    for (int j = 0; j < p.jobCount; ++j) {
        m_latest[j] = horizon - p.tail[j] - p.duration[j];
        if (m_latest[j] < m_earliest[j]) {
            return false;
        }
    }
    bool changed = true;
    while (changed) {
        changed = false;
        if (!precedences(changed) || !orderPairs(changed)) {
            return false;
        }
        for (int k = 0; k < p.resourceCount && horizon <= kMaxProfileLength; ++k) {
            if (!timetable(k, horizon, changed)) {
                return false;
            }
        }
    }
    for (int k = 0; k < p.resourceCount && p.jobCount <= kMaxEnergeticJobs; ++k) {
        if (!energyFits(k)) {
            return false;
        }
    }
    return true;
}

// The least work of each job inside [from, to), wherever in its window it starts, summed
// against the capacity over the interval (Baptiste, Le Pape and Nuijten's energetic reasoning),
// for intervals between the ends of the windows.
bool TimeWindows::energyFits(int resource) const {
    const Project& p = m_project;
    std::vector<int> times;
    for (int j = 0; j < p.jobCount; ++j) {
        if (p.need(j, resource) > 0 && p.duration[j] > 0) {
            times.insert(times.end(), {m_earliest[j], m_earliest[j] + p.duration[j], m_latest[j],
                                       m_latest[j] + p.duration[j]});
        }
    }
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    for (std::size_t a = 0; a < times.size(); ++a) {
        for (std::size_t b = a + 1; b < times.size(); ++b) {
            const long long from = times[a];
            const long long to = times[b];
            long long work = 0;
            for (int j = 0; j < p.jobCount; ++j) {
                const long long d = p.duration[j];
                const long long left = std::max(0LL, m_earliest[j] + d - from);
                const long long right = std::max(0LL, to - m_latest[j]);
                work += p.need(j, resource) * std::min({to - from, d, left, right});
            }
            if (work > p.capacity[resource] * (to - from)) {
                return false;
            }
        }
    }
    return true;
}

bool TimeWindows::precedences(bool& changed) {
    const Project& p = m_project;
    for (int j : p.order) {
        for (int next : p.successors[j]) {
            if (m_earliest[next] < m_earliest[j] + p.duration[j]) {
                m_earliest[next] = m_earliest[j] + p.duration[j];
                changed = true;
            }
        }
    }
    for (auto it = p.order.rbegin(); it != p.order.rend(); ++it) {
        for (int next : p.successors[*it]) {
            if (m_latest[*it] > m_latest[next] - p.duration[*it]) {
                m_latest[*it] = m_latest[next] - p.duration[*it];
                changed = true;
            }
        }
    }
    for (int j = 0; j < p.jobCount; ++j) {
        if (m_earliest[j] > m_latest[j]) {
            return false;
        }
    }
    return true;
}

bool TimeWindows::orderPairs(bool& changed) {
    const std::vector<int>& d = m_project.duration;
    for (const auto& [i, j] : m_conflicts) {
        const bool iFirstImpossible = m_earliest[i] + d[i] > m_latest[j];
        const bool jFirstImpossible = m_earliest[j] + d[j] > m_latest[i];
        if (iFirstImpossible && jFirstImpossible) {
            return false;
        }
        const int first = iFirstImpossible ? j : i;
        const int second = iFirstImpossible ? i : j;
        if (!iFirstImpossible && !jFirstImpossible) {
            continue;
        }
        if (m_earliest[second] < m_earliest[first] + d[first]) {
            m_earliest[second] = m_earliest[first] + d[first];
            changed = true;
        }
        if (m_latest[first] > m_latest[second] - d[first]) {
            m_latest[first] = m_latest[second] - d[first];
            changed = true;
        }
        if (m_earliest[second] > m_latest[second] || m_earliest[first] > m_latest[first]) {
            return false;
        }
    }
    return true;
}

void TimeWindows::buildProfile(int resource, int horizon) {
    m_profile.assign(static_cast<std::size_t>(std::max(horizon, 0)), 0);
    for (int j = 0; j < m_project.jobCount; ++j) {
        const int need = m_project.need(j, resource);
        for (int t = m_latest[j]; need > 0 && t < m_earliest[j] + m_project.duration[j]; ++t) {
            m_profile[t] += need;
        }
    }
}

// The first start from the job's earliest on at which the others' compulsory usage leaves room
// for it; its own compulsory part is taken out. Past its latest start when there is none.
int TimeWindows::earliestFit(int job, int resource) const {
    const int need = m_project.need(job, resource);
    const int room = m_project.capacity[resource] - need;
    const int ownFrom = m_latest[job];
    const int ownTo = m_earliest[job] + m_project.duration[job];
    int start = m_earliest[job];
    for (int t = start; t < start + m_project.duration[job] && start <= m_latest[job]; ++t) {
        const int own = (t >= ownFrom && t < ownTo) ? need : 0;
        if (m_profile[t] - own > room) {
            start = t + 1;
        }
    }
    return start;
}

int TimeWindows::latestFit(int job, int resource) const {
    const int need = m_project.need(job, resource);
    const int room = m_project.capacity[resource] - need;
    const int ownFrom = m_latest[job];
    const int ownTo = m_earliest[job] + m_project.duration[job];
    int start = m_latest[job];
    for (int t = start + m_project.duration[job] - 1; t >= start && start >= m_earliest[job]; --t) {
        const int own = (t >= ownFrom && t < ownTo) ? need : 0;
        if (m_profile[t] - own > room) {
            start = t - m_project.duration[job];
        }
    }
    return start;
}

bool TimeWindows::timetable(int resource, int horizon, bool& changed) {
    buildProfile(resource, horizon);
    for (int j = 0; j < m_project.jobCount; ++j) {
        if (m_project.need(j, resource) == 0 || m_project.duration[j] == 0) {
            continue;
        }
        const int earliest = earliestFit(j, resource);
        const int latest = earliest > m_latest[j] ? earliest - 1 : latestFit(j, resource);
        if (earliest > m_latest[j] || latest < m_earliest[j]) {
            return false;
        }
        if (earliest != m_earliest[j] || latest != m_latest[j]) {
            changed = true;
            m_earliest[j] = earliest;
            m_latest[j] = latest;
        }
    }
    return true;
}

} // namespace tavrin::solve
