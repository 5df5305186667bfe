#include "solve/cp_search.h"

#include "solve/time_windows.h"

#include <chrono>
#include <gecode/int.hh>
#include <gecode/minimodel.hh>
#include <gecode/search.hh>
#include <memory>

namespace tavrin::solve {

namespace {

using namespace Gecode;

// Groups of jobs that pairwise cannot overlap, covering every such pair: a unary (disjunctive)
// constraint over each group prunes far more than the cumulative constraints see.
std::vector<std::vector<int>> conflictGroups(const Project& project,
                                             const std::vector<std::pair<int, int>>& conflicts) {
    const int n = project.jobCount;
    std::vector<std::vector<char>> conflict(n, std::vector<char>(n, 0));
    for (const auto& [i, j] : conflicts) {
        conflict[i][j] = conflict[j][i] = 1;
    }
    std::vector<std::vector<int>> groups;
    for (const auto& [i, j] : conflicts) {
        if (conflict[i][j] != 1) {
            continue; // already covered
        }
        std::vector<int> group{i, j};
        for (int other = 0; other < n; ++other) {
            bool joins = other != i && other != j;
            for (int member : group) {
                joins = joins && conflict[member][other] != 0;
            }
            if (joins) {
                group.push_back(other);
            }
        }
        for (int a : group) {
            for (int b : group) {
                if (a != b) {
                    conflict[a][b] = 2;
                }
            }
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

class ScheduleModel : public IntMinimizeSpace {
public:
    ScheduleModel(const Project& project, const TimeWindows& windows, int lowerBound,
                  int upperBound)
        : m_start(*this, project.jobCount), m_makespan(*this, lowerBound, upperBound - 1) {
        for (int j = 0; j < project.jobCount; ++j) {
            m_start[j] = IntVar(*this, windows.earliest()[j], windows.latest()[j]);
        }
        for (int j = 0; j < project.jobCount; ++j) {
            linear(*this, IntArgs({1, -1}), IntVarArgs({m_start[j], m_makespan}), IRT_LQ,
                   -(project.duration[j] + project.tail[j]));
            for (int next : project.successors[j]) {
                linear(*this, IntArgs({1, -1}), IntVarArgs({m_start[j], m_start[next]}), IRT_LQ,
                       -project.duration[j]);
            }
        }
        postResources(project);
        for (const std::vector<int>& group : conflictGroups(project, windows.conflicts())) {
            IntVarArgs starts;
            IntArgs durations;
            for (int j : group) {
                starts << m_start[j];
                durations << project.duration[j];
            }
            unary(*this, starts, durations);
        }
        branch(*this, m_start, tiebreak(INT_VAR_MIN_MIN(), INT_VAR_MAX_MIN()), INT_VAL_MIN());
        branch(*this, m_makespan, INT_VAL_MIN());
    }

    ScheduleModel(ScheduleModel& other) : IntMinimizeSpace(other) {
        m_start.update(*this, other.m_start);
        m_makespan.update(*this, other.m_makespan);
    }

    Space* copy() override { return new ScheduleModel(*this); }
    IntVar cost() const override { return m_makespan; }

    std::vector<int> starts() const {
        std::vector<int> values;
        for (int j = 0; j < m_start.size(); ++j) {
            values.push_back(m_start[j].val());
        }
        return values;
    }
    int leastMakespan() const { return m_makespan.min(); }

private:
    void postResources(const Project& project) {
        for (int k = 0; k < project.resourceCount; ++k) {
            IntVarArgs starts;
            IntArgs durations;
            IntArgs needs;
            long long total = 0;
            for (int j = 0; j < project.jobCount; ++j) {
                if (project.need(j, k) > 0 && project.duration[j] > 0) {
                    starts << m_start[j];
                    durations << project.duration[j];
                    needs << project.need(j, k);
                    total += project.need(j, k);
                }
            }
            if (total > project.capacity[k]) {
                cumulative(*this, project.capacity[k], starts, durations, needs);
            }
        }
    }

    IntVarArray m_start;
    IntVar m_makespan;
};

// Ends the search at the fail limit, the time limit or the stop flag, whichever comes first.
class BudgetStop : public Search::Stop {
public:
    explicit BudgetStop(const SearchLimits& limits)
        : m_limits(limits), m_began(std::chrono::steady_clock::now()) {}

    bool stop(const Search::Statistics& statistics, const Search::Options&) override {
        if (m_limits.failLimit > 0
            && static_cast<std::int64_t>(statistics.fail) >= m_limits.failLimit) {
            return true;
        }
        if (m_limits.stop != nullptr && m_limits.stop->load()) {
            return true;
        }
        return m_limits.seconds > 0
               && std::chrono::duration<double>(std::chrono::steady_clock::now() - m_began).count()
                      >= m_limits.seconds;
    }

private:
    SearchLimits m_limits;
    std::chrono::steady_clock::time_point m_began;
};

} // namespace

SearchOutcome searchSchedule(const Project& project, int lowerBound, int upperBound,
                             const SearchLimits& limits) {
    SearchOutcome outcome;
    outcome.lowerBound = lowerBound;
    TimeWindows windows(project);
    if (lowerBound >= upperBound || !windows.propagate(upperBound - 1)) {
        outcome.lowerBound = upperBound;
        outcome.complete = true;
        return outcome;
    }
    auto model = std::make_unique<ScheduleModel>(project, windows, lowerBound, upperBound);
    if (model->status() == SS_FAILED) {
        outcome.lowerBound = upperBound;
        outcome.complete = true;
        return outcome;
    }
    outcome.lowerBound = std::max(lowerBound, model->leastMakespan());
    BudgetStop stop(limits);
    Search::Options options;
    options.threads = 1;
    options.stop = &stop;
    options.cutoff = Search::Cutoff::luby(100);
    RBS<ScheduleModel, BAB> engine(model.get(), options);
    int best = upperBound;
    while (ScheduleModel* solution = engine.next()) {
        outcome.start = solution->starts();
        best = solution->cost().val();
        delete solution;
    }
    outcome.fails = static_cast<std::int64_t>(engine.statistics().fail);
    outcome.complete = !engine.stopped();
    if (outcome.complete) {
        outcome.lowerBound = best;
    }
    return outcome;
}

} // namespace tavrin::solve
