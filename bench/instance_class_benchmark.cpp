#include "bench_networks.h"
#include "export/export_batch.h"
#include "solve/lag_feasibility.h"

#include <benchmark/benchmark.h>

namespace tavrin {
namespace {

RunSettings classSettings(int n, int resources) {
    RunSettings settings = defaultRunSettings();
    settings.activityCount = n;
    settings.resourceCount = resources;
    settings.resourceFactor = 1.0;
    settings.demandMeasure = DemandMeasure::ResourceStrength;
    settings.resourceStrength = 0.5;
    return settings;
}

// Completes instances of a class from stored networks, checks included, as an export does
// before it writes; counts instances per second.
void completeInstances(benchmark::State& state, int n, const RunSettings& settings,
                       const InstanceClass& instanceClass) {
    const auto networks = bench::storedNetworks(n, 100, 1);
    ProjectInstance instance(n, settings.resourceCount);
    formats::Instance model;
    RandomSource random;
    random.seed(1);
    std::size_t next = 0;
    for (auto _ : state) {
        const auto feasibility = completeClassInstance(instance, model, networks[next].data(),
                                                       settings, instanceClass, random);
        benchmark::DoNotOptimize(feasibility);
        next = (next + 1) % networks.size();
    }
    state.SetItemsProcessed(state.iterations());
}

// 30 activities, 3 modes, 2 renewable and 2 nonrenewable resources; the exact nonrenewable
// check included.
void BM_MultiModeInstances(benchmark::State& state) {
    InstanceClass modes;
    modes.multiMode.emplace();
    completeInstances(state, 30, classSettings(30, 2), modes);
}
BENCHMARK(BM_MultiModeInstances);

// 100 activities, 20% maximal lags: the reference schedule and the longest-path check, without
// the constraint model (the reference schedule is checked instead).
void BM_TimeLagInstances(benchmark::State& state) {
    InstanceClass lags;
    lags.timeLags.emplace().tightness = state.range(0) / 100.0;
    completeInstances(state, 100, classSettings(100, 4), lags);
}
BENCHMARK(BM_TimeLagInstances)->Arg(50)->Arg(100);

// The constraint model's resource check alone, on instances made as above.
void BM_TimeLagResourceCheck(benchmark::State& state) {
    const int n = 100;
    const RunSettings settings = classSettings(n, 4);
    InstanceClass lags;
    lags.timeLags.emplace().tightness = state.range(0) / 100.0;
    const auto networks = bench::storedNetworks(n, 20, 1);
    ProjectInstance project(n, settings.resourceCount);
    RandomSource random;
    random.seed(1);
    std::vector<formats::Instance> instances(networks.size());
    for (std::size_t i = 0; i < networks.size(); ++i) {
        completeClassInstance(project, instances[i], networks[i].data(), settings, lags, random);
    }
    std::size_t next = 0, found = 0;
    std::vector<std::int64_t> starts;
    for (auto _ : state) {
        found += solve::lagScheduleFeasibility(instances[next], 100000, starts)
                 == formats::Feasibility::Feasible;
        next = (next + 1) % instances.size();
    }
    state.counters["feasible_share"] =
        static_cast<double>(found) / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TimeLagResourceCheck)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tavrin
