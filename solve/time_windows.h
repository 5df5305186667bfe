#pragma once

#include "solve/project.h"

#include <utility>
#include <vector>

namespace tavrin::solve {

// Start-time windows of the jobs for a makespan limit, narrowed by propagation until nothing
// changes: precedences, compulsory parts on each resource (time-tabling), and pairs of jobs
// that cannot overlap whose windows allow only one order. Then energetic reasoning checks that
// no interval between window ends must hold more work than its capacity. Every rule only removes
// start times that no schedule within the limit uses, so a refuted limit proves a lower bound.
class TimeWindows {
public:
    explicit TimeWindows(const Project& project);

    // Windows for makespans <= horizon; false when propagation proves there is no such schedule.
    bool propagate(int horizon);

    const std::vector<int>& earliest() const { return m_earliest; }
    const std::vector<int>& latest() const { return m_latest; }
    // Pairs of jobs with a duration that cannot overlap on account of some resource.
    const std::vector<std::pair<int, int>>& conflicts() const { return m_conflicts; }

private:
    bool precedences(bool& changed);
    bool orderPairs(bool& changed);
    bool timetable(int resource, int horizon, bool& changed);
    bool energyFits(int resource) const;
    void buildProfile(int resource, int horizon);
    int earliestFit(int job, int resource) const;
    int latestFit(int job, int resource) const;

    const Project& m_project;
    std::vector<std::pair<int, int>> m_conflicts;
    std::vector<int> m_earliest;
    std::vector<int> m_latest;
    std::vector<int> m_profile; // compulsory usage per time unit of one resource
};

} // namespace tavrin::solve
