#include "bench_instances.h"
#include "formats/instance_io.h"
#include "solve/heuristic.h"
#include "solve/lower_bounds.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace tavrin {
namespace {

// Every lower bound and the heuristic's 1,000 schedules, as solve runs them before searching.
// The heuristic is given no bound, so that it never stops early: all 1,000 schedules are built.
int boundsAndHeuristic(const formats::Instance& instance) {
    const solve::Project project = solve::makeProject(instance);
    const int bound = std::max(project.criticalPath, solve::energyBound(project));
    const solve::HeuristicResult found = solve::runHeuristic(project, 0, 1000, 0);
    return solve::destructiveBound(project, bound, found.makespan) + found.makespan;
}

// Generated instances: K = 4, RF 0.5, RS 0.5.
void BM_BoundsAndHeuristic(benchmark::State& state) {
    const bench::Instances instances = bench::makeInstances(static_cast<int>(state.range(0)), 8);
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(boundsAndHeuristic(instances.models[next]));
        next = (next + 1) % instances.models.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BoundsAndHeuristic)->Arg(30)->Arg(120)->Unit(benchmark::kMillisecond);

// The instance files of the folder TAVRIN_SOLVE_BENCH_DIR names (for example a benchmark set
// of 30-activity .sm files); skipped without it.
void BM_BoundsAndHeuristicFiles(benchmark::State& state) {
    const char* dir = std::getenv("TAVRIN_SOLVE_BENCH_DIR");
    if (dir == nullptr) {
        state.SkipWithError("TAVRIN_SOLVE_BENCH_DIR is not set");
        return;
    }
    std::vector<formats::Instance> instances;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        try {
            instances.push_back(formats::readInstanceFile(entry.path().string()));
        } catch (const formats::FormatError&) {
            // Not an instance (a table of results, say).
        }
    }
    if (instances.empty()) {
        state.SkipWithError("no instance files");
        return;
    }
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(boundsAndHeuristic(instances[next]));
        next = (next + 1) % instances.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BoundsAndHeuristicFiles)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavrin
