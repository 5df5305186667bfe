#include "solve/project.h"
#include "solve/sat_search.h"
#include "solve/schedule_check.h"
#include "solve/solve_instance.h"
#include "solve_fixtures.h"

#include <gtest/gtest.h>

namespace tavrin::solve {
namespace {

using testing::bruteForceOptimum;
using testing::randomInstance;

// Every bound at or below the true optimum, every schedule valid and at or above it, and
// "optimal" only when the schedule is optimal.
void expectSound(const formats::Instance& instance, const SolveResult& result, int optimum) {
    ASSERT_TRUE(result.ub.has_value());
    EXPECT_EQ(scheduleViolation(instance, result.start), "");
    EXPECT_LE(result.lb0, result.lb);
    EXPECT_LE(result.lb, optimum);
    EXPECT_GE(*result.ub, optimum);
    EXPECT_EQ(result.status == SolveStatus::Optimal, result.lb == *result.ub);
}

TEST(SolveInstance, BoundsAndSchedulesAreSoundAgainstBruteForce) {
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE(seed);
        const formats::Instance instance = randomInstance(seed, 6, 2, seed % 3 == 0 ? 10 : 35);
        const int optimum = bruteForceOptimum(instance);
        SolveBudget heuristicOnly;
        heuristicOnly.heuristicSchedules = 3;
        expectSound(instance, solveInstance(instance, heuristicOnly), optimum);
        SolveBudget full;
        full.failLimit = 100000;
        const SolveResult solved = solveInstance(instance, full);
        expectSound(instance, solved, optimum);
        EXPECT_EQ(*solved.ub, optimum);
    }
}

// The SAT search alone, without the constraint search closing the instance first: it refutes
// every makespan below the optimum and finds a valid optimal schedule.
TEST(SatSearch, RefutesBelowTheOptimumAndFindsIt) {
    int searched = 0;
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        const formats::Instance instance = randomInstance(seed, 7, 2, seed % 2 == 0 ? 15 : 40);
        const Project project = makeProject(instance);
        if (overloadedResource(project) >= 0) {
            continue;
        }
        const int optimum = bruteForceOptimum(instance);
        const SearchOutcome refuted = satSearch(project, project.criticalPath, optimum, {}, 0);
        EXPECT_TRUE(refuted.complete);
        EXPECT_EQ(refuted.lowerBound, optimum);
        EXPECT_TRUE(refuted.start.empty());
        const SearchOutcome found = satSearch(project, project.criticalPath, optimum + 1, {}, 7);
        ASSERT_TRUE(found.complete);
        EXPECT_EQ(found.lowerBound, optimum);
        if (!found.start.empty()) {
            ++searched;
            EXPECT_EQ(scheduleViolation(instance, found.start), "");
            EXPECT_EQ(makespanOf(instance, found.start), optimum);
            EXPECT_GE(found.fails, 7);
        }
    }
    EXPECT_GT(searched, 20);
}

TEST(SolveInstance, IsDeterministicForASeed) {
    const formats::Instance instance = randomInstance(7, 30, 4, 8);
    SolveBudget budget;
    budget.failLimit = 2000;
    budget.seed = 5;
    const SolveResult first = solveInstance(instance, budget);
    const SolveResult second = solveInstance(instance, budget);
    EXPECT_EQ(first.start, second.start);
    EXPECT_EQ(first.lb, second.lb);
    EXPECT_EQ(first.fails, second.fails);
    EXPECT_EQ(first.method, second.method);
    expectSound(instance, first, *first.ub);
}

TEST(SolveInstance, ADemandAboveItsCapacityIsInfeasible) {
    formats::Instance instance = randomInstance(3, 4, 2, 30);
    instance.jobs[2].demands[1] = instance.availability[1] + 1;
    const SolveResult result = solveInstance(instance, {});
    EXPECT_EQ(result.status, SolveStatus::Infeasible);
    EXPECT_FALSE(result.ub.has_value());
    EXPECT_TRUE(result.start.empty());
    EXPECT_EQ(statusName(result.status), "infeasible");
}

TEST(SolveInstance, DurationsBeyondTheStartTimesAreUnknown) {
    formats::Instance instance = randomInstance(5, 4, 1, 30);
    for (formats::Job& job : instance.jobs) {
        job.duration = job.duration > 0 ? 2147483647 : 0;
    }
    const SolveResult result = solveInstance(instance, {});
    EXPECT_EQ(result.status, SolveStatus::Unknown);
    EXPECT_TRUE(result.start.empty());
    instance.jobs[1].duration = 1000000; // long, yet within the start times: one after another
    for (std::size_t j = 2; j + 1 < instance.jobs.size(); ++j) {
        instance.jobs[j].duration = 700000;
    }
    const SolveResult sequential = solveInstance(instance, {});
    expectSound(instance, sequential, sequential.lb);
}

TEST(ScheduleViolation, NamesBrokenPrecedencesAndCapacities) {
    formats::Instance instance;
    instance.availability = {2};
    instance.jobs = {{0, {0}, {1, 2}}, {3, {2}, {3}}, {2, {1}, {3}}, {0, {0}, {}}};
    EXPECT_EQ(scheduleViolation(instance, {0, 0, 3, 5}), "");
    EXPECT_EQ(scheduleViolation(instance, {0, 0, 2, 5}), "resource 1 is used 3 > 2 at time 2");
    EXPECT_EQ(scheduleViolation(instance, {0, 0, 3, 4}),
              "job 4 starts at 4 before its predecessor job 3 finishes at 5");
    EXPECT_EQ(scheduleViolation(instance, {0, 0, 3}), "the schedule has 3 start times for 4 jobs");
    EXPECT_EQ(scheduleViolation(instance, {-1, 0, 3, 5}), "job 1 starts before time 0");
}

} // namespace
} // namespace tavrin::solve
