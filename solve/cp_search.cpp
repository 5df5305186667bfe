#include "solve/cp_search.h"

#include "solve/time_windows.h"

#include <chrono>
#include <gecode/int.hh>
#include <gecode/minimodel.hh>
#include <gecode/search.hh>
#include <memory>
#include <optional>

namespace tavrin::solve {

namespace {

using namespace Gecode;

// Failures before the first restart; the Luby sequence scales it.
constexpr unsigned long kRestartScale = 200;

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

// The decision model: is there a schedule within the horizon the windows were narrowed for?
class ScheduleModel : public Space {
public:
    ScheduleModel(const Project& project, const TimeWindows& windows)
        : m_start(*this, project.jobCount) {
        for (int j = 0; j < project.jobCount; ++j) {
            m_start[j] = IntVar(*this, windows.earliest()[j], windows.latest()[j]);
        }
        for (int j = 0; j < project.jobCount; ++j) {
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
        // Jobs whose constraints failed most often first (accumulated failure count, AFC):
        // on these models it refutes a horizon far sooner than earliest-start-first.
        branch(*this, m_start, INT_VAR_AFC_SIZE_MAX(0.99), INT_VAL_MIN());
    }

    ScheduleModel(ScheduleModel& other) : Space(other) { m_start.update(*this, other.m_start); }

    Space* copy() override { return new ScheduleModel(*this); }

    std::vector<int> starts() const {
        std::vector<int> values;
        values.reserve(static_cast<std::size_t>(m_start.size()));
        for (int j = 0; j < m_start.size(); ++j) {
            values.push_back(m_start[j].val());
        }
        return values;
    }

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
};

// Ends the search at the fail limit, the time limit or the stop flag, whichever comes first.
// The fails of earlier searches count towards the limit.
class BudgetStop : public Search::Stop {
public:
    explicit BudgetStop(const SearchLimits& limits)
        : m_limits(limits), m_began(std::chrono::steady_clock::now()) {}

    bool stop(const Search::Statistics& statistics, const Search::Options& /*options*/) override {
        return m_limits.reached(spent + static_cast<std::int64_t>(statistics.fail), m_began);
    }

    std::int64_t spent = 0; // fails of the searches before this one

private:
    SearchLimits m_limits;
    std::chrono::steady_clock::time_point m_began;
};

// Whether a schedule within horizon exists: a start per job, nothing when there is none, and
// std::nullopt... stopped is set when the budget ran out first.
std::optional<std::vector<int>> decide(const Project& project, TimeWindows& windows, int horizon,
                                       BudgetStop& stop, bool& stopped) {
    stopped = false;
    if (!windows.propagate(horizon)) {
        return std::nullopt;
    }
    ScheduleModel model(project, windows);
    if (model.status() == SS_FAILED) {
        return std::nullopt;
    }
    Search::Options options;
    options.threads = 1;
    options.stop = &stop;
    options.cutoff = Search::Cutoff::luby(kRestartScale);
    RBS<ScheduleModel, DFS> engine(&model, options);
    std::unique_ptr<ScheduleModel> solution(engine.next());
    stop.spent += static_cast<std::int64_t>(engine.statistics().fail);
    if (solution) {
        return solution->starts();
    }
    stopped = engine.stopped();
    return std::nullopt;
}

} // namespace

SearchOutcome searchSchedule(const Project& project, int lowerBound, int upperBound,
                             const SearchLimits& limits) {
    SearchOutcome outcome;
    outcome.lowerBound = lowerBound;
    TimeWindows windows(project);
    BudgetStop stop(limits);
    for (int horizon = lowerBound; horizon < upperBound; ++horizon) {
        bool stopped = false;
        auto start = decide(project, windows, horizon, stop, stopped);
        outcome.fails = stop.spent;
        if (start) {
            outcome.start = std::move(*start);
            outcome.lowerBound = horizon;
            outcome.complete = true;
            return outcome;
        }
        if (stopped) {
            return outcome;
        }
        outcome.lowerBound = horizon + 1;
    }
    outcome.complete = true;
    return outcome;
}

} // namespace tavrin::solve
