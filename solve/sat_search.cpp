#include "solve/sat_search.h"

#include "solve/time_windows.h"

#include <algorithm>
#include <cadical.hpp>
#include <chrono>
#include <cstdint>
#include <map>

namespace tavrin::solve {

namespace {

// The estimated clause literals past which the encoding is not built (a 30-job instance needs
// a few hundred thousand): the search then ends with what the constraint search found.
constexpr std::int64_t kMaxLiterals = 20'000'000;

// Stops the solver at the fail limit (its conflicts, counted by the clauses it learns), the
// time limit or the stop flag. Deterministic while no time limit is set.
class Budget : public CaDiCaL::Terminator, public CaDiCaL::Learner {
public:
    Budget(const SearchLimits& limits, std::int64_t spent)
        : m_limits(limits), m_began(std::chrono::steady_clock::now()), m_fails(spent) {}

    std::int64_t fails() const { return m_fails; }

    bool learning(int /*size*/) override {
        ++m_fails;
        return false;
    }
    void learn(int /*literal*/) override {}

    bool terminate() override { return m_limits.reached(m_fails, m_began); }

private:
    SearchLimits m_limits;
    std::chrono::steady_clock::time_point m_began;
    std::int64_t m_fails;
};

// A time-indexed order encoding: variable "job j starts at or before t" for every t inside its
// window, so a precedence is one binary clause per time; a job runs at t when it started by t
// but not by t - duration; at each time the running jobs' demands on a resource may not pass
// its capacity (a decision diagram per time and resource).
class Encoding {
public:
    Encoding(const Project& project, const TimeWindows& windows, CaDiCaL::Solver& solver)
        : m_project(project), m_earliest(windows.earliest()), m_latest(windows.latest()),
          m_solver(solver) {
        m_solver.add(kTrue);
        m_solver.add(0);
        m_next = kTrue + 1;
        for (int j = 0; j < project.jobCount; ++j) {
            m_first.push_back(m_next);
            m_next += m_latest[j] - m_earliest[j];
        }
    }

    // "Start of job at or before t" as a literal, constant outside the window.
    int startedBy(int job, int t) const {
        if (t < m_earliest[job]) {
            return -kTrue;
        }
        if (t >= m_latest[job]) {
            return kTrue;
        }
        return m_first[job] + t - m_earliest[job];
    }

    void build() {
        int end = 0; // past the last time any job can run
        for (int j = 0; j < m_project.jobCount; ++j) {
            end = std::max(end, m_latest[j] + m_project.duration[j]);
            for (int t = m_earliest[j]; t + 1 < m_latest[j]; ++t) {
                clause({-startedBy(j, t), startedBy(j, t + 1)});
            }
            for (int next : m_project.successors[j]) {
                for (int t = m_earliest[next]; t < m_latest[next]; ++t) {
                    clause({-startedBy(next, t), startedBy(j, t - m_project.duration[j])});
                }
            }
        }
        for (int k = 0; k < m_project.resourceCount; ++k) {
            buildResource(k, end);
        }
    }

    // A literal that, assumed, limits the makespan to horizon.
    int makespanAtMost(int horizon) {
        const int limit = m_next++;
        for (int j = 0; j < m_project.jobCount; ++j) {
            if (m_project.successors[j].empty()) {
                clause({-limit, startedBy(j, horizon - m_project.duration[j])});
            }
        }
        return limit;
    }

    std::vector<int> starts() const {
        std::vector<int> start(m_project.jobCount);
        for (int j = 0; j < m_project.jobCount; ++j) {
            int t = m_earliest[j];
            while (t < m_latest[j] && m_solver.val(startedBy(j, t)) < 0) {
                ++t;
            }
            start[j] = t;
        }
        return start;
    }

    // The literal count of the encoding, estimated from above before it is built.
    static std::int64_t size(const Project& project, const TimeWindows& windows) {
        std::int64_t literals = 0;
        for (int j = 0; j < project.jobCount; ++j) {
            const std::int64_t span = windows.latest()[j] - windows.earliest()[j] + 1;
            literals += span * (2 + 2 * static_cast<std::int64_t>(project.successors[j].size()));
            for (int k = 0; k < project.resourceCount; ++k) {
                literals += project.need(j, k) > 0
                                ? (span + project.duration[j]) * 3 * project.capacity[k]
                                : 0;
            }
        }
        return literals;
    }

private:
    static constexpr int kTrue = 1;

    void clause(std::initializer_list<int> literals) {
        for (int literal : literals) {
            if (literal == kTrue) {
                return; // satisfied
            }
        }
        for (int literal : literals) {
            if (literal != -kTrue) {
                m_solver.add(literal);
            }
        }
        m_solver.add(0);
    }

    // Whether job j runs at t, as a literal implied by its start literals.
    int running(int job, int t) {
        const int started = startedBy(job, t);
        const int startedBefore = startedBy(job, t - m_project.duration[job]);
        if (started == -kTrue || startedBefore == kTrue) {
            return -kTrue;
        }
        if (started == kTrue && startedBefore == -kTrue) {
            return kTrue;
        }
        const auto [it, fresh] = m_running.try_emplace({job, t}, 0);
        if (fresh) {
            it->second = m_next++;
            clause({-started, startedBefore, it->second});
        }
        return it->second;
    }

    void buildResource(int k, int end) {
        for (int t = 0; t < end; ++t) {
            std::vector<std::pair<int, int>> items; // running literal, demand
            int compulsory = 0;
            int total = 0;
            for (int j = 0; j < m_project.jobCount; ++j) {
                const int q = m_project.need(j, k);
                if (q == 0 || m_project.duration[j] == 0 || t < m_earliest[j]
                    || t >= m_latest[j] + m_project.duration[j]) {
                    continue;
                }
                const int run = running(j, t);
                if (run == kTrue) {
                    compulsory += q;
                } else if (run != -kTrue) {
                    items.emplace_back(run, q);
                    total += q;
                }
            }
            const int capacity = m_project.capacity[k] - compulsory;
            if (capacity < 0) {
                clause({-kTrue});
            } else if (total > capacity) {
                atMost(items, capacity);
            }
        }
    }

    // The demands of the running jobs may not pass the capacity, as a decision diagram over the
    // jobs (largest demand first): node (i, c) holds when the jobs from i on fit in c, and any
    // node whose jobs fit even all together is left out, which keeps the diagram small.
    void atMost(std::vector<std::pair<int, int>> items, int capacity) {
        std::stable_sort(items.begin(), items.end(),
                         [](const auto& a, const auto& b) { return a.second > b.second; });
        std::vector<int> rest(items.size() + 1, 0); // the demand of the jobs from i on
        for (std::size_t i = items.size(); i-- > 0;) {
            rest[i] = rest[i + 1] + items[i].second;
        }
        std::map<std::pair<std::size_t, int>, int> nodes;
        const auto node = [&](auto&& self, std::size_t i, int left) -> int {
            if (left < 0) {
                return -kTrue;
            }
            if (rest[i] <= left) {
                return kTrue;
            }
            const auto [it, fresh] = nodes.try_emplace({i, left}, 0);
            if (!fresh) {
                return it->second;
            }
            const int literal = m_next++;
            it->second = literal;
            const auto& [run, q] = items[i];
            clause({-literal, -run, self(self, i + 1, left - q)});
            clause({-literal, self(self, i + 1, left)});
            return literal;
        };
        clause({node(node, 0, capacity)});
    }

    const Project& m_project;
    const std::vector<int>& m_earliest;
    const std::vector<int>& m_latest;
    CaDiCaL::Solver& m_solver;
    std::vector<int> m_first;                     // the variable of each job's first start time
    std::map<std::pair<int, int>, int> m_running; // (job, time) -> its running literal
    int m_next = 0;
};

} // namespace

SearchOutcome satSearch(const Project& project, int lowerBound, int upperBound,
                        const SearchLimits& limits, std::int64_t spentFails) {
    SearchOutcome outcome;
    outcome.lowerBound = lowerBound;
    outcome.fails = spentFails;
    TimeWindows windows(project);
    if (!windows.propagate(upperBound - 1)) {
        outcome.lowerBound = upperBound;
        outcome.complete = true;
        return outcome;
    }
    if (Encoding::size(project, windows) > kMaxLiterals) {
        return outcome;
    }
    Budget budget(limits, spentFails); // building the encoding spends the time limit too
    CaDiCaL::Solver solver;
    Encoding encoding(project, windows, solver);
    encoding.build();
    if (budget.terminate()) {
        return outcome;
    }
    solver.connect_terminator(&budget);
    solver.connect_learner(&budget);
    for (int horizon = lowerBound; horizon < upperBound; ++horizon) {
        solver.assume(encoding.makespanAtMost(horizon));
        const int answer = solver.solve();
        outcome.fails = budget.fails();
        if (answer == 10) {
            outcome.start = encoding.starts();
            outcome.lowerBound = horizon;
            outcome.complete = true;
            break;
        }
        if (answer != 20) {
            break;
        }
        outcome.lowerBound = horizon + 1;
        outcome.complete = horizon + 1 == upperBound;
    }
    solver.disconnect_terminator();
    solver.disconnect_learner();
    return outcome;
}

} // namespace tavrin::solve
