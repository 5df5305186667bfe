#include "solve/solve_instance.h"

#include "solve/cp_search.h"
#include "solve/heuristic.h"
#include "solve/lower_bounds.h"
#include "solve/project.h"
#include "solve/sat_search.h"
#include "solve/schedule_check.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <numeric>
#include <optional>
#include <stdexcept>

namespace tavrin::solve {

namespace {

using Clock = std::chrono::steady_clock;

// Every job after the previous one, in topological order: valid when each job fits alone.
HeuristicResult oneAfterAnother(const Project& project) {
    HeuristicResult result;
    result.start.assign(project.jobCount, 0);
    for (int j : project.order) {
        result.start[j] = result.makespan;
        result.makespan += project.duration[j];
    }
    result.method = "one job after another";
    result.schedules = 1;
    return result;
}

void keepSchedule(const formats::Instance& instance, SolveResult& result, std::vector<int> start,
                  const std::string& method) {
    const std::string violation = scheduleViolation(instance, start);
    if (!violation.empty()) {
        throw std::logic_error("the schedule found by " + method + " is not valid: " + violation);
    }
    result.ub = makespanOf(instance, start);
    result.start = std::move(start);
    result.method = method;
}

double secondsSince(Clock::time_point began) {
    return std::chrono::duration<double>(Clock::now() - began).count();
}

// The constraint search (Gecode) goes first, with at most this many failures and this share of
// the time: it closes the easier instances at once. A SAT search (CaDiCaL), which learns from its
// conflicts, then takes the rest of the budget: it refutes the makespans of tightly constrained
// instances that the constraint search does not refute within any practical budget.
constexpr std::int64_t kConstraintFails = 250;
constexpr double kConstraintTimeShare = 0.05;

void keepSearch(const formats::Instance& instance, SearchOutcome outcome, SolveResult& result,
                const std::string& method) {
    result.fails = outcome.fails;
    result.lb = std::max(result.lb, outcome.lowerBound);
    if (!outcome.start.empty()) {
        keepSchedule(instance, result, std::move(outcome.start), method);
    }
}

// The budget not yet spent by the fails so far and the time since began; nothing when spent.
std::optional<SearchLimits> budgetLeft(const SolveBudget& budget, const std::atomic<bool>* stop,
                                       Clock::time_point began, std::int64_t fails) {
    SearchLimits limits{budget.failLimit, 0, stop};
    if (budget.timeLimitSeconds > 0) {
        limits.seconds = budget.timeLimitSeconds - secondsSince(began);
        if (limits.seconds <= 0) {
            return std::nullopt;
        }
    }
    if (limits.reached(fails, Clock::now())) {
        return std::nullopt;
    }
    return limits;
}

// Searches for a shorter schedule or a proof that there is none, in the time left.
void search(const formats::Instance& instance, const Project& project, const SolveBudget& budget,
            const std::atomic<bool>* stop, Clock::time_point began, SolveResult& result) {
    const std::optional<SearchLimits> limits = budgetLeft(budget, stop, began, 0);
    if (!limits) {
        return;
    }
    SearchLimits first = *limits;
    first.failLimit =
        budget.failLimit > 0 ? std::min(budget.failLimit, kConstraintFails) : kConstraintFails;
    first.seconds = limits->seconds * kConstraintTimeShare;
    SearchOutcome outcome = searchSchedule(project, result.lb, *result.ub, first);
    const bool complete = outcome.complete;
    keepSearch(instance, std::move(outcome), result, "constraint search");
    if (complete || result.lb >= *result.ub) {
        return;
    }
    if (const auto rest = budgetLeft(budget, stop, began, result.fails)) {
        keepSearch(instance, satSearch(project, result.lb, *result.ub, *rest, result.fails), result,
                   "SAT search");
    }
}

void settle(SolveResult& result) {
    if (result.ub) {
        result.lb = std::min(result.lb, *result.ub);
        result.status = result.lb == *result.ub ? SolveStatus::Optimal : SolveStatus::Feasible;
    }
}

} // namespace

std::string_view statusName(SolveStatus status) {
    switch (status) {
    case SolveStatus::Optimal:
        return "optimal";
    case SolveStatus::Feasible:
        return "feasible";
    case SolveStatus::Infeasible:
        return "infeasible";
    case SolveStatus::Unknown:
        break;
    }
    return "unknown";
}

SolveResult solveInstance(const formats::Instance& instance, const SolveBudget& budget,
                          const std::atomic<bool>* stop) {
    const auto began = Clock::now();
    SolveResult result;
    if (totalDuration(instance) > kMaxTotalDuration) {
        result.seconds = secondsSince(began); // no schedule fits the start times: unknown
        return result;
    }
    const Project project = makeProject(instance);
    result.lb0 = project.criticalPath;
    result.lb = result.lb0;
    if (overloadedResource(project) >= 0) {
        result.status = SolveStatus::Infeasible;
    } else {
        result.lb = std::max(result.lb, energyBound(project));
        if (!fitsTimeProfile(project)) {
            HeuristicResult plain = oneAfterAnother(project);
            keepSchedule(instance, result, std::move(plain.start), plain.method);
        } else {
            HeuristicResult found =
                runHeuristic(project, result.lb, budget.heuristicSchedules, budget.seed, stop);
            keepSchedule(instance, result, std::move(found.start), found.method);
            result.lb = destructiveBound(project, result.lb, *result.ub);
            if (result.lb < *result.ub) {
                search(instance, project, budget, stop, began, result);
            }
        }
        settle(result);
    }
    result.seconds = secondsSince(began);
    return result;
}

} // namespace tavrin::solve
